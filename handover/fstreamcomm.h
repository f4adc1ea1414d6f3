#pragma once

#include <QString>

#include <cstdio>

class QIODevice;

// The launcher's text channels: two lines on the console's standard input
// (region identifier and size) and the status lines on its standard output.
class FStreamComm
{
public:
    // "connected" tells the launcher that the first login succeeded;
    // "connectionfailed" that a login attempt failed.
    enum StatusCode { InitOk = 1, ConnectionFailed = 2, ConnectNew = 3, Connected = 4 };

    // Longest accepted input line, without its "\n".
    static constexpr int kMaxLineLength = 99;

    struct RegionLocation
    {
        QString identifier;
        qsizetype size = 0;
    };

    // Reads the two lines of the hand-over. False when fewer than two complete
    // lines arrive, a line is too long, or the size is not a positive number.
    static bool readRegionLocation(QIODevice &input, RegionLocation &location);

    // The word of a status code, or empty for an unknown code.
    static QString statusWord(int code);
    // Writes the status line and flushes it; false for an unknown code.
    static bool sendStatus(int code, FILE *out = stdout);
    // "connectnew" followed by the region that holds the new console's record.
    static void sendConnectNew(const QString &regionIdentifier, qsizetype size, FILE *out = stdout);
    // Splits "connectnew <identifier> <size>"; false for any other line.
    static bool parseConnectNew(const QString &line, QString *regionIdentifier, qsizetype *size);
};
