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
// units of one byte are packed, else 8 units of two bytes. Only a text
// longer than its packed start is kept: a million short names sort without
// holding a million strings.
class BListRowSorter
{
public:
    explicit BListRowSorter(qsizetype expected = 0) { m_entries.reserve(size_t(expected)); }

    void add(BSortKey key)
    {
        const quint32 place = quint32(m_entries.size());
        (key.isNumber() ? m_anyNumber : m_anyText) = true;
        if (key.isBelowOthers()) {
            if (m_below.empty())
                m_below.resize(m_entries.size());
            m_anyBelow = true;
        }
        if (m_anyBelow)
            m_below.push_back(key.isBelowOthers());
        SortEntry entry;
        if (!makeEntry(key, place, m_narrow, &entry)) {
            // The first text with a wide unit: every entry is packed again.
            m_narrow = false;
            for (SortEntry &earlier : m_entries) {
                if (earlier.code != numberMark)
                    repackWide(&earlier);
            }
            makeEntry(key, place, false, &entry);
        }
        m_entries.push_back(entry);
    }

    qsizetype size() const { return qsizetype(m_entries.size()); }

    // The places before the sort in sorted order; equal keys keep their order
    // both ways.
    std::vector<quint32> order(Qt::SortOrder order)
    {
        const quint32 packed = packedUnits();
        const bool mixed = m_anyNumber && m_anyText;
        const bool descending = order == Qt::DescendingOrder;
        const auto before = [&](const SortEntry &a, const SortEntry &b) {
            const int result = compare(a, b, packed, mixed);
            if (result != 0)
                return (result < 0) != descending;
            return a.index < b.index;
        };
        sortAdaptively(before);
        if (m_anyBelow) {
            std::stable_partition(m_entries.begin(), m_entries.end(),
                                  [this](const SortEntry &e) { return !m_below[e.index]; });
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
        quint32 index; // the place before the sort
        // numberMark for a number; up to packedUnits() the length of a text
        // held whole in head and tail; above, a longer text kept in m_long
        // (its slot is code - packedUnits() - 1).
        quint32 code;
    };
    static constexpr quint32 narrowUnits = 16;
    static constexpr quint32 numberMark = 0xffffffff;

    // Rows often arrive in or near the order asked for (a server lists by
    // key): a few ordered runs are merged, anything else is sorted.
    template<class Before>
    void sortAdaptively(const Before &before)
    {
        constexpr size_t mostRuns = 32;
        std::vector<size_t> runs{0};
        for (size_t i = 1; i < m_entries.size() && runs.size() <= mostRuns; ++i) {
            if (before(m_entries[i], m_entries[i - 1]))
                runs.push_back(i);
        }
        if (runs.size() > mostRuns) {
            std::sort(m_entries.begin(), m_entries.end(), before);
            return;
        }
        const auto at = [this](size_t place) { return m_entries.begin() + qsizetype(place); };
        while (runs.size() > 1) {
            std::vector<size_t> merged;
            for (size_t r = 0; r < runs.size(); r += 2) {
                merged.push_back(runs[r]);
                if (r + 1 == runs.size())
                    break;
                const size_t end = r + 2 < runs.size() ? runs[r + 2] : m_entries.size();
                std::inplace_merge(at(runs[r]), at(runs[r + 1]), at(end), before);
            }
            runs.swap(merged);
        }
    }

    quint32 packedUnits() const { return m_narrow ? narrowUnits : narrowUnits / 2; }

    // As BSortKey::compare orders the keys of a and b.
    int compare(const SortEntry &a, const SortEntry &b, quint32 packed, bool mixed) const
    {
        const bool aNumber = a.code == numberMark;
        if (mixed && aNumber != (b.code == numberMark))
            return aNumber ? -1 : 1; // numbers before texts
        if (a.head != b.head)
            return a.head < b.head ? -1 : 1;
        if (a.tail != b.tail)
            return a.tail < b.tail ? -1 : 1;
        if (aNumber)
            return 0;
        // The same packed start. A whole text is then a start of the other
        // (units past its end pack as zeros), so the shorter comes first.
        const bool aWhole = a.code <= packed;
        const bool bWhole = b.code <= packed;
        if (aWhole || bWhole) {
            const quint32 aLength = aWhole ? a.code : numberMark;
            const quint32 bLength = bWhole ? b.code : numberMark;
            return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
        }
        return m_long[a.code - packed - 1].compare(m_long[b.code - packed - 1]);
    }

    // False when narrow packing meets a unit above 0xff.
    bool makeEntry(BSortKey &key, quint32 index, bool narrow, SortEntry *entry)
    {
        if (key.isNumber()) {
            *entry = {quint64(key.number()) ^ (quint64(1) << 63), 0, index, numberMark};
            return true;
        }
        const QString &text = key.text();
        quint64 words[2] = {0, 0};
        if (!pack(text, narrow, words))
            return false;
        *entry = {words[0], words[1], index, 0};
        setText(entry, narrow ? narrowUnits : narrowUnits / 2, key.takeText());
        return true;
    }

    static bool pack(QStringView text, bool narrow, quint64 words[2])
    {
        const char16_t *units = text.utf16();
        if (narrow) {
            const qsizetype count = std::min<qsizetype>(text.size(), narrowUnits);
            char16_t seen = 0;
            for (qsizetype i = 0; i < count; ++i) {
                seen |= units[i];
                words[i / 8] |= quint64(units[i] & 0xff) << (56 - 8 * (i % 8));
            }
            return !(seen & 0xff00);
        }
        const qsizetype count = std::min<qsizetype>(text.size(), narrowUnits / 2);
        for (qsizetype i = 0; i < count; ++i)
            words[i / 4] |= quint64(units[i]) << (48 - 16 * (i % 4));
        return true;
    }

    // A text entry's code: its length when the packed part holds it whole,
    // else the slot it is kept in.
    void setText(SortEntry *entry, quint32 packed, QString text)
    {
        if (quint64(text.size()) <= packed) {
            entry->code = quint32(text.size());
            return;
        }
        entry->code = packed + 1 + quint32(m_long.size());
        m_long.push_back(std::move(text));
    }

    // A narrow text entry packed again in two-byte units.
    void repackWide(SortEntry *entry)
    {
        QString text;
        if (entry->code <= narrowUnits) {
            // Held whole: its units are the packed bytes.
            text.resize(entry->code);
            for (quint32 i = 0; i < entry->code; ++i) {
                const quint64 word = i < 8 ? entry->head : entry->tail;
                text[i] = QChar(char16_t((word >> (56 - 8 * (i % 8))) & 0xff));
            }
        } else {
            text = m_long[entry->code - narrowUnits - 1];
        }
        quint64 words[2] = {0, 0};
        pack(text, false, words);
        entry->head = words[0];
        entry->tail = words[1];
        if (entry->code > narrowUnits)
            entry->code = entry->code - narrowUnits + narrowUnits / 2; // the same slot
        else
            setText(entry, narrowUnits / 2, std::move(text));
    }

    std::vector<SortEntry> m_entries;
    std::vector<QString> m_long; // texts longer than their packed start
    std::vector<bool> m_below; // by place, once a row below the others came
    bool m_narrow = true;
    bool m_anyNumber = false;
    bool m_anyText = false;
    bool m_anyBelow = false;
};
