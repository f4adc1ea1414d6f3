#include "logs/flogaccessible.h"

#include "logs/fwndlog.h"

#include <QScrollBar>

using fwndlog::FTextPos;

FLogAccessible::FLogAccessible(QWidget *view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{ }

QAccessibleInterface *FLogAccessible::create(const QString &, QObject *object)
{
    if (auto *log = qobject_cast<FWndLog *>(object))
        return new FLogAccessible(log);
    return nullptr;
}

void FLogAccessible::install()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&FLogAccessible::create);
        installed = true;
    }
}

FWndLog *FLogAccessible::view() const
{
    return qobject_cast<FWndLog *>(widget());
}

void *FLogAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State FLogAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString FLogAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return visibleText();
    return QAccessibleWidget::text(kind);
}

QString FLogAccessible::visibleText(QList<int> *starts) const
{
    FWndLog *log = view();
    if (!log || log->count() <= 0)
        return {};
    QString text;
    const qint64 top = log->topLine();
    const qint64 bottom = qMin(log->count() - 1, top + log->visibleLines() - 1);
    for (qint64 line = top; line <= bottom; ++line) {
        if (starts)
            starts->append(int(text.size()));
        text += log->lineText(line);
        if (line < bottom)
            text += QLatin1Char('\n');
    }
    return text;
}

bool FLogAccessible::positionOf(int offset, qint64 *line, int *column) const
{
    QList<int> starts;
    const QString text = visibleText(&starts);
    if (starts.isEmpty() || offset < 0 || offset > text.size())
        return false;
    int row = int(starts.size()) - 1;
    while (row > 0 && starts.at(row) > offset)
        --row;
    *line = view()->topLine() + row;
    *column = offset - starts.at(row);
    return true;
}

void FLogAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    FWndLog *log = view();
    if (selectionIndex != 0 || !log || !log->selection()->hasSelection())
        return;
    QList<int> starts;
    const QString text = visibleText(&starts);
    const qint64 top = log->topLine();
    const auto offsetOf = [&](FTextPos pos) {
        if (pos.line < top)
            return 0;
        if (pos.line >= top + starts.size())
            return int(text.size());
        const int row = int(pos.line - top);
        const int lineEnd = row + 1 < starts.size() ? starts.at(row + 1) - 1 : int(text.size());
        return qMin(starts.at(row) + pos.column, lineEnd);
    };
    *startOffset = offsetOf(log->selection()->start());
    *endOffset = offsetOf(log->selection()->end());
}

int FLogAccessible::selectionCount() const
{
    int start = 0;
    int end = 0;
    selection(0, &start, &end);
    return end > start ? 1 : 0;
}

void FLogAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void FLogAccessible::removeSelection(int)
{
    if (FWndLog *log = view())
        log->selection()->clear();
}

void FLogAccessible::setSelection(int, int startOffset, int endOffset)
{
    qint64 firstLine = 0, lastLine = 0;
    int firstColumn = 0, lastColumn = 0;
    if (positionOf(startOffset, &firstLine, &firstColumn)
        && positionOf(endOffset, &lastLine, &lastColumn))
        view()->selection()->select({firstLine, firstColumn}, {lastLine, lastColumn});
}

int FLogAccessible::cursorPosition() const
{
    int start = 0;
    int end = 0;
    selection(0, &start, &end);
    return end;
}

void FLogAccessible::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString FLogAccessible::text(int startOffset, int endOffset) const
{
    const QString all = visibleText();
    startOffset = qBound(0, startOffset, int(all.size()));
    endOffset = qBound(startOffset, endOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int FLogAccessible::characterCount() const
{
    return int(visibleText().size());
}

QRect FLogAccessible::characterRect(int offset) const
{
    qint64 line = 0;
    int column = 0;
    FWndLog *log = view();
    if (!log || !positionOf(offset, &line, &column))
        return {};
    const QString text = log->lineText(line);
    const QFontMetrics metrics = log->fontMetrics();
    const int x = metrics.horizontalAdvance(text.left(column)) + FWndLogBase::kLeftMargin
            - log->horizontalScrollBar()->value();
    const int width = column < text.size() ? metrics.horizontalAdvance(text.at(column)) : 1;
    const QRect rect(x, int(line - log->topLine()) * log->lineHeight(), width, log->lineHeight());
    return QRect(log->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int FLogAccessible::offsetAtPoint(const QPoint &point) const
{
    FWndLog *log = view();
    if (!log)
        return -1;
    const FTextPos pos = log->positionAt(log->viewport()->mapFromGlobal(point));
    QList<int> starts;
    const QString text = visibleText(&starts);
    const qint64 row = pos.line - log->topLine();
    if (row < 0 || row >= starts.size())
        return -1;
    const int lineEnd = row + 1 < starts.size() ? starts.at(row + 1) - 1 : int(text.size());
    return qMin(starts.at(row) + pos.column, lineEnd);
}

void FLogAccessible::scrollToSubstring(int startIndex, int)
{
    qint64 line = 0;
    int column = 0;
    if (positionOf(startIndex, &line, &column))
        view()->ensureVisible({line, column});
}

QString FLogAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}
