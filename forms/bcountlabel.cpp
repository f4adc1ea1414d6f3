#include "forms/bcountlabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class CountLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit CountLabelAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::StaticText)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text interface: the whole line, read-only, nothing selected.
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = label()->text();
        startOffset = qBound(0, startOffset, int(all.size()));
        endOffset = qBound(startOffset, endOffset, int(all.size()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(label()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }
};

QAccessibleInterface *countLabelFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("BCountLabel") && object && object->isWidgetType())
        return new CountLabelAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

BCountLabel::BCountLabel(QWidget *parent)
    : QLabel(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(countLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void BCountLabel::setCount(const QString &text)
{
    if (text == this->text())
        return;
    setText(text);
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleTextUpdateEvent textChanged(this, 0, QString(), text);
    QAccessible::updateAccessibility(&textChanged);
}
