#pragma once

#include "logs/fbufferpage.h"
#include "logs/fdata.h"

#include <QList>

#include <deque>

namespace fwndlog {

// The buffered lines of a log view: one contiguous run of whole pages (the
// newest page may be short while the log grows). Pages arrive one at a time;
// a page that does not join the run replaces it, and the run is cut back page
// by page at the far end once it outgrows its capacity.
class FBuffer
{
public:
    enum LoadMode { Discard = 0, Prepend = 1, Append = 2 };

    bool isEmpty() const { return m_lines.empty(); }
    qint64 first() const { return m_first; }
    qint64 last() const { return m_last; }
    qint64 size() const { return qint64(m_lines.size()); }
    bool contains(qint64 line) const { return !isEmpty() && line >= m_first && line <= m_last; }
    // Every line of [from, to] is held.
    bool containsRange(qint64 from, qint64 to) const
    {
        return from <= to && contains(from) && contains(to);
    }
    FData *at(qint64 line);
    const FData *at(qint64 line) const;

    qint64 anchor() const { return m_anchor; }
    void setAnchor(qint64 anchor) { m_anchor = anchor; }
    // Lines held at most: whole pages, at least three.
    qint64 capacity() const { return m_capacityPages * FBufferPage::kLines; }
    void setCapacityPages(int pages) { m_capacityPages = qMax(3, pages); }
    LoadMode mode() const { return m_mode; }

    void clear();
    // Stores the lines of page [first, first + lines.size() - 1] by the load
    // rules; false when the page was already held (discarded).
    bool storePage(qint64 first, const QList<QByteArray> &lines, qint64 count);
    // Appends one line that continues the buffer (the next line of the log).
    bool appendLine(qint64 line, const QByteArray &raw, qint64 count);

private:
    void trim(qint64 count);

    std::deque<FData> m_lines;
    qint64 m_first = -1;
    qint64 m_last = -1;
    qint64 m_anchor = 0;
    int m_capacityPages = 3;
    LoadMode m_mode = Append;
};

} // namespace fwndlog
