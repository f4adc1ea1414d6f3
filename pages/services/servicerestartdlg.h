#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class BListView;
class QPushButton;
class ServiceItem;
class ServiceWnd;

// Offers to restart the running services whose listen addresses were just
// saved, and restarts them in list order.
class ServiceRestartDlg : public QDialog
{
    Q_OBJECT
public:
    ServiceRestartDlg(const QList<ServiceItem *> &services, ServiceWnd *page);

    BListView *listView() const { return m_list; }
    QPushButton *restartButton() const { return m_btnRestart; }
    QPushButton *cancelButton() const { return m_btnCancel; }
    bool isDone() const { return m_done; }

private:
    void restartOrClose();

    QList<ServiceItem *> m_services;
    ServiceWnd *m_page;
    BListView *m_list;
    QPushButton *m_btnRestart;
    QPushButton *m_btnCancel;
    bool m_done = false;
};
