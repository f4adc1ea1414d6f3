#pragma once

#include "status/statuslistwnd.h"

class QAction;
class QPushButton;

// The messages waiting in the server's queue ("show_queue()") and the
// commands that act on them.
class MailQueueWnd : public StatusListWnd
{
    Q_OBJECT
public:
    enum MenuId { RemoveByPattern = 60, TryNow = 61, RunQueue = 62 };

    explicit MailQueueWnd(QWidget *parent = nullptr);
    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    void selectionChanged() override;
    // The list's "&Remove" (button, menu entry, Delete key): remove the
    // selected messages.
    void remove() override;

    QPushButton *removePatternButton() const { return m_btnRemovePattern; }
    QPushButton *tryNowButton() const { return m_btnTryNow; }
    QPushButton *runQueueButton() const { return m_btnRunQueue; }
    // The queue ids of the selected messages.
    QStringList selectedIds() const;

public slots:
    void slotRemoveSelected();
    void slotRemoveByPattern();
    void slotTryNow();
    void slotRunQueue();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Calls function(id) for every id; returns how many succeeded and the
    // first error text.
    int callForEach(const QString &function, const QStringList &ids, QString *error);
    void reportRemoved(int succeeded, int total, const QString &error);

    QPushButton *m_btnRemovePattern;
    QPushButton *m_btnTryNow;
    QPushButton *m_btnRunQueue;
};
