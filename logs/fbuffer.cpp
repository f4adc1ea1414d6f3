#include "logs/fbuffer.h"

namespace fwndlog {

FData *FBuffer::at(qint64 line)
{
    return contains(line) ? &m_lines[size_t(line - m_first)] : nullptr;
}

const FData *FBuffer::at(qint64 line) const
{
    return contains(line) ? &m_lines[size_t(line - m_first)] : nullptr;
}

void FBuffer::clear()
{
    m_lines.clear();
    m_first = m_last = -1;
}

bool FBuffer::storePage(qint64 first, const QList<QByteArray> &lines, qint64 count)
{
    if (lines.isEmpty() || first < 0)
        return false;
    const qint64 last = first + lines.size() - 1;
    if (!isEmpty() && last >= m_first && first <= m_last) {
        m_mode = Discard;
        return false;
    }
    if (isEmpty() || first > m_last) {
        // Pages stay contiguous: one that does not follow the run replaces it.
        if (!isEmpty() && first != m_last + 1)
            clear();
        if (isEmpty())
            m_first = first;
        m_mode = Append;
        for (const QByteArray &raw : lines)
            m_lines.emplace_back(raw);
        m_last = last;
    } else {
        if (last != m_first - 1)
            clear();
        if (isEmpty())
            m_last = last;
        m_mode = Prepend;
        for (auto it = lines.crbegin(); it != lines.crend(); ++it)
            m_lines.emplace_front(*it);
        m_first = first;
    }
    trim(count);
    return true;
}

bool FBuffer::appendLine(qint64 line, const QByteArray &raw, qint64 count)
{
    if (!isEmpty() && line != m_last + 1)
        return false;
    if (isEmpty())
        m_first = line;
    m_lines.emplace_back(raw);
    m_last = line;
    m_mode = Append;
    trim(count);
    return true;
}

void FBuffer::trim(qint64 count)
{
    while (size() > capacity()) {
        if (m_mode == Prepend) {
            // Drop the newest page: back to the end of the page before it.
            const FBufferPage page = FBufferPage::of(m_last, m_anchor, count, false);
            const qint64 keepTo = page.first - 1;
            while (!isEmpty() && m_last > keepTo) {
                m_lines.pop_back();
                --m_last;
            }
        } else {
            // Drop the oldest page: up to the start of the page after it.
            const FBufferPage page = FBufferPage::of(m_first, m_anchor, count, false);
            const qint64 keepFrom = page.last + 1;
            while (!isEmpty() && m_first < keepFrom) {
                m_lines.pop_front();
                ++m_first;
            }
        }
        if (isEmpty()) {
            clear();
            break;
        }
    }
}

} // namespace fwndlog
