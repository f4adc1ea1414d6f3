// The development server: storage, TLS listener, session threads, the
// notification socket and the ticker that keeps the installation alive.
#pragma once

#include "data_folder.h"
#include "server_options.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <thread>

typedef struct ssl_ctx_st SSL_CTX;

namespace postvane::devserver {

class ServerContext;
class Session;

class DevServer
{
public:
    explicit DevServer(ServerOptions options);
    ~DevServer();
    DevServer(const DevServer &) = delete;
    DevServer &operator=(const DevServer &) = delete;

    // Opens the data folder, the database, the logs, the TLS identity and both
    // sockets. False with error on failure.
    bool start(std::string &error);
    std::string listenAddress() const;
    uint16_t port() const { return m_port; }

    // Serves until stop() is called (from any thread).
    void run();
    void stop() { m_stopping = true; }

private:
    void acceptOne();
    void reapSessions(bool all);

    struct RunningSession
    {
        std::unique_ptr<Session> session;
        std::thread thread;
        uint32_t address = 0; // the client's IPv4 address, network order
    };

    DataFolderLock m_lock; // released last, after the database is closed
    std::unique_ptr<ServerContext> m_context;
    SSL_CTX *m_tls = nullptr;
    int m_listenFd = -1;
    uint16_t m_port = 0;
    std::string m_temporaryLogDir;
    std::atomic<bool> m_stopping{false};
    std::list<RunningSession> m_sessions;
};

} // namespace postvane::devserver
