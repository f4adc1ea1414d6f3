#include "app/fhiddenwindow.h"

#include "handover/closechannel.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

QString FHiddenWindow::channelName(qint64 processId)
{
    return closeChannelName(processId);
}

FHiddenWindow::FHiddenWindow(QWidget *target, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &FHiddenWindow::slotNewConnection);
}

FHiddenWindow::~FHiddenWindow()
{
    m_server->close();
}

bool FHiddenWindow::listen()
{
    if (closeChannelFolder(true, &m_error).isEmpty())
        return false;
    const QString channel = channelName(QCoreApplication::applicationPid());
    // A socket file left by a crashed process with our (recycled) id would block us.
    QLocalServer::removeServer(channel);
    if (m_server->listen(channel))
        return true;
    m_error = QStringLiteral("%1: %2").arg(channel, m_server->errorString());
    return false;
}

QString FHiddenWindow::name() const
{
    return m_server->fullServerName();
}

void FHiddenWindow::slotNewConnection()
{
    while (QLocalSocket *client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { handleRequest(client); });
        if (client->canReadLine())
            handleRequest(client);
    }
}

void FHiddenWindow::handleRequest(QLocalSocket *client)
{
    while (client->canReadLine()) {
        const QByteArray request = client->readLine(128).trimmed();
        if (request != "close") {
            client->write("unknown\n");
            continue;
        }
        // Closing runs the unsaved-edits question; a window the administrator
        // keeps open keeps the console running.
        const bool closed = !m_target || m_target->close();
        client->write(closed ? "closed\n" : "refused\n");
        client->flush();
        if (closed) {
            emit signalCloseAccepted();
            return;
        }
    }
    if (client->bytesAvailable() > 128)
        client->disconnectFromServer();
}
