// The shell's queries against the development server: results are built on
// the connection's worker and handed whole to the interface thread (run under
// ThreadSanitizer with the "threads" label), errors arrive the same way, and a
// context that is gone before delivery drops its callback.
#include "app/fserverquery.h"

#include "db/dbconn.h"
#include "db/utdebug.h"
#include "support/devserver_process.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {
constexpr int Timeout = 20000;
constexpr int SeededUsers = 300;
const char *UserQuery = "select Name, Domain from User where Domain='big.example'";
} // namespace

class TestServerQuery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void resultsArriveWholeOnInterfaceThread();
    void errorArrivesWithCodeAndText();
    void goneContextDropsCallback();

private:
    postdesk::test::DevServerProcess m_server{
            {"--no-ticker", "--log-rate", "0", "--seed-users", std::to_string(SeededUsers)}};
    QTemporaryDir m_knownHosts;
    std::unique_ptr<DBConn> m_conn;
};

void TestServerQuery::initTestCase()
{
    QVERIFY(m_knownHosts.isValid());
    m_server.trustIn(m_knownHosts.filePath(QStringLiteral("known_hosts.cfg")).toStdString());
    QVERIFY2(m_server.start(), m_server.errorText().c_str());
    UtDebug::setStderrLevel(-1);
}

void TestServerQuery::init()
{
    m_conn = std::make_unique<DBConn>(QString::fromStdString(m_server.host()), int(m_server.port()),
                                      QStringLiteral("admin"), QStringLiteral("admin"));
    m_conn->setKnownHostsPath(m_knownHosts.filePath(QStringLiteral("known_hosts.cfg")));
    QVERIFY(m_conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(m_conn->state(), DBConn::Connected, Timeout);
}

void TestServerQuery::cleanup()
{
    m_conn.reset();
}

void TestServerQuery::resultsArriveWholeOnInterfaceThread()
{
    // Many queries in flight at once, with results of different sizes, so
    // that hand-overs overlap with the worker building the next result.
    constexpr int Rounds = 12;
    QObject context;
    int userResults = 0;
    int infoResults = 0;
    bool allOnInterfaceThread = true;
    for (int i = 0; i < Rounds; ++i) {
        QVERIFY(FServerQuery::run(
                m_conn.get(), QString::fromLatin1(UserQuery), &context,
                [&](const FQueryResult &result) {
                    allOnInterfaceThread
                            = allOnInterfaceThread && QThread::currentThread() == context.thread();
                    QCOMPARE(result.code, 0u);
                    QCOMPARE(result.columns,
                             QStringList({QStringLiteral("Name"), QStringLiteral("Domain")}));
                    QCOMPARE(result.rows.size(), SeededUsers);
                    for (const QStringList &row : result.rows) {
                        QCOMPARE(row.size(), 2);
                        QCOMPARE(row.at(1), QStringLiteral("big.example"));
                    }
                    ++userResults;
                }));
        QVERIFY(FServerQuery::run(
                m_conn.get(), QStringLiteral("select Version, OsCode from Info"), &context,
                [&](const FQueryResult &result) {
                    allOnInterfaceThread
                            = allOnInterfaceThread && QThread::currentThread() == context.thread();
                    QVERIFY(result.ok());
                    QCOMPARE(result.rows.size(), 1);
                    QVERIFY(!result.firstValue(QStringLiteral("version")).isEmpty());
                    ++infoResults;
                }));
    }
    QTRY_COMPARE_WITH_TIMEOUT(userResults + infoResults, 2 * Rounds, Timeout);
    QCOMPARE(userResults, Rounds);
    QVERIFY(allOnInterfaceThread);
}

void TestServerQuery::errorArrivesWithCodeAndText()
{
    QObject context;
    std::optional<FQueryResult> received;
    QVERIFY(FServerQuery::run(m_conn.get(), QStringLiteral("select Name from NoSuchTable"),
                              &context, [&](const FQueryResult &result) { received = result; }));
    QTRY_VERIFY_WITH_TIMEOUT(received.has_value(), Timeout);
    QVERIFY(!received->ok());
    QVERIFY(!received->errorText.isEmpty());
    QVERIFY(received->columns.isEmpty());
    QVERIFY(received->rows.isEmpty());
    QCOMPARE(received->firstValue(QStringLiteral("Name")), QString());

    // Without a connection nothing runs and the callback is never called.
    bool called = false;
    QVERIFY(!FServerQuery::run(nullptr, QStringLiteral("select Version from Info"), &context,
                               [&](const FQueryResult &) { called = true; }));
    QCoreApplication::processEvents();
    QVERIFY(!called);
}

void TestServerQuery::goneContextDropsCallback()
{
    bool droppedCalled = false;
    auto *gone = new QObject;
    QVERIFY(FServerQuery::run(m_conn.get(), QString::fromLatin1(UserQuery), gone,
                              [&](const FQueryResult &) { droppedCalled = true; }));
    delete gone;

    // Requests run in order and their results are posted in order, so once
    // the second one has arrived the first one's delivery has been decided.
    QObject alive;
    bool aliveCalled = false;
    QVERIFY(FServerQuery::run(m_conn.get(), QStringLiteral("select Version from Info"), &alive,
                              [&](const FQueryResult &result) { aliveCalled = result.ok(); }));
    QTRY_VERIFY_WITH_TIMEOUT(aliveCalled, Timeout);
    QVERIFY(!droppedCalled);
}

QTEST_GUILESS_MAIN(TestServerQuery)
#include "test_serverquery.moc"
