// Remote tables without a server: select texts, reading rows from a result,
// statements, snapshots, revert, modification and key checks.
#include "blockbuilder.h"
#include "db/dbreq.h"
#include "db/dbtable.h"
#include "db/dbtransreq.h"
#include "db/dbvalues.h"

#include <QtTest>

#include <limits>
#include <memory>

namespace {

QList<DBKol> userColumns()
{
    return {DBKol(1, "Name", true), DBKol(1, "Domain", true), DBKol(2, "Quota"),
            DBKol(1, "Comment")};
}

// A table whose three lists hold the given rows, as after a select.
void load(DBTable &table, const QList<QStringList> &rows)
{
    QList<BlockBuilder::Column> columns;
    for (const DBKol &c : table.columns().columns())
        columns.append({c.type, c.name, c.attribute});
    BlockBuilder builder(columns);
    for (const QStringList &row : rows) {
        QList<QByteArray> cells;
        for (int i = 0; i < row.size(); ++i) {
            const int type = table.columns().at(i).type;
            cells.append(type == 2 ? BlockBuilder::int32(row.at(i).toInt())
                                   : BlockBuilder::text(row.at(i)));
        }
        builder.addRow(cells);
    }
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));
    table.readRows(req);
}

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private slots:
    void selectTexts_data();
    void selectTexts();
    void readRowsFillsThreeSharedLists();
    void readRowsMatchesDeclaredColumns();
    void readRowsAppendsWhenAsked();
    void readRowsGivesTheTextsOfTheTypedReaders();
    void rowsOutliveTheTableThatReadThem();
    void statementForOneChange();
    void noChangeNoStatement();
    void deleteComesBeforeInsert();
    void insertOmitsEmptyTexts();
    void keyChangeUsesBaselineCondition();
    void tableWithoutKeysHasNoCondition();
    void directoryAwareForms_data();
    void directoryAwareForms();
    void accumulateMovesBaseline();
    void snapshotRevertAndModified();
    void keyUniqueness_data();
    void keyUniqueness();
    void keyReasons_data();
    void keyReasons();
    void copyKeepsRowsAndNumbers();
};

void TestTable::selectTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("controls");
    QTest::addColumn<QString>("query");

    QTest::newRow("columns and filter") << "users" << QStringList{"Id", "Name"} << "Domain='x'"
                                        << ""
                                        << "select Id, Name from users where Domain='x'";
    QTest::newRow("no columns") << "Alias" << QStringList{} << ""
                                << ""
                                << "select * from Alias";
    QTest::newRow("controls") << "Group" << QStringList{"Name", "$RowSource"}
                              << "Domain=\"example.com\""
                              << "LDAPListInactive = 1"
                              << "select Name, $RowSource from Group where "
                                 "Domain=\"example.com\" controls LDAPListInactive = 1";
    QTest::newRow("empty names skipped") << "T" << QStringList{"A", "", "B"} << ""
                                         << ""
                                         << "select A, B from T";
    QTest::newRow("function") << "get_auth_methods()" << QStringList{"X"} << "f"
                              << ""
                              << "select get_auth_methods()";
    QTest::newRow("complete select")
            << "select FolderList(\"a\", \"0\")" << QStringList{"Name"} << "ignored"
            << ""
            << "select FolderList(\"a\", \"0\")";
    QTest::newRow("complete select upper case") << "SELECT x FROM y" << QStringList{} << ""
                                                << ""
                                                << "SELECT x FROM y";
    QTest::newRow("update statement") << "update T set a='1'" << QStringList{} << ""
                                      << ""
                                      << "update T set a='1'";
    QTest::newRow("name starting with select") << "selection" << QStringList{} << ""
                                               << ""
                                               << "select * from selection";
}

void TestTable::selectTexts()
{
    QFETCH(QString, name);
    QFETCH(QStringList, columns);
    QFETCH(QString, filter);
    QFETCH(QString, controls);
    QFETCH(QString, query);
    QList<DBKol> declared;
    for (const QString &c : columns)
        declared.append(DBKol(1, c));
    DBTable table(nullptr, name, declared,
                  DBTable::Options{.filter = filter, .controls = controls});
    QCOMPARE(table.selectQuery(), query);
}

void TestTable::readRowsFillsThreeSharedLists()
{
    DBTable table(nullptr, "Stats");
    BlockBuilder builder({{2, "Id", true}, {1, "Name"}});
    builder.addRow({BlockBuilder::int32(3), BlockBuilder::text("a")});
    builder.addRow({BlockBuilder::int32(17), BlockBuilder::text("b")});
    builder.addRow({BlockBuilder::int32(9), BlockBuilder::text(QString::fromUtf8("\xc3\xa9"))});
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));
    table.readRows(req);

    QVERIFY(table.isReadDone());
    QCOMPARE(table.columns().count(), 2); // built from the result
    QVERIFY(table.columns().at(0).attribute);
    QCOMPARE(table.highestId(), 17);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.baselineCount(), 3);
    QCOMPARE(table.confirmedCount(), 3);
    QCOMPARE(table.row(2)->text(1), QString::fromUtf8("\xc3\xa9"));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(table.row(i)->sharesCellsWith(table.baselineRow(i)));
        QVERIFY(table.row(i)->sharesCellsWith(table.confirmedRow(i)));
        QCOMPARE(table.indexInConfirmed(table.row(i)->rowNumber()), i);
    }
    QVERIFY(!table.isModified());
    QVERIFY(table.statements().isEmpty());
}

void TestTable::readRowsMatchesDeclaredColumns()
{
    DBTable table(nullptr, "User", {DBKol(2, "count()"), DBKol(1, "Missing"), DBKol(2, "Id")});
    BlockBuilder builder({{2, "id"}, {2, "count"}});
    builder.addRow({BlockBuilder::int32(4), BlockBuilder::int32(12)});
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));
    table.readRows(req);
    QCOMPARE(table.columns().at(0).index, 1);
    QCOMPARE(table.columns().at(1).index, -1);
    QCOMPARE(table.columns().at(2).index, 0);
    QCOMPARE(table.row(0)->text(0), QStringLiteral("12"));
    QCOMPARE(table.row(0)->text(1), QString());
    QCOMPARE(table.row(0)->text(2), QStringLiteral("4"));
    QCOMPARE(table.highestId(), 4);
}

void TestTable::readRowsGivesTheTextsOfTheTypedReaders()
{
    // Every wire type, each read once under its own type and once under a
    // declared type that differs, against what the typed readers give.
    BlockBuilder builder({{1, "Name"},
                          {2, "Number"},
                          {3, "Big"},
                          {5, "Other"},
                          {4, "Address"},
                          {7, "Port"},
                          {6, "Digest"},
                          {8, "Ids"}});
    const QByteArray invalidUtf8("ab\xff\xfe"
                                 "cdefghij",
                                 12);
    builder.addRow({BlockBuilder::text("alice"), BlockBuilder::int32(-7),
                    BlockBuilder::int64(std::numeric_limits<qint64>::min()),
                    BlockBuilder::text(QString::fromUtf8("long ascii then \xc3\xa9")),
                    BlockBuilder::ipv4(10, 0, 0, 1), BlockBuilder::port(443),
                    QByteArray("\x01\xab", 2), BlockBuilder::list({"1", "22"})});
    builder.addRow({invalidUtf8 + '\0', BlockBuilder::int32(2147483647), BlockBuilder::int64(0),
                    BlockBuilder::text(QString()), BlockBuilder::ipv4(0, 0, 0, 0),
                    BlockBuilder::port(0), QByteArray(), BlockBuilder::list({})});
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));

    auto expected = [&req](int row, int column, int type) -> std::pair<QString, bool> {
        std::unique_ptr<DBValBase> value;
        switch (type) {
        case DBType::Int:
            value = std::make_unique<DBInt>(req.readInt(row, column));
            break;
        case DBType::Int64:
            value = std::make_unique<DBInt64>(req.readInt64(row, column));
            break;
        case DBType::IpAddr:
            value = std::make_unique<DBIpAddr>(req.readIpAddr(row, column));
            break;
        case DBType::Port:
            value = std::make_unique<DBPort>(req.readPort(row, column));
            break;
        case DBType::Binary:
            value = std::make_unique<DBBinary>(req.readBinary(row, column, type));
            break;
        case DBType::IdList:
            value = std::make_unique<DBIdList>(req.readIdList(row, column, type));
            break;
        default:
            value = std::make_unique<DBStr>(req.readStr(row, column, type));
        }
        const bool scalar = type == DBType::Int || type == DBType::Int64 || type == DBType::IpAddr
                || type == DBType::Port;
        return {value->toString(), scalar && value->isNull()};
    };

    const int wireTypes[] = {1, 2, 3, 5, 4, 7, 6, 8};
    const int otherTypes[] = {2, 1, 1, 3, 1, 2, 1, 1};
    for (const bool declared : {false, true}) {
        QList<DBKol> columns;
        for (int c = 0; c < 8; ++c) {
            QString name;
            req.columnInfo(c, &name, nullptr, nullptr, nullptr);
            columns.append(DBKol(otherTypes[c], name));
        }
        DBTable table(nullptr, "Mixed", declared ? columns : QList<DBKol>());
        table.readRows(req);
        QCOMPARE(table.rowCount(), 2);
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 8; ++c) {
                const int type = declared ? otherTypes[c] : wireTypes[c];
                const auto [text, null] = expected(r, c, type);
                QCOMPARE(table.row(r)->text(c), text);
                QCOMPARE(table.row(r)->isNull(c), null);
            }
        }
    }
}

void TestTable::rowsOutliveTheTableThatReadThem()
{
    // Enough rows that their blocks fill several shared allocations, the
    // last ones large enough to be mapped on their own (12 MB of cells).
    constexpr int Rows = 40000;
    const QString comment(300, QLatin1Char('c'));
    QList<QStringList> rows;
    for (int i = 0; i < Rows; ++i)
        rows.append({QStringLiteral("user%1").arg(i), "d", QString::number(i), comment});
    auto reader = std::make_unique<DBTable>(nullptr, "User", userColumns());
    load(*reader, rows);
    reader->row(5)->setText(3, QStringLiteral("edited"));

    DBTable copy(*reader);
    DBTable other(nullptr, "User", userColumns());
    for (int i = 0; i < Rows; i += 7)
        other.appendRow(*reader->row(i));
    reader.reset();

    QCOMPARE(copy.rowCount(), Rows);
    QCOMPARE(copy.row(Rows - 1)->text(0), QStringLiteral("user%1").arg(Rows - 1));
    QCOMPARE(copy.row(5)->text(3), QStringLiteral("edited"));
    QCOMPARE(copy.row(Rows - 2)->text(3), comment);
    QCOMPARE(copy.statements().size(), 1);
    QCOMPARE(other.row(1)->text(2), QStringLiteral("7"));
    QCOMPARE(other.row(1)->table(), &other);
    copy.clearRows();
    QCOMPARE(copy.confirmedRow(Rows / 2).text(0), QStringLiteral("user%1").arg(Rows / 2));
}

void TestTable::readRowsAppendsWhenAsked()
{
    DBTable table(nullptr, "Log", userColumns(), DBTable::Options{.appendOnRead = true});
    load(table, {{"a", "d", "1", ""}});
    load(table, {{"b", "d", "2", ""}});
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.confirmedCount(), 2);
    table.setAppendOnRead(false);
    load(table, {{"c", "d", "3", ""}});
    QCOMPARE(table.rowCount(), 1);
}

void TestTable::statementForOneChange()
{
    DBTable table(nullptr, "User", userColumns());
    load(table, {{"alice", "example.com", "10", "x"}, {"bob", "example.com", "20", ""}});
    table.row(1)->setText(QStringLiteral("Quota"), QStringLiteral("25"));
    QCOMPARE(table.statements(),
             QStringList{"update User set Quota='25' where Name='bob' and Domain='example.com'"});
    QVERIFY(table.isModified());
    QCOMPARE(table.pendingStatements().size(), 1);
}

void TestTable::noChangeNoStatement()
{
    DBTable table(nullptr, "User", userColumns());
    load(table, {{"alice", "example.com", "10", "x"}});
    table.row(0)->setText(QStringLiteral("Quota"), QStringLiteral("10")); // same value
    QVERIFY(table.statements().isEmpty());
    QVERIFY(!table.isModified());
}

void TestTable::deleteComesBeforeInsert()
{
    DBTable table(nullptr, "User", userColumns());
    load(table, {{"alice", "example.com", "10", ""}, {"bob", "example.com", "20", ""}});
    DBRow *added = table.addRow();
    added->setText(0, QStringLiteral("carol"));
    added->setText(1, QStringLiteral("example.com"));
    added->setText(2, QStringLiteral("5"));
    table.removeRow(0);
    QCOMPARE(table.statements(),
             (QStringList{"delete from User where Name='alice' and Domain='example.com'",
                          "insert User set Name='carol', Domain='example.com', Quota='5'"}));
}

void TestTable::insertOmitsEmptyTexts()
{
    DBTable table(nullptr, "User", userColumns());
    DBRow *row = table.addRow();
    row->setText(0, QStringLiteral("o'neil"));
    QCOMPARE(table.statements(), QStringList{"insert User set Name='o\\'neil'"});
}

void TestTable::keyChangeUsesBaselineCondition()
{
    DBTable table(nullptr, "User", userColumns());
    load(table, {{"alice", "example.com", "10", ""}});
    table.row(0)->setText(0, QStringLiteral("alicia"));
    table.row(0)->setText(3, QStringLiteral("renamed"));
    QCOMPARE(table.statements(),
             QStringList{"update User set Name='alicia', Comment='renamed' where Name='alice' and "
                         "Domain='example.com'"});
}

void TestTable::tableWithoutKeysHasNoCondition()
{
    DBTable table(nullptr, "Smtp", {DBKol(2, "EtrnTimeout")});
    load(table, {{"10"}});
    table.row(0)->setText(0, QStringLiteral("30"));
    QCOMPARE(table.statements(), QStringList{"update Smtp set EtrnTimeout='30'"});
}

void TestTable::directoryAwareForms_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("rowSource");
    QTest::addColumn<QString>("statement");

    QTest::newRow("delete directory row")
            << "delete" << 2 << "update Group where Id='5' controls LdapActiveReSet=1";
    QTest::newRow("delete own row")
            << "delete" << 0 << "delete from Group where Id='5' controls ProviderID=0";
    QTest::newRow("insert own row") << "insert" << 0
                                    << "insert Group set Id='5', Name='g', $RowSource='0' "
                                       "controls ProviderID=0";
    QTest::newRow("activate directory row")
            << "insert" << 3 << "update Group where Id='5' controls LdapActiveSet=1";
    QTest::newRow("update directory row") << "update" << 4
                                          << "update Group set Name='h' where Id='5' controls "
                                             "ProviderID=4";
}

void TestTable::directoryAwareForms()
{
    QFETCH(QString, edit);
    QFETCH(int, rowSource);
    QFETCH(QString, statement);
    DBTable table(nullptr, "Group",
                  {DBKol(2, "Id", true), DBKol(1, "Name"), DBKol(2, "$RowSource")},
                  DBTable::Options{.directoryAware = true});
    if (edit == QLatin1String("insert")) {
        DBRow *row = table.addRow();
        QVERIFY(row->isDirectoryAware());
        row->setText(0, QStringLiteral("5"));
        row->setText(1, QStringLiteral("g"));
        row->setNumber(QStringLiteral("$RowSource"), rowSource);
    } else {
        load(table, {{"5", "g", QString::number(rowSource)}});
        if (edit == QLatin1String("delete"))
            table.removeRow(0);
        else
            table.row(0)->setText(1, QStringLiteral("h"));
    }
    QCOMPARE(table.statements(), QStringList{statement});
}

void TestTable::accumulateMovesBaseline()
{
    DBTable table(nullptr, "User", userColumns(), DBTable::Options{.accumulate = true});
    load(table, {{"alice", "d", "1", ""}, {"bob", "d", "2", ""}});
    table.row(0)->setText(2, QStringLiteral("5"));
    const QString first
            = QStringLiteral("update User set Quota='5' where Name='alice' and Domain='d'");
    QCOMPARE(table.statements(), QStringList{first});
    // Nothing new: the earlier statement stays pending but is not repeated.
    QCOMPARE(table.statements(), QStringList{first});
    table.row(1)->setText(3, QStringLiteral("c"));
    QCOMPARE(table.statements(),
             (QStringList{first, "update User set Comment='c' where Name='bob' and Domain='d'"}));
}

void TestTable::snapshotRevertAndModified()
{
    DBTable table(nullptr, "User", userColumns());
    load(table, {{"alice", "d", "1", ""}});
    const int number = table.row(0)->rowNumber();
    table.row(0)->setText(2, QStringLiteral("7"));
    QVERIFY(table.isModified());
    table.row(0)->setText(2, QStringLiteral("1"));
    QVERIFY(!table.isModified()); // edited back
    table.addRow();
    QVERIFY(table.isModified());

    table.revert();
    QVERIFY(!table.isModified());
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.row(0)->rowNumber(), number);
    QVERIFY(table.statements().isEmpty());

    table.row(0)->setText(3, QStringLiteral("note"));
    QCOMPARE(table.statements().size(), 1);
    table.takeSnapshot();
    QVERIFY(table.statements().isEmpty());
    QVERIFY(!table.isModified());
    QCOMPARE(table.confirmedRow(0).text(3), QStringLiteral("note"));
}

void TestTable::keyUniqueness_data()
{
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("unique");
    QTest::newRow("case differs, case counts") << false << "ALICE" << true;
    QTest::newRow("case differs, ignored") << true << "ALICE" << false;
    QTest::newRow("same key") << false << "alice" << false;
    QTest::newRow("other key") << true << "bob" << true;
}

void TestTable::keyUniqueness()
{
    QFETCH(bool, ignoreCase);
    QFETCH(QString, second);
    QFETCH(bool, unique);
    DBTable table(nullptr, "User", userColumns(), DBTable::Options{.keysIgnoreCase = ignoreCase});
    load(table, {{"alice", "d", "1", ""}});
    DBRow *row = table.addRow();
    row->setText(0, second);
    row->setText(1, QStringLiteral("d"));
    int reason = -1;
    QCOMPARE(table.isKeyUnique(row, &reason), unique);
    QCOMPARE(reason, int(DBTable::KeyDuplicate));
    QCOMPARE(table.isKeyUnique(row), unique);
}

void TestTable::keyReasons_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("reason");
    QTest::newRow("empty text") << 1 << "" << 10;
    QTest::newRow("zero address") << 4 << "0.0.0.0" << 11;
    QTest::newRow("zero port") << 7 << "0" << 12;
    QTest::newRow("zero int") << 2 << "0" << 13;
    QTest::newRow("zero int64") << 3 << "0" << 13;
    QTest::newRow("null int") << 2 << "" << 10;
}

void TestTable::keyReasons()
{
    QFETCH(int, type);
    QFETCH(QString, value);
    QFETCH(int, reason);
    DBTable table(nullptr, "T", {DBKol(type, "Key", true), DBKol(1, "Other")});
    DBRow *row = table.addRow();
    row->setText(0, value);
    int given = -1;
    QVERIFY(!table.isKeyUnique(row, &given));
    QCOMPARE(given, reason);
    // Without asking for a reason only duplicates count.
    QVERIFY(table.isKeyUnique(row));
}

void TestTable::copyKeepsRowsAndNumbers()
{
    DBTable table(nullptr, "User", userColumns(),
                  DBTable::Options{.keysIgnoreCase = true, .filter = "Domain='d'"});
    load(table, {{"alice", "d", "1", ""}, {"bob", "d", "2", ""}});
    table.row(1)->setText(2, QStringLiteral("9"));
    table.setTransactionKey(4);
    DBTable copy(table);
    QCOMPARE(copy.rowCount(), 2);
    QCOMPARE(copy.row(1)->rowNumber(), table.row(1)->rowNumber());
    QCOMPARE(copy.row(1)->table(), &copy);
    QCOMPARE(copy.transactionKey(), 4);
    QCOMPARE(copy.selectQuery(), table.selectQuery());
    QCOMPARE(copy.statements(), table.statements());
    QCOMPARE(copy.synSaveRequest()->name(), QStringLiteral("DBTable::synSave"));
}

QTEST_GUILESS_MAIN(TestTable)
#include "test_table.moc"
