#pragma once

#include "forms/utjoinvalidator.h"

// Account, mailing-list and domain names: the pattern, and none of the names
// the mail store or the system reserve (file names of the store, device names,
// a leading dot, a trailing dot, two dots in a row). With reserved users
// refused, "anyone" and "authuser" cannot be chosen either.
class PvnUserLoginValidator : public UtJoinValidator
{
    Q_OBJECT
public:
    static QString defaultPattern() { return QStringLiteral("[-0-9a-zA-Z_.]{1,127}"); }

    explicit PvnUserLoginValidator(const QString &pattern = defaultPattern(),
                                   bool refuseReservedUsers = false, QObject *parent = nullptr);
};
