#include "app/fhostport.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace {

bool isIpv6Address(const QString &text)
{
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol;
}

FHostPort refused(const QString &error)
{
    FHostPort result;
    result.error = error;
    return result;
}

FHostPort accepted(const QString &host, int port)
{
    FHostPort result;
    result.host = host;
    result.port = port;
    return result;
}

// A decimal port from 1 to 65535; 0 when the text is not one.
int portNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    }
    const int value = text.toInt();
    return value >= 1 && value <= 65535 ? value : 0;
}

FHostPort withPort(const QString &host, const QString &portText)
{
    if (portText.isEmpty())
        return refused(FHostPort::tr("The port after the colon is missing. Enter a number from 1 "
                                     "to 65535, or leave out the colon."));
    const int port = portNumber(portText);
    if (port == 0)
        return refused(FHostPort::tr("The port \"%1\" is not valid. Enter a number from 1 to "
                                     "65535.")
                               .arg(portText));
    return accepted(host, port);
}

} // namespace

FHostPort FHostPort::parse(const QString &text, int defaultPort)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return refused(tr("Please enter the host name of the server."));
    if (trimmed.contains(QRegularExpression(QStringLiteral("\\s"))))
        return refused(tr("The host \"%1\" contains a space.").arg(trimmed));

    if (trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        const QString address = close > 0 ? trimmed.mid(1, close - 1) : QString();
        const QString rest = close > 0 ? trimmed.mid(close + 1) : QString();
        if (close < 0 || !isIpv6Address(address))
            return refused(tr("\"%1\" is not an IPv6 address in brackets. Write it as "
                              "[address] or [address]:port.")
                                   .arg(trimmed));
        if (rest.isEmpty()) {
            return accepted(address, defaultPort);
        }
        if (!rest.startsWith(QLatin1Char(':')))
            return refused(tr("Only a port may follow the IPv6 address, as in "
                              "[address]:port."));
        return withPort(address, rest.mid(1));
    }

    const qsizetype colons = trimmed.count(QLatin1Char(':'));
    if (colons > 1) {
        if (!isIpv6Address(trimmed))
            return refused(tr("\"%1\" is neither a host name nor an IPv6 address. Write an IPv6 "
                              "address with a port as [address]:port.")
                                   .arg(trimmed));
        return accepted(trimmed, defaultPort);
    }
    if (colons == 1) {
        const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
        const QString host = trimmed.left(colon);
        if (host.isEmpty())
            return refused(tr("Please enter the host name of the server."));
        return withPort(host, trimmed.mid(colon + 1));
    }
    return accepted(trimmed, defaultPort);
}

QString FHostPort::format(const QString &host, int port, int defaultPort)
{
    // A bare IPv6 address reads back with the default port.
    if (port == defaultPort || port <= 0 || port > 65535)
        return host;
    const QString shownHost
            = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shownHost + QLatin1Char(':') + QString::number(port);
}
