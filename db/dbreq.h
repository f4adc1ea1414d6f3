// One query queued on the connection, with its result and typed readers.
#ifndef DB_DBREQ_H
#define DB_DBREQ_H

#include "db/dbobject.h"
#include "db/dbvalues.h"
#include "lumadb/lumadb.h"

#include <QObject>
#include <QString>

#include <atomic>

class DBConn;

class DBReq : public QObject, public DBObject
{
    Q_OBJECT

public:
    // An asynchronous request is owned by the connection once queued and
    // deleted by its worker after signalFinished; a synchronous one stays the
    // creator's.
    explicit DBReq(const QString &query = QString(), bool asynchronous = false,
                   QObject *parent = nullptr);
    ~DBReq() override;

    QString query() const { return m_query; }
    bool isAsynchronous() const { return m_asynchronous; }
    bool isFinished() const { return m_finished.load(std::memory_order_acquire); }
    bool isRunning() const { return m_running.load(std::memory_order_acquire); }
    bool isCancellable() const { return m_cancellable.load(std::memory_order_acquire); }
    void setCancellable(bool cancellable) { m_cancellable.store(cancellable); }
    bool hasResult() const { return m_hasResult; }
    // The system error that came with code 101, else 0.
    uint errorDetail() const { return m_errorDetail; }

    // Clear every outcome so the request can be queued again.
    void reset();
    // Decode a result block that did not come through the connection (a
    // recorded reply) as this request's successful outcome. False when the
    // block is malformed.
    bool adoptBlock(const QByteArray &block);

    int rowCount() const;
    int columnCount() const;

    // Name, type and attribute of a result column; false before the request
    // finished or for an invalid column. extra is always 0.
    bool columnInfo(int column, QString *name, int *type, bool *attribute, int *extra) const;

    DBInt readInt(int row, int column) const;
    DBInt64 readInt64(int row, int column) const;
    DBIpAddr readIpAddr(int row, int column) const;
    DBPort readPort(int row, int column) const;
    // wireType 6 converts the bytes to hexadecimal, 8 joins list items by ",".
    DBStr readStr(int row, int column, int wireType = DBType::Text) const;
    DBRawStr readRawStr(int row, int column, int wireType = DBType::RawText) const;
    DBIdList readIdList(int row, int column, int wireType = DBType::IdList) const;
    DBBinary readBinary(int row, int column, int wireType = DBType::Binary) const;

    // The cell's bytes inside the result, without copying (nullptr, 0 on error).
    QByteArrayView cellBytes(int row, int column) const;
    // Every cell of one row in one walk, without copying: data and length
    // each have columnCount() entries. False for an invalid row.
    bool rowCells(int row, const unsigned char **data, uint32_t *length) const;

signals:
    void signalFinished(DBReq *req);
    void signalWaiting();

public slots:
    void emitSignalFinished();

private:
    friend class DBConn;

    bool readFixed(int row, int column, void *buffer, uint size) const;
    QByteArray readText(int row, int column, int wireType) const;
    void releaseResult();

    lumadb_result m_result{};
    std::atomic<bool> m_finished{false};
    QString m_query;
    const bool m_asynchronous;
    std::atomic<bool> m_cancellable{true};
    std::atomic<bool> m_running{false};
    bool m_hasResult = false;
    uint m_errorDetail = 0;
};

#endif // DB_DBREQ_H
