// The console's view of one remote table: its name, columns, filter and
// controls, and three row lists — the rows as edited (working), the state the
// next statements are computed against (baseline) and the state the server
// last confirmed. Pages read and edit rows, then ask for the statements that
// carry the edits to the server.
#ifndef DB_DBTABLE_H
#define DB_DBTABLE_H

#include "db/dbconnobject.h"
#include "db/dbkols.h"
#include "db/dbrow.h"
#include "db/dbsafesignal.h"

#include <QList>
#include <QStringList>

class DBConn;
class DBReq;
class DBTransReq;

// How a table selects, compares and saves its rows.
struct DBTableOptions
{
    // Each statements() call moves the baseline forward (one transaction
    // collects the statements several times).
    bool accumulate = false;
    // Key columns compare ignoring letter case in the key check.
    bool keysIgnoreCase = false;
    // The condition after " where " of the select.
    QString filter = QString();
    // The text after " controls " of the select.
    QString controls = QString();
    // Rows carry "$RowSource"; deleting a directory row resets it instead.
    bool directoryAware = false;
    // A select appends its rows instead of replacing them.
    bool appendOnRead = false;
};

class DBTable : public DBSafeSignal, public DBConnObject
{
    Q_OBJECT

public:
    // Reasons isKeyUnique gives.
    enum KeyReason {
        KeyDuplicate = 0,
        KeyEmptyText = 10,
        KeyZeroAddress = 11,
        KeyZeroPort = 12,
        KeyZeroNumber = 13,
    };

    using Options = DBTableOptions;

    DBTable(DBConn *connection, const QString &tableName,
            const QList<DBKol> &columns = QList<DBKol>(), const Options &options = Options(),
            QObject *parent = nullptr);
    DBTable(DBConn *connection, const QString &tableName, const DBKolDecl *declarations,
            const Options &options = Options(), QObject *parent = nullptr);
    // Copies configuration, columns and all three row lists (rows keep their numbers).
    explicit DBTable(const DBTable &other);
    DBTable &operator=(const DBTable &) = delete;
    ~DBTable() override;

    // Configuration.
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name) { m_tableName = name; }
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }
    QString controls() const { return m_controls; }
    void setControls(const QString &controls) { m_controls = controls; }
    bool accumulate() const { return m_accumulate; }
    void setAccumulate(bool on) { m_accumulate = on; }
    bool keysIgnoreCase() const { return m_keysIgnoreCase; }
    void setKeysIgnoreCase(bool on) { m_keysIgnoreCase = on; }
    bool isDirectoryAware() const { return m_directoryAware; }
    bool appendOnRead() const { return m_appendOnRead; }
    void setAppendOnRead(bool on) { m_appendOnRead = on; }
    int transactionKey() const { return m_transactionKey; }
    void setTransactionKey(int key) { m_transactionKey = key; }
    DBKols &columns() { return m_columns; }
    const DBKols &columns() const { return m_columns; }
    int highestId() const { return m_highestId; }
    bool isReadDone() const { return m_readDone; }
    void setReadDone(bool done) { m_readDone = done; }
    // Reported with the statements to the transaction controller.
    virtual bool operationsMarker() const { return false; }

    // Working rows (owned by the table; pointers stay valid until removed).
    int rowCount() const { return int(m_rows.size()); }
    DBRow *row(int index) const;
    const QList<DBRow *> &rows() const { return m_rows; }
    // A new row (initial values, new row number) appended to the working rows.
    DBRow *addRow();
    // A copy of row (same row number) appended to the working rows.
    DBRow *appendRow(const DBRow &row);
    void removeRow(int index);
    bool removeRow(DBRow *row);
    void clearRows();
    int indexOfRow(const DBRow *row) const;

    int baselineCount() const { return int(m_baseline.size()); }
    const DBRow &baselineRow(int index) const { return m_baseline.at(index); }
    int confirmedCount() const { return int(m_confirmed.size()); }
    const DBRow &confirmedRow(int index) const { return m_confirmed.at(index); }
    // Position of the row with this row number, or -1.
    int indexInConfirmed(int rowNumber) const;

    // Selecting. The finished signal is delivered on the worker thread.
    void select(QObject *receiver, const char *slot);
    void select(QObject *readyReceiver, const char *readySlot, QObject *errorReceiver,
                const char *errorSlot);
    bool selectSync();
    QString selectQuery() const;
    // Replace (or, with append on read, extend) the rows from a finished select.
    void readRows(const DBReq &request);

    // Statements that carry the edits to the server; kept as pending statements.
    QStringList statements();
    QStringList pendingStatements() const { return m_pending; }
    bool save();
    bool isModified() const;
    void revert();
    // Confirmed and baseline rows become copies of the working rows.
    void takeSnapshot();
    bool isKeyUnique(const DBRow *row, int *reason = nullptr) const;
    // " where k='v' and ..." over the key columns; empty without keys.
    QString keyCondition(const DBRow &row) const;
    DBTransReq *synSaveRequest() const { return m_synSave; }

signals:
    void signalSaveIsFinished(DBTable *table);
    void signalSaveIsReady();
    void signalSaveIsError(const QString &error);
    void signalSelectIsFinished(DBTable *table);
    void signalSelectIsReady();
    void signalSelectIsError(const QString &error);

public slots:
    virtual void slotSelectIsFinished(DBReq *req);
    virtual void slotSaveIsFinished(DBTransReq *trans);

protected:
    virtual QString tableNameForSelect() const { return m_tableName; }
    virtual QString tableNameForInsert() const { return m_tableName; }
    virtual QString tableNameForUpdate() const { return m_tableName; }
    virtual QString tableNameForDelete() const { return m_tableName; }
    virtual QStringList insertStatements(const DBRow &row) const;
    virtual QString insertAssignment(const DBRow &row, int column) const;
    virtual QStringList updateStatements(const DBRow &baseline, const DBRow &edited) const;
    virtual QString updateAssignment(const DBRow &edited, int column) const;
    virtual QStringList deleteStatements(const DBRow &row) const;

    // Posted-event numbers of the table's signals.
    enum {
        EventSaveReady = 1002,
        EventSaveError = 1003,
        EventSelectReady = 1004,
        EventSelectError = 1005
    };
    void safeEmit1002() override;
    void safeEmit1003(const QVariant &error) override;
    void safeEmit1004() override;
    void safeEmit1005(const QVariant &error) override;

private:
    void init();
    qint64 rowSource(const DBRow &row) const;
    QString keySignature(const DBRow &row) const;

    QList<DBRow *> m_rows;
    QList<DBRow> m_baseline;
    QList<DBRow> m_confirmed;
    int m_highestId = 0;
    QString m_tableName;
    bool m_accumulate;
    bool m_keysIgnoreCase;
    QString m_filter;
    QString m_controls;
    bool m_directoryAware;
    bool m_appendOnRead;
    bool m_readDone = false;
    DBKols m_columns;
    bool m_declaredColumns = false;
    DBTransReq *m_synSave = nullptr;
    int m_transactionKey = -1;
    QStringList m_pending;
};

#endif // DB_DBTABLE_H
