#pragma once

#include "forms/bsortkey.h"

#include <QtGlobal>

#include <algorithm>
#include <vector>

// The keys of the rows of one sort, collected one row at a time. Each row
// becomes a 24-byte entry: its key with the start of a text packed into two
// integers, so that most comparisons never leave the entry array, and its
// place before the sort. Code units compare as unsigned numbers, as
// QString::compare does; while no text starts with a unit above 0xff, 16
// units of one byte are packed, else 8 units of two bytes.
class BListRowSorter
{
public:
    explicit BListRowSorter(qsizetype expected = 0)
    {
        m_keys.reserve(size_t(expected));
        m_entries.reserve(size_t(expected));
    }

    void add(BSortKey key)
    {
        const quint32 index = quint32(m_keys.size());
        m_keys.push_back(std::move(key));
        const BSortKey &added = m_keys.back();
        (added.isNumber() ? m_anyNumber : m_anyText) = true;
        m_anyBelow = m_anyBelow || added.isBelowOthers();
        SortEntry entry;
        if (!makeEntry(added, index, m_narrow, &entry)) {
            // The first text with a wide unit: every entry is packed again.
            m_narrow = false;
            for (SortEntry &earlier : m_entries)
                makeEntry(m_keys[earlier.index], earlier.index, false, &earlier);
            makeEntry(added, index, false, &entry);
        }
        m_entries.push_back(entry);
    }

    qsizetype size() const { return qsizetype(m_keys.size()); }

    // The places before the sort in sorted order; equal keys keep their order
    // both ways.
    std::vector<quint32> order(Qt::SortOrder order)
    {
        const qsizetype packedUnits = m_narrow ? narrowUnits : narrowUnits / 2;
        const bool mixed = m_anyNumber && m_anyText;
        const bool descending = order == Qt::DescendingOrder;
        const std::vector<BSortKey> &keys = m_keys;
        std::sort(m_entries.begin(), m_entries.end(), [&](const SortEntry &a, const SortEntry &b) {
            if (!mixed || (a.length == numberMark) == (b.length == numberMark)) {
                if (a.head != b.head)
                    return (a.head < b.head) != descending;
                if (a.tail != b.tail)
                    return (a.tail < b.tail) != descending;
                if (a.length == b.length && (a.length == numberMark || a.length <= packedUnits))
                    return a.index < b.index; // the same number or text
            }
            const int result = BSortKey::compare(keys[a.index], keys[b.index]);
            if (result != 0)
                return (result < 0) != descending;
            return a.index < b.index;
        });
        if (m_anyBelow) {
            std::stable_partition(m_entries.begin(), m_entries.end(), [&](const SortEntry &e) {
                return !keys[e.index].isBelowOthers();
            });
        }
        std::vector<quint32> places;
        places.reserve(m_entries.size());
        for (const SortEntry &entry : m_entries)
            places.push_back(entry.index);
        return places;
    }

private:
    struct SortEntry
    {
        quint64 head; // the number (offset to unsigned), or the first units
        quint64 tail; // the next units
        quint32 index;
        quint32 length; // of a text (texts no longer than the packed part are whole)
    };
    static constexpr qsizetype narrowUnits = 16;
    static constexpr quint32 numberMark = 0xffffffff;

    // False when narrow packing meets a unit above 0xff.
    static bool makeEntry(const BSortKey &key, quint32 index, bool narrow, SortEntry *entry)
    {
        if (key.isNumber()) {
            *entry = {quint64(key.number()) ^ (quint64(1) << 63), 0, index, numberMark};
            return true;
        }
        const QString &text = key.text();
        const ushort *units = text.utf16();
        quint64 words[2] = {0, 0};
        if (narrow) {
            const qsizetype count = std::min(text.size(), narrowUnits);
            ushort seen = 0;
            for (qsizetype i = 0; i < count; ++i) {
                seen |= units[i];
                words[i / 8] |= quint64(units[i] & 0xff) << (56 - 8 * (i % 8));
            }
            if (seen & 0xff00)
                return false;
        } else {
            const qsizetype count = std::min(text.size(), narrowUnits / 2);
            for (qsizetype i = 0; i < count; ++i)
                words[i / 4] |= quint64(units[i]) << (48 - 16 * (i % 4));
        }
        *entry = {words[0], words[1], index,
                  quint32(std::min<qsizetype>(text.size(), numberMark - 1))};
        return true;
    }

    std::vector<BSortKey> m_keys;
    std::vector<SortEntry> m_entries;
    bool m_narrow = true;
    bool m_anyNumber = false;
    bool m_anyText = false;
    bool m_anyBelow = false;
};
