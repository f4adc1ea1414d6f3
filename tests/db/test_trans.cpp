// Transactions against the development server: operation counts and texts,
// key order, rights, a server error in the middle, a connection cut at every
// position with the undo replay, tables saved and grouped.
#include "serverhelpers.h"

#include "db/dbctrl.h"
#include "db/dbtable.h"
#include "db/dbtransreq.h"
#include "db/dbtranstab.h"
#include "db/utdebug.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace dbtest;

namespace {

constexpr int Timeout = 60000;

QString aliasInsert(const QString &domain, int i, const QString &description)
{
    return QStringLiteral("insert Alias set Lhs='a%1', Domain='%2', Rhs='t%1@%2', Description='%3'")
            .arg(i)
            .arg(domain, description);
}

QString aliasKey(const QString &domain, int i)
{
    return QStringLiteral(" where Lhs='a%1' and Domain='%2' and Rhs='t%1@%2'").arg(i).arg(domain);
}

// Ten statements whose intended outcome is a1 'u1', a2 'u2', a3 'd3', a4 'd4'.
QStringList tenStatements(const QString &domain)
{
    QStringList statements;
    for (int i = 1; i <= 6; ++i)
        statements.append(aliasInsert(domain, i, QStringLiteral("d%1").arg(i)));
    statements.append(QStringLiteral("update Alias set Description='u1'") + aliasKey(domain, 1));
    statements.append(QStringLiteral("update Alias set Description='u2'") + aliasKey(domain, 2));
    statements.append(QStringLiteral("delete from Alias") + aliasKey(domain, 5));
    statements.append(QStringLiteral("delete from Alias") + aliasKey(domain, 6));
    return statements;
}

QStringList aliasRows(DBConn &conn, const QString &domain)
{
    QStringList rows = selectTexts(
            conn,
            QStringLiteral("select Lhs, Description from Alias where Domain='%1'").arg(domain));
    rows.sort();
    return rows;
}

} // namespace

class TestTrans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void operationCountsTextsAndKeyOrder();
    void emptyApplySendsNothing();
    void noRightsRefusesOperations();
    void serverErrorKeepsOperations();
    void connectionCutAtEveryPosition_data();
    void connectionCutAtEveryPosition();
    void undoReplayThatFailsAgain();
    void cutTableSaveKeepsPendingAndRest();
    void tableSaveAndGroupApply();
    void asynchronousApplyReportsOnInterfaceThread();

private:
    void reconnect();

    TestServer m_server{{"--no-ticker", "--log-rate", "0"}};
    std::unique_ptr<DBConn> m_conn;
};

void TestTrans::initTestCase()
{
    QVERIFY2(m_server.start(), m_server.errorText().c_str());
    UtDebug::setStderrLevel(-1);
}

void TestTrans::init()
{
    m_conn = m_server.makeConnection();
    QVERIFY(m_conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(m_conn->state(), DBConn::Connected, Timeout);
}

void TestTrans::cleanup()
{
    m_conn.reset();
    QVERIFY(m_server.clearFaults());
}

void TestTrans::reconnect()
{
    m_conn->restart(m_server.hostName(), m_server.port(), "admin", "admin");
    QTRY_COMPARE_WITH_TIMEOUT(m_conn->state(), DBConn::Connected, Timeout);
}

void TestTrans::operationCountsTextsAndKeyOrder()
{
    DBCtrl *ctrl = m_conn->transCtrl();
    QSignalSpy empty(ctrl, &DBCtrl::signalEmpty);
    QSignalSpy texts(ctrl, &DBCtrl::signalOperations);

    ctrl->addOperations(5, {"s5a", "s5b"});
    ctrl->addOperations(2, {"s2"});
    QCOMPARE(ctrl->operations(), (QStringList{"s2", "s5a", "s5b"}));
    QCOMPARE(ctrl->operationCount(), 3);
    QCOMPARE(texts.last().first().toString(), QStringLiteral("3 operations pending"));
    QCOMPARE(empty.size(), 1);
    QCOMPARE(empty.first().first().toBool(), false);

    // Adding under the same key replaces the earlier statements.
    ctrl->addOperations(3, {"s3a", "s3b"});
    ctrl->addOperations(3, {"s3c"});
    QCOMPARE(ctrl->operations(), (QStringList{"s2", "s3c", "s5a", "s5b"}));
    QCOMPARE(ctrl->operationsText(), QStringLiteral("4 operations pending"));
    ctrl->addOperations(5, {});
    ctrl->addOperations(3, {});
    QCOMPARE(ctrl->operationsText(), QStringLiteral("1 operation pending"));
    ctrl->addOperations(7, {"s7"}, true);
    QCOMPARE(texts.last().first().toString(), QStringLiteral("Several operations pending"));

    ctrl->clearOperations();
    QCOMPARE(ctrl->operationCount(), 0);
    QCOMPARE(texts.last().first().toString(), QString());
    QCOMPARE(empty.size(), 2);
    QCOMPARE(empty.last().first().toBool(), true);
    ctrl->clearOperations(); // already empty: no second emptiness signal
    QCOMPARE(empty.size(), 2);
}

void TestTrans::emptyApplySendsNothing()
{
    QSignalSpy queued(m_conn.get(), &DBConn::signalPreAddRequest);
    QVERIFY(m_conn->transCtrl()->apply(false));
    QVERIFY(m_conn->transCtrl()->apply(true));
    QCOMPARE(queued.size(), 0);
}

void TestTrans::noRightsRefusesOperations()
{
    m_conn.reset();
    m_conn = m_server.makeConnection(QStringLiteral("viewer"));
    QVERIFY(m_conn->start());
    QTRY_COMPARE_WITH_TIMEOUT(m_conn->state(), DBConn::Connected, Timeout);
    DBCtrl *ctrl = m_conn->transCtrl();
    QSignalSpy texts(ctrl, &DBCtrl::signalOperations);
    ctrl->addOperations(1, {aliasInsert("viewer.example", 1, "x")});
    QCOMPARE(ctrl->operationCount(), 0);
    QCOMPARE(texts.last().first().toString(),
             QStringLiteral("You have no rights to modify this data!"));
    // The server refuses writes of the session as well.
    DBReq req(aliasInsert("viewer.example", 1, "x"));
    QVERIFY(!m_conn->execSync(&req));
}

void TestTrans::serverErrorKeepsOperations()
{
    const QString domain = QStringLiteral("error.example");
    const QStringList statements{aliasInsert(domain, 1, "first"), aliasInsert(domain, 2, "second"),
                                 aliasInsert(domain, 3, "third")};
    QVERIFY(m_server.fault("status", "301", "'second'"));
    DBCtrl *ctrl = m_conn->transCtrl();
    ctrl->addOperations(1, statements);
    QVERIFY(!ctrl->apply(false));
    QCOMPARE(ctrl->resultCode(), 301u);
    QCOMPARE(ctrl->errorText(),
             QStringLiteral("Query '%1' failed: function not found.").arg(statements.at(1)));
    QCOMPARE(ctrl->transaction()->currentIndex(), 1);
    QCOMPARE(ctrl->operations(), statements); // still pending
    QVERIFY(ctrl->undoList().isEmpty());
    QVERIFY(m_server.clearFaults());
    QCOMPARE(aliasRows(*m_conn, domain), QStringList{"a1|first"}); // third never sent
}

void TestTrans::connectionCutAtEveryPosition_data()
{
    QTest::addColumn<int>("k");
    for (int k = 1; k <= 10; ++k)
        QTest::addRow("cut at %d", k) << k;
}

void TestTrans::connectionCutAtEveryPosition()
{
    QFETCH(int, k);
    const QString domain = QStringLiteral("cut%1.example").arg(k);
    const QStringList statements = tenStatements(domain);
    DBCtrl *ctrl = m_conn->transCtrl();

    // A fresh session: one probe statement, then statements 1..k-1 are
    // answered and statement k meets the closed connection.
    QVERIFY(m_server.fault("close_after", QString::number(k)));
    reconnect();
    DBReq probe(QStringLiteral("select dummy from info"));
    QVERIFY(m_conn->execSync(&probe));
    ctrl->addOperations(4, statements);
    QVERIFY(!ctrl->apply(false));
    QCOMPARE(ctrl->resultCode(), 101u);
    QCOMPARE(ctrl->errorText(), QStringLiteral("Connection to the server was lost."));
    QCOMPARE(ctrl->undoList(), statements.mid(k - 1));
    QCOMPARE(ctrl->operationCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_conn->state(), DBConn::Disconnected, Timeout);

    QVERIFY(m_server.clearFaults());
    reconnect();
    QVERIFY(ctrl->apply(true));
    QVERIFY(ctrl->undoList().isEmpty());
    QCOMPARE(aliasRows(*m_conn, domain), (QStringList{"a1|u1", "a2|u2", "a3|d3", "a4|d4"}));
}

void TestTrans::undoReplayThatFailsAgain()
{
    const QString domain = QStringLiteral("again.example");
    const QStringList statements{aliasInsert(domain, 1, "one"), aliasInsert(domain, 2, "two"),
                                 aliasInsert(domain, 3, "three")};
    DBCtrl *ctrl = m_conn->transCtrl();
    QVERIFY(m_server.fault("close_after", "2"));
    reconnect();
    DBReq probe(QStringLiteral("select dummy from info"));
    QVERIFY(m_conn->execSync(&probe));
    ctrl->addOperations(1, statements);
    QVERIFY(!ctrl->apply(false));
    QCOMPARE(ctrl->undoList(), statements.mid(1));

    // The replay is cut again at its second entry.
    reconnect();
    QVERIFY(m_conn->execSync(&probe));
    QVERIFY(!ctrl->apply(true));
    QCOMPARE(ctrl->transaction()->name(), QStringLiteral("DBCtrl::transUndo"));
    QCOMPARE(ctrl->undoList(), statements.mid(2));

    QVERIFY(m_server.clearFaults());
    reconnect();
    QVERIFY(ctrl->apply(true));
    QVERIFY(ctrl->undoList().isEmpty());
    QCOMPARE(aliasRows(*m_conn, domain), (QStringList{"a1|one", "a2|two", "a3|three"}));
}

void TestTrans::cutTableSaveKeepsPendingAndRest()
{
    const QString domain = QStringLiteral("save.example");
    DBCtrl *ctrl = m_conn->transCtrl();
    DBTable table(m_conn.get(), "Alias",
                  {DBKol(1, "Lhs", true), DBKol(1, "Domain", true), DBKol(1, "Rhs", true),
                   DBKol(1, "Description")},
                  DBTable::Options{.keysIgnoreCase = true,
                                   .filter = QStringLiteral("Domain='%1'").arg(domain)});
    for (int i = 1; i <= 3; ++i) {
        DBRow *row = table.addRow();
        row->setText(0, QStringLiteral("a%1").arg(i));
        row->setText(1, domain);
        row->setText(2, QStringLiteral("t%1@%2").arg(i).arg(domain));
    }
    const QStringList saved = table.statements();
    QCOMPARE(saved.size(), 3);

    QVERIFY(m_server.fault("close_after", "2"));
    reconnect();
    DBReq probe(QStringLiteral("select dummy from info"));
    QVERIFY(m_conn->execSync(&probe));
    ctrl->addOperations(9, {QStringLiteral("update Smtp set MaxHops='30'")});
    QVERIFY(!table.save());
    QCOMPARE(table.resultCode(), 101u);
    // The controller's pending operations first, then the unsent statements.
    QCOMPARE(ctrl->undoList(), QStringList{"update Smtp set MaxHops='30'"} + saved.mid(1));
    QCOMPARE(ctrl->operationCount(), 0);
    QVERIFY(table.isModified()); // nothing confirmed

    QVERIFY(m_server.clearFaults());
    reconnect();
    QVERIFY(ctrl->apply(true));
    QCOMPARE(aliasRows(*m_conn, domain), (QStringList{"a1|", "a2|", "a3|"}));
}

void TestTrans::tableSaveAndGroupApply()
{
    const QString domain = QStringLiteral("group.example");
    const QList<DBKol> columns{DBKol(1, "Lhs", true), DBKol(1, "Domain", true),
                               DBKol(1, "Rhs", true), DBKol(1, "Description")};
    const QString filter = QStringLiteral("Domain='%1'").arg(domain);
    DBTable writer(m_conn.get(), "Alias", columns,
                   DBTable::Options{.keysIgnoreCase = true, .filter = filter});
    for (int i = 1; i <= 2; ++i) {
        DBRow *row = writer.addRow();
        row->setText(0, QStringLiteral("a%1").arg(i));
        row->setText(1, domain);
        row->setText(2, QStringLiteral("t%1@%2").arg(i).arg(domain));
        row->setText(3, QStringLiteral("d%1").arg(i));
    }
    QVERIFY(writer.save());
    QVERIFY(!writer.isModified());
    QVERIFY(writer.statements().isEmpty());

    DBTable table(m_conn.get(), "Alias", columns,
                  DBTable::Options{.keysIgnoreCase = true, .filter = filter});
    DBTable settings(m_conn.get(), "Smtp");
    DBTransTab group(m_conn.get());
    group.addTable(&table);
    group.addTable(&settings, DBTransTab::MemberOptions{.leftOutOfTransactions = true});
    QSignalSpy ready(&group, &DBTransTab::signalSelectIsReady);
    bool readyOnInterfaceThread = false;
    connect(&group, &DBTransTab::signalSelectIsReady, this,
            [&] { readyOnInterfaceThread = QThread::currentThread() == thread(); });
    group.select(nullptr, nullptr, nullptr, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, Timeout);
    QVERIFY(readyOnInterfaceThread);
    QCOMPARE(table.rowCount(), 2);
    QVERIFY(settings.isReadDone());

    table.row(0)->setText(3, QStringLiteral("changed"));
    group.collect(10);
    QCOMPARE(m_conn->transCtrl()->operations(),
             QStringList{"update Alias set Description='changed' where Lhs='a1' and "
                         "Domain='group.example' and Rhs='t1@group.example'"});
    QVERIFY(group.isModified());
    QVERIFY(group.applySync());
    QVERIFY(!group.isModified());
    QCOMPARE(m_conn->transCtrl()->operationCount(), 0);
    QCOMPARE(aliasRows(*m_conn, domain), (QStringList{"a1|changed", "a2|d2"}));

    table.removeRow(1);
    group.collect(10);
    QCOMPARE(m_conn->transCtrl()->operationCount(), 1);
    group.revert();
    QCOMPARE(m_conn->transCtrl()->operationCount(), 0);
    QCOMPARE(table.rowCount(), 2);
    QVERIFY(group.selectSync(true));
    QCOMPARE(table.rowCount(), 2);

    // A failing member stops the group select with its error.
    DBTable missing(m_conn.get(), "NoSuchTable");
    DBTransTab broken(m_conn.get());
    broken.addTable(&missing);
    broken.addTable(&table);
    QSignalSpy error(&broken, &DBTransTab::signalSelectIsError);
    broken.select(nullptr, nullptr, nullptr, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(error.size(), 1, Timeout);
    QCOMPARE(broken.resultCode(), missing.resultCode());
    QVERIFY(broken.resultCode() != 0);
    QVERIFY(!broken.selectSync(true));
}

void TestTrans::asynchronousApplyReportsOnInterfaceThread()
{
    const QString domain = QStringLiteral("async.example");
    DBCtrl *ctrl = m_conn->transCtrl();
    QSignalSpy ready(ctrl, &DBCtrl::signalReady);
    QSignalSpy empty(ctrl, &DBCtrl::signalEmpty);
    ctrl->addOperations(1, {aliasInsert(domain, 1, "x"), aliasInsert(domain, 2, "y")});
    ctrl->applyAsync(false);
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(empty.size(), 2, Timeout); // not empty, then empty again
    QCOMPARE(ctrl->operationCount(), 0);
    QCOMPARE(aliasRows(*m_conn, domain), (QStringList{"a1|x", "a2|y"}));

    QSignalSpy failed(ctrl, &DBCtrl::signalError);
    ctrl->addOperations(1, {aliasInsert(domain, 1, "x")}); // duplicate key
    ctrl->applyAsync(false);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, Timeout);
    QCOMPARE(ctrl->operationCount(), 1);
}

QTEST_GUILESS_MAIN(TestTrans)
#include "test_trans.moc"
