// The connection against the development server over TLS on loopback: states
// and their signals, error texts, the version rule, cancelling, response
// times, notifications, certificate trust and the waiting interface.
#include "serverhelpers.h"

#include "db/dbquerymask.h"
#include "db/utdebug.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

#include <sys/socket.h>

using namespace dbtest;

namespace {

constexpr int Timeout = 60000;

// Records the outcome of asynchronous requests; its slot runs on the worker.
class Recorder : public QObject
{
    Q_OBJECT
public:
    struct Outcome
    {
        QString query;
        uint code;
        QString text;
    };
    QList<Outcome> outcomes()
    {
        QMutexLocker locker(&m_lock);
        return m_outcomes;
    }
    int count()
    {
        QMutexLocker locker(&m_lock);
        return int(m_outcomes.size());
    }

public slots:
    void slotFinished(DBReq *req)
    {
        QMutexLocker locker(&m_lock);
        m_outcomes.append({req->query(), req->resultCode(), req->errorText()});
    }

private:
    QMutex m_lock;
    QList<Outcome> m_outcomes;
};

// A port on which nothing listens.
int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

} // namespace

class TestConn : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void errorTexts_data();
    void errorTexts();
    void statesAndSignalsOnInterfaceThread();
    void closedPortAndUnknownHost();
    void functionNotFoundKeepsConnection();
    void resetConnectionFailsEveryQueuedRequest();
    void cancelPendingWithAndWithoutFlag();
    void averageResponseTimeKeepsLastTen();
    void twoDatagramsInOneTick();
    void changedCertificateIsRefusedUntilTrusted();
    void syncWaitKeepsEventsFlowing();
    void queryTraceMasksPasswords();
    void idleSessionNoticesAStoppedServer(); // stops the server: keep last but one
    void versionChangeOnRestart(); // restarts the server: keep last

private:
    TestServer m_server{{"--no-ticker", "--log-rate", "0"}};
};

void TestConn::initTestCase()
{
    QVERIFY2(m_server.start(), m_server.errorText().c_str());
    UtDebug::setStderrLevel(-1);
}

void TestConn::cleanup()
{
    QVERIFY(m_server.clearFaults());
}

void TestConn::errorTexts_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("detail");
    QTest::addColumn<bool>("login");
    QTest::addColumn<QString>("text");

    QTest::newRow("version changed")
            << 10000u << 1u << true << "Server version has changed. Reconnection is not possible.";
    QTest::newRow("version other detail") << 10000u << 0u << true << "";
    QTest::newRow("address not available")
            << 101u << 10049u << true << "Remote computer not found.";
    QTest::newRow("host not found") << 101u << 11001u << true << "Remote computer not found.";
    QTest::newRow("unreachable") << 101u << 10051u << false << "Network is unreachable.";
    QTest::newRow("reset") << 101u << 10054u << false << "Connection to the server was lost.";
    QTest::newRow("timed out") << 101u << 10060u << true << "Server application is not running.";
    QTest::newRow("refused") << 101u << 10061u << false << "Server application is not running.";
    QTest::newRow("no detail at login")
            << 101u << 0u << true << "Server application is not running.";
    QTest::newRow("no detail later")
            << 101u << 0u << false << "Connection to the server has been lost.";
    QTest::newRow("other detail")
            << 101u << 4242u << false
            << "Connection has failed. Check host and port, and that the server is running. "
               "(error 4242)";
    QTest::newRow("no rights") << 300u << 0u << false
                               << "You have no rights to perform this action.";
    QTest::newRow("function not found")
            << 301u << 0u << false
            << "Query 'ListDir(\"/x\", \"u\", \"******\")' failed: function not found.";
    QTest::newRow("incompatible") << 700u << 0u << true << "Unsupported version of server.";
    QTest::newRow("too many") << 701u << 0u << true << "Too many connections.";
    QTest::newRow("authentication") << 702u << 0u << true << "Authentication failed.";
    QTest::newRow("ldap") << 800u << 0u << false << "LDAP server is not available.";
    QTest::newRow("duplicate key") << 203u << 0u << false << "Error: database table duplicate key";
    QTest::newRow("unknown code") << 12345u << 0u << false << "Error: UNKNOWN";
}

void TestConn::errorTexts()
{
    QFETCH(uint, code);
    QFETCH(uint, detail);
    QFETCH(bool, login);
    QFETCH(QString, text);
    QCOMPARE(DBConn::errorTextFor(code, detail, login,
                                  QStringLiteral("ListDir(\"/x\", \"u\", \"secret\")")),
             text);
}

void TestConn::statesAndSignalsOnInterfaceThread()
{
    auto conn = m_server.makeConnection();
    QList<DBConn::StateEnum> states;
    bool offThread = false;
    connect(conn.get(), &DBConn::signalStateChanged, this, [&](DBConn::StateEnum state) {
        states.append(state);
        offThread = offThread || QThread::currentThread() != thread();
    });
    QCOMPARE(DBConn::current(), conn.get());
    QCOMPARE(conn->state(), DBConn::Disconnected);
    QVERIFY(conn->start());
    QTRY_VERIFY_WITH_TIMEOUT(states.contains(DBConn::Connected), Timeout);
    QCOMPARE(states.first(), DBConn::Connecting);
    QVERIFY(conn->isConnected());
    QVERIFY(conn->mayModify());
    QCOMPARE(conn->serverVersion().protocol, 22u);

    QSignalSpy preAdd(conn.get(), &DBConn::signalPreAddRequest);
    DBReq req(QStringLiteral("select dummy from info"));
    QVERIFY(conn->execSync(&req));
    QCOMPARE(preAdd.size(), 1);
    QCOMPARE(req.rowCount(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(states.size() >= 4 && states.last() == DBConn::Connected, Timeout);
    QVERIFY(states.contains(DBConn::Working));

    conn->stop();
    QTRY_COMPARE_WITH_TIMEOUT(states.last(), DBConn::Disconnected, Timeout);
    QVERIFY(!conn->isConnected());
    QVERIFY(!offThread);

    // A viewer may read but not modify.
    auto viewer = m_server.makeConnection(QStringLiteral("viewer"));
    QVERIFY(viewer->start());
    QTRY_COMPARE_WITH_TIMEOUT(viewer->state(), DBConn::Connected, Timeout);
    QVERIFY(!viewer->mayModify());
    QCOMPARE(DBConn::current(), viewer.get());
    viewer.reset();
    QCOMPARE(DBConn::current(), nullptr);
}

void TestConn::closedPortAndUnknownHost()
{
    DBConn refused(QStringLiteral("127.0.0.1"), closedPort(), "admin", "admin",
                   DBConn::Options{.connectInCaller = true});
    QVERIFY(!refused.start());
    QCOMPARE(refused.state(), DBConn::Disconnected);
    QCOMPARE(refused.errorDetail(), 10061u);
    QCOMPARE(refused.lastErrorText(), QStringLiteral("Server application is not running."));
    // Requests of a connection without a worker fail at once with that text.
    DBReq req(QStringLiteral("select dummy from info"));
    QVERIFY(!refused.execSync(&req));
    QCOMPARE(req.resultCode(), 101u);
    QCOMPARE(req.errorText(), QStringLiteral("Server application is not running."));

    DBConn unknown(QStringLiteral("no-such-host.invalid"), 44337, "admin", "admin",
                   DBConn::Options{.connectInCaller = true});
    QVERIFY(!unknown.start());
    QCOMPARE(unknown.lastErrorText(), QStringLiteral("Remote computer not found."));

    // The same failure on the worker thread: queued requests get the text.
    DBConn later(QStringLiteral("127.0.0.1"), closedPort(), "admin", "admin");
    QVERIFY(later.start());
    QTRY_VERIFY_WITH_TIMEOUT(!later.lastErrorText().isEmpty(), Timeout);
    DBReq queued(QStringLiteral("select dummy from info"));
    QVERIFY(!later.execSync(&queued));
    QCOMPARE(queued.errorText(), QStringLiteral("Server application is not running."));

    auto wrong = m_server.makeConnection("admin", "wrong");
    QVERIFY(wrong->start());
    QTRY_COMPARE_WITH_TIMEOUT(wrong->lastErrorText(), QStringLiteral("Authentication failed."),
                              Timeout);
}

void TestConn::functionNotFoundKeepsConnection()
{
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    DBReq req(QStringLiteral("select NoSuchFunction(\"x\")"));
    QVERIFY(!conn->execSync(&req));
    QCOMPARE(req.resultCode(), 301u);
    QCOMPARE(req.errorText(),
             QStringLiteral("Query 'select NoSuchFunction(\"x\")' failed: function not found."));
    QCOMPARE(conn->lastQuery(), req.query());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    DBReq next(QStringLiteral("select dummy from info"));
    QVERIFY(conn->execSync(&next));
}

void TestConn::resetConnectionFailsEveryQueuedRequest()
{
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    // The session answers two statements, then drops: the first query here
    // is the second statement, the next one meets the closed connection.
    DBReq probe(QStringLiteral("select dummy from info"));
    QVERIFY(conn->execSync(&probe));
    QVERIFY(m_server.fault("close_after", "2"));
    Recorder recorder;
    const QStringList queries{"select dummy from info", "select Version from info",
                              "select Name from User", "select Lhs from Alias"};
    for (const QString &query : queries)
        conn->execAsync(query, &recorder, SLOT(slotFinished(DBReq *)));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.count(), 4, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Disconnected, Timeout);
    const QList<Recorder::Outcome> outcomes = recorder.outcomes();
    QCOMPARE(outcomes.at(0).code, 0u);
    for (int i = 1; i < 4; ++i) {
        QCOMPARE(outcomes.at(i).query, queries.at(i));
        QCOMPARE(outcomes.at(i).code, 101u);
        QCOMPARE(outcomes.at(i).text, QStringLiteral("Connection to the server was lost."));
    }
    QCOMPARE(conn->lastErrorText(), QStringLiteral("Connection to the server was lost."));
    QCOMPARE(conn->errorDetail(), 10054u);

    // No automatic reconnect; restart brings the session back.
    QVERIFY(m_server.clearFaults());
    QVERIFY(conn->restart(m_server.hostName(), m_server.port(), "admin", "admin"));
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    DBReq after(QStringLiteral("select dummy from info"));
    QVERIFY(conn->execSync(&after));
}

void TestConn::cancelPendingWithAndWithoutFlag()
{
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QVERIFY(m_server.fault("delay", "1500"));
    Recorder recorder;
    // Finished requests are deleted on the worker thread, cancelled ones here.
    QMutex destroyedLock;
    QStringList destroyedQueries;
    auto wasDestroyed = [&](const char *query) {
        QMutexLocker locker(&destroyedLock);
        return destroyedQueries.contains(QLatin1String(query));
    };
    auto queue = [&](const QString &query, bool cancellable) {
        DBReq *req = conn->execAsync(query, &recorder, SLOT(slotFinished(DBReq *)));
        req->setCancellable(cancellable);
        connect(
                req, &QObject::destroyed, this,
                [&destroyedLock, &destroyedQueries, query] {
                    QMutexLocker locker(&destroyedLock);
                    destroyedQueries.append(query);
                },
                Qt::DirectConnection);
    };
    queue("select 1 from info", true);
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Working, Timeout); // first one running
    queue("select 2 from info", true);
    queue("select 3 from info", false);
    queue("select 4 from info", true);
    conn->cancelPending(true);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.count(), 2, Timeout);
    QCOMPARE(recorder.outcomes().at(0).query, QStringLiteral("select 1 from info"));
    QCOMPARE(recorder.outcomes().at(1).query, QStringLiteral("select 3 from info"));
    QVERIFY(wasDestroyed("select 2 from info"));
    QVERIFY(wasDestroyed("select 4 from info"));

    queue("select 5 from info", true);
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Working, Timeout);
    queue("select 6 from info", false);
    conn->cancelPending(false); // the flag clear: even non-cancellable ones go
    QVERIFY(wasDestroyed("select 6 from info"));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.count(), 3, Timeout);
    QCOMPARE(recorder.outcomes().at(2).query, QStringLiteral("select 5 from info"));
    QTest::qWait(200);
    QCOMPARE(recorder.count(), 3);
    conn->stop(); // the worker deletes its last request before it ends
    QVERIFY(wasDestroyed("select 5 from info"));
}

void TestConn::averageResponseTimeKeepsLastTen()
{
    // Each reading of the connection's clock advances it by the step, so every
    // query appears to take exactly one step.
    auto now = std::make_shared<std::atomic<qint64>>(0);
    auto stepMs = std::make_shared<std::atomic<qint64>>(0);
    DBConn::Options options;
    options.clockMs = [now, stepMs] { return now->fetch_add(*stepMs) + *stepMs; };
    DBConn conn(m_server.hostName(), int(m_server.port()), QStringLiteral("admin"),
                QStringLiteral("admin"), options);
    conn.setKnownHostsPath(m_server.knownHostsPath());
    QCOMPARE(conn.averageResponseTime(), 5);
    QVERIFY(conn.start());
    QTRY_COMPARE_WITH_TIMEOUT(conn.state(), DBConn::Connected, Timeout);

    const auto query = [&conn] {
        DBReq req(QStringLiteral("select dummy from info"));
        return conn.execSync(&req);
    };
    *stepMs = 6600; // rounds to 7 s
    for (int i = 0; i < 2; ++i)
        QVERIFY(query());
    QCOMPARE(conn.averageResponseTime(), 7);
    *stepMs = 0;
    for (int i = 0; i < 9; ++i)
        QVERIFY(query());
    // Ten times are kept: one slow (7 s) and nine fast ones.
    QCOMPARE(conn.averageResponseTime(), 0);
    *stepMs = 30000;
    QVERIFY(query());
    QCOMPARE(conn.averageResponseTime(), 3); // the slow one has gone: (9 * 0 + 30) / 10
}

void TestConn::twoDatagramsInOneTick()
{
    const QList<quint16> before = ownUdpPorts();
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QList<quint16> opened = ownUdpPorts();
    for (quint16 port : before)
        opened.removeAll(port);
    QCOMPARE(opened.size(), 1);

    QList<QByteArray> payloads;
    connect(conn.get(), &DBConn::signalUpdateData, this, [&payloads](uchar *data, int length) {
        payloads.append(QByteArray(reinterpret_cast<const char *>(data), length));
    });
    const QByteArray first = char(22) + QByteArray(99, 'a');
    const QByteArray second = char(22) + QByteArray(299, 'b');
    // The server sends them from its own port, the only sender the channel takes.
    const auto fromServer
            = [this](const QByteArray &datagram) { return m_server.sendNotification(datagram); };
    // Each datagram is waited for until the kernel has queued it on the channel,
    // however slowly a loaded machine delivers it.
    const quint16 channel = opened.first();
    const auto queued = [channel](const std::function<bool()> &send) {
        const qint64 before = udpQueuedBytes(channel);
        return send() && QTest::qWaitFor([&] { return udpQueuedBytes(channel) > before; }, Timeout);
    };
    QVERIFY(queued([&] { return fromServer(first); }));
    QVERIFY(queued([&] { return fromServer(second); }));
    conn->slotUpdateData(); // one tick
    QCOMPARE(payloads, (QList<QByteArray>{first.mid(1), second.mid(1)}));
    // A datagram without the notification tag is dropped, and so is one from
    // anybody else (here: another socket of this machine; the kernel may drop it
    // before it is queued, so it goes first and the server's is waited for).
    QVERIFY(sendDatagram(channel, char(22) + QByteArray("forged")));
    QVERIFY(queued([&] { return fromServer(QByteArray("\x15wrong tag")); }));
    conn->slotUpdateData();
    QCOMPARE(payloads.size(), 2);

    // The timer keeps polling every 200 ms.
    conn->startNotifications();
    QVERIFY(fromServer(char(22) + QByteArray("later")));
    QTRY_COMPARE_WITH_TIMEOUT(payloads.size(), 3, Timeout);
    QCOMPARE(payloads.last(), QByteArray("later"));
    conn->stopNotifications();
}

void TestConn::changedCertificateIsRefusedUntilTrusted()
{
    QTemporaryDir dir;
    auto conn = m_server.makeConnection(QStringLiteral("admin"), QString(),
                                        dir.filePath(QStringLiteral("known_hosts.cfg")));
    // First use: the server is not known, nothing is sent before the
    // administrator has seen its fingerprint and trusted it.
    QVERIFY(conn->start());
    QTRY_VERIFY_WITH_TIMEOUT(conn->identityUnknown(), Timeout);
    QCOMPARE(conn->state(), DBConn::Disconnected);
    QVERIFY(!conn->identityChanged());
    QVERIFY(conn->needsTrustDecision());
    QVERIFY(conn->lastErrorText().startsWith(
            QLatin1String("The console has not connected to this server before. ")));
    const QString presented = conn->presentedFingerprint();
    QCOMPARE(presented.size(), 64);
    QCOMPARE(presented, QString::fromStdString(m_server.process().fingerprint()));
    char recorded[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    const QByteArray path = conn->knownHostsPath().toUtf8();
    QCOMPARE(lumadb_known_host_fingerprint(path.constData(), m_server.host().c_str(),
                                           m_server.portText().c_str(), recorded),
             LUMADB_ERR_SYSTEM);
    conn->trustPresentedCertificate();
    conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QVERIFY(!conn->needsTrustDecision());
    QCOMPARE(lumadb_known_host_fingerprint(path.constData(), m_server.host().c_str(),
                                           m_server.portText().c_str(), recorded),
             0u);
    QCOMPARE(QString::fromLatin1(recorded), presented);
    conn->stop();

    // Another certificate on record: the login is refused with 604.
    const QByteArray other(64, 'a');
    QCOMPARE(lumadb_trust_fingerprint(path.constData(), m_server.host().c_str(),
                                      m_server.portText().c_str(), other.constData()),
             0u);
    conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_VERIFY_WITH_TIMEOUT(conn->identityChanged(), Timeout);
    QCOMPARE(conn->state(), DBConn::Disconnected);
    QVERIFY(conn->lastErrorText().startsWith(
            QLatin1String("The identity of the server has changed. ")));
    QCOMPARE(conn->recordedFingerprint(), QString::fromLatin1(other));
    QCOMPARE(conn->presentedFingerprint(), presented);

    // Refused again until the administrator confirms the new certificate.
    QList<DBConn::StateEnum> states;
    connect(conn.get(), &DBConn::signalStateChanged, this,
            [&states](DBConn::StateEnum state) { states.append(state); });
    conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_VERIFY_WITH_TIMEOUT(
            states.contains(DBConn::Connecting) && states.last() == DBConn::Disconnected, Timeout);
    QVERIFY(conn->identityChanged());
    conn->trustPresentedCertificate();
    conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QVERIFY(!conn->identityChanged());
    QCOMPARE(lumadb_known_host_fingerprint(path.constData(), m_server.host().c_str(),
                                           m_server.portText().c_str(), recorded),
             0u);
    QCOMPARE(QString::fromLatin1(recorded), presented);
}

void TestConn::syncWaitKeepsEventsFlowing()
{
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QVERIFY(m_server.fault("delay", "800"));
    bool timerFired = false;
    QTimer::singleShot(50, this, [&timerFired] { timerFired = true; });
    QSignalSpy waiting(conn.get(), &DBConn::signalSynWaiting);
    DBReq req(QStringLiteral("select dummy from info"));
    QSignalSpy reqWaiting(&req, &DBReq::signalWaiting);
    QVERIFY(conn->execSync(&req));
    QVERIFY(timerFired); // delivered while the request was outstanding
    QVERIFY(waiting.size() >= 1);
    QCOMPARE(waiting.first().first().value<DBReq *>(), &req);
    QCOMPARE(reqWaiting.size(), waiting.size());
}

void TestConn::queryTraceMasksPasswords()
{
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QStringList lines;
    QMutex lock;
    const int sink = UtDebug::addSink([&](int category, int, const QString &line) {
        QMutexLocker locker(&lock);
        if (category == 14)
            lines.append(line);
    });
    DBReq req(QStringLiteral("update User set Password='NUL:topsecret' where Name='nobody' and "
                             "Domain='nowhere.example'"));
    conn->execSync(&req);
    DBReq list(QStringLiteral("ListDir(\"/tmp\", \"user\", \"topsecret\")"));
    conn->execSync(&list);
    UtDebug::removeSink(sink);
    QMutexLocker locker(&lock);
    QCOMPARE(lines.size(), 2);
    for (const QString &line : std::as_const(lines)) {
        QVERIFY2(!line.contains(QLatin1String("topsecret")), qPrintable(line));
        QVERIFY(line.contains(QLatin1String(dbMaskedValue)));
    }
    QVERIFY(!list.errorText().contains(QLatin1String("topsecret")));
}

void TestConn::idleSessionNoticesAStoppedServer()
{
    DBConn::Options options;
    options.livenessCheckMs = 100;
    auto conn = std::make_unique<DBConn>(m_server.hostName(), m_server.port(),
                                         QStringLiteral("admin"), QStringLiteral("admin"), options);
    conn->setKnownHostsPath(m_server.knownHostsPath());
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    // A server that is there is never taken for gone, however long the session idles.
    QTest::qWait(10 * options.livenessCheckMs);
    QCOMPARE(conn->state(), DBConn::Connected);
    DBReq req(QStringLiteral("select dummy from info"));
    QVERIFY(conn->execSync(&req));

    // No request is made after the server stops: the session finds out by itself.
    m_server.process().stop();
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Disconnected, Timeout);
    QVERIFY(!conn->lastErrorText().isEmpty());
    QVERIFY2(m_server.restart({"--no-ticker", "--log-rate", "0"}), m_server.errorText().c_str());
}

void TestConn::versionChangeOnRestart()
{
    auto conn = m_server.makeConnection();
    QVERIFY(conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    const DBConn::ServerVersion first = conn->serverVersion();

    // Same version after a server restart: reconnecting works.
    QVERIFY(m_server.restart({"--no-ticker", "--log-rate", "0"}));
    conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_COMPARE_WITH_TIMEOUT(conn->state(), DBConn::Connected, Timeout);
    QCOMPARE(conn->serverVersion(), first);

    // Another build: refused, the first version stays on record.
    QVERIFY(m_server.restart({"--no-ticker", "--log-rate", "0", "--version", "7.2.9"}));
    conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_COMPARE_WITH_TIMEOUT(conn->lastErrorText(),
                              QStringLiteral("Server version has changed. Reconnection is not "
                                             "possible."),
                              Timeout);
    QCOMPARE(conn->state(), DBConn::Disconnected);
    QCOMPARE(conn->serverVersion(), first);
}

QTEST_GUILESS_MAIN(TestConn)
#include "test_conn.moc"
