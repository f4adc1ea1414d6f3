#include "app/fserverquery.h"

#include "db/dbconn.h"
#include "db/dbevent.h"
#include "db/dbreq.h"

#include <QCoreApplication>
#include <QPointer>

#include <utility>

int FQueryResult::column(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString FQueryResult::firstValue(const QString &name) const
{
    const int index = column(name);
    return index < 0 || rows.isEmpty() ? QString() : rows.first().value(index);
}

namespace {

QString cellText(const DBReq &req, int row, int column, int type)
{
    switch (type) {
    case 2:
        return req.readInt(row, column).toString();
    case 3:
        return req.readInt64(row, column).toString();
    case 4:
        return req.readIpAddr(row, column).toString();
    case 7:
        return req.readPort(row, column).toString();
    case 8:
        return req.readIdList(row, column, type).toString();
    case 6:
        return req.readBinary(row, column, type).toString();
    default:
        return req.readStr(row, column, type).toString();
    }
}

// Runs on the worker thread while the request is still alive.
FQueryResult collect(const DBReq &req)
{
    FQueryResult result;
    result.code = req.resultCode();
    result.errorText = req.errorText();
    if (!req.succeeded() || !req.hasResult())
        return result;
    QList<int> types;
    for (int c = 0; c < req.columnCount(); ++c) {
        QString name;
        int type = 1;
        bool attribute = false;
        int extra = 0;
        req.columnInfo(c, &name, &type, &attribute, &extra);
        result.columns.append(name);
        types.append(type);
    }
    for (int r = 0; r < req.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < types.size(); ++c)
            row.append(cellText(req, r, c, types.at(c)));
        result.rows.append(row);
    }
    return result;
}

} // namespace

namespace FServerQuery {

bool run(DBConn *connection, const QString &query, QObject *context, Callback callback)
{
    if (!connection)
        return false;
    auto *req = new DBReq(query, true);
    req->setCancellable(false);
    // The worker builds the whole result from the request, then moves it,
    // with the callback, into the queued call: the interface thread receives
    // a finished value that no other thread keeps or touches again.
    QObject::connect(
            req, &DBReq::signalFinished, req,
            [guard = QPointer<QObject>(context),
             callback = std::move(callback)](DBReq *finished) mutable {
                FQueryResult result = collect(*finished);
                DBEvent::beforePost();
                QMetaObject::invokeMethod(
                        QCoreApplication::instance(),
                        [guard = std::move(guard), callback = std::move(callback),
                         result = std::move(result)] {
                            DBEvent::afterReceive();
                            if (guard)
                                callback(result);
                        },
                        Qt::QueuedConnection);
            },
            Qt::DirectConnection);
    connection->addRequest(req);
    return true;
}

} // namespace FServerQuery
