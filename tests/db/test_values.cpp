// Values, query literals, function calls, secret masking, password hashes,
// columns, rows and the typed readers of a request.
#include "blockbuilder.h"
#include "db/dbkols.h"
#include "db/dbpasswordhash.h"
#include "db/dbquerymask.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/dbrow.h"
#include "db/dbvalues.h"
#include "db/utdebug.h"

#include <QMutex>
#include <QtTest>

namespace {

// Collects the debug lines written while it exists.
class DebugCapture
{
public:
    DebugCapture()
    {
        m_id = UtDebug::addSink([this](int category, int level, const QString &line) {
            QMutexLocker locker(&m_lock);
            m_lines.append(QStringLiteral("%1/%2 %3").arg(category).arg(level).arg(line));
        });
    }
    ~DebugCapture() { UtDebug::removeSink(m_id); }
    QStringList lines()
    {
        QMutexLocker locker(&m_lock);
        return m_lines;
    }

private:
    int m_id;
    QMutex m_lock;
    QStringList m_lines;
};

} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void valueForms_data();
    void valueForms();
    void portAndAddressKeepNetworkOrder();
    void bytesAndLists();
    void functionCallEscapesArguments_data();
    void functionCallEscapesArguments();
    void secretsAreMasked_data();
    void secretsAreMasked();
    void queryLinesAreMaskedInEveryOutput();
    void passwordHashRoundTrip();
    void passwordHashKnownValue();
    void passwordHashRefusesMalformed_data();
    void passwordHashRefusesMalformed();
    void columnsFindNamesIgnoringCase();
    void rowNumbersAndSharing();
    void rowTextsAndNormalisation();
    void readersDecodeEveryType();
    void readersReadLongTextInTwoAttempts();
    void readersReportFailures();
};

void TestValues::valueForms_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<bool>("null");

    QTest::newRow("int") << 2 << "7"
                         << "7"
                         << "'7'" << false;
    QTest::newRow("int empty") << 2 << ""
                               << ""
                               << "''" << true;
    QTest::newRow("int not a number") << 2 << "abc"
                                      << "0"
                                      << "'0'" << false;
    QTest::newRow("int negative") << 2 << "-12"
                                  << "-12"
                                  << "'-12'" << false;
    QTest::newRow("int64") << 3 << "9000000000"
                           << "9000000000"
                           << "'9000000000'" << false;
    QTest::newRow("int64 empty") << 3 << ""
                                 << ""
                                 << "''" << true;
    QTest::newRow("ip") << 4 << "10.0.0.1"
                        << "10.0.0.1"
                        << "'10.0.0.1'" << false;
    QTest::newRow("ip empty") << 4 << ""
                              << ""
                              << "''" << true;
    QTest::newRow("ip unparsable") << 4 << "300.1.1.1"
                                   << "255.255.255.255"
                                   << "'255.255.255.255'" << false;
    QTest::newRow("ip word") << 4 << "localhost"
                             << "255.255.255.255"
                             << "'255.255.255.255'" << false;
    QTest::newRow("port") << 7 << "8080"
                          << "8080"
                          << "'8080'" << false;
    QTest::newRow("port empty") << 7 << ""
                                << ""
                                << "''" << true;
    QTest::newRow("text quote and backslash") << 1 << "O'Neil\\"
                                              << "O'Neil\\"
                                              << "'O\\'Neil\\\\'" << false;
    QTest::newRow("text controls") << 5 << "a\"b\nc\rd\te"
                                   << "a\"b\nc\rd\te"
                                   << "'a\\\"b\\nc\\rd\\te'" << false;
    QTest::newRow("text empty is a value") << 1 << ""
                                           << ""
                                           << "''" << false;
    QTest::newRow("text above 255 unescaped")
            << 1 << QString::fromUtf8("\xe2\x82\xac\xc3\xbc")
            << QString::fromUtf8("\xe2\x82\xac\xc3\xbc")
            << QString::fromUtf8("'\xe2\x82\xac\xc3\xbc'") << false;
    QTest::newRow("unknown type is text") << 42 << "x'y"
                                          << "x'y"
                                          << "'x\\'y'" << false;
    QTest::newRow("raw") << 10 << "abc"
                         << "abc"
                         << "'abc'" << false;
    QTest::newRow("binary") << 6 << "00ff"
                            << "00ff"
                            << "'00ff'" << false;
    QTest::newRow("list drops empty items") << 8 << "a,,b"
                                            << "a,b"
                                            << "{\"a\",\"b\"}" << false;
    QTest::newRow("list empty") << 8 << ""
                                << ""
                                << "{}" << false;
    QTest::newRow("list escapes items") << 8 << "x\"y,z\\"
                                        << "x\"y,z\\"
                                        << "{\"x\\\"y\",\"z\\\\\"}" << false;
}

void TestValues::valueForms()
{
    QFETCH(int, type);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, literal);
    QFETCH(bool, null);

    std::unique_ptr<DBValBase> value = DBValBase::create(type);
    value->fromString(input);
    QCOMPARE(value->toString(), text);
    QCOMPARE(value->toQueryText(), literal);
    QCOMPARE(value->isNull(), null);

    // A row column of the same type gives the same forms.
    const DBKols columns(QList<DBKol>{DBKol(type, QStringLiteral("c"))});
    DBRow row(&columns);
    row.setText(0, input);
    QCOMPARE(row.text(0), text);
    QCOMPARE(row.queryText(0), literal);
    QCOMPARE(row.isNull(0), null);
}

void TestValues::portAndAddressKeepNetworkOrder()
{
    DBPort port;
    port.fromString(QStringLiteral("8080"));
    const quint16 stored = port.value();
    const auto *bytes = reinterpret_cast<const uchar *>(&stored);
    QCOMPARE(bytes[0], uchar(0x1f));
    QCOMPARE(bytes[1], uchar(0x90));
    QCOMPARE(port.port(), quint16(8080));

    DBIpAddr address;
    address.fromString(QStringLiteral("192.168.1.2"));
    const quint32 raw = address.value();
    const auto *octets = reinterpret_cast<const uchar *>(&raw);
    QCOMPARE(octets[0], uchar(192));
    QCOMPARE(octets[3], uchar(2));

    QVERIFY(DBInt().isNull());
    QVERIFY(DBPort().isNull());
    QVERIFY(!DBStr().isNull());
    QVERIFY(!DBIdList().isNull());
}

void TestValues::bytesAndLists()
{
    DBStr text;
    text.setFromBytes("\xc3\xa9t\xc3\xa9");
    QCOMPARE(text.toString(), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    text.setFromBytes(nullptr);
    QVERIFY(text.isNull());
    QCOMPARE(text.toString(), QString());

    DBRawStr raw;
    raw.setFromBytes("\xe9t\xe9");
    QCOMPARE(raw.toString(), QString::fromLatin1("\xe9t\xe9"));

    DBIdList list;
    QCOMPARE(list.toStringList(), QStringList{QString()});
    list.setFromBytes("a,bc");
    QCOMPARE(list.toStringList(), (QStringList{"a", "bc"}));
    DBInt number(5);
    QCOMPARE(number.toStringList(), QStringList{"5"});
}

void TestValues::functionCallEscapesArguments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("call");

    QTest::newRow("plain") << "check_alias" << QStringList{"info@example.com"}
                           << "check_alias(\"info@example.com\")";
    QTest::newRow("typed quote cannot break out")
            << "check_alias" << QStringList{"x\"); delete from User; (\""}
            << "check_alias(\"x\\\"); delete from User; (\\\"\")";
    QTest::newRow("backslash path")
            << "ListDir" << QStringList{"C:\\backup"} << "ListDir(\"C:\\\\backup\")";
    QTest::newRow("two arguments") << "FolderList" << QStringList{"example.com", "0"}
                                   << "FolderList(\"example.com\", \"0\")";
    QTest::newRow("no arguments") << "get_auth_types" << QStringList{} << "get_auth_types()";
}

void TestValues::functionCallEscapesArguments()
{
    QFETCH(QString, name);
    QFETCH(QStringList, arguments);
    QFETCH(QString, call);
    QCOMPARE(dbFunctionCall(name, arguments), call);
}

void TestValues::secretsAreMasked_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("masked");

    QTest::newRow("plain password column")
            << "update User set Password='NUL:hunter2', Name='bob' where Name='bob'"
            << "update User set Password='******', Name='bob' where Name='bob'";
    QTest::newRow("hashed password in insert") << "insert User set Name='a', Password='SHA:0011'"
                                               << "insert User set Name='a', Password='******'";
    QTest::newRow("escaped quote inside") << "update Pop3 set Pass='a\\'b' where Id='1'"
                                          << "update Pop3 set Pass='******' where Id='1'";
    QTest::newRow("bind password") << "update DirectoryService set BindPassword = 'x y'"
                                   << "update DirectoryService set BindPassword = '******'";
    QTest::newRow("NUL literal in any column") << "update Backup set Secret='NUL:abc'"
                                               << "update Backup set Secret='NUL:******'";
    QTest::newRow("ListDir password argument")
            << "ListDir(\"C:\\\\backup\", \"admin\", \"p\\\"w\")"
            << "ListDir(\"C:\\\\backup\", \"admin\", \"******\")";
    QTest::newRow("AccessDir password argument")
            << "AccessDir(\"/srv\", \"1\", \"user\", \"secret\")"
            << "AccessDir(\"/srv\", \"1\", \"user\", \"******\")";
    QTest::newRow("AccessDir without password") << "AccessDir(\"/srv\", \"1\")"
                                                << "AccessDir(\"/srv\", \"1\")";
    QTest::newRow("nothing secret") << "select Name, Domain from User where Domain='x'"
                                    << "select Name, Domain from User where Domain='x'";
    // Literals are read as a whole: text inside them neither starts nor ends a secret.
    QTest::newRow("literal that looks like an assignment")
            << "update User set Note='pass=', Password='secret' where Name='a'"
            << "update User set Note='pass=', Password='******' where Name='a'";
    QTest::newRow("escaped backslash ends the password")
            << "insert User set Password='ab\\\\', Name='n\\'x'"
            << "insert User set Password='******', Name='n\\'x'";
    QTest::newRow("select compares with a password")
            << "select Name from User where Password='x\\'y' and Name='bob'"
            << "select Name from User where Password='******' and Name='bob'";
    QTest::newRow("not equal and like")
            << "select Id from Pop3 where Password<>'a' or Password like 'b%'"
            << "select Id from Pop3 where Password<>'******' or Password like '******'";
    QTest::newRow("unterminated password") << "update User set Password='abc"
                                           << "update User set Password='******";
    QTest::newRow("unquoted password") << "update User set Password=hunter2 where Id='1'"
                                       << "update User set Password=****** where Id='1'";
    QTest::newRow("bind password in double quotes")
            << "update DirectoryService set BindDN=\"cn=x\", BindPassword=\"a\\\"b\""
            << "update DirectoryService set BindDN=\"cn=x\", BindPassword=\"******\"";
    QTest::newRow("column named like a password, value elsewhere")
            << "select Password, Name from User where Name='bob'"
            << "select Password, Name from User where Name='bob'";
    QTest::newRow("ListDir password with comma and escaped quotes")
            << "select ListDir(\"C:\\\\x\", \"admin\", \"p\\\",w\\\"\")"
            << "select ListDir(\"C:\\\\x\", \"admin\", \"******\")";
    QTest::newRow("ListDir without password") << "ListDir(\"C:\\\\x\", \"admin\")"
                                              << "ListDir(\"C:\\\\x\", \"admin\")";
    QTest::newRow("lower-case call, path naming another call")
            << "accessdir(\"/srv/ListDir(a,b,c)\", \"1\", \"u\", \"s,e)c\")"
            << "accessdir(\"/srv/ListDir(a,b,c)\", \"1\", \"u\", \"******\")";
    QTest::newRow("unquoted function password") << "AccessDir(\"/srv\", \"1\", \"u\", top secret)"
                                                << "AccessDir(\"/srv\", \"1\", \"u\", ******)";
    QTest::newRow("directory test password")
            << "LdapTestPvnExtensions(\"h\", \"389\", \"0\", \"cn=a\", \"pw\", \"dc=b\")"
            << "LdapTestPvnExtensions(\"h\", \"389\", \"0\", \"cn=a\", \"******\", \"dc=b\")";
}

void TestValues::secretsAreMasked()
{
    QFETCH(QString, query);
    QFETCH(QString, masked);
    QCOMPARE(dbMaskSecrets(query), masked);
    // Masking is stable: a masked text stays as it is.
    QCOMPARE(dbMaskSecrets(masked), masked);
}

void TestValues::queryLinesAreMaskedInEveryOutput()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(UtDebug::setTraceFile(folder.filePath(QStringLiteral("trace.log"))));
    const QString trace = UtDebug::traceFile();
    {
        DebugCapture capture;
        UtDebug::write(UtDebug::CategoryQuery, 5,
                       QStringLiteral("update User set Password='NUL:s3cr3t' where Name='a'"));
        UtDebug::write(UtDebug::CategoryQuery, 4,
                       QStringLiteral("{1} ListDir(\"C:\\\\b\", \"u\", \"s3cr3t\")"));
        // Other categories are not queries and stay as they are.
        UtDebug::write(UtDebug::CategoryGeneral, 5, QStringLiteral("Password='visible'"));
        QCOMPARE(capture.lines(),
                 QStringList(
                         {QStringLiteral("14/5 update User set Password='******' where Name='a'"),
                          QStringLiteral("14/4 {1} ListDir(\"C:\\\\b\", \"u\", \"******\")"),
                          QStringLiteral("0/5 Password='visible'")}));
    }
    UtDebug::setTraceFile(QString());
    QFile file(trace);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.contains("ListDir(\"C:\\\\b\", \"u\", \"******\")"));
    QVERIFY(!written.contains("s3cr3t"));
}

void TestValues::passwordHashRoundTrip()
{
    const std::optional<QString> hash = passwordHash(QStringLiteral("s3cret"));
    QVERIFY(hash);
    QCOMPARE(hash->size(), 60);
    QVERIFY(hash->startsWith(QLatin1String("SHA:")));
    QCOMPARE(passwordHash(QStringLiteral("s3cret"), *hash), hash);
    QVERIFY(passwordMatches(QStringLiteral("s3cret"), *hash));
    QVERIFY(!passwordMatches(QStringLiteral("s3cret!"), *hash));
    // Two fresh hashes use different salts.
    QVERIFY(passwordHash(QStringLiteral("s3cret")) != hash);
}

void TestValues::passwordHashKnownValue()
{
    // Salt 0102030405060708; key from an independent PBKDF2-HMAC-SHA1 implementation.
    const QString stored = QStringLiteral("SHA:0102030405060708") + QString(40, QLatin1Char('0'));
    QCOMPARE(passwordHash(QStringLiteral("password"), stored),
             QStringLiteral("SHA:01020304050607084f8d654f25ed46c53b94e7e63b718b9719987679"));
    // Latin-1 bytes of the password; upper-case digits in the stored hash.
    const QString upper = QStringLiteral("SHA:A0B1C2D3E4F50617") + QString(40, QLatin1Char('F'));
    QCOMPARE(passwordHash(QString::fromUtf8("p\xc3\xa4ssword"), upper),
             QStringLiteral("SHA:a0b1c2d3e4f506178d18f0fb18513f70d9d193a3bb2ffdf55156a830"));
}

void TestValues::passwordHashRefusesMalformed_data()
{
    QTest::addColumn<QString>("stored");
    const QString good = *passwordHash(QStringLiteral("x"));
    QTest::newRow("59 characters") << good.left(59);
    QTest::newRow("61 characters") << good + QLatin1Char('0');
    QTest::newRow("no prefix") << QStringLiteral("NUL:") + good.mid(4);
    QTest::newRow("not hex") << good.left(10) + QLatin1Char('g') + good.mid(11);
    QTest::newRow("empty") << QString();
}

void TestValues::passwordHashRefusesMalformed()
{
    QFETCH(QString, stored);
    QVERIFY(!passwordHash(QStringLiteral("x"), stored));
    QVERIFY(!passwordMatches(QStringLiteral("x"), stored));
}

void TestValues::columnsFindNamesIgnoringCase()
{
    DBKols columns(QList<DBKol>{DBKol(1, "Id"), DBKol(1, "Name"), DBKol(1, "name")});
    DebugCapture capture;
    QCOMPARE(columns.indexOf(QStringLiteral("NAME")), 1);
    QCOMPARE(columns.indexOf(QStringLiteral("Missing")), -1);
    QCOMPARE(columns.indexOf(QStringLiteral("Missing")), -1);
    const QStringList reported = capture.lines().filter(QStringLiteral("Missing"));
    QCOMPARE(reported.size(), 2);
    QVERIFY(reported.first().endsWith(
            QLatin1String("Column Missing doesn't exists. (File: dbkols.cpp)")));
    columns.setReportMissing(false);
    QCOMPARE(columns.indexOf(QStringLiteral("Other")), -1);
    QVERIFY(capture.lines().filter(QStringLiteral("Other")).isEmpty());

    const DBKolDecl declared[]
            = {{2, "Id", true, 0}, {1, "Name", false, 3}, {0, nullptr, false, 0}};
    const DBKols fromDeclarations = DBKols::fromDeclarations(declared);
    QCOMPARE(fromDeclarations.count(), 2);
    QCOMPARE(fromDeclarations.at(0).index, -1);
    QVERIFY(fromDeclarations.at(0).attribute);
    QCOMPARE(fromDeclarations.at(1).extra, 3);
}

void TestValues::rowNumbersAndSharing()
{
    const DBKols columns(QList<DBKol>{DBKol(1, "Name"), DBKol(2, "Quota")});
    DBRow first(&columns);
    DBRow second(&columns);
    QCOMPARE(second.rowNumber(), first.rowNumber() + 1);
    first.setText(0, QStringLiteral("alice"));

    DBRow copy(first);
    QCOMPARE(copy.rowNumber(), first.rowNumber());
    QVERIFY(copy.sharesCellsWith(first));
    copy.setText(1, QStringLiteral("10"));
    QVERIFY(!copy.sharesCellsWith(first));
    QCOMPARE(first.text(1), QString()); // the source is untouched
    QVERIFY(first.isNull(1));
    QCOMPARE(copy.text(0), QStringLiteral("alice"));
    QCOMPARE(copy.text(1), QStringLiteral("10"));
    QVERIFY(!copy.sameTexts(first));
    copy.setNull(1);
    QVERIFY(copy.sameTexts(first));
}

void TestValues::rowTextsAndNormalisation()
{
    const DBKols columns(QList<DBKol>{DBKol(1, "Name"), DBKol(2, "Quota"), DBKol(8, "Members")});
    DBRow row(&columns);
    QCOMPARE(row.text(5), QString());
    QCOMPARE(row.queryText(-1), QString());
    QCOMPARE(row.text(QStringLiteral("nope")), QString());
    row.setText(7, QStringLiteral("ignored"));
    row.setText(QStringLiteral("quota"), QStringLiteral("12abc"));
    QCOMPARE(row.text(1), QStringLiteral("0"));
    row.setNumber(QStringLiteral("Quota"), 1234567);
    QCOMPARE(row.queryText(QStringLiteral("Quota")), QStringLiteral("'1234567'"));
    row.setText(2, QStringLiteral("a,,b,"));
    QCOMPARE(row.text(2), QStringLiteral("a,b"));
    QCOMPARE(row.queryText(2), QStringLiteral("{\"a\",\"b\"}"));
    // Texts with every kind of byte survive the packed storage.
    const QString odd = QString::fromUtf8("x\xc3\xa9\x01\n") + QString(300, QLatin1Char('z'));
    row.setText(0, odd);
    QCOMPARE(row.text(0), odd);
    QCOMPARE(row.text(2), QStringLiteral("a,b"));
    std::unique_ptr<DBValBase> quota = row.value(1);
    QCOMPARE(quota->typeCode(), 2);
    QCOMPARE(static_cast<DBInt *>(quota.get())->value(), 1234567);
    DBInt replacement(-4);
    row.setValue(1, replacement);
    QCOMPARE(row.text(1), QStringLiteral("-4"));
}

void TestValues::readersDecodeEveryType()
{
    BlockBuilder builder({{2, "Id", true},
                          {3, "Size"},
                          {4, "Address"},
                          {7, "Port"},
                          {6, "Blob"},
                          {8, "Items"},
                          {1, "Name"},
                          {10, "Raw"}});
    builder.addRow({BlockBuilder::int32(-5), BlockBuilder::int64(9000000000LL),
                    BlockBuilder::ipv4(10, 1, 2, 3), BlockBuilder::port(8080),
                    QByteArray("\x00\xff\x10", 3), BlockBuilder::list({"a", "bc"}),
                    BlockBuilder::text(QString::fromUtf8("J\xc3\xb6rg")),
                    QByteArray("\xe9t\xe9\0", 4)});
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));
    QCOMPARE(req.rowCount(), 1);
    QCOMPARE(req.columnCount(), 8);

    QString name;
    int type = 0;
    bool attribute = false;
    int extra = 7;
    QVERIFY(req.columnInfo(0, &name, &type, &attribute, &extra));
    QCOMPARE(name, QStringLiteral("Id"));
    QCOMPARE(type, 2);
    QVERIFY(attribute);
    QCOMPARE(extra, 0);
    QVERIFY(!req.columnInfo(8, &name, &type, &attribute, &extra));

    QCOMPARE(req.readInt(0, 0).value(), -5);
    QCOMPARE(req.readInt64(0, 1).value(), 9000000000LL);
    QCOMPARE(req.readIpAddr(0, 2).toString(), QStringLiteral("10.1.2.3"));
    QCOMPARE(req.readPort(0, 3).toString(), QStringLiteral("8080"));
    QCOMPARE(req.readBinary(0, 4).toString(), QStringLiteral("00ff10"));
    QCOMPARE(req.readIdList(0, 5).toString(), QStringLiteral("a,bc"));
    QCOMPARE(req.readStr(0, 6).toString(), QString::fromUtf8("J\xc3\xb6rg"));
    QCOMPARE(req.readRawStr(0, 7).toString(), QString::fromLatin1("\xe9t\xe9"));
}

void TestValues::readersReadLongTextInTwoAttempts()
{
    const QString longText = QString(999, QLatin1Char('q'));
    BlockBuilder builder({{1, "Text"}});
    builder.addRow({BlockBuilder::text(longText)}); // 1000 bytes with the 0x00
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));
    DebugCapture capture;
    QCOMPARE(req.readStr(0, 0).toString(), longText);
    QVERIFY(capture.lines().isEmpty()); // the short first attempt is not an error
}

void TestValues::readersReportFailures()
{
    BlockBuilder builder({{2, "Id"}});
    builder.addRow({BlockBuilder::int32(1)});
    DBReq req;
    QVERIFY(req.adoptBlock(builder.block()));
    DebugCapture capture;
    const DBInt missing = req.readInt(3, 0);
    QVERIFY(missing.isNull());
    QCOMPARE(missing.value(), 0);
    const DBStr text = req.readStr(0, 9);
    QCOMPARE(text.toString(), QString());
    QVERIFY(!text.isNull());
    const QStringList lines = capture.lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.first(), QStringLiteral("14/8 lumadb_read_result error 102: system error"));

    DBReq malformed;
    QVERIFY(!malformed.adoptBlock(QByteArray("\0s\0\1", 4)));
    QCOMPARE(malformed.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestValues)
#include "test_values.moc"
