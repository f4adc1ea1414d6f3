#include "db/dbtransreq.h"

#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbreq.h"
#include "lumadb/lumadb.h"

DBTransReq::DBTransReq(DBConn *connection, const QString &name, bool undoCapable, QObject *parent)
    : DBSafeSignal(parent)
    , DBConnObject(connection)
    , m_undoCapable(undoCapable)
{
    setObjectName(name);
}

DBTransReq::DBTransReq(const DBTransReq &other)
    : DBSafeSignal(nullptr)
    , DBConnObject(other.connection())
    , m_statements(other.m_statements)
    , m_currentIndex(other.m_currentIndex)
    , m_nextIndex(other.m_nextIndex)
    , m_undoCapable(other.m_undoCapable)
{
    setObjectName(other.objectName());
    setResult(other.resultCode(), other.errorText());
}

bool DBTransReq::execSync()
{
    clearResult();
    for (int i = 0; i < m_statements.size(); ++i) {
        m_currentIndex = i;
        DBReq req(m_statements.at(i));
        if (!connection()->execSync(&req)) {
            setResult(req.resultCode(), req.errorText());
            handleFailure();
            return false;
        }
        bool ok = true;
        emit signalSynExecuted(&req, &ok);
        if (!ok) {
            // A receiver stopped the transaction after this statement.
            m_currentIndex = i + 1;
            setResult(LUMADB_ERR_SYSTEM,
                      DBConn::errorTextFor(LUMADB_ERR_SYSTEM, 0, false, QString()));
            return false;
        }
    }
    m_currentIndex = int(m_statements.size());
    return true;
}

void DBTransReq::handleFailure()
{
    DBCtrl *ctrl = connection() ? connection()->transCtrl() : nullptr;
    if (!ctrl)
        return;
    const QString transactionName = name();
    if (transactionName == QLatin1String(UndoName)) {
        // Everything before the failed statement reached the server.
        ctrl->dropUndoFront(m_currentIndex);
        ctrl->logUndo();
    } else if ((transactionName == QLatin1String(ControllerName)
                || transactionName == QLatin1String(SynSaveName))
               && m_undoCapable && resultCode() == LUMADB_ERR_NETWORK) {
        ctrl->saveUndoAfterCut(transactionName, m_statements, m_currentIndex);
        emit signalSaveUndoCommands(m_currentIndex);
        ctrl->logUndo();
    }
}

void DBTransReq::execAsync()
{
    clearResult();
    m_nextIndex = 0;
    sendNext();
}

void DBTransReq::sendNext()
{
    if (m_nextIndex >= m_statements.size()) {
        finishAsync();
        return;
    }
    m_currentIndex = m_nextIndex++;
    connection()->execAsync(m_statements.at(m_currentIndex), this, SLOT(slotFinished(DBReq *)));
}

void DBTransReq::slotFinished(DBReq *req)
{
    if (req->resultCode() != 0) {
        setResult(req->resultCode(), req->errorText());
        handleFailure();
        finishAsync();
        return;
    }
    sendNext();
}

void DBTransReq::finishAsync()
{
    if (resultCode() != 0)
        postSafeSignal(EventError, errorText());
    else
        postSafeSignal(EventReady);
    emit signalFinished(this);
}
