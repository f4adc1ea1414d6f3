#include "forms/utipvalidator.h"

#include <QRegularExpression>

UtIPValidator::UtIPValidator(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State UtIPValidator::validate(QString &text, int &) const
{
    static const QRegularExpression digitsAndDots(QStringLiteral("^[0-9\\.]*$"));
    if (!digitsAndDots.match(text).hasMatch())
        return Invalid;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > 4)
        return Invalid;
    State result = Acceptable;
    for (const QString &part : parts) {
        if (part.isEmpty()) {
            result = Intermediate;
            continue;
        }
        if (part.size() > 3 || part.toInt() > 255)
            return Invalid;
    }
    if (parts.size() < 4)
        result = Intermediate;
    return result;
}
