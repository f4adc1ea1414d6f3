// Helpers of the data layer's integration tests beside the development server
// fixture (support/testserver.h): the client's notification socket, datagrams
// sent to it, and select results as texts.
#ifndef TESTS_DB_SERVERHELPERS_H
#define TESTS_DB_SERVERHELPERS_H

#include "db/dbconn.h"
#include "db/dbreq.h"
#include "support/testserver.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dbtest {

using postdesk::test::TestServer;

// This process's UDP sockets: local port and the bytes waiting in the receive
// queue (the kernel's accounting, which grows with every queued datagram).
struct UdpSocket
{
    quint16 port = 0;
    qint64 queuedBytes = 0;
};

inline QList<UdpSocket> ownUdpSockets()
{
    QSet<QString> inodes;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &entry : fds.entryList(QDir::NoDotAndDotDot | QDir::System)) {
        const QString target = QFile::symLinkTarget(fds.filePath(entry));
        if (target.contains(QLatin1String("socket:[")))
            inodes.insert(target.section(QLatin1Char('['), 1).chopped(1));
    }
    QList<UdpSocket> sockets;
    QFile table(QStringLiteral("/proc/self/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return sockets;
    table.readLine(); // header
    while (!table.atEnd()) {
        const QStringList fields
                = QString::fromLatin1(table.readLine()).simplified().split(QLatin1Char(' '));
        // fields: sl local_address rem_address st tx_queue:rx_queue ... uid timeout inode
        if (fields.size() < 10 || !inodes.contains(fields.at(9)))
            continue;
        sockets.append({quint16(fields.at(1).section(QLatin1Char(':'), 1).toUInt(nullptr, 16)),
                        fields.at(4).section(QLatin1Char(':'), 1).toLongLong(nullptr, 16)});
    }
    return sockets;
}

// Local ports of this process's UDP sockets (the notification channel is the
// only one the data layer opens).
inline QList<quint16> ownUdpPorts()
{
    QList<quint16> ports;
    for (const UdpSocket &socket : ownUdpSockets())
        ports.append(socket.port);
    return ports;
}

// Bytes waiting in the receive queue of this process's UDP socket on port; -1
// when there is no such socket.
inline qint64 udpQueuedBytes(quint16 port)
{
    for (const UdpSocket &socket : ownUdpSockets()) {
        if (socket.port == port)
            return socket.queuedBytes;
    }
    return -1;
}

// Sends one datagram to 127.0.0.1:port from a socket of its own. The console's
// notification channel takes datagrams only from the server's port: to feed it,
// use TestServer::sendNotification.
inline bool sendDatagram(quint16 port, const QByteArray &datagram)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const ssize_t sent = ::sendto(fd, datagram.constData(), size_t(datagram.size()), 0,
                                  reinterpret_cast<const sockaddr *>(&to), sizeof to);
    ::close(fd);
    return sent == datagram.size();
}

// Rows of a select run synchronously on conn, each row's cells joined by "|".
inline QStringList selectTexts(DBConn &conn, const QString &query)
{
    DBReq req(query);
    QStringList rows;
    if (!conn.execSync(&req))
        return {QStringLiteral("error: ") + req.errorText()};
    for (int r = 0; r < req.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < req.columnCount(); ++c) {
            int type = 1;
            req.columnInfo(c, nullptr, &type, nullptr, nullptr);
            if (type == 2)
                cells.append(req.readInt(r, c).toString());
            else if (type == 3)
                cells.append(req.readInt64(r, c).toString());
            else
                cells.append(req.readStr(r, c).toString());
        }
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

} // namespace dbtest

#endif // TESTS_DB_SERVERHELPERS_H
