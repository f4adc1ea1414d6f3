#pragma once

#include <QString>
#include <QStringList>

#include "lumadb/lumadb.h"

// The launcher's command line.
struct LaunchOptions
{
    QString host;
    int port = LUMADB_DEFAULT_PORT;
    QString user = QStringLiteral("admin");
    bool loginMode = false; // the console asks for server and login itself
    bool debug = false; // the console writes its trace file
    bool demo = false; // start the development server and log in to it
    QString tourFolder; // the console writes screenshots of every section and exits
    QString consolePath; // empty: found next to the launcher
    QString serverPath; // empty: found next to the launcher
    qint64 closePid = 0; // only send a close request to this console
    bool help = false;

    // Parses the arguments after the program name; false with a message in *error.
    static bool parse(const QStringList &arguments, LaunchOptions &options, QString *error);
    static QString usage();
    // Splits "host:port" (a bare host keeps the default port); false when the
    // port is not a number from 1 to 65535.
    static bool splitHostPort(const QString &text, QString &host, int &port);
};
