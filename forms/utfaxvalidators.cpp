#include "forms/utfaxvalidators.h"

#include <QRegularExpression>

UtFaxPrefixValidator::UtFaxPrefixValidator(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State UtFaxPrefixValidator::validate(QString &text, int &) const
{
    static const QRegularExpression prefix(QStringLiteral("^[0-9*#+,]{0,16}$"));
    return prefix.match(text).hasMatch() ? Acceptable : Invalid;
}

UtFaxNumberValidator::UtFaxNumberValidator(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State UtFaxNumberValidator::validate(QString &text, int &) const
{
    static const QRegularExpression number(QStringLiteral("^\\+?[0-9 ()/-]{0,63}$"));
    if (!number.match(text).hasMatch())
        return Invalid;
    for (const QChar c : text) {
        if (c.isDigit())
            return Acceptable;
    }
    return Intermediate;
}
