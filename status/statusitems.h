#pragma once

#include "forms/blistitems.h"

#include <QHash>

// A status row whose numeric columns sort by value: the values are taken when
// the row is made (the item outlives its table row during a refresh).
class StatusNumberItem : public BListViewItem
{
public:
    StatusNumberItem(BListView *view, DBRow *row, const QStringList &texts,
                     QHash<int, qint64> numbers)
        : BListViewItem(view, row, texts)
        , m_numbers(std::move(numbers))
    { }

    BSortKey sortKey(int column, const BCol *definition) const override
    {
        const auto found = m_numbers.constFind(column);
        if (found != m_numbers.constEnd())
            return BSortKey::fromNumber(*found);
        return BListViewItem::sortKey(column, definition);
    }
    qint64 number(int column) const { return m_numbers.value(column); }

private:
    QHash<int, qint64> m_numbers;
};
