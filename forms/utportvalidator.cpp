#include "forms/utportvalidator.h"

#include <QRegularExpression>

#include <algorithm>

UtPortValidator::UtPortValidator(QObject *parent)
    : QValidator(parent)
{ }

UtPortValidator::UtPortValidator(int minimum, int maximum, bool listsAllowed, QObject *parent)
    : QValidator(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_listsAllowed(listsAllowed)
{ }

QValidator::State UtPortValidator::validatePort(const QString &digits) const
{
    if (digits.isEmpty())
        return Intermediate;
    // More digits than any port can have: refuse before converting.
    if (digits.size() > 10)
        return Invalid;
    const qlonglong port = digits.toLongLong();
    if (port == 0 && m_zeroAllowed)
        return Acceptable;
    if (port > m_maximum)
        return Invalid;
    if (port < m_minimum)
        return Intermediate;
    return Acceptable;
}

QValidator::State UtPortValidator::validateItem(const QString &item) const
{
    static const QRegularExpression shape(QStringLiteral("^([0-9]*)(") + QStringLiteral("-")
                                          + QStringLiteral("?)([0-9]*)$"));
    const QRegularExpressionMatch match = shape.match(item);
    if (!match.hasMatch())
        return Invalid;
    const QString first = match.captured(1);
    const bool isRange = !match.captured(2).isEmpty();
    const QString last = match.captured(3);
    if (!isRange)
        return validatePort(first);

    const State firstState = validatePort(first);
    const State lastState = validatePort(last);
    if (firstState == Invalid || lastState == Invalid)
        return Invalid;
    if (firstState == Intermediate || lastState == Intermediate)
        return Intermediate;
    // A reversed range may still be on its way ("1000-2" before "1000-2000").
    return first.toLongLong() <= last.toLongLong() ? Acceptable : Intermediate;
}

QValidator::State UtPortValidator::validate(QString &text, int &) const
{
    if (text.isEmpty())
        return m_zeroAllowed ? Acceptable : Intermediate;
    if (!m_listsAllowed) {
        for (const QChar c : text) {
            if (!c.isDigit() || c.unicode() > 127)
                return Invalid;
        }
        return validatePort(text);
    }
    State result = Acceptable;
    const QStringList items = text.split(QLatin1Char(','));
    for (const QString &item : items) {
        const State state = validateItem(item);
        if (state == Invalid)
            return Invalid;
        result = std::min(result, state);
    }
    return result;
}
