#pragma once

#include <QString>

// Names an alias or a mailing list would share with another recipient of the
// same domain: read from the server when the administrator confirms a name.
namespace namedconflicts {

// Each compares ignoring case; the text results are the owner's name or empty.
bool aliasExists(const QString &domain, const QString &name);
bool mailingListExists(const QString &domain, const QString &name);
bool userExists(const QString &domain, const QString &name);
QString userWithAddress(const QString &domain, const QString &name);
QString groupWithAddress(const QString &domain, const QString &name);

// The select filter of one domain's rows.
QString domainFilter(const QString &domain);

} // namespace namedconflicts
