#pragma once

#include <QString>

// Cell texts and values shared by the user and group lists and dialogs.
namespace ugtexts {

// The administration rights a dialog offers. The values are the two low
// bits of "Rights".
enum class Rights { NoAccess = 0, ReadOnly = 1, FullAccess = 3 };

// "Read/write access" when both low bits are set, "Read only access" when
// only the lowest is, otherwise empty. Translated once and kept.
QString rightsText(qint64 rights);
// "Internal" for a "$RowSource" of 0 or less, "LDAP" for any larger value.
QString dataSourceText(qint64 rowSource);

// The choice a stored "Rights" value shows.
Rights rightsChoice(qint64 rights);
// The value to store for a choice: the stored value's bits above the two
// the console shows are kept.
qint64 rightsValue(qint64 stored, Rights choice);

// "$RowSource" clamped to 0 (stored by the server) or 1 (a directory).
int sourceKind(qint64 rowSource);

} // namespace ugtexts
