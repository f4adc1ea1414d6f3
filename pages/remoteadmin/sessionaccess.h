#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

// Whether an address may administer the server under a given setting: used to
// warn before a change shuts out the session that makes it.
namespace sessionaccess {

// One entry of "IpAccessList": group name, stored value, enabled.
struct Entry
{
    QString group;
    QString value;
    bool enabled = true;
};

// The address the server sees this console's session coming from: the local
// address of a socket routed to host and port (null when it cannot be told).
QHostAddress sessionAddress(const QString &host, int port);

// True when an enabled entry of group (following "=" references, each group
// once) covers the IPv4 address. Host names are not resolved: they match
// nothing.
bool groupAdmits(const QList<Entry> &entries, const QString &group, const QHostAddress &address);

// True when a session from address is still let in with network
// administration enabled or not and restricted to group (empty: anywhere).
// A session over the loop-back interface does not come from the network.
bool admits(const QList<Entry> &entries, bool netEnabled, const QString &group,
            const QHostAddress &address);

} // namespace sessionaccess
