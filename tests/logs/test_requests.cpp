// The log view's requests between the connection's worker and the interface
// thread, against the development server: replies are built on the worker and
// arrive whole as posted events on the interface thread, a detached mailbox
// posts nowhere, and requests taken back from the queue tell their owner.
// No widgets, so ThreadSanitizer judges the hand-over itself.
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "logs/flogrequest.h"
#include "support/testserver.h"

#include <QThread>
#include <QtTest>

#include <memory>

using fwndlog::FLogEvent;
using fwndlog::FLogMailbox;
using fwndlog::FLogReply;
using fwndlog::FLogRequest;
using fwndlog::ReadKind;
using postdesk::test::TestServer;

namespace {

constexpr int kTimeout = 30000;

class Receiver : public QObject
{
public:
    QList<FLogReply> replies;
    bool allOnThisThread = true;

protected:
    bool event(QEvent *event) override
    {
        if (!FLogEvent::isLogEvent(event))
            return QObject::event(event);
        allOnThisThread = allOnThisThread && QThread::currentThread() == thread();
        replies.append(static_cast<FLogEvent *>(event)->reply());
        return true;
    }
};

FLogReply page(qint64 first, qint64 last, quint64 ticket)
{
    FLogReply meta;
    meta.kind = ReadKind::Page;
    meta.first = first;
    meta.last = last;
    meta.ticket = ticket;
    return meta;
}

QString query(qint64 first, qint64 count)
{
    return QStringLiteral("select LogData(\"mail\", %1, %2)").arg(first).arg(count);
}

} // namespace

class TestLogRequests : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> m_server;

private slots:
    void init()
    {
        m_server = std::make_unique<TestServer>(
                std::vector<std::string>{"--no-ticker", "--seed-log-lines", "5000"});
        QVERIFY(m_server->connectAs());
    }
    void cleanup()
    {
        if (m_server)
            m_server->clearFaults();
        m_server.reset();
    }

    void repliesArriveWholeOnTheInterfaceThread()
    {
        Receiver receiver;
        auto mailbox = std::make_shared<FLogMailbox>(&receiver);
        for (int i = 0; i < 40; ++i)
            FLogRequest::send(m_server->conn(), query(i * 100, 100), mailbox,
                              page(i * 100, i * 100 + 99, quint64(i)), true);
        QTRY_COMPARE_WITH_TIMEOUT(receiver.replies.size(), 40, kTimeout);
        QVERIFY(receiver.allOnThisThread);
        DBReq first(query(1700, 1));
        QVERIFY(m_server->conn()->execSync(&first));
        QByteArray expected = first.cellBytes(0, 0).toByteArray();
        while (expected.endsWith('\0'))
            expected.chop(1);
        for (int i = 0; i < receiver.replies.size(); ++i) {
            const FLogReply &reply = receiver.replies.at(i);
            QCOMPARE(reply.ticket, quint64(i)); // in the order they were queued
            QVERIFY(reply.ok());
            QCOMPARE(reply.lines.size(), 100);
        }
        QCOMPARE(receiver.replies.at(17).lines.first(), expected);
        // A failed request comes back with its code.
        FLogRequest::send(m_server->conn(), query(4990, 50), mailbox, page(4990, 5039, 99), true);
        QTRY_COMPARE_WITH_TIMEOUT(receiver.replies.size(), 41, kTimeout);
        QVERIFY(!receiver.replies.last().ok());
        QVERIFY(receiver.replies.last().code != 0);
    }

    void aDetachedMailboxPostsNowhere()
    {
        QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("50")));
        auto receiver = std::make_unique<Receiver>();
        auto mailbox = std::make_shared<FLogMailbox>(receiver.get());
        for (int i = 0; i < 6; ++i)
            FLogRequest::send(m_server->conn(), query(i, 10), mailbox, page(i, i + 9, quint64(i)),
                              false);
        // The owner goes while its requests are out.
        mailbox->detach();
        receiver.reset();
        DBReq drained(QStringLiteral("select dummy from info"));
        QVERIFY(m_server->conn()->execSync(&drained));
        QCoreApplication::processEvents();
    }

    void takenBackRequestsTellTheirOwner()
    {
        QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("200")));
        Receiver receiver;
        auto mailbox = std::make_shared<FLogMailbox>(&receiver);
        for (int i = 0; i < 5; ++i)
            FLogRequest::send(m_server->conn(), query(i * 100, 100), mailbox,
                              page(i * 100, i * 100 + 99, quint64(i)), false);
        // Someone else's request behind them stays.
        std::atomic<int> othersDone{0};
        auto *other = new DBReq(QStringLiteral("select LogList(\"mail\")"), true);
        connect(
                other, &DBReq::signalFinished, other,
                [&othersDone](DBReq *req) {
                    if (req->resultCode() == 0)
                        ++othersDone;
                },
                Qt::DirectConnection);
        m_server->conn()->addRequest(other);
        const void *owner = mailbox.get();
        const int taken = m_server->conn()->cancelQueued([owner](const DBReq *req) {
            auto *own = dynamic_cast<const FLogRequest *>(req);
            if (!own || own->owner() != owner || own->meta().ticket < 2)
                return false;
            own->markCancelled();
            return true;
        });
        QCOMPARE(taken, 3);
        QTRY_COMPARE_WITH_TIMEOUT(receiver.replies.size(), 5, kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(othersDone.load(), 1, kTimeout);
        int cancelled = 0;
        for (const FLogReply &reply : receiver.replies) {
            if (reply.cancelled) {
                ++cancelled;
                QVERIFY(reply.ticket >= 2);
                QVERIFY(reply.lines.isEmpty());
            } else {
                QVERIFY(reply.ok());
                QCOMPARE(reply.lines.size(), 100);
            }
        }
        QCOMPARE(cancelled, 3);
    }
};

QTEST_GUILESS_MAIN(TestLogRequests)
#include "test_requests.moc"
