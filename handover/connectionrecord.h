#pragma once

#include <QByteArray>
#include <QString>

// The connection record the launcher places in the shared region: UTF-8 text,
// ended by a zero byte, four fields separated by "\n": host, port, user, password.
struct ConnectionRecord
{
    QString host;
    int port = 0;
    QString user;
    QString password;

    // Reads a record from the region's bytes. Reading stops at the first zero
    // byte or at the end of the region; missing fields read as empty and a port
    // that is not a decimal number reads as 0.
    static ConnectionRecord fromRegion(const char *data, qsizetype size);

    // The record as the launcher writes it, with the terminating zero.
    QByteArray toRegionBytes() const;
};
