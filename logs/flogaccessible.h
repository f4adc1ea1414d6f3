#pragma once

#include <QAccessibleWidget>

class FWndLog;

// What screen readers and accessibility tools see of a log view: a read-only
// text made of the lines on screen, with the selection as a text selection.
// The view paints its lines itself, so Qt cannot find this on its own.
class FLogAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit FLogAccessible(QWidget *view);

    // Creates the interface for log views (installed once as a factory).
    static QAccessibleInterface *create(const QString &className, QObject *object);
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    FWndLog *view() const;
    // The visible lines as one text, and where each line starts in it.
    QString visibleText(QList<int> *starts = nullptr) const;
    // A text offset as a line and column of the log.
    bool positionOf(int offset, qint64 *line, int *column) const;
};
