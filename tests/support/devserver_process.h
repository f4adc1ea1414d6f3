// Runs a real postvane-devserver process for integration tests.
//
// start() spawns the server on 127.0.0.1 with a free port and a fresh data
// folder, waits for its "listening" line and reports host and port. The server
// presents a self-signed certificate created in that folder. Whoever started
// the server knows that certificate: trustIn() records it in a known-hosts file
// (a temporary one, never the user's real one) after every start, so the
// console's first-use question does not come up; clients without a file
// connect with LUMADB_TRUST_INSECURE.
//
// Seeded accounts: "admin"/"admin" (read/write) and "viewer"/"viewer" (read only).
//
// The server is told to end when the thread that started it ends, so call
// start() from a thread that outlives the server (normally the main thread).
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace postdesk::test {

class DevServerProcess
{
public:
    explicit DevServerProcess(std::vector<std::string> extraArgs = {});
    ~DevServerProcess();
    DevServerProcess(const DevServerProcess &) = delete;
    DevServerProcess &operator=(const DevServerProcess &) = delete;

    // Spawns postvane-devserver --listen 127.0.0.1 --port 0 --data <fresh temp
    // dir> plus the extra arguments and waits up to 30 s for it to listen.
    // False with errorText() on failure.
    bool start();
    // Stops the server and starts a new one on the same data folder (the port
    // may change). Non-empty extraArgs replace the earlier ones.
    bool restart(std::vector<std::string> extraArgs = {});
    // SIGTERM and wait (SIGKILL after 30 s).
    void stop();
    // SIGKILL and wait, for durability tests.
    void kill();

    // Records this server's certificate for its address in the known-hosts
    // file now (when running) and after every later start or restart.
    bool trustIn(const std::string &knownHostsPath);
    // SHA-256 of the server's certificate (64 hex digits), empty before start.
    std::string fingerprint() const;

    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; } // -1 when not running
    std::string host() const { return m_host; }
    std::string portText() const { return std::to_string(m_port); }
    uint16_t port() const { return m_port; }
    std::string dataDir() const { return m_dataDir; }
    std::string errorText() const { return m_error; }

private:
    bool spawn();
    bool recordTrust();
    void waitForExit(int signal, int timeoutSeconds);

    std::vector<std::string> m_extraArgs;
    std::string m_tempDir;
    std::string m_dataDir;
    std::string m_host;
    uint16_t m_port = 0;
    std::string m_error;
    std::string m_knownHostsPath;
    pid_t m_pid = -1;
};

} // namespace postdesk::test
