#pragma once

#include "db/dbreq.h"
#include "logs/flogevent.h"

#include <atomic>
#include <memory>
#include <mutex>

class DBConn;
class QObject;

namespace fwndlog {

// The address the worker-side completions of one view post to. The view
// detaches it before it goes, so a request that finishes later posts nowhere.
class FLogMailbox
{
public:
    explicit FLogMailbox(QObject *receiver)
        : m_receiver(receiver)
    { }

    void post(FLogEvent *event);
    void detach();

private:
    std::mutex m_lock;
    QObject *m_receiver;
};

// One request of a log view. Its completion runs on the worker: it copies
// the result into a reply and posts it, nothing else.
class FLogRequest : public DBReq
{
    Q_OBJECT

public:
    FLogRequest(const QString &query, std::shared_ptr<FLogMailbox> mailbox, FLogReply meta);

    const FLogReply &meta() const { return m_meta; }
    const void *owner() const { return m_mailbox.get(); }
    // Marked by the owner's cancel while the request is taken out of the queue.
    void markCancelled() const { m_cancelled.store(true); }

    // Queues a request on conn; the connection owns it from then on.
    static void send(DBConn *conn, const QString &query, std::shared_ptr<FLogMailbox> mailbox,
                     FLogReply meta, bool cancellable);

private:
    void finish();

    std::shared_ptr<FLogMailbox> m_mailbox;
    FLogReply m_meta;
    mutable std::atomic<bool> m_cancelled{false};
};

} // namespace fwndlog
