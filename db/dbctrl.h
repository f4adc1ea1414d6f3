// The connection's transaction controller: pending statements of every page
// ordered by table key, the pending-operations text, the undo list of a cut
// transaction and the Apply that sends them.
#ifndef DB_DBCTRL_H
#define DB_DBCTRL_H

#include "db/dbconnobject.h"
#include "db/dbsafesignal.h"

#include <QMap>
#include <QStringList>

#include <mutex>

class DBTransReq;

class DBCtrl : public DBSafeSignal, public DBConnObject
{
    Q_OBJECT

public:
    explicit DBCtrl(DBConn *connection, QObject *parent = nullptr);
    ~DBCtrl() override;

    // Replace the statements stored under tableKey. Refused (and reported
    // through signalOperations) when the user may not modify data.
    void addOperations(int tableKey, const QStringList &statements, bool marker = false);
    // Send the operations (or, with undo, the undo list) as one transaction.
    bool apply(bool undo = false);
    // The same without waiting; signalReady/signalError and signalFinished report.
    void applyAsync(bool undo = false);
    void clearOperations();
    void clearUndo();

    QString operationsText() const;
    int operationCount() const;
    // Every operation in sending order: ascending key, then insertion order.
    QStringList operations() const;
    QStringList undoList() const;
    // Move the pending operations to the end of the undo list and clear them.
    void moveOperationsToUndo();
    bool isUndoEnabled() const;
    void setUndoEnabled(bool enabled);
    DBTransReq *transaction() const { return m_trans; }

    // Write the operations (level 3) or the undo list (level 4) to the debug output.
    void logOperations() const;
    void logUndo() const;

    // Lost-connection handling of a transaction (called by DBTransReq).
    void saveUndoAfterCut(const QString &transactionName, const QStringList &statements,
                          int failedIndex);
    void dropUndoFront(int count);

signals:
    void signalEmpty(bool empty);
    void signalOperations(const QString &operations);
    void signalFinished(DBCtrl *ctrl);
    void signalReady();
    void signalError(const QString &error);

public slots:
    void slotFinished(DBTransReq *trans);

protected:
    enum { EventEmpty = 1001, EventReady = 1002, EventError = 1003, EventOperations = 1005 };
    void safeEmit1001(const QVariant &empty) override { emit signalEmpty(empty.toBool()); }
    void safeEmit1002() override { emit signalReady(); }
    void safeEmit1003(const QVariant &error) override { emit signalError(error.toString()); }
    void safeEmit1005(const QVariant &text) override { emit signalOperations(text.toString()); }

private:
    void prepare(bool undo);
    QString textFor(int count, bool anyMarker) const;
    // Emitted directly on the controller's thread, posted from any other.
    void reportEmpty(bool empty);
    void reportOperations(const QString &text);
    void clearOperationsLocked(bool *wasEmpty);

    mutable std::mutex m_lock; // operations and undo list: async runs finish on the worker
    QMap<int, QStringList> m_operations;
    int m_count = 0;
    QMap<int, bool> m_markers;
    DBTransReq *m_trans;
    QStringList m_undo;
    bool m_undoEnabled = true;
};

#endif // DB_DBCTRL_H
