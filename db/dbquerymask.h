// Hides secrets in query texts before they are traced, logged or shown:
// the values assigned to or compared with password columns, password
// arguments of server functions and plain "NUL:" password literals.
#ifndef DB_DBQUERYMASK_H
#define DB_DBQUERYMASK_H

#include <QString>

// The text that replaces a hidden value.
inline constexpr const char *dbMaskedValue = "******";

QString dbMaskSecrets(const QString &query);

#endif // DB_DBQUERYMASK_H
