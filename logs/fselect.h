#pragma once

#include <QObject>

#include <compare>
#include <limits>

class QTimer;

namespace fwndlog {

// A place in the log: a line and a column of its decoded text. The column
// kLineEnd stands for the end of the line, whatever its length.
struct FTextPos
{
    static constexpr int kLineEnd = std::numeric_limits<int>::max();

    qint64 line = -1;
    int column = 0;

    bool isValid() const { return line >= 0; }
    auto operator<=>(const FTextPos &) const = default;
};

// The selection of a log view, kept in lines and columns so it survives
// scrolling, new pages and font changes. It is switched off while a search
// runs. While the pointer drags beyond the viewport a 50 ms timer asks the
// view to scroll one line height in that direction.
class FSelect : public QObject
{
    Q_OBJECT

public:
    enum Direction { None = 0, Up = 1, Right = 2, Down = 3, Left = 4 };

    explicit FSelect(QObject *parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool isDragging() const { return m_dragging; }
    void setDragging(bool dragging);

    bool hasSelection() const { return m_enabled && m_anchor.isValid() && m_anchor != m_end; }
    FTextPos anchor() const { return m_anchor; }
    FTextPos start() const { return qMin(m_anchor, m_end); }
    FTextPos end() const { return qMax(m_anchor, m_end); }
    qint64 lineCount() const { return hasSelection() ? end().line - start().line + 1 : 0; }

    void select(FTextPos anchor, FTextPos end);
    void extendTo(FTextPos end);
    void clear();
    // The selected columns [from, to) of a line of the given length; false
    // when the line is not selected.
    bool columnsOf(qint64 line, int length, int *from, int *to) const;

    Direction autoScroll() const { return m_direction; }
    void setAutoScroll(Direction direction);

signals:
    void signalSelectionChanged(bool selected);
    // The auto-scroll timer fired: scroll one line height that way.
    void signalScroll(int direction);

private:
    void changed(bool before);

    FTextPos m_anchor;
    FTextPos m_end;
    bool m_enabled = true;
    bool m_dragging = false;
    Direction m_direction = None;
    QTimer *m_timer = nullptr;
};

} // namespace fwndlog
