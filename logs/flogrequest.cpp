#include "logs/flogrequest.h"

#include "db/dbconn.h"
#include "db/dbevent.h"

#include <QCoreApplication>

namespace fwndlog {

int FLogReply::column(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void FLogMailbox::post(FLogEvent *event)
{
    std::lock_guard locker(m_lock);
    if (!m_receiver) {
        delete event;
        return;
    }
    DBEvent::beforePost();
    QCoreApplication::postEvent(m_receiver, event);
}

void FLogMailbox::detach()
{
    std::lock_guard locker(m_lock);
    m_receiver = nullptr;
}

FLogRequest::FLogRequest(const QString &query, std::shared_ptr<FLogMailbox> mailbox, FLogReply meta)
    : DBReq(query, true)
    , m_mailbox(std::move(mailbox))
    , m_meta(std::move(meta))
{
    connect(
            this, &DBReq::signalFinished, this, [this] { finish(); }, Qt::DirectConnection);
}

void FLogRequest::send(DBConn *conn, const QString &query, std::shared_ptr<FLogMailbox> mailbox,
                       FLogReply meta, bool cancellable)
{
    auto *req = new FLogRequest(query, std::move(mailbox), std::move(meta));
    req->setCancellable(cancellable);
    conn->addRequest(req);
}

namespace {

QString cellText(const DBReq &req, int row, int column, int type)
{
    switch (type) {
    case 2:
        return req.readInt(row, column).toString();
    case 3:
        return req.readInt64(row, column).toString();
    default:
        return req.readStr(row, column, type).toString();
    }
}

} // namespace

// Runs on the worker while the request is alive: copy, post, done.
void FLogRequest::finish()
{
    FLogReply reply = m_meta;
    reply.cancelled = m_cancelled.load();
    reply.code = resultCode();
    reply.errorText = errorText();
    if (reply.code == 0 && hasResult()) {
        const int rows = rowCount();
        if (reply.kind == ReadKind::Page || reply.kind == ReadKind::Update) {
            int lineColumn = 0;
            for (int c = 0; c < columnCount(); ++c) {
                QString name;
                int type = 0;
                bool attribute = false;
                int extra = 0;
                if (columnInfo(c, &name, &type, &attribute, &extra)
                    && name.compare(QLatin1String("line"), Qt::CaseInsensitive) == 0)
                    lineColumn = c;
            }
            // One copy of all the lines; each line is a view into it, so a
            // chunk of 10 000 lines costs two allocations, not 10 000.
            QList<QByteArrayView> cells;
            cells.reserve(rows);
            qsizetype total = 0;
            for (int r = 0; r < rows; ++r) {
                QByteArrayView cell = cellBytes(r, lineColumn);
                while (cell.endsWith('\0')) // text cells carry their terminator
                    cell.chop(1);
                cells.append(cell);
                total += cell.size();
            }
            reply.block.reserve(total);
            for (const QByteArrayView &cell : std::as_const(cells))
                reply.block.append(cell);
            reply.lines.reserve(rows);
            qsizetype at = 0;
            for (const QByteArrayView &cell : std::as_const(cells)) {
                reply.lines.append(
                        QByteArray::fromRawData(reply.block.constData() + at, cell.size()));
                at += cell.size();
            }
        } else {
            QList<int> types;
            for (int c = 0; c < columnCount(); ++c) {
                QString name;
                int type = 1;
                bool attribute = false;
                int extra = 0;
                columnInfo(c, &name, &type, &attribute, &extra);
                reply.columns.append(name);
                types.append(type);
            }
            for (int r = 0; r < rows; ++r) {
                QStringList row;
                for (int c = 0; c < types.size(); ++c)
                    row.append(cellText(*this, r, c, types.at(c)));
                reply.rows.append(row);
            }
        }
    }
    FLogEvent::Type type = FLogEvent::CommandFinished;
    switch (reply.kind) {
    case ReadKind::Info:
        type = FLogEvent::InfoFinished;
        break;
    case ReadKind::Page:
        type = FLogEvent::DataFinished;
        break;
    case ReadKind::Update:
        type = FLogEvent::UpdateFinished;
        break;
    default:
        break;
    }
    m_mailbox->post(new FLogEvent(type, std::move(reply)));
}

} // namespace fwndlog
