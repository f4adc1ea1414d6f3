// One transaction: statements sent one by one, each committed by the server
// on its own. A transaction cut by a lost connection leaves its unsent
// statements in the controller's undo list.
#ifndef DB_DBTRANSREQ_H
#define DB_DBTRANSREQ_H

#include "db/dbconnobject.h"
#include "db/dbsafesignal.h"

#include <QStringList>

class DBReq;

class DBTransReq : public DBSafeSignal, public DBConnObject
{
    Q_OBJECT

public:
    // Names that select the lost-connection handling.
    static constexpr const char *ControllerName = "DBCtrl::trans";
    static constexpr const char *UndoName = "DBCtrl::transUndo";
    static constexpr const char *SynSaveName = "DBTable::synSave";

    DBTransReq(DBConn *connection, const QString &name, bool undoCapable,
               QObject *parent = nullptr);
    DBTransReq(const DBTransReq &other);
    DBTransReq &operator=(const DBTransReq &) = delete;

    QString name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }
    QStringList statements() const { return m_statements; }
    void clearStatements() { m_statements.clear(); }
    void appendStatement(const QString &statement) { m_statements.append(statement); }
    void appendStatements(const QStringList &statements) { m_statements += statements; }
    int currentIndex() const { return m_currentIndex; }

    // Send every statement in order and wait; stops at the first failure.
    bool execSync();
    // Send the statements one after another through asynchronous requests.
    void execAsync();

signals:
    void signalFinished(DBTransReq *trans);
    void signalReady();
    void signalError(const QString &error);
    void signalSynExecuted(DBReq *req, bool *ok);
    void signalSaveUndoCommands(int first);

public slots:
    void slotFinished(DBReq *req);

protected:
    enum { EventReady = 1002, EventError = 1003 };
    void safeEmit1002() override { emit signalReady(); }
    void safeEmit1003(const QVariant &error) override { emit signalError(error.toString()); }

private:
    void handleFailure();
    void sendNext();
    void finishAsync();

    QStringList m_statements;
    int m_currentIndex = 0;
    int m_nextIndex = 0;
    bool m_undoCapable;
};

#endif // DB_DBTRANSREQ_H
