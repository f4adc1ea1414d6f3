#include "db/dbtranstab.h"

#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbtable.h"

DBTransTab::DBTransTab(DBConn *connection, QObject *parent)
    : DBSafeSignal(parent)
    , DBConnObject(connection)
{ }

void DBTransTab::addTable(DBTable *table, const MemberOptions &options)
{
    if (table)
        m_members.append(Member{table, options.leftOutOfTransactions, options.leftOutOfSelect});
}

void DBTransTab::select(QObject *readyReceiver, const char *readySlot, QObject *errorReceiver,
                        const char *errorSlot)
{
    if (readyReceiver && readySlot) {
        disconnect(this, SIGNAL(signalSelectIsReady()), readyReceiver, readySlot);
        connect(this, SIGNAL(signalSelectIsReady()), readyReceiver, readySlot);
    }
    if (errorReceiver && errorSlot) {
        disconnect(this, SIGNAL(signalSelectIsError(QString)), errorReceiver, errorSlot);
        connect(this, SIGNAL(signalSelectIsError(QString)), errorReceiver, errorSlot);
    }
    clearResult();
    m_next = 0;
    if (!selectNext())
        finishSelect();
}

bool DBTransTab::selectNext()
{
    while (m_next < count()) {
        const Member &member = m_members.at(m_next++);
        if (member.noSelect)
            continue;
        member.table->select(this, SLOT(slotSelectIsFinished(DBTable *)));
        return true;
    }
    return false;
}

void DBTransTab::slotSelectIsFinished(DBTable *table)
{
    // The table may be selected on its own later: this pass is done with it.
    disconnect(table, SIGNAL(signalSelectIsFinished(DBTable *)), this,
               SLOT(slotSelectIsFinished(DBTable *)));
    if (table->resultCode() != 0) {
        setResult(table->resultCode(), table->errorText());
        finishSelect();
        return;
    }
    if (!selectNext())
        finishSelect();
}

void DBTransTab::finishSelect()
{
    if (resultCode() != 0)
        postSafeSignal(EventSelectError, errorText());
    else
        postSafeSignal(EventSelectReady);
    emit signalSelectIsFinished(this);
}

bool DBTransTab::selectSync(bool force)
{
    clearResult();
    for (const Member &member : std::as_const(m_members)) {
        if (member.noSelect || (!force && member.table->isReadDone()))
            continue;
        if (!member.table->selectSync()) {
            setResult(member.table->resultCode(), member.table->errorText());
            return false;
        }
    }
    return true;
}

void DBTransTab::collect(int firstKey)
{
    DBCtrl *ctrl = connection()->transCtrl();
    for (int i = 0; i < count(); ++i) {
        const Member &member = m_members.at(i);
        if (member.noTransaction)
            continue;
        const int key = member.table->transactionKey() != -1 ? member.table->transactionKey()
                                                             : firstKey + i;
        ctrl->addOperations(key, member.table->statements(), member.table->operationsMarker());
    }
    ctrl->logOperations();
}

bool DBTransTab::applySync()
{
    clearResult();
    DBCtrl *ctrl = connection()->transCtrl();
    if (!ctrl->apply(false)) {
        setResult(ctrl->resultCode(), ctrl->errorText());
        return false;
    }
    for (const Member &member : std::as_const(m_members)) {
        if (!member.noTransaction)
            member.table->takeSnapshot();
    }
    return true;
}

void DBTransTab::applyAsync()
{
    clearResult();
    DBCtrl *ctrl = connection()->transCtrl();
    connect(ctrl, &DBCtrl::signalFinished, this, &DBTransTab::slotApplyIsFinished,
            Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
    ctrl->applyAsync(false);
}

void DBTransTab::slotApplyIsFinished(DBCtrl *ctrl)
{
    disconnect(ctrl, &DBCtrl::signalFinished, this, &DBTransTab::slotApplyIsFinished);
    if (ctrl->resultCode() != 0) {
        setResult(ctrl->resultCode(), ctrl->errorText());
        postSafeSignal(EventApplyError, ctrl->errorText());
    } else {
        for (const Member &member : std::as_const(m_members)) {
            if (!member.noTransaction)
                member.table->takeSnapshot();
        }
        postSafeSignal(EventApplyReady);
    }
    emit signalApplyIsFinished(this);
}

void DBTransTab::revert()
{
    connection()->transCtrl()->clearOperations();
    for (const Member &member : std::as_const(m_members)) {
        if (!member.noTransaction)
            member.table->revert();
    }
}

bool DBTransTab::isModified() const
{
    for (const Member &member : m_members) {
        if (!member.noTransaction && member.table->isModified())
            return true;
    }
    return false;
}
