#pragma once

#include <QRegularExpression>
#include <QValidator>

#include <limits>
#include <type_traits>

// An integer between minimum and maximum, for any integer type T. A value below
// the minimum is incomplete rather than wrong (more digits may follow).
template<class T>
class UtNumValidator : public QValidator
{
    static_assert(std::is_integral_v<T>, "UtNumValidator needs an integer type");

public:
    explicit UtNumValidator(T minimum = std::numeric_limits<T>::min(),
                            T maximum = std::numeric_limits<T>::max(), QObject *parent = nullptr)
        : QValidator(parent)
        , m_minimum(minimum)
        , m_maximum(maximum)
    { }

    State validate(QString &text, int &) const override
    {
        if (text.isEmpty())
            return Intermediate;
        const bool negativeAllowed = m_minimum < 0;
        if (text == QLatin1String("-"))
            return negativeAllowed ? Intermediate : Invalid;
        if (text.startsWith(QLatin1Char('-')) && !negativeAllowed)
            return Invalid;
        static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
        if (!number.match(text).hasMatch())
            return Invalid;
        bool ok = false;
        if constexpr (std::is_signed_v<T>) {
            const qlonglong value = text.toLongLong(&ok);
            if (!ok || value > static_cast<qlonglong>(m_maximum))
                return Invalid;
            if (value < static_cast<qlonglong>(m_minimum))
                return Intermediate;
        } else {
            const qulonglong value = text.toULongLong(&ok);
            if (!ok || value > static_cast<qulonglong>(m_maximum))
                return Invalid;
            if (value < static_cast<qulonglong>(m_minimum))
                return Intermediate;
        }
        return Acceptable;
    }

    T minimum() const { return m_minimum; }
    T maximum() const { return m_maximum; }

private:
    T m_minimum;
    T m_maximum;
};
