#pragma once

#include "forms/blistitems.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

// A status row whose numeric columns sort by value: the values are taken when
// the row is made (the item outlives its table row during a refresh).
class StatusNumberItem : public BListViewItem
{
public:
    // At most four numeric columns: kept inline, no allocation per row.
    static constexpr int kMaxNumbers = 4;

    StatusNumberItem(BListView *view, DBRow *row, const QStringList &texts,
                     std::initializer_list<std::pair<int, qint64>> numbers)
        : BListViewItem(view, row, texts)
    {
        for (const auto &[column, value] : numbers) {
            if (m_count < kMaxNumbers)
                m_numbers[m_count++] = {column, value};
        }
    }

    BSortKey sortKey(int column, const BCol *definition) const override
    {
        for (int i = 0; i < m_count; ++i) {
            if (m_numbers[i].first == column)
                return BSortKey::fromNumber(m_numbers[i].second);
        }
        return BListViewItem::sortKey(column, definition);
    }

private:
    std::array<std::pair<int, qint64>, kMaxNumbers> m_numbers{};
    int m_count = 0;
};
