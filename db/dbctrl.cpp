#include "db/dbctrl.h"

#include "db/dbconn.h"
#include "db/dbtransreq.h"
#include "db/utdebug.h"

#include <QCoreApplication>
#include <QThread>

DBCtrl::DBCtrl(DBConn *connection, QObject *parent)
    : DBSafeSignal(parent)
    , DBConnObject(connection)
    , m_trans(new DBTransReq(connection, QLatin1String(DBTransReq::ControllerName), true, this))
{ }

DBCtrl::~DBCtrl() = default;

void DBCtrl::reportEmpty(bool empty)
{
    if (QThread::currentThread() == thread())
        emit signalEmpty(empty);
    else
        postSafeSignal(EventEmpty, empty);
}

void DBCtrl::reportOperations(const QString &text)
{
    if (QThread::currentThread() == thread())
        emit signalOperations(text);
    else
        postSafeSignal(EventOperations, text);
}

void DBCtrl::addOperations(int tableKey, const QStringList &statements, bool marker)
{
    if (!connection() || !connection()->mayModify()) {
        reportOperations(
                QCoreApplication::translate("DBCtrl", "You have no rights to modify this data!"));
        return;
    }
    bool wasEmpty;
    bool isEmpty;
    QString text;
    {
        std::lock_guard locker(m_lock);
        wasEmpty = m_count == 0;
        m_operations.remove(tableKey);
        if (!statements.isEmpty())
            m_operations.insert(tableKey, statements);
        m_count = 0;
        for (const QStringList &list : std::as_const(m_operations))
            m_count += int(list.size());
        isEmpty = m_count == 0;
        m_markers.insert(tableKey, marker);
        bool anyMarker = false;
        for (bool m : std::as_const(m_markers))
            anyMarker = anyMarker || m;
        text = textFor(m_count, anyMarker);
    }
    if (wasEmpty != isEmpty)
        reportEmpty(isEmpty);
    reportOperations(text);
}

QString DBCtrl::textFor(int count, bool anyMarker) const
{
    if (anyMarker)
        return QCoreApplication::translate("DBCtrl", "Several operations pending");
    if (count == 0)
        return QString();
    if (count == 1)
        return QCoreApplication::translate("DBCtrl", "1 operation pending");
    return QCoreApplication::translate("DBCtrl", "%1 operations pending").arg(count);
}

QString DBCtrl::operationsText() const
{
    std::lock_guard locker(m_lock);
    bool anyMarker = false;
    for (bool m : std::as_const(m_markers))
        anyMarker = anyMarker || m;
    return textFor(m_count, anyMarker);
}

int DBCtrl::operationCount() const
{
    std::lock_guard locker(m_lock);
    return m_count;
}

QStringList DBCtrl::operations() const
{
    std::lock_guard locker(m_lock);
    QStringList all;
    for (const QStringList &list : m_operations)
        all += list;
    return all;
}

QStringList DBCtrl::undoList() const
{
    std::lock_guard locker(m_lock);
    return m_undo;
}

void DBCtrl::moveOperationsToUndo()
{
    bool wasEmpty;
    {
        std::lock_guard locker(m_lock);
        for (const QStringList &list : std::as_const(m_operations))
            m_undo += list;
        clearOperationsLocked(&wasEmpty);
    }
    if (!wasEmpty)
        reportEmpty(true);
    reportOperations(QString());
}

bool DBCtrl::isUndoEnabled() const
{
    std::lock_guard locker(m_lock);
    return m_undoEnabled;
}

void DBCtrl::setUndoEnabled(bool enabled)
{
    std::lock_guard locker(m_lock);
    m_undoEnabled = enabled;
}

void DBCtrl::clearOperationsLocked(bool *wasEmpty)
{
    *wasEmpty = m_count == 0;
    m_operations.clear();
    m_markers.clear();
    m_count = 0;
}

void DBCtrl::clearOperations()
{
    bool wasEmpty;
    {
        std::lock_guard locker(m_lock);
        clearOperationsLocked(&wasEmpty);
    }
    if (!wasEmpty)
        reportEmpty(true);
    reportOperations(QString());
}

void DBCtrl::clearUndo()
{
    std::lock_guard locker(m_lock);
    if (m_undoEnabled)
        m_undo.clear();
}

void DBCtrl::prepare(bool undo)
{
    clearResult();
    m_trans->clearStatements();
    if (undo) {
        m_trans->setName(QLatin1String(DBTransReq::UndoName));
        m_trans->appendStatements(undoList());
    } else {
        m_trans->setName(QLatin1String(DBTransReq::ControllerName));
        m_trans->appendStatements(operations());
    }
}

bool DBCtrl::apply(bool undo)
{
    prepare(undo);
    if (!m_trans->execSync()) {
        setResult(m_trans->resultCode(), m_trans->errorText());
        return false;
    }
    if (undo) {
        std::lock_guard locker(m_lock);
        m_undo.clear();
    } else {
        clearOperations();
    }
    return true;
}

void DBCtrl::applyAsync(bool undo)
{
    prepare(undo);
    connect(m_trans, &DBTransReq::signalFinished, this, &DBCtrl::slotFinished,
            Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
    m_trans->execAsync();
}

void DBCtrl::slotFinished(DBTransReq *trans)
{
    const bool undoRun = trans->name() == QLatin1String(DBTransReq::UndoName);
    if (trans->resultCode() != 0) {
        setResult(trans->resultCode(), trans->errorText());
        postSafeSignal(EventError, trans->errorText());
    } else {
        if (undoRun) {
            std::lock_guard locker(m_lock);
            m_undo.clear();
        } else {
            clearOperations();
        }
        postSafeSignal(EventReady);
    }
    emit signalFinished(this);
}

void DBCtrl::saveUndoAfterCut(const QString &transactionName, const QStringList &statements,
                              int failedIndex)
{
    bool wasEmpty;
    {
        std::lock_guard locker(m_lock);
        QStringList pending;
        for (const QStringList &list : std::as_const(m_operations))
            pending += list;
        if (m_undoEnabled) {
            m_undo.clear();
            if (transactionName == QLatin1String(DBTransReq::ControllerName))
                m_undo = pending.mid(failedIndex);
            else
                m_undo = pending + statements.mid(failedIndex);
        }
        clearOperationsLocked(&wasEmpty);
    }
    if (!wasEmpty)
        reportEmpty(true);
    reportOperations(QString());
}

void DBCtrl::dropUndoFront(int count)
{
    std::lock_guard locker(m_lock);
    m_undo.remove(0, qBound(0, count, int(m_undo.size())));
}

void DBCtrl::logOperations() const
{
    const QStringList all = operations();
    for (int i = 0; i < all.size(); ++i)
        utDebug(UtDebug::CategoryQuery, 3, QStringLiteral("{%1} %2").arg(i + 1).arg(all.at(i)));
}

void DBCtrl::logUndo() const
{
    const QStringList all = undoList();
    for (int i = 0; i < all.size(); ++i)
        utDebug(UtDebug::CategoryQuery, 4, QStringLiteral("{%1} %2").arg(i + 1).arg(all.at(i)));
}
