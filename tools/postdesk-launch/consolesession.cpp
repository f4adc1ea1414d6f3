#include "consolesession.h"

#include "handover/closechannel.h"
#include "handover/fsharedcomm.h"
#include "handover/recordregion.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <cstring>
#include <unistd.h>

ConsoleSession::ConsoleSession(const QString &consolePath, QObject *parent)
    : QObject(parent)
{
    m_process.setProgram(consolePath);
    // A process group of its own: Ctrl-C in the launcher's terminal reaches
    // only the launcher, which asks the console to close instead of killing it.
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &ConsoleSession::slotReadOutput);
    connect(&m_process, &QProcess::finished, this, &ConsoleSession::slotFinished);
}

ConsoleSession::~ConsoleSession()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    releaseRegion();
}

bool ConsoleSession::start(const ConnectionRecord &record, bool loginMode,
                           const QStringList &extraArguments,
                           const QProcessEnvironment &environment, QString *error)
{
    m_server = loginMode ? QStringLiteral("(login)")
                         : QStringLiteral("%1:%2").arg(record.host).arg(record.port);
    m_user = loginMode ? QStringLiteral("(login)") : record.user;
    QByteArray handOver;
    if (!loginMode) {
        RecordRegion region;
        if (!RecordRegion::publish(record, kRegionSize, &region, error))
            return false;
        m_regionId = region.identifier;
        handOver = m_regionId.toLatin1() + '\n' + QByteArray::number(region.size) + '\n';
    }
    QStringList arguments{loginMode ? QStringLiteral("tundra_key") : QStringLiteral("mosaic_key")};
    arguments += extraArguments;
    m_process.setArguments(arguments);
    m_process.setProcessEnvironment(environment);
    m_process.start();
    if (!m_process.waitForStarted(30000)) {
        *error = m_process.errorString();
        releaseRegion();
        return false;
    }
    m_pid = m_process.processId();
    if (!handOver.isEmpty())
        m_process.write(handOver);
    m_process.closeWriteChannel();
    return true;
}

void ConsoleSession::slotReadOutput()
{
    while (m_process.canReadLine()) {
        const QString word = QString::fromUtf8(m_process.readLine(256)).trimmed();
        // The record has been read and the region wiped: its name can go.
        if (word == QLatin1String("initok")) {
            releaseRegion();
            m_state = QStringLiteral("logging in");
        } else if (word == QLatin1String("connected")) {
            m_loggedIn = true;
            m_state = QStringLiteral("logged in");
        } else if (word == QLatin1String("connectionfailed")) {
            m_state = QStringLiteral("login failed");
        }
        emit signalStatusLine(word);
    }
}

void ConsoleSession::slotFinished(int exitCode)
{
    slotReadOutput();
    releaseRegion();
    // A console that died cannot remove its close channel's socket itself.
    if (const QString channel = closeChannelName(processId()); !channel.isEmpty())
        QLocalServer::removeServer(channel);
    emit signalFinished(exitCode);
}

void ConsoleSession::releaseRegion()
{
    if (m_regionId.isEmpty())
        return;
    // A console that never read the record must not leave the password behind.
    FSharedComm region;
    if (region.open(m_regionId, kRegionSize))
        region.wipeAndClose();
    FSharedComm::unlink(m_regionId);
    m_regionId.clear();
}

QString ConsoleSession::requestClose(int timeoutMs)
{
    QString error;
    return requestClose(processId(), timeoutMs, &error);
}

QString ConsoleSession::requestClose(qint64 processId, int timeoutMs, QString *error)
{
    const QString noConsole = QStringLiteral("no console with process id %1").arg(processId);
    bool folderMissing = false;
    if (closeChannelFolder(false, error, &folderMissing).isEmpty()) {
        // Before any console ran there is no folder, and so no console to close.
        if (folderMissing)
            *error = noConsole;
        return {};
    }
    const QString channel = closeChannelName(processId);
    QLocalSocket socket;
    socket.connectToServer(channel);
    if (!socket.waitForConnected(5000)) {
        *error = socket.error() == QLocalSocket::ServerNotFoundError
                        || socket.error() == QLocalSocket::ConnectionRefusedError
                ? noConsole
                : socket.errorString();
        return {};
    }
    // Only a console of this user may answer for it.
    if (!closeChannelPeerIsOwnUser(socket.socketDescriptor())) {
        *error = QStringLiteral("the close channel %1 belongs to another user").arg(channel);
        return {};
    }
    socket.write("close\n");
    socket.flush();
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            *error = QStringLiteral("no answer from the console");
            return {};
        }
    }
    return QString::fromLatin1(socket.readLine(64)).trimmed();
}
