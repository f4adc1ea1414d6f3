#include "status/mailqueuewnd.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/dbrow.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "status/removefilterdlg.h"
#include "status/statuscells.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace {

enum Column { Id, Create, NextTry, Size, From, To, Status };

// A call of a server function with escaped arguments, as a query.
bool callServer(const QString &function, const QStringList &arguments, QString *error)
{
    DBConn *conn = bobject::connection();
    if (!conn) {
        if (error)
            *error = QCoreApplication::translate("MailQueueWnd", "Not connected.");
        return false;
    }
    DBReq req(QStringLiteral("select ") + dbFunctionCall(function, arguments));
    if (conn->execSync(&req) && req.resultCode() == 0)
        return true;
    if (error && error->isEmpty())
        *error = req.errorText();
    return false;
}

void inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, bmessagebox::caption(), text);
}

// A queued message: its cells are read from its row when the view asks, so
// a queue of a hundred thousand messages fills without formatting any. The
// dates and the size sort by value.
class QueueItem : public BRowTextItem
{
public:
    QueueItem(BListView *view, DBRow *row)
        : BRowTextItem(view, row)
    { }

    QString cellText(int column) const override
    {
        static const QString names[]
                = {QStringLiteral("id"),    QStringLiteral("create"), QStringLiteral("nexttry"),
                   QStringLiteral("size"),  QStringLiteral("from"),   QStringLiteral("to"),
                   QStringLiteral("status")};
        if (column < 0 || column > Status)
            return QString();
        const QString text = row()->text(names[column]);
        return column == Size ? QString::number(text.toLongLong()) : text;
    }
    // Works on the kept texts too: a list may be sorted while it refreshes.
    BSortKey sortKey(int column, const BCol *definition) const override
    {
        if (column == Create || column == NextTry)
            return BSortKey::fromNumber(statuscells::queueDateSeconds(text(column)));
        if (column == Size)
            return BSortKey::fromNumber(text(column).toLongLong());
        return BRowTextItem::sortKey(column, definition);
    }
    // The commands read the ids of the selected messages while a refresh is
    // on its way: every column is kept, shown or not.
    void releaseRow() override
    {
        if (!row())
            return; // let go already
        QStringList texts;
        for (int column = Id; column <= Status; ++column)
            texts << cellText(column);
        keepTexts(texts);
        BListViewItem::releaseRow();
    }
};

} // namespace

MailQueueWnd::MailQueueWnd(QWidget *parent)
    : StatusListWnd(QStringLiteral("MailQueueWnd"), QStringLiteral("show_queue()"), parent)
{
    removeButton()->show();
    m_btnRemovePattern
            = addButtonBelow(tr("Remove messages..."), QStringLiteral("m_btnRemovePattern"));
    m_btnTryNow = addButtonBelow(tr("&Try to send now"), QStringLiteral("m_btnTryNow"));
    m_btnRunQueue = addButtonBelow(tr("Run &queue"), QStringLiteral("m_btnRunQueue"));
    // The Remove button already reaches remove() through the list.
    connect(m_btnRemovePattern, &QPushButton::clicked, this, &MailQueueWnd::slotRemoveByPattern);
    connect(m_btnTryNow, &QPushButton::clicked, this, &MailQueueWnd::slotTryNow);
    connect(m_btnRunQueue, &QPushButton::clicked, this, &MailQueueWnd::slotRunQueue);

    BListView *list = listView();
    list->menuAction(BListView::CommandRemove)->setVisible(true);
    // Below "&Refresh" and "Aut&o refresh": the queue's own commands.
    QMenu *menu = list->contextMenu();
    QAction *before = list->menuAction(BListView::CommandRemove);
    const struct
    {
        int id;
        QString text;
        void (MailQueueWnd::*slot)();
    } entries[] = {{RemoveByPattern, tr("Remove messages..."), &MailQueueWnd::slotRemoveByPattern},
                   {TryNow, tr("&Try to send now"), &MailQueueWnd::slotTryNow},
                   {RunQueue, tr("Run &queue"), &MailQueueWnd::slotRunQueue}};
    const int position = int(menu->actions().indexOf(before));
    for (const auto &entry : entries) {
        QAction *action = list->insertMenuItem(entry.id, entry.text, position);
        disconnect(action, &QAction::triggered, list, nullptr);
        connect(action, &QAction::triggered, this, entry.slot);
    }
    list->installEventFilter(this); // Delete removes the selected messages
    list->setAccessibleName(tr("Message Queue"));
}

void MailQueueWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("mailqueue")));
    cols.addColumn(tr("Queue ID"), QStringLiteral("id"), BCol::Visible, 80);
    cols.addColumn(tr("Created"), QStringLiteral("create"), BCol::Visible, 150);
    cols.addColumn(tr("Next Try"), QStringLiteral("nexttry"), BCol::Visible, 150);
    cols.addColumn(tr("Size"), QStringLiteral("size"), BCol::Visible | BCol::AlignRight, 70);
    cols.addColumn(tr("From"), QStringLiteral("from"), BCol::Visible, 170);
    cols.addColumn(tr("To"), QStringLiteral("to"), BCol::Visible, 170);
    cols.addColumn(tr("Status"), QStringLiteral("status"), BCol::Visible, 200);
}

BListViewItem *MailQueueWnd::createItem(DBRow *row)
{
    return new QueueItem(listView(), row);
}

QStringList MailQueueWnd::selectedIds() const
{
    return selectedTexts(Id);
}

void MailQueueWnd::selectionChanged()
{
    StatusListWnd::selectionChanged();
    // The ids are read from the rows' texts, so the commands stay usable
    // while a refresh is on its way.
    const bool modify = !sessionReadOnly();
    const bool any = modify && listView()->topLevelItemCount() > 0;
    const bool selected = modify && !listView()->selectedItems().isEmpty();
    BListView *list = listView();
    removeButton()->setEnabled(selected);
    m_btnTryNow->setEnabled(selected);
    m_btnRemovePattern->setEnabled(any);
    m_btnRunQueue->setEnabled(any);
    list->setMenuItemEnabled(BListView::CommandRemove, selected);
    list->setMenuItemEnabled(TryNow, selected);
    list->setMenuItemEnabled(RemoveByPattern, any);
    list->setMenuItemEnabled(RunQueue, any);
}

bool MailQueueWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == listView() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            slotRemoveSelected();
            return true;
        }
    }
    return StatusListWnd::eventFilter(watched, event);
}

void MailQueueWnd::remove()
{
    slotRemoveSelected();
}

int MailQueueWnd::callForEach(const QString &function, const QStringList &ids, QString *error)
{
    int succeeded = 0;
    for (const QString &id : ids) {
        if (callServer(function, {id}, error))
            ++succeeded;
    }
    return succeeded;
}

void MailQueueWnd::reportRemoved(int succeeded, int total, const QString &error)
{
    if (succeeded == total && total > 0) {
        inform(this,
               tr("<nobr>message(s) will be removed from the queue.<br>Press the 'Refresh' "
                  "button to view current status of the message queue.</nobr>"));
        return;
    }
    bmessagebox::warning(this,
                         tr("<nobr>%1 of %2 removals were accepted by the server.<br>%3</nobr>")
                                 .arg(succeeded)
                                 .arg(total)
                                 .arg(error.toHtmlEscaped()));
}

void MailQueueWnd::slotRemoveSelected()
{
    if (sessionReadOnly() || !removeButton()->isEnabled())
        return;
    const QStringList ids = selectedIds(); // the rows chosen now, whatever a refresh does next
    if (ids.isEmpty())
        return;
    QString error;
    const int succeeded = callForEach(QStringLiteral("QueueRemoveID"), ids, &error);
    reportRemoved(succeeded, int(ids.size()), error);
}

void MailQueueWnd::slotTryNow()
{
    if (sessionReadOnly() || !m_btnTryNow->isEnabled())
        return;
    const QStringList ids = selectedIds();
    if (ids.isEmpty())
        return;
    QString error;
    const int succeeded = callForEach(QStringLiteral("QueueRejuvenate"), ids, &error);
    if (succeeded < ids.size())
        bmessagebox::warning(this,
                             tr("<nobr>%1 of %2 messages were scheduled for delivery.<br>%3</nobr>")
                                     .arg(succeeded)
                                     .arg(ids.size())
                                     .arg(error.toHtmlEscaped()));
}

void MailQueueWnd::slotRemoveByPattern()
{
    if (sessionReadOnly() || !m_btnRemovePattern->isEnabled())
        return;
    RemoveFilterDlg dlg(statuscells::commonPattern(selectedTexts(From)),
                        statuscells::commonPattern(selectedTexts(To)), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const QString sender = dlg.senderPattern();
    const QString recipient = dlg.recipientPattern();
    if (statuscells::matchesEverything(sender) && statuscells::matchesEverything(recipient)) {
        const auto answer = QMessageBox::warning(
                this, bmessagebox::caption(),
                tr("<nobr>These patterns match every message in the queue.<br>Do you want to "
                   "remove all messages from the queue?</nobr>"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    QString error;
    const bool ok = callServer(QStringLiteral("QueueRemovePattern"), {sender, recipient}, &error);
    reportRemoved(ok ? 1 : 0, 1, error);
}

void MailQueueWnd::slotRunQueue()
{
    if (sessionReadOnly() || !m_btnRunQueue->isEnabled())
        return;
    QString error;
    if (callServer(QStringLiteral("run_queue"), {}, &error))
        inform(this,
               tr("<nobr>Action started.<br>You can view its results in the log "
                  "window.</nobr>"));
    else
        bmessagebox::warning(this, tr("Action failed."));
}
