// The launcher channels: launch keywords, the two input lines, the connection
// record in the shared region, status lines, and the console's exit statuses
// and close channel, run as a real process.
#include "handover/closechannel.h"
#include "handover/connectionrecord.h"
#include "handover/fsharedcomm.h"
#include "handover/fstreamcomm.h"
#include "handover/launchmode.h"

#include "support/devserver_process.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString freshRegionId()
{
    return QString::number(QRandomGenerator::global()->bounded(100000000, 999999999));
}

// The console under test: no modal boxes, settings in a private folder.
QProcessEnvironment consoleEnvironment(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("POSTDESK_NO_MODAL_ERRORS"), QStringLiteral("1"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("POSTDESK_KNOWN_HOSTS"),
                       home + QStringLiteral("/known_hosts"));
    return environment;
}

} // namespace

class TestHandOver : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void launchModes_data();
    void launchModes();
    void regionLocation_data();
    void regionLocation();
    void recordFields_data();
    void recordFields();
    void regionRoundTripAndWipe();
    void regionRefusedWhenOthersCanRead();
    void regionNamesAreDecimal();
    void statusWords();
    void refusedLaunchExitsWithTen_data();
    void refusedLaunchExitsWithTen();
    void brokenHandOverExitsWithElevenSilently();
    void handOverAndCloseChannel();
    void closeChannelWithoutAPrivateFolderIsReported();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_runtime; // this user's private runtime folder, as a session has one
};

void TestHandOver::initTestCase()
{
    QVERIFY(m_home.isValid() && m_runtime.isValid());
    QVERIFY(QFile::setPermissions(m_runtime.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner));
    // The consoles started here inherit it; the test finds their channels there.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
}

void TestHandOver::launchModes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("hand-over") << QStringList{"mosaic_key"} << 1 << true;
    QTest::newRow("login") << QStringList{"tundra_key", "debug"} << 2 << true;
    QTest::newRow("none") << QStringList{} << 3 << false;
    QTest::newRow("host name") << QStringList{"mail.example.com"} << 4 << false;
    QTest::newRow("case matters") << QStringList{"MOSAIC_KEY"} << 4 << false;
}

void TestHandOver::launchModes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, mode);
    QFETCH(bool, accepted);
    const LaunchMode result = launchModeFromArguments(arguments);
    QCOMPARE(int(result), mode);
    QCOMPARE(isAcceptedLaunchMode(result), accepted);
}

void TestHandOver::regionLocation_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<qint64>("size");
    QTest::newRow("two lines") << QByteArray("123456\n4096\n") << true << "123456" << qint64(4096);
    QTest::newRow("windows line ends")
            << QByteArray("42\r\n100\r\n") << true << "42" << qint64(100);
    QTest::newRow("one line only") << QByteArray("123456\n") << false << "" << qint64(0);
    QTest::newRow("second line unterminated") << QByteArray("1\n4096") << false << "" << qint64(0);
    QTest::newRow("size not a number") << QByteArray("1\nlots\n") << false << "" << qint64(0);
    QTest::newRow("size zero") << QByteArray("1\n0\n") << false << "" << qint64(0);
    QTest::newRow("line too long") << QByteArray(100, '7') + "\n4096\n" << false << "" << qint64(0);
    QTest::newRow("99 characters") << QByteArray(99, '7') + "\n4096\n"
                                   << true << QString(99, QLatin1Char('7')) << qint64(4096);
}

void TestHandOver::regionLocation()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, ok);
    QBuffer buffer(&input);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    FStreamComm::RegionLocation location;
    QCOMPARE(FStreamComm::readRegionLocation(buffer, location), ok);
    if (ok) {
        QTEST(location.identifier, "identifier");
        QTEST(qint64(location.size), "size");
    }
}

void TestHandOver::recordFields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("complete") << QByteArray("mail.example.com\n44337\nadmin\nsecret\0junk", 40)
                              << "mail.example.com" << 44337 << "admin"
                              << "secret";
    QTest::newRow("empty password")
            << QByteArray("h\n44337\nadmin\n\0", 15) << "h" << 44337 << "admin"
            << "";
    QTest::newRow("missing fields") << QByteArray("h\0", 2) << "h" << 0 << ""
                                    << "";
    QTest::newRow("port not a number") << QByteArray("h\nabc\nu\np\0", 11) << "h" << 0 << "u"
                                       << "p";
    QTest::newRow("utf-8") << QByteArray("h\n1\n\xc3\xa9mile\np\0", 14) << "h" << 1
                           << QString::fromUtf8("\xc3\xa9mile") << "p";
    QTest::newRow("no terminating zero") << QByteArray("h\n2\nu\npw") << "h" << 2 << "u"
                                         << "pw";
}

void TestHandOver::recordFields()
{
    QFETCH(QByteArray, bytes);
    const ConnectionRecord record = ConnectionRecord::fromRegion(bytes.constData(), bytes.size());
    QTEST(record.host, "host");
    QTEST(record.port, "port");
    QTEST(record.user, "user");
    QTEST(record.password, "password");
}

void TestHandOver::regionRoundTripAndWipe()
{
    const QString id = freshRegionId();
    const ConnectionRecord written{QStringLiteral("10.0.0.1"), 44337, QStringLiteral("admin"),
                                   QStringLiteral("pa\nss")};
    {
        FSharedComm launcherSide;
        QVERIFY2(launcherSide.create(id, 256), qPrintable(launcherSide.errorText()));
        const QByteArray bytes = written.toRegionBytes();
        std::memcpy(launcherSide.data(), bytes.constData(), size_t(bytes.size()));
    }
    FSharedComm consoleSide;
    QVERIFY(consoleSide.open(id, 256));
    const ConnectionRecord read
            = ConnectionRecord::fromRegion(consoleSide.data(), consoleSide.size());
    QCOMPARE(read.host, written.host);
    QCOMPARE(read.port, 44337);
    // A newline inside the password splits it: the record format has no escape.
    QCOMPARE(read.password, QStringLiteral("pa"));
    consoleSide.wipeAndClose();

    FSharedComm check;
    QVERIFY(check.open(id, 256));
    QCOMPARE(QByteArray(check.data(), 256), QByteArray(256, '\0'));
    check.close();
    FSharedComm::unlink(id);
    QVERIFY(!check.open(id, 256));
}

void TestHandOver::regionRefusedWhenOthersCanRead()
{
    const QString id = freshRegionId();
    FSharedComm launcherSide;
    QVERIFY(launcherSide.create(id, 64));
    const QByteArray name = FSharedComm::objectName(id);
    QVERIFY(::shm_unlink(name.constData()) == 0);
    // A region anybody may read is not trusted with a password.
    const int fd = ::shm_open(name.constData(), O_RDWR | O_CREAT | O_EXCL, 0644);
    QVERIFY(fd >= 0);
    QVERIFY(::fchmod(fd, 0644) == 0);
    QVERIFY(::ftruncate(fd, 64) == 0);
    ::close(fd);
    FSharedComm consoleSide;
    QVERIFY(!consoleSide.open(id, 64));
    QCOMPARE(consoleSide.errorText(), QStringLiteral("Shared memory file not allocated."));
    // Nor is a region shorter than the announced size mapped.
    const int owner = ::shm_open(name.constData(), O_RDWR, 0);
    QVERIFY(owner >= 0);
    QVERIFY(::fchmod(owner, 0600) == 0);
    ::close(owner);
    QVERIFY(consoleSide.open(id, 64));
    consoleSide.close();
    QVERIFY(!consoleSide.open(id, 4096));
    FSharedComm::unlink(id);
}

void TestHandOver::regionNamesAreDecimal()
{
    QCOMPARE(FSharedComm::objectName(QStringLiteral("12345")), QByteArray("/12345"));
    QVERIFY(FSharedComm::objectName(QStringLiteral("../etc")).isEmpty());
    QVERIFY(FSharedComm::objectName(QStringLiteral("12a")).isEmpty());
    QVERIFY(FSharedComm::objectName(QString()).isEmpty());
    FSharedComm region;
    QVERIFY(!region.open(QStringLiteral("1"), FSharedComm::kMaxSize + 1));
}

void TestHandOver::statusWords()
{
    QCOMPARE(FStreamComm::statusWord(1), QStringLiteral("initok"));
    QCOMPARE(FStreamComm::statusWord(2), QStringLiteral("connectionfailed"));
    QCOMPARE(FStreamComm::statusWord(3), QStringLiteral("connectnew"));
    QCOMPARE(FStreamComm::statusWord(4), QStringLiteral("connected"));
    QVERIFY(FStreamComm::statusWord(5).isEmpty());
}

void TestHandOver::refusedLaunchExitsWithTen_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no argument") << QStringList{};
    QTest::newRow("host name as first argument") << QStringList{"mail.example.com", "admin"};
}

void TestHandOver::refusedLaunchExitsWithTen()
{
    QFETCH(QStringList, arguments);
    QProcess console;
    console.setProcessEnvironment(consoleEnvironment(m_home.path()));
    console.start(QStringLiteral(POSTDESK_CONSOLE_PATH), arguments);
    QVERIFY(console.waitForFinished(60000));
    QCOMPARE(console.exitStatus(), QProcess::NormalExit);
    QCOMPARE(console.exitCode(), 10);
    QVERIFY(console.readAllStandardError().contains("cannot be run on its own"));
    QVERIFY(console.readAllStandardOutput().isEmpty());
}

void TestHandOver::brokenHandOverExitsWithElevenSilently()
{
    QProcess console;
    console.setProcessEnvironment(consoleEnvironment(m_home.path()));
    console.start(QStringLiteral(POSTDESK_CONSOLE_PATH), {QStringLiteral("mosaic_key")});
    QVERIFY(console.waitForStarted(30000));
    console.write("123456\n");
    console.closeWriteChannel();
    QVERIFY(console.waitForFinished(60000));
    QCOMPARE(console.exitCode(), 11);
    QVERIFY(console.readAllStandardError().contains("Invalid name of host."));
    QCOMPARE(console.readAllStandardOutput(), QByteArray());
}

void TestHandOver::handOverAndCloseChannel()
{
    postdesk::test::DevServerProcess server;
    server.trustIn((m_home.path() + QStringLiteral("/known_hosts")).toStdString());
    QVERIFY2(server.start(), server.errorText().c_str());
    const QString id = freshRegionId();
    const qsizetype size = 512;
    {
        FSharedComm region;
        QVERIFY(region.create(id, size));
        // An empty password: the fourth field is present but empty.
        const ConnectionRecord record{QString::fromStdString(server.host()), server.port(),
                                      QStringLiteral("admin"), QString()};
        const QByteArray bytes = record.toRegionBytes();
        std::memcpy(region.data(), bytes.constData(), size_t(bytes.size()));
    }
    // Started from a folder anyone could have filled with plugins.
    QTemporaryDir startFolder;
    QVERIFY(startFolder.isValid());
    QProcess console;
    QProcessEnvironment environment = consoleEnvironment(m_home.path());
    environment.insert(QStringLiteral("POSTDESK_DEBUG_LEVEL"), QStringLiteral("3"));
    console.setProcessEnvironment(environment);
    console.setWorkingDirectory(startFolder.path());
    console.start(QStringLiteral(POSTDESK_CONSOLE_PATH), {QStringLiteral("mosaic_key")});
    QVERIFY(console.waitForStarted(30000));
    console.write(id.toLatin1() + '\n' + QByteArray::number(size) + '\n');
    console.closeWriteChannel();
    QTRY_VERIFY_WITH_TIMEOUT(console.canReadLine(), 60000);
    // The console holds the password now: it writes no core dump.
    QFile limits(QStringLiteral("/proc/%1/limits").arg(console.processId()));
    QVERIFY(limits.open(QIODevice::ReadOnly));
    bool coreDumpsOff = false;
    for (const QByteArray &line : limits.readAll().split('\n')) {
        if (line.startsWith("Max core file size"))
            coreDumpsOff = line.mid(18).simplified().startsWith("0 0 ");
    }
    QVERIFY(coreDumpsOff);
    // One status line, and the record is gone from the region.
    QCOMPARE(console.readLine(), QByteArray("initok\n"));
    FSharedComm region;
    QVERIFY(region.open(id, size));
    QCOMPARE(QByteArray(region.data(), int(size)), QByteArray(int(size), '\0'));
    region.close();
    FSharedComm::unlink(id);

    // The launcher closes the console through its close channel.
    QLocalSocket channel;
    QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                channel.abort();
                channel.connectToServer(closeChannelName(console.processId()));
                return channel.waitForConnected(1000);
            }(),
            60000);
    // The channel lives in the private runtime folder, not in /tmp.
    QVERIFY(QFile::exists(
            QDir(m_runtime.path())
                    .filePath(QStringLiteral("BrantelAdminHiddenV6.%1").arg(console.processId()))));
    channel.write("close\n");
    QVERIFY(channel.waitForBytesWritten(5000));
    while (!channel.canReadLine() && channel.waitForReadyRead(60000)) { }
    QCOMPARE(channel.readLine(), QByteArray("closed\n"));
    QVERIFY(console.waitForFinished(60000));
    QCOMPARE(console.exitCode(), 0);
    // The empty password is refused, and the launcher hears of it.
    QCOMPARE(console.readAllStandardOutput(), QByteArray("connectionfailed\n"));

    // The plugin search path, as the console reported it once the session ran.
    QStringList pluginFolders;
    for (const QByteArray &line : console.readAllStandardError().split('\n')) {
        const qsizetype at = line.indexOf("plugin folders=");
        if (at >= 0)
            pluginFolders = QString::fromUtf8(line.mid(at + 15)).split(QDir::listSeparator());
    }
    QVERIFY(!pluginFolders.isEmpty());
    for (const QString &folder : std::as_const(pluginFolders)) {
        QVERIFY2(QDir(folder).canonicalPath() != QDir(startFolder.path()).canonicalPath(),
                 qPrintable(folder));
        QVERIFY2(folder != QLatin1String("."), qPrintable(folder));
    }
}

void TestHandOver::closeChannelWithoutAPrivateFolderIsReported()
{
    // Another user could enter both folders: the console listens nowhere and says so.
    QTemporaryDir open;
    QVERIFY(open.isValid());
    QVERIFY(QFile::setPermissions(open.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                          | QFileDevice::ExeOther));
    const QString shared = open.filePath(QStringLiteral("postdesk-%1").arg(::geteuid()));
    QVERIFY(QDir().mkpath(shared));
    QVERIFY(QFile::setPermissions(shared,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner | QFileDevice::WriteOther
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther));
    QProcessEnvironment environment = consoleEnvironment(m_home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), open.path());
    environment.insert(QStringLiteral("TMPDIR"), open.path());
    QProcess console;
    console.setProcessEnvironment(environment);
    // The login launch: no record needed, the console starts and waits for a login.
    console.start(QStringLiteral(POSTDESK_CONSOLE_PATH), {QStringLiteral("tundra_key")});
    QVERIFY(console.waitForStarted(30000));
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT(
            (errors += console.readAllStandardError()).contains("the close channel cannot listen"),
            60000);
    QVERIFY(QDir(shared).isEmpty());
    console.kill();
    console.waitForFinished(30000);
}

QTEST_GUILESS_MAIN(TestHandOver)
#include "test_handover.moc"
