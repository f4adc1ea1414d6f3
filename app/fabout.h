#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;
class QTimer;

// The About box: the product header and the legal notices, which scroll; a
// button starts and pauses the scrolling.
class FAbout : public QDialog
{
    Q_OBJECT

public:
    FAbout(const QString &header, const QString &notices, QWidget *parent = nullptr);

private slots:
    void slotToggleScrolling();
    void slotScroll();

private:
    QTextBrowser *m_notices;
    QPushButton *m_scrollButton;
    QTimer *m_timer;
};
