// postdesk-launch as a process, as an administrator or a script meets it: its
// refusals of contradictory command lines, --close for a process without a
// console, a failed login that ends with a non-zero status, commands read from
// a pipe, Ctrl-C turned into a close request instead of killing the console, and
// the demo's tour of every page.
#include "handover/closechannel.h"
#include "lumadb/lumadb.h"
#include "support/devserver_process.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

constexpr int kTimeout = 60000;

// Trusts the server's certificate in the known-hosts file, as an earlier
// confirmed login would have.
bool trustServer(const postdesk::test::DevServerProcess &server, const QString &knownHosts)
{
    lumadb_open_options options{};
    options.trust = LUMADB_TRUST_INSECURE;
    lumadb_handle *handle = nullptr;
    const std::string port = server.portText();
    if (lumadb_open_ex(server.host().c_str(), port.c_str(), &options, &handle) != 0)
        return false;
    lumadb_close(handle);
    return lumadb_trust_fingerprint(knownHosts.toUtf8().constData(), server.host().c_str(),
                                    port.c_str(), options.presented_fingerprint)
            == 0;
}

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void contradictoryCommandLinesAreRefused_data();
    void contradictoryCommandLinesAreRefused();
    void closeWithoutAConsoleSaysSo_data();
    void closeWithoutAConsoleSaysSo();
    void failedLoginEndsWithAnError();
    void interruptClosesTheConsole();
    void newConnectionFromAConsoleStartsAnother();
    void demoTourPhotographsPagesAndDialogs();

private:
    QProcessEnvironment environment() const;
    // Waits until the launcher printed a line containing the text; returns it.
    static QString waitForLine(QProcess &launcher, const QString &text, QString *seen);

    QTemporaryDir m_home;
};

QProcessEnvironment TestLauncher::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString home = m_home.path();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("POSTDESK_NO_MODAL_ERRORS"), QStringLiteral("1"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("POSTDESK_SETTINGS_DIR"), home + QStringLiteral("/settings"));
    environment.insert(QStringLiteral("POSTDESK_KNOWN_HOSTS"),
                       home + QStringLiteral("/known_hosts"));
    return environment;
}

QString TestLauncher::waitForLine(QProcess &launcher, const QString &text, QString *seen)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kTimeout) {
        while (launcher.canReadLine()) {
            const QString line = QString::fromUtf8(launcher.readLine()).trimmed();
            *seen += line + QLatin1Char('\n');
            if (line.contains(text))
                return line;
        }
        if (launcher.state() == QProcess::NotRunning)
            return {};
        launcher.waitForReadyRead(200);
    }
    return {};
}

void TestLauncher::contradictoryCommandLinesAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("two ports") << QStringList{"--port", "44337", "mail.example.org:2000"}
                               << "--port 44337 contradicts the port in mail.example.org:2000";
    QTest::newRow("demo and login") << QStringList{"--demo", "--login"}
                                    << "give only one of a server, --demo, --login and --close";
    QTest::newRow("server and demo") << QStringList{"--demo", "mail.example.org"}
                                     << "give only one of a server, --demo, --login and --close";
    QTest::newRow("stray argument")
            << QStringList{"mail.example.org", "admin"} << "unexpected argument: admin";
    QTest::newRow("tour without demo") << QStringList{"--tour", "/tmp/x", "mail.example.org"}
                                       << "--tour works only with --demo";
    QTest::newRow("nothing") << QStringList{} << "no server given";
}

void TestLauncher::contradictoryCommandLinesAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QProcess launcher;
    launcher.setProcessEnvironment(environment());
    launcher.start(QStringLiteral(POSTDESK_LAUNCH_PATH), arguments);
    QVERIFY(launcher.waitForFinished(kTimeout));
    QCOMPARE(launcher.exitCode(), 2);
    const QString error = QString::fromUtf8(launcher.readAllStandardError());
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestLauncher::closeWithoutAConsoleSaysSo_data()
{
    QTest::addColumn<bool>("runtimeFolder");
    QTest::addColumn<bool>("fallbackExists");
    QTest::newRow("in the runtime folder") << true << false;
    // No runtime folder, and no console ever made the temporary fallback.
    QTest::newRow("no runtime folder, no fallback yet") << false << false;
    QTest::newRow("no runtime folder, fallback present") << false << true;
}

void TestLauncher::closeWithoutAConsoleSaysSo()
{
    QFETCH(bool, runtimeFolder);
    QFETCH(bool, fallbackExists);
    QTemporaryDir folders;
    QVERIFY(folders.isValid());
    const QString temporary = folders.filePath(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(temporary));
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("TMPDIR"), temporary);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (runtimeFolder) {
        const QString runtime = folders.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    }
    if (fallbackExists) {
        const QString fallback
                = QDir(temporary).filePath(QStringLiteral("postdesk-%1").arg(::geteuid()));
        QVERIFY(QDir().mkpath(fallback));
        QVERIFY(QFile::setPermissions(fallback,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    const qint64 pid = QCoreApplication::applicationPid();
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.start(QStringLiteral(POSTDESK_LAUNCH_PATH), {"--close", QString::number(pid)});
    QVERIFY(launcher.waitForFinished(kTimeout));
    QCOMPARE(launcher.exitCode(), 1);
    const QString error = QString::fromUtf8(launcher.readAllStandardError());
    QCOMPARE(error.trimmed(),
             QStringLiteral("postdesk-launch: no console with process id %1").arg(pid));
}

void TestLauncher::failedLoginEndsWithAnError()
{
    postdesk::test::DevServerProcess server;
    QVERIFY2(server.start(), server.errorText().c_str());
    QVERIFY(trustServer(server, m_home.filePath(QStringLiteral("known_hosts"))));
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("POSTDESK_PASSWORD"), QStringLiteral("wrong"));
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    const QString target
            = QStringLiteral("%1:%2").arg(QString::fromStdString(server.host())).arg(server.port());
    launcher.start(QStringLiteral(POSTDESK_LAUNCH_PATH),
                   {"--console", QStringLiteral(POSTDESK_CONSOLE_PATH), target});
    QVERIFY(launcher.waitForStarted(kTimeout));
    QString seen;
    QVERIFY2(!waitForLine(launcher, QStringLiteral("connectionfailed"), &seen).isEmpty(),
             qPrintable(seen));

    // Commands come through a pipe as well as from a terminal.
    launcher.write("list\n");
    const QString listed = waitForLine(launcher, QStringLiteral(" as admin, "), &seen);
    QCOMPARE(listed.section(QLatin1Char(':'), 1).trimmed(),
             target + QStringLiteral(" as admin, login failed"));
    launcher.write("close\n");
    QVERIFY2(!waitForLine(launcher, QStringLiteral("without logging in to ") + target, &seen)
                      .isEmpty(),
             qPrintable(seen));
    QVERIFY(launcher.waitForFinished(kTimeout));
    QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
    QCOMPARE(launcher.exitCode(), 1);
}

void TestLauncher::interruptClosesTheConsole()
{
    QProcess launcher;
    launcher.setProcessEnvironment(environment());
    // As in a terminal: the launcher leads a process group that Ctrl-C signals.
    launcher.setChildProcessModifier([] { ::setpgid(0, 0); });
    launcher.start(QStringLiteral(POSTDESK_LAUNCH_PATH),
                   {"--console", QStringLiteral(POSTDESK_CONSOLE_PATH), "--login"});
    QVERIFY(launcher.waitForStarted(kTimeout));
    QString seen;
    const QString started = waitForLine(launcher, QStringLiteral(" started for "), &seen);
    QVERIFY2(!started.isEmpty(), qPrintable(seen));
    const qint64 console = started.section(QLatin1Char(' '), 1, 1).toLongLong();
    QVERIFY(console > 0);
    // The console's close channel listens once its window is up.
    QTRY_VERIFY_WITH_TIMEOUT(
            [console] {
                QLocalSocket probe;
                probe.connectToServer(closeChannelName(console));
                return probe.waitForConnected(200);
            }(),
            kTimeout);
    QCOMPARE(::kill(pid_t(-launcher.processId()), SIGINT), 0);
    QVERIFY2(!waitForLine(launcher, QStringLiteral("close request closed"), &seen).isEmpty(),
             qPrintable(seen));
    QVERIFY2(!waitForLine(launcher, QStringLiteral("ended with status 0"), &seen).isEmpty(),
             qPrintable(seen));
    QVERIFY(launcher.waitForFinished(kTimeout));
    QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
}

// A stand-in console: it takes the hand-over, and the first one hands the
// launcher the login for another server as File > New Connection does.
void TestLauncher::newConnectionFromAConsoleStartsAnother()
{
    const QString region
            = QString::number(QRandomGenerator::global()->bounded(100000000, 999999999));
    const QString marker = m_home.filePath(QStringLiteral("first-console-ran"));
    const QString script = m_home.filePath(QStringLiteral("fake-console"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\n"
                              "read id; read size\n"
                              "echo initok\n"
                              "if [ ! -e '%1' ]; then\n"
                              "  : > '%1'\n"
                              "  umask 077\n"
                              "  printf 'other.example.org\\n2001\\nops\\nsecret' > /dev/shm/%2\n"
                              "  truncate -s 4096 /dev/shm/%2\n"
                              "  echo 'connectnew %2 4096'\n"
                              "fi\n"
                              "sleep 1\n")
                       .arg(marker, region)
                       .toUtf8());
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                | QFileDevice::ExeOwner));

    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("POSTDESK_PASSWORD"), QStringLiteral("x"));
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.start(QStringLiteral(POSTDESK_LAUNCH_PATH),
                   {"--console", script, "first.example.org"});
    QString seen;
    QVERIFY2(!waitForLine(launcher, QStringLiteral("started for other.example.org:2001"), &seen)
                      .isEmpty(),
             qPrintable(seen));
    // The record was read once and its region removed.
    QVERIFY(!QFile::exists(QStringLiteral("/dev/shm/") + region));
    QVERIFY(launcher.waitForFinished(kTimeout));
    QVERIFY2(!seen.contains(QStringLiteral("secret")), qPrintable(seen));
}

void TestLauncher::demoTourPhotographsPagesAndDialogs()
{
    QTemporaryDir shots;
    QProcess launcher;
    launcher.setProcessEnvironment(environment());
    launcher.setProcessChannelMode(QProcess::MergedChannels);
    launcher.start(
            QStringLiteral(POSTDESK_LAUNCH_PATH),
            {"--console", QStringLiteral(POSTDESK_CONSOLE_PATH), "--demo", "--tour", shots.path()});
    QVERIFY(launcher.waitForStarted(kTimeout));
    QVERIFY(launcher.waitForFinished(5 * kTimeout));
    const QString output = QString::fromUtf8(launcher.readAll());
    QVERIFY2(launcher.exitStatus() == QProcess::NormalExit && launcher.exitCode() == 0,
             qPrintable(output));
    const QStringList files = QDir(shots.path()).entryList({QStringLiteral("*.png")});
    // Every page is photographed, and the edit dialog of a list page's
    // current row as well.
    for (const char *shot :
         {"-services.png", "-users.png", "-users-dialog.png", "-groups.png", "-groups-dialog.png",
          "-aliases-dialog.png", "-message-queue.png", "-mail.png"}) {
        bool found = false;
        for (const QString &file : files)
            found = found || file.endsWith(QLatin1String(shot));
        QVERIFY2(found, qPrintable(QStringLiteral("%1 missing: %2").arg(shot, files.join(' '))));
    }
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "test_launcher.moc"
