#pragma once

#include <QWidget>

class QPushButton;

// The Apply/Reset bar below a page. Both buttons are enabled while the page
// has unsaved changes.
class FWidgetBottom : public QWidget
{
    Q_OBJECT

public:
    explicit FWidgetBottom(QWidget *parent = nullptr);

    void setChanged(bool changed);
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *resetButton() const { return m_reset; }

signals:
    void signalApplyClicked();
    void signalResetClicked();

private:
    QPushButton *m_apply;
    QPushButton *m_reset;
};
