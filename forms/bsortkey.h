#pragma once

#include <QString>

// The value a row sorts by in one column: a number (counts, sizes, times) or
// a text. Lists compute it once per row and sort on it, so a sort of a long
// list costs one virtual call per row, not one per comparison.
class BSortKey
{
public:
    BSortKey() = default;
    static BSortKey fromNumber(qint64 number)
    {
        BSortKey key;
        key.m_number = number;
        key.m_isNumber = true;
        return key;
    }
    static BSortKey fromText(QString text)
    {
        BSortKey key;
        key.m_text = std::move(text);
        return key;
    }

    // The key of a row that stays below every row without such a key, in
    // ascending and in descending order (group rows under the users of a
    // list); such rows compare among themselves by the key itself.
    static BSortKey belowOthers(BSortKey key)
    {
        key.m_below = true;
        return key;
    }

    bool isNumber() const { return m_isNumber; }
    bool isBelowOthers() const { return m_below; }
    qint64 number() const { return m_number; }
    const QString &text() const { return m_text; }
    // The text, moved out (the key is left without it).
    QString takeText() { return std::move(m_text); }

    // Negative, zero or positive as left sorts before, with or after right in
    // ascending order. Numbers sort before texts; texts compare by code unit.
    static int compare(const BSortKey &left, const BSortKey &right)
    {
        if (left.m_isNumber != right.m_isNumber)
            return left.m_isNumber ? -1 : 1;
        if (left.m_isNumber)
            return (left.m_number > right.m_number) - (left.m_number < right.m_number);
        return left.m_text.compare(right.m_text);
    }

private:
    QString m_text;
    qint64 m_number = 0;
    bool m_isNumber = false;
    bool m_below = false;
};
