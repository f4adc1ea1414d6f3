// Start options of postvane-devserver.
#pragma once

#include "fault_injector.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace postvane::devserver {

struct ServerOptions
{
    std::string listenAddress = "127.0.0.1";
    uint16_t port = 44337; // 0 = any free port
    std::string dataDir; // empty = per-user default
    bool memory = false;
    bool reset = false;
    std::string certPath; // empty = <data>/server-cert.pem
    std::string keyPath; // empty = <data>/server-key.pem
    uint16_t version[3] = {7, 2, 0};
    uint32_t osCode = 0;
    std::vector<std::string> capabilities;
    uint32_t seedUsers = 0;
    double logRate = 2.0; // lines per second over all logs
    uint64_t seedLogLines = 0;
    // Generated messages waiting in the queue, beside the demo's own.
    uint32_t seedQueue = 0;
    // Generated aliases of example.com and members of its list "bulk".
    uint32_t seedAliases = 0;
    uint32_t seedListMembers = 0;
    bool ticker = true;
    FaultSettings faults;

    size_t maxSessions = 64;
    size_t maxSessionsPerAddress = 16;
    size_t maxQueryBytes = 1u << 20;
    size_t maxResultBytes = 64u << 20;
    size_t maxLoginFieldBytes = 4096;
    int handshakeTimeoutMs = 10000;
    int loginDelayMs = 250; // first delay after a failed login; 0 = none
    uint32_t maxLogDataLines = 100000;
    // Seconds the server's clock runs ahead of the machine's (negative: behind),
    // as on a server in another place whose clock was set by hand.
    int64_t clockOffset = 0;
};

// Parses argv. Returns false with a message for bad input; sets exitNow for
// --help (message holds the usage text).
bool parseOptions(int argc, char **argv, ServerOptions &options, std::string &message,
                  bool &exitNow);
std::string defaultDataDir();
// Warnings printed at start for a server that is more exposed than a
// development server should be: run by root, or reachable beyond loopback.
std::vector<std::string> exposureWarnings(const ServerOptions &options, unsigned effectiveUserId);

} // namespace postvane::devserver
