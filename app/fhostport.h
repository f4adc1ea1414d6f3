#pragma once

#include <QCoreApplication>
#include <QString>

// The server as the administrator types it in the connection dialog: a host
// name or address, optionally followed by ":port". An IPv6 address takes its
// port only in brackets ("[::1]:4433"); a bare IPv6 address has no port.
struct FHostPort
{
    Q_DECLARE_TR_FUNCTIONS(FHostPort)

public:
    QString host;
    int port = 0;
    // Why the text was refused; empty when it was accepted.
    QString error;

    bool ok() const { return error.isEmpty(); }

    // Splits the text; without a port the default port is taken.
    static FHostPort parse(const QString &text, int defaultPort);
    // The text that parse() turns back into host and port: the port is left
    // out when it is the default one, an IPv6 address goes in brackets.
    static QString format(const QString &host, int port, int defaultPort);
};
