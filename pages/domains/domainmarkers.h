#pragma once

#include <QString>

// Values the domain dialog keeps in the "Alias" column of alias rows while it
// is open: aliases it added and aliases it removed. Closing the dialog turns
// them back into domain names or drops the rows, so no statement ever
// carries one.
namespace domainmarkers {

inline QString added()
{
    return QStringLiteral(".$$$ADD$$$.");
}
inline QString removed()
{
    return QStringLiteral(".$$$DEL$$$.");
}

// Row types of the domain table.
enum Type { PrimaryDomain = 0, LocalDomain = 1, DomainAlias = 2 };

} // namespace domainmarkers
