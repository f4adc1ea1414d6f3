#include "pages/remoteadmin/sessionaccess.h"

#include "pages/definitions/ipentry.h"

#include <QHostInfo>
#include <QSet>
#include <QUdpSocket>

namespace sessionaccess {

QHostAddress sessionAddress(const QString &host, int port)
{
    QHostAddress server(host);
    if (server.isNull()) {
        const QHostInfo info = QHostInfo::fromName(host);
        for (const QHostAddress &candidate : info.addresses()) {
            if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
                server = candidate;
                break;
            }
        }
    }
    if (server.isNull())
        return {};
    // A datagram socket "connected" to the server sends nothing but gets the
    // local address the system routes to it.
    QUdpSocket socket;
    socket.connectToHost(server, quint16(port));
    if (!socket.waitForConnected(1000))
        return {};
    return socket.localAddress();
}

namespace {

bool entryAdmits(const QString &value, quint32 address)
{
    const ipentry::Parts parts = ipentry::parse(value);
    switch (parts.type) {
    case ipentry::Host:
        return ipentry::isValidAddress(parts.first)
                && ipentry::addressValue(parts.first) == address;
    case ipentry::Network:
        return ipentry::isValidAddress(parts.first) && ipentry::isValidAddress(parts.second)
                && (address & ipentry::addressValue(parts.second))
                == (ipentry::addressValue(parts.first) & ipentry::addressValue(parts.second));
    case ipentry::Range:
        return ipentry::isValidAddress(parts.first) && ipentry::isValidAddress(parts.second)
                && ipentry::addressValue(parts.first) <= address
                && address <= ipentry::addressValue(parts.second);
    case ipentry::Group:
        return false;
    }
    return false;
}

} // namespace

bool groupAdmits(const QList<Entry> &entries, const QString &group, const QHostAddress &address)
{
    bool ok = false;
    const quint32 ipv4 = address.toIPv4Address(&ok);
    if (!ok)
        return false;
    QSet<QString> visited;
    QStringList pending{group};
    while (!pending.isEmpty()) {
        const QString name = pending.takeLast();
        if (visited.contains(name))
            continue;
        visited.insert(name);
        for (const Entry &entry : entries) {
            if (entry.group != name || !entry.enabled)
                continue;
            if (entry.value.startsWith(QLatin1Char('=')))
                pending.append(entry.value.mid(1));
            else if (entryAdmits(entry.value, ipv4))
                return true;
        }
    }
    return false;
}

bool admits(const QList<Entry> &entries, bool netEnabled, const QString &group,
            const QHostAddress &address)
{
    if (address.isNull())
        return true; // nothing to tell: no warning
    if (!netEnabled && !address.isLoopback())
        return false;
    return group.isEmpty() || groupAdmits(entries, group, address);
}

} // namespace sessionaccess
