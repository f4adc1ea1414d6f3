#include "logs/fselect.h"

#include <QTimer>

namespace fwndlog {

FSelect::FSelect(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, [this] { emit signalScroll(m_direction); });
}

void FSelect::setEnabled(bool enabled)
{
    const bool before = hasSelection();
    m_enabled = enabled;
    if (!enabled)
        setAutoScroll(None);
    changed(before);
}

void FSelect::setDragging(bool dragging)
{
    m_dragging = dragging;
    if (!dragging)
        setAutoScroll(None);
}

void FSelect::select(FTextPos anchor, FTextPos end)
{
    const bool before = hasSelection();
    m_anchor = anchor;
    m_end = end;
    changed(before);
}

void FSelect::extendTo(FTextPos end)
{
    if (!m_anchor.isValid())
        m_anchor = end;
    const bool before = hasSelection();
    m_end = end;
    changed(before);
}

void FSelect::clear()
{
    const bool before = hasSelection();
    m_anchor = m_end = FTextPos();
    changed(before);
}

bool FSelect::columnsOf(qint64 line, int length, int *from, int *to) const
{
    if (!hasSelection())
        return false;
    const FTextPos first = start();
    const FTextPos last = end();
    if (line < first.line || line > last.line)
        return false;
    *from = line == first.line ? qMin(first.column, length) : 0;
    *to = line == last.line ? qMin(last.column, length) : length;
    return *from < *to || (line != last.line && length == 0);
}

void FSelect::setAutoScroll(Direction direction)
{
    if (direction == m_direction)
        return;
    m_direction = direction;
    if (direction == None)
        m_timer->stop();
    else
        m_timer->start();
}

void FSelect::changed(bool before)
{
    const bool now = hasSelection();
    // Moving a selection changes what is painted even when one stays.
    if (now || before)
        emit signalSelectionChanged(now);
}

} // namespace fwndlog
