#include "launchoptions.h"

bool LaunchOptions::splitHostPort(const QString &text, QString &host, int &port)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    // A single colon separates the port; IPv6 addresses go in brackets.
    if (colon > 0 && trimmed.count(QLatin1Char(':')) == 1) {
        bool ok = false;
        const int value = trimmed.mid(colon + 1).toInt(&ok);
        if (!ok || value < 1 || value > 65535)
            return false;
        host = trimmed.left(colon);
        port = value;
        return true;
    }
    host = trimmed;
    if (host.startsWith(QLatin1Char('[')) && host.contains(QLatin1String("]:"))) {
        bool ok = false;
        const int value = host.mid(host.indexOf(QLatin1String("]:")) + 2).toInt(&ok);
        if (!ok || value < 1 || value > 65535)
            return false;
        port = value;
        host = host.mid(1, host.indexOf(QLatin1Char(']')) - 1);
    }
    return !host.isEmpty();
}

bool LaunchOptions::parse(const QStringList &arguments, LaunchOptions &options, QString *error)
{
    bool portGiven = false;
    int serverPort = -1; // the port written after the host, if any
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const auto value = [&](QString &target) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("%1 needs a value").arg(argument);
                return false;
            }
            target = arguments.at(++i);
            return true;
        };
        QString text;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--demo")) {
            options.demo = true;
        } else if (argument == QLatin1String("--login")) {
            options.loginMode = true;
        } else if (argument == QLatin1String("--debug")) {
            options.debug = true;
        } else if (argument == QLatin1String("--user")) {
            if (!value(options.user))
                return false;
        } else if (argument == QLatin1String("--port")) {
            if (!value(text))
                return false;
            bool ok = false;
            options.port = text.toInt(&ok);
            if (!ok || options.port < 1 || options.port > 65535) {
                *error = QStringLiteral("invalid port: %1").arg(text);
                return false;
            }
            portGiven = true;
        } else if (argument == QLatin1String("--tour")) {
            if (!value(options.tourFolder))
                return false;
        } else if (argument == QLatin1String("--console")) {
            if (!value(options.consolePath))
                return false;
        } else if (argument == QLatin1String("--server")) {
            if (!value(options.serverPath))
                return false;
        } else if (argument == QLatin1String("--close")) {
            if (!value(text))
                return false;
            bool ok = false;
            options.closePid = text.toLongLong(&ok);
            if (!ok || options.closePid <= 0) {
                *error = QStringLiteral("invalid process id: %1").arg(text);
                return false;
            }
        } else if (argument.startsWith(QLatin1Char('-'))) {
            *error = QStringLiteral("unknown option: %1").arg(argument);
            return false;
        } else if (options.host.isEmpty()) {
            int port = -1;
            if (!splitHostPort(argument, options.host, port)) {
                *error = QStringLiteral("invalid server: %1").arg(argument);
                return false;
            }
            serverPort = port;
        } else {
            *error = QStringLiteral("unexpected argument: %1").arg(argument);
            return false;
        }
    }
    if (serverPort > 0) {
        if (portGiven && serverPort != options.port) {
            *error = QStringLiteral("--port %1 contradicts the port in %2:%3")
                             .arg(options.port)
                             .arg(options.host)
                             .arg(serverPort);
            return false;
        }
        options.port = serverPort;
    }
    if (options.help)
        return true;
    // Each mode takes its own arguments and nothing else.
    const int modes = int(options.demo) + int(options.loginMode) + int(options.closePid > 0)
            + int(!options.host.isEmpty());
    if (modes == 0) {
        *error = QStringLiteral("no server given");
        return false;
    }
    if (modes > 1) {
        *error = QStringLiteral("give only one of a server, --demo, --login and --close");
        return false;
    }
    if (!options.tourFolder.isEmpty() && !options.demo) {
        *error = QStringLiteral("--tour works only with --demo");
        return false;
    }
    return true;
}

QString LaunchOptions::usage()
{
    return QStringLiteral(
            "usage: postdesk-launch [options] HOST[:PORT]\n"
            "       postdesk-launch --demo [--tour FOLDER]\n"
            "       postdesk-launch --login\n"
            "       postdesk-launch --close PID\n"
            "\n"
            "Starts an administration console for the server and hands it the login.\n"
            "The password is read from POSTDESK_PASSWORD or asked for on the terminal.\n"
            "\n"
            "  --user NAME      user to log in as (default admin)\n"
            "  --port N         admin port (default " QT_STRINGIFY(
                    LUMADB_DEFAULT_PORT) ")\n"
                                         "  --login          let the console ask for server and "
                                         "login\n"
                                         "  --debug          the console writes its trace file\n"
                                         "  --demo           start the development server with "
                                         "demo data and a console\n"
                                         "                   logged in to it\n"
                                         "  --tour FOLDER    the console writes a screenshot of "
                                         "every section and exits\n"
                                         "  --console PATH   console program (default: found next "
                                         "to the launcher)\n"
                                         "  --server PATH    development server for --demo "
                                         "(default: found likewise)\n"
                                         "  --close PID      ask the console with this process id "
                                         "to close\n"
                                         "\n"
                                         "While consoles run, type \"close\" to close them or "
                                         "\"list\" to list them.\n");
}
