#include "server_options.h"

#include "cell.h"

#include <arpa/inet.h>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace postvane::devserver {

namespace {

const char *kUsage
        = "usage: postvane-devserver [options]\n"
          "  --listen ADDR            address to listen on (default 127.0.0.1)\n"
          "  --port N                 TCP and UDP port, 0 = any free port (default 44337)\n"
          "  --data DIR               data folder (default $XDG_DATA_HOME/postvane-devserver)\n"
          "  --memory                 keep the database in memory\n"
          "  --reset                  discard stored data and seed afresh\n"
          "  --cert FILE --key FILE   TLS certificate and key instead of the generated pair\n"
          "  --version A.B.C          server version reported at login (default 7.2.0)\n"
          "  --os-code N              value of Info.OsCode (default 0)\n"
          "  --capability NAME        add a row to GetCapabilities() (repeatable)\n"
          "  --seed-users N           add a domain with N generated users\n"
          "  --max-result-mib N       largest result block sent, in MiB (default 64)\n"
          "  --log-rate R             log lines per second over all logs (default 2, 0 = none)\n"
          "  --seed-log-lines N       lines in the mail log at start when it is empty\n"
          "  --seed-queue N           add N generated messages to the queue\n"
          "  --seed-aliases N         add N generated aliases to example.com\n"
          "  --seed-list-members N    add a list bulk@example.com with N generated members\n"
          "  --no-ticker              no live changes (logs, counters, queue)\n"
          "  --max-sessions N         concurrent sessions (default 64)\n"
          "  --max-sessions-per-address N  concurrent sessions from one client address\n"
          "                           (default 16)\n"
          "  --handshake-timeout S    seconds a client may take for TLS and login in all\n"
          "                           (an absolute deadline), and for\n"
          "                           the rest of a request it started (default 10)\n"
          "  --handshake-timeout-ms MS  the same in milliseconds\n"
          "  --login-delay-ms MS      wait after a failed login, doubling with each further\n"
          "                           failure of the address or account (default 250, 0 = off)\n"
          "  --clock-offset S         the server's clock runs S seconds ahead (negative:\n"
          "                           behind) of the machine's\n"
          "  --fault-close-after N    close each session after its Nth statement\n"
          "  --fault-status S:PATTERN answer status S to statements containing PATTERN\n"
          "  --fault-delay MS         delay every answer\n"
          "  --fault-refuse-logins    refuse every login\n";

bool number(std::string_view text, int64_t low, int64_t high, int64_t &value)
{
    auto parsed = parseInteger(text);
    if (!parsed || text.empty() || *parsed < low || *parsed > high)
        return false;
    value = *parsed;
    return true;
}

} // namespace

std::vector<std::string> exposureWarnings(const ServerOptions &options, unsigned effectiveUserId)
{
    std::vector<std::string> warnings;
    if (effectiveUserId == 0)
        warnings.push_back("running as root: a development server needs no privileges; run it "
                           "as an ordinary user");
    in_addr address{};
    const bool loopback = ::inet_pton(AF_INET, options.listenAddress.c_str(), &address) == 1
            && (ntohl(address.s_addr) >> 24) == 127;
    if (!loopback)
        warnings.push_back("listening on " + options.listenAddress
                           + ", beyond this machine: its seeded accounts have well-known "
                             "passwords");
    return warnings;
}

std::string defaultDataDir()
{
    if (const char *xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/postvane-devserver";
    if (const char *home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/postvane-devserver";
    return "postvane-devserver-data";
}

bool parseOptions(int argc, char **argv, ServerOptions &options, std::string &message,
                  bool &exitNow)
{
    exitNow = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string_view &out) {
            if (i + 1 >= argc) {
                message = "missing value after " + std::string(arg);
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string_view text;
        int64_t n = 0;
        auto bad = [&]() {
            message = "invalid value for " + std::string(arg) + ": " + std::string(text);
            return false;
        };
        if (arg == "--help" || arg == "-h") {
            message = kUsage;
            exitNow = true;
            return true;
        } else if (arg == "--listen") {
            if (!value(text))
                return false;
            if (!parseIpv4(text))
                return bad();
            options.listenAddress = std::string(text);
        } else if (arg == "--port") {
            if (!value(text))
                return false;
            if (!number(text, 0, 65535, n))
                return bad();
            options.port = static_cast<uint16_t>(n);
        } else if (arg == "--data") {
            if (!value(text))
                return false;
            if (text.empty())
                return bad();
            options.dataDir = std::string(text);
        } else if (arg == "--memory") {
            options.memory = true;
        } else if (arg == "--reset") {
            options.reset = true;
        } else if (arg == "--cert") {
            if (!value(text))
                return false;
            options.certPath = std::string(text);
        } else if (arg == "--key") {
            if (!value(text))
                return false;
            options.keyPath = std::string(text);
        } else if (arg == "--version") {
            if (!value(text))
                return false;
            std::string_view rest = text;
            for (int part = 0; part < 3; ++part) {
                const size_t dot = rest.find('.');
                const std::string_view piece = rest.substr(0, dot);
                if ((part < 2) == (dot == std::string_view::npos) || !number(piece, 0, 65535, n))
                    return bad();
                options.version[part] = static_cast<uint16_t>(n);
                rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
            }
        } else if (arg == "--os-code") {
            if (!value(text))
                return false;
            if (!number(text, 0, UINT32_MAX, n))
                return bad();
            options.osCode = static_cast<uint32_t>(n);
        } else if (arg == "--capability") {
            if (!value(text))
                return false;
            options.capabilities.emplace_back(text);
        } else if (arg == "--seed-users") {
            if (!value(text))
                return false;
            if (!number(text, 0, 1000000, n))
                return bad();
            options.seedUsers = static_cast<uint32_t>(n);
        } else if (arg == "--max-result-mib") {
            if (!value(text))
                return false;
            if (!number(text, 1, 4096, n))
                return bad();
            options.maxResultBytes = static_cast<size_t>(n) << 20;
        } else if (arg == "--log-rate") {
            if (!value(text))
                return false;
            char *end = nullptr;
            const std::string copy(text);
            const double rate = std::strtod(copy.c_str(), &end);
            if (copy.empty() || *end != '\0' || !(rate >= 0) || rate > 100000)
                return bad();
            options.logRate = rate;
        } else if (arg == "--seed-log-lines") {
            if (!value(text))
                return false;
            if (!number(text, 0, 100000000, n))
                return bad();
            options.seedLogLines = static_cast<uint64_t>(n);
        } else if (arg == "--seed-queue") {
            if (!value(text))
                return false;
            if (!number(text, 0, 10000000, n))
                return bad();
            options.seedQueue = static_cast<uint32_t>(n);
        } else if (arg == "--seed-aliases") {
            if (!value(text))
                return false;
            if (!number(text, 0, 10000000, n))
                return bad();
            options.seedAliases = static_cast<uint32_t>(n);
        } else if (arg == "--seed-list-members") {
            if (!value(text))
                return false;
            if (!number(text, 0, 10000000, n))
                return bad();
            options.seedListMembers = static_cast<uint32_t>(n);
        } else if (arg == "--no-ticker") {
            options.ticker = false;
        } else if (arg == "--max-sessions") {
            if (!value(text))
                return false;
            if (!number(text, 1, 1024, n))
                return bad();
            options.maxSessions = static_cast<size_t>(n);
        } else if (arg == "--max-sessions-per-address") {
            if (!value(text))
                return false;
            if (!number(text, 1, 1024, n))
                return bad();
            options.maxSessionsPerAddress = static_cast<size_t>(n);
        } else if (arg == "--handshake-timeout") {
            if (!value(text))
                return false;
            if (!number(text, 1, 3600, n))
                return bad();
            options.handshakeTimeoutMs = static_cast<int>(n) * 1000;
        } else if (arg == "--login-delay-ms") {
            if (!value(text))
                return false;
            if (!number(text, 0, 60000, n))
                return bad();
            options.loginDelayMs = static_cast<int>(n);
        } else if (arg == "--clock-offset") {
            if (!value(text))
                return false;
            if (!number(text, -100LL * 365 * 86400, 100LL * 365 * 86400, n))
                return bad();
            options.clockOffset = n;
        } else if (arg == "--handshake-timeout-ms") {
            if (!value(text))
                return false;
            if (!number(text, 1, 3600000, n))
                return bad();
            options.handshakeTimeoutMs = static_cast<int>(n);
        } else if (arg == "--fault-close-after") {
            if (!value(text))
                return false;
            if (!number(text, 0, UINT32_MAX, n))
                return bad();
            options.faults.closeAfterStatements = static_cast<uint32_t>(n);
        } else if (arg == "--fault-status") {
            if (!value(text))
                return false;
            const size_t colon = text.find(':');
            if (colon == std::string_view::npos || colon + 1 == text.size()
                || !number(text.substr(0, colon), 1, 9999, n))
                return bad();
            options.faults.forcedStatus = static_cast<uint32_t>(n);
            std::string pattern(text.substr(colon + 1));
            for (char &c : pattern)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            options.faults.statusPattern = pattern;
        } else if (arg == "--fault-delay") {
            if (!value(text))
                return false;
            if (!number(text, 0, 60000, n))
                return bad();
            options.faults.delayMs = static_cast<uint32_t>(n);
        } else if (arg == "--fault-refuse-logins") {
            options.faults.refuseLogins = true;
        } else {
            message = "unknown option " + std::string(arg) + "\n" + kUsage;
            return false;
        }
    }
    if (options.certPath.empty() != options.keyPath.empty()) {
        message = "--cert and --key must be given together";
        return false;
    }
    return true;
}

} // namespace postvane::devserver
