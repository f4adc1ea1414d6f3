// postdesk-launch: starts administration consoles and owns their channels.
#include "consolesession.h"
#include "demoserver.h"
#include "launchoptions.h"
#include "passwordprompt.h"

#include "handover/secretprocess.h"
#include "handover/fstreamcomm.h"
#include "handover/recordregion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

void onStopSignal(int)
{
    g_stopRequested = 1;
}

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
    std::fflush(stdout);
}

// A program next to the launcher (installed) or in the build tree.
QString findProgram(const QString &given, const QString &name, const QStringList &buildPaths)
{
    if (!given.isEmpty())
        return given;
    const QDir here(QCoreApplication::applicationDirPath());
    QStringList candidates{here.filePath(name)};
    for (const QString &path : buildPaths)
        candidates.append(here.filePath(path));
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.canonicalFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

class Launcher : public QObject
{
public:
    Launcher(const LaunchOptions &options, const QString &consolePath)
        : m_options(options)
        , m_consolePath(consolePath)
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.remove(QStringLiteral("POSTDESK_PASSWORD"));
        // Commands come from a terminal or from a pipe alike.
        m_input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_input, &QSocketNotifier::activated, this, [this] { readCommand(); });
        auto *stopPoll = new QTimer(this);
        connect(stopPoll, &QTimer::timeout, this, [this] {
            if (g_stopRequested) {
                g_stopRequested = 0;
                closeAll();
            }
        });
        stopPoll->start(200);
    }

    void setEnvironmentValue(const QString &name, const QString &value)
    {
        m_environment.insert(name, value);
    }

    bool startConsole(const ConnectionRecord &record, bool loginMode)
    {
        QStringList extra;
        if (m_options.debug)
            extra << QStringLiteral("debug");
        if (!m_options.tourFolder.isEmpty())
            extra << QStringLiteral("--tour=%1").arg(QDir(m_options.tourFolder).absolutePath());
        auto *session = new ConsoleSession(m_consolePath, this);
        QString error;
        if (!session->start(record, loginMode, extra, m_environment, &error)) {
            say(QStringLiteral("postdesk-launch: cannot start the console: %1").arg(error));
            delete session;
            return false;
        }
        m_sessions.append(session);
        const qint64 pid = session->processId();
        say(QStringLiteral("console %1 started for %2").arg(pid).arg(session->serverText()));
        connect(session, &ConsoleSession::signalStatusLine, this,
                [this, pid](const QString &word) { statusLine(pid, word); });
        connect(session, &ConsoleSession::signalFinished, this, [this, session, pid](int code) {
            if (session->hasLoggedIn() || m_options.loginMode)
                say(QStringLiteral("console %1 ended with status %2").arg(pid).arg(code));
            else
                say(QStringLiteral("console %1 ended with status %2 without logging in to %3")
                            .arg(pid)
                            .arg(code)
                            .arg(session->serverText()));
            m_anyLoggedIn = m_anyLoggedIn || session->hasLoggedIn();
            if (m_sessions.indexOf(session) == 0 || m_exitCode < 0)
                m_exitCode = code;
            m_sessions.removeAll(session);
            session->deleteLater();
            if (m_sessions.isEmpty())
                QCoreApplication::exit(exitStatus());
        });
        return true;
    }

    void closeAll()
    {
        for (ConsoleSession *session : std::as_const(m_sessions)) {
            const QString answer = session->requestClose();
            say(QStringLiteral("console %1: close request %2")
                        .arg(session->processId())
                        .arg(answer.isEmpty() ? QStringLiteral("not answered") : answer));
        }
    }

private:
    // The first console's status; 1 when no console ever logged in (a wrong
    // password or an unknown host must not look like success to a script).
    int exitStatus() const
    {
        if (m_exitCode > 0)
            return m_exitCode;
        return m_anyLoggedIn || m_options.loginMode || !m_options.tourFolder.isEmpty() ? 0 : 1;
    }

    void statusLine(qint64 pid, const QString &line)
    {
        RecordRegion region;
        if (FStreamComm::parseConnectNew(line, &region.identifier, &region.size)) {
            say(QStringLiteral("console %1: connectnew").arg(pid));
            startFromRegion(region);
            return;
        }
        say(QStringLiteral("console %1: %2").arg(pid).arg(line));
        // Without a record, the launcher asks on its terminal.
        if (line == QLatin1String("connectnew"))
            askForAnotherServer();
    }

    // A console handed over the login for another console.
    void startFromRegion(const RecordRegion &region)
    {
        ConnectionRecord record;
        QString error;
        if (!RecordRegion::take(region, &record, &error)) {
            say(QStringLiteral("postdesk-launch: cannot read the new connection: %1").arg(error));
            return;
        }
        startConsole(record, false);
        record.password.fill(QChar(0));
    }

    void askForAnotherServer()
    {
        QString server;
        if (!promptVisible(QStringLiteral("Connect to server (host[:port], empty to cancel): "),
                           server)) {
            say(QStringLiteral("postdesk-launch: no terminal to ask for another server"));
            return;
        }
        if (server.trimmed().isEmpty())
            return;
        ConnectionRecord record;
        record.port = LUMADB_DEFAULT_PORT;
        if (!LaunchOptions::splitHostPort(server, record.host, record.port)) {
            say(QStringLiteral("postdesk-launch: invalid server: %1").arg(server));
            return;
        }
        QString user;
        promptVisible(QStringLiteral("User [admin]: "), user);
        record.user = user.trimmed().isEmpty() ? QStringLiteral("admin") : user.trimmed();
        promptHidden(QStringLiteral("Password: "), record.password);
        startConsole(record, false);
        record.password.fill(QChar(u'\0'));
    }

    // Reads what arrived on standard input and runs each complete line.
    void readCommand()
    {
        char buffer[256];
        const ssize_t length = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (length <= 0) {
            m_input->setEnabled(false);
            return;
        }
        m_pendingInput.append(buffer, length);
        qsizetype end;
        while ((end = m_pendingInput.indexOf('\n')) >= 0) {
            runCommand(QString::fromLocal8Bit(m_pendingInput.left(end)).trimmed());
            m_pendingInput.remove(0, end + 1);
        }
        // A line longer than any command is dropped rather than kept growing.
        if (m_pendingInput.size() > 1024)
            m_pendingInput.clear();
    }

    void runCommand(const QString &command)
    {
        if (command == QLatin1String("close")) {
            closeAll();
        } else if (command == QLatin1String("list")) {
            if (m_sessions.isEmpty())
                say(QStringLiteral("no consoles"));
            for (ConsoleSession *session : std::as_const(m_sessions))
                say(QStringLiteral("console %1: %2 as %3, %4")
                            .arg(session->processId())
                            .arg(session->serverText(), session->userText(), session->stateText()));
        } else if (!command.isEmpty()) {
            say(QStringLiteral("commands: close, list"));
        }
    }

    LaunchOptions m_options;
    QString m_consolePath;
    QProcessEnvironment m_environment;
    QList<ConsoleSession *> m_sessions;
    QSocketNotifier *m_input = nullptr;
    int m_exitCode = -1;
    bool m_anyLoggedIn = false;
    QByteArray m_pendingInput;
};

} // namespace

int main(int argc, char **argv)
{
    // The launcher holds passwords: no core dumps, and the password variable
    // leaves the environment (and the process's environment block) at once.
    protectSecretProcess();
    const bool passwordGiven = qEnvironmentVariableIsSet("POSTDESK_PASSWORD");
    QString environmentPassword = qEnvironmentVariable("POSTDESK_PASSWORD");
    eraseEnvironmentVariable("POSTDESK_PASSWORD");

    QCoreApplication application(argc, argv);
    LaunchOptions options;
    QString error;
    if (!LaunchOptions::parse(application.arguments().mid(1), options, &error)) {
        std::fprintf(stderr, "postdesk-launch: %s\n\n%s", qPrintable(error),
                     qPrintable(LaunchOptions::usage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(LaunchOptions::usage()), stdout);
        return 0;
    }
    if (options.closePid > 0) {
        const QString answer = ConsoleSession::requestClose(options.closePid, 120000, &error);
        if (answer.isEmpty()) {
            std::fprintf(stderr, "postdesk-launch: %s\n", qPrintable(error));
            return 1;
        }
        say(answer);
        return answer == QLatin1String("closed") ? 0 : 1;
    }

    const QString console = findProgram(
            options.consolePath, QStringLiteral("postdesk"),
            {QStringLiteral("../../app/postdesk"), QStringLiteral("../app/postdesk")});
    if (console.isEmpty()) {
        std::fprintf(stderr, "postdesk-launch: the console program was not found (--console)\n");
        return 1;
    }
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);

    Launcher launcher(options, console);
    DemoServer server;
    ConnectionRecord record;
    record.host = options.host;
    record.port = options.port;
    record.user = options.user;
    if (options.demo) {
        const QString serverPath
                = findProgram(options.serverPath, QStringLiteral("postvane-devserver"),
                              {QStringLiteral("../../server/postvane-devserver"),
                               QStringLiteral("../server/postvane-devserver")});
        if (serverPath.isEmpty() || !server.start(serverPath, &error)) {
            std::fprintf(stderr, "postdesk-launch: %s\n",
                         serverPath.isEmpty() ? "the development server was not found (--server)"
                                              : qPrintable(error));
            return 1;
        }
        say(QStringLiteral("development server listening on %1:%2 (data in %3)")
                    .arg(server.host())
                    .arg(server.port())
                    .arg(server.folder()));
        record = ConnectionRecord{server.host(), server.port(), QStringLiteral("admin"),
                                  QStringLiteral("admin")};
        // The demo server makes a new certificate every time. The launcher
        // started it and read its certificate from its folder: the console
        // trusts exactly that one, in a known-hosts file of its own (not the
        // administrator's), without asking.
        const QString knownHosts = QDir(server.folder()).filePath(QStringLiteral("known_hosts"));
        if (!server.trustIn(knownHosts, &error)) {
            std::fprintf(stderr, "postdesk-launch: %s\n", qPrintable(error));
            return 1;
        }
        launcher.setEnvironmentValue(QStringLiteral("POSTDESK_KNOWN_HOSTS"), knownHosts);
    } else if (!options.loginMode) {
        if (passwordGiven) {
            record.password = environmentPassword;
        } else if (!promptHidden(
                           QStringLiteral("Password for %1@%2: ").arg(record.user, record.host),
                           record.password)) {
            std::fprintf(stderr,
                         "postdesk-launch: no terminal to ask for the password; "
                         "set POSTDESK_PASSWORD\n");
            return 1;
        }
    }
    const bool started = launcher.startConsole(record, options.loginMode && !options.demo);
    // The console has the record now (or never will): no copy stays here.
    record.password.fill(QChar(u'\0'));
    record.password.clear();
    environmentPassword.fill(QChar(u'\0'));
    environmentPassword.clear();
    if (!started)
        return 1;
    const int status = application.exec();
    server.stop();
    return status;
}
