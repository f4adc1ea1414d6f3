#pragma once

#include "db/dbtable.h"

#include <QHash>

class DBRow;

// The server's "Log" table: one row per output stream of a log. It is never
// written with insert, update or delete: every change becomes a call of
// LogCtrl (add 7, remove 8, flags 6, rotation 9, size 10, kept files 11).
class FLogTable : public DBTable
{
    Q_OBJECT

public:
    static constexpr qint64 kDisabledFlag = 0x20000;

    explicit FLogTable(DBConn *connection, QObject *parent = nullptr);

    static QList<DBKol> columns();
    // The add statement of a row (also used to put a removed stream back).
    static QString addStatement(const DBRow &row);
    // The column values of a stream row, by name, to restore it later.
    static QHash<QString, QString> valuesOf(const DBRow &row);
    static QString addStatement(const QHash<QString, QString> &values);

protected:
    QStringList insertStatements(const DBRow &row) const override;
    QStringList updateStatements(const DBRow &baseline, const DBRow &edited) const override;
    QStringList deleteStatements(const DBRow &row) const override;
};

// The streams of one log: at most one file, one syslog and one radius row.
struct FLogStreams
{
    DBRow *file = nullptr;
    DBRow *syslog = nullptr;
    DBRow *radius = nullptr;
};

// The table's rows by log name.
class FLogDict
{
public:
    void rebuild(const DBTable &table);
    FLogStreams streams(const QString &logName) const { return m_logs.value(logName); }
    bool contains(const QString &logName) const { return m_logs.contains(logName); }

private:
    QHash<QString, FLogStreams> m_logs;
};
