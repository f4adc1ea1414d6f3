#include "logs/flogtable.h"

#include "db/dbquote.h"
#include "db/dbrow.h"
#include "db/utdebug.h"

#include <QUrl>

namespace {

QString call(const QString &log, const char *operation, const QStringList &values)
{
    QStringList arguments{dbLiteral(log), dbLiteral(QString::fromLatin1(operation))};
    for (const QString &value : values)
        arguments.append(dbLiteral(value));
    return QStringLiteral("select LogCtrl(%1)").arg(arguments.join(QStringLiteral(", ")));
}

} // namespace

FLogTable::FLogTable(DBConn *connection, QObject *parent)
    : DBTable(connection, QStringLiteral("Log"), columns(), Options(), parent)
{ }

QList<DBKol> FLogTable::columns()
{
    return {DBKol(1, "LogName", true), DBKol(1, "StreamURL", true), DBKol(2, "StreamFlags"),
            DBKol(2, "RotateCount"),   DBKol(2, "RotateFlags"),     DBKol(3, "MaxSize"),
            DBKol(2, "NextRotate")};
}

QString FLogTable::addStatement(const DBRow &row)
{
    return addStatement(valuesOf(row));
}

QHash<QString, QString> FLogTable::valuesOf(const DBRow &row)
{
    QHash<QString, QString> values;
    for (const char *column :
         {"LogName", "StreamURL", "StreamFlags", "RotateFlags", "MaxSize", "RotateCount"})
        values.insert(QString::fromLatin1(column), row.text(column));
    return values;
}

QString FLogTable::addStatement(const QHash<QString, QString> &values)
{
    const auto value
            = [&values](const char *column) { return values.value(QString::fromLatin1(column)); };
    return call(value("LogName"), "7",
                {value("StreamURL"), value("StreamFlags"), value("RotateFlags"), value("MaxSize"),
                 value("RotateCount")});
}

QStringList FLogTable::insertStatements(const DBRow &row) const
{
    return {addStatement(row)};
}

QStringList FLogTable::updateStatements(const DBRow &baseline, const DBRow &edited) const
{
    QStringList statements;
    const QString log = edited.text("LogName");
    const QString url = edited.text("StreamURL");
    if (baseline.text("StreamURL") != url) {
        statements.append(call(log, "8", {baseline.text("StreamURL")}));
        statements.append(addStatement(edited));
    }
    const struct
    {
        const char *column;
        const char *operation;
    } values[] = {
            {"StreamFlags", "6"}, {"RotateCount", "11"}, {"RotateFlags", "9"}, {"MaxSize", "10"}};
    for (const auto &value : values) {
        if (baseline.text(value.column) != edited.text(value.column))
            statements.append(call(log, value.operation, {url, edited.text(value.column)}));
    }
    return statements;
}

QStringList FLogTable::deleteStatements(const DBRow &row) const
{
    return {call(row.text("LogName"), "8", {row.text("StreamURL")})};
}

void FLogDict::rebuild(const DBTable &table)
{
    m_logs.clear();
    for (int i = 0; i < table.rowCount(); ++i) {
        DBRow *row = table.row(i);
        const QString log = row->text("LogName");
        const QString url = row->text("StreamURL");
        FLogStreams &streams = m_logs[log];
        if (url.contains(QLatin1String("file:///")))
            streams.file = row;
        else if (url.contains(QLatin1String("syslog://")))
            streams.syslog = row;
        else if (url.contains(QLatin1String("radius://")))
            streams.radius = row;
        else
            utDebug(15, 4,
                    QStringLiteral("The '%1' log contains invalid stream '%2'.")
                            .arg(log, QUrl(url).toDisplayString(QUrl::RemovePassword)));
    }
}
