// postdesk-launch as a hostile local user sees it: the password in its
// environment, its core-dump limits, what the consoles and the demo's
// development server inherit, and the demo console's trust in the server the
// launcher started. The console is a stand-in script that records its
// environment; the demo's server is the real one.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "lumadb/lumadb.h"

#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kPassword = "hunter2-on-the-launcher";

QByteArray readProcFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "Max core file size  0  0  bytes": both limits zero.
bool coreDumpsOff(qint64 pid)
{
    for (const QByteArray &line : readProcFile(pid, "limits").split('\n')) {
        if (line.startsWith("Max core file size")) {
            const QList<QByteArray> fields = line.mid(18).simplified().split(' ');
            return fields.size() >= 2 && fields[0] == "0" && fields[1] == "0";
        }
    }
    return false;
}

QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> children;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 candidate = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        // "pid (comm) state ppid ...": the comm may hold spaces, so start after ')'.
        const QByteArray stat = readProcFile(candidate, "stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == pid)
            children.append(candidate);
    }
    return children;
}

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void passwordLeavesTheLauncherAndItsConsole();
    void demoServerGetsACleanEnvironmentAndIsTrusted();
    void closeAnswerFromAnotherUserIsNotBelieved();

private:
    // Starts the launcher with the stand-in console; waits until the console
    // has written its environment.
    bool startLauncher(const QStringList &arguments);

    QTemporaryDir m_folder;
    QProcess m_launcher;
    QString m_consoleEnvironment;
};

void TestLauncher::init()
{
    QVERIFY(m_folder.isValid());
    m_consoleEnvironment = m_folder.filePath(QStringLiteral("console-environment"));
    QFile::remove(m_consoleEnvironment); // left by the previous test function
    QFile script(m_folder.filePath(QStringLiteral("console")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    // Records its environment, reads the hand-over, lingers a little, ends.
    script.write("#!/bin/sh\n"
                 "env > \"$0-environment.tmp\" && mv \"$0-environment.tmp\" \"$0-environment\"\n"
                 "cat > /dev/null\n"
                 "sleep 3\n");
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ExeOwner));
}

void TestLauncher::cleanup()
{
    if (m_launcher.state() != QProcess::NotRunning) {
        m_launcher.terminate();
        if (!m_launcher.waitForFinished(30000))
            m_launcher.kill();
        m_launcher.waitForFinished(30000);
    }
}

bool TestLauncher::startLauncher(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("POSTDESK_PASSWORD"), QString::fromLatin1(kPassword));
    environment.insert(QStringLiteral("HOME"), m_folder.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_folder.filePath(QStringLiteral("config")));
    m_launcher.setProcessEnvironment(environment);
    m_launcher.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_launcher.start(
            QStringLiteral(POSTDESK_LAUNCHER_PATH),
            QStringList{QStringLiteral("--console"), m_folder.filePath(QStringLiteral("console"))}
                    + arguments);
    if (!m_launcher.waitForStarted(30000))
        return false;
    return QTest::qWaitFor([this] { return QFile::exists(m_consoleEnvironment); }, 60000);
}

void TestLauncher::passwordLeavesTheLauncherAndItsConsole()
{
    QVERIFY(startLauncher(
            {QStringLiteral("--user"), QStringLiteral("admin"), QStringLiteral("127.0.0.1:1")}));
    const qint64 pid = m_launcher.processId();
    QVERIFY(!readProcFile(pid, "environ").isEmpty());
    QVERIFY2(!readProcFile(pid, "environ").contains(kPassword),
             "the password is still in the launcher's environment block");
    QVERIFY(coreDumpsOff(pid));
    QFile console(m_consoleEnvironment);
    QVERIFY(console.open(QIODevice::ReadOnly));
    QVERIFY(!console.readAll().contains(kPassword));
    QVERIFY(m_launcher.waitForFinished(60000));
}

void TestLauncher::demoServerGetsACleanEnvironmentAndIsTrusted()
{
    QVERIFY(startLauncher({QStringLiteral("--demo"), QStringLiteral("--server"),
                           QStringLiteral(POSTDESK_DEVSERVER_PATH)}));
    qint64 server = 0;
    for (qint64 child : childrenOf(m_launcher.processId())) {
        if (readProcFile(child, "comm").startsWith("postvane-devser"))
            server = child;
    }
    QVERIFY(server > 0);
    const QByteArray serverEnvironment = readProcFile(server, "environ");
    QVERIFY(!serverEnvironment.isEmpty());
    QVERIFY(!serverEnvironment.contains(kPassword));
    QVERIFY(!serverEnvironment.contains("POSTDESK_"));

    // The console is pointed at a known-hosts file that trusts exactly the
    // certificate of the server the launcher started.
    QFile console(m_consoleEnvironment);
    QVERIFY(console.open(QIODevice::ReadOnly));
    const QRegularExpression knownHostsLine(QStringLiteral("^POSTDESK_KNOWN_HOSTS=(.*)$"),
                                            QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match
            = knownHostsLine.match(QString::fromLocal8Bit(console.readAll()));
    QVERIFY(match.hasMatch());
    QFile knownHosts(match.captured(1));
    QVERIFY(knownHosts.open(QIODevice::ReadOnly));
    const QByteArray recorded = knownHosts.readAll();
    const QByteArray certificate = (QFileInfo(match.captured(1)).absolutePath()
                                    + QStringLiteral("/data/server-cert.pem"))
                                           .toLocal8Bit();
    char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    QCOMPARE(lumadb_certificate_file_fingerprint(certificate.constData(), fingerprint), 0u);
    QVERIFY2(recorded.contains(QByteArray(" ") + fingerprint + "\n"), recorded.constData());
    QVERIFY(m_launcher.waitForFinished(60000));
}

void TestLauncher::closeAnswerFromAnotherUserIsNotBelieved()
{
    if (::geteuid() != 0)
        QSKIP("needs root to play another user");
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QVERIFY(QFile::setPermissions(runtime.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner));
    const qint64 fakeConsole = 999999;
    const QByteArray path = QFile::encodeName(
            runtime.filePath(QStringLiteral("BrantelAdminHiddenV6.%1").arg(fakeConsole)));
    // Another user's process answers on the console's channel.
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()) + 1);
    QCOMPARE(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const pid_t impostor = ::fork();
    if (impostor == 0) {
        std::signal(SIGPIPE, SIG_IGN);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0 || ::listen(listener, 1) != 0)
            ::_exit(2);
        const int client = ::accept(listener, nullptr, nullptr);
        char request[16];
        (void)!::read(client, request, sizeof request);
        (void)!::write(client, "closed\n", 7);
        ::_exit(0);
    }
    ::close(listener);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess close;
    close.setProcessEnvironment(environment);
    close.start(QStringLiteral(POSTDESK_LAUNCHER_PATH),
                {QStringLiteral("--close"), QString::number(fakeConsole)});
    QVERIFY(close.waitForFinished(60000));
    const QByteArray said = close.readAllStandardOutput();
    const QByteArray complained = close.readAllStandardError();
    ::kill(impostor, SIGKILL);
    ::waitpid(impostor, nullptr, 0);
    QCOMPARE(close.exitCode(), 1);
    QVERIFY2(!said.contains("closed"), said.constData());
    QVERIFY2(complained.contains("another user"), complained.constData());
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "test_launcher.moc"
