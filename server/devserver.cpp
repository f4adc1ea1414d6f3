#include "devserver.h"

#include "data_folder.h"
#include "live_ticker.h"
#include "seed.h"
#include "server_context.h"
#include "session.h"
#include "tls_identity.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace postvane::devserver {

namespace {

bool makeDirectories(const std::string &path, std::string &error)
{
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (code) {
        error = "cannot create " + path + ": " + code.message();
        return false;
    }
    ::chmod(path.c_str(), 0700);
    return true;
}

} // namespace

DevServer::DevServer(ServerOptions options)
    : m_context(std::make_unique<ServerContext>(std::move(options)))
{ }

DevServer::~DevServer()
{
    m_stopping = true;
    reapSessions(true);
    if (m_listenFd >= 0)
        ::close(m_listenFd);
    m_context->stopSearches();
    m_context->notifier.close();
    m_context->logs.close();
    m_context->db.close();
    if (m_tls)
        SSL_CTX_free(m_tls);
    if (!m_temporaryLogDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_temporaryLogDir, ignored);
    }
}

bool DevServer::start(std::string &error)
{
    ServerOptions &options = m_context->options;
    if (options.dataDir.empty())
        options.dataDir = defaultDataDir();
    if (!makeDirectories(options.dataDir, error))
        return false;

    const std::string dbPath = options.dataDir + "/postvane.db";
    if (!options.memory) {
        // Checked and locked before --reset removes anything: a second server
        // must leave the running one's data alone.
        if (!checkWritableFolder(options.dataDir, error) || !m_lock.acquire(options.dataDir, error))
            return false;
        for (const char *suffix : {"", "-wal", "-shm"}) {
            if (options.reset)
                ::unlink((dbPath + suffix).c_str());
            else if (!checkWritableFile(dbPath + suffix, error))
                return false;
        }
    }
    if (!m_context->db.open(options.memory ? std::string() : dbPath, error))
        return false;

    std::string logDir = options.dataDir + "/logs";
    if (options.memory) {
        // Logs of an in-memory server live in a private folder removed at exit.
        char pattern[] = "/tmp/postvane-logs-XXXXXX";
        if (!::mkdtemp(pattern)) {
            error = std::string("cannot create a log folder: ") + std::strerror(errno);
            return false;
        }
        m_temporaryLogDir = logDir = pattern;
    } else if (!makeDirectories(logDir, error)) {
        return false;
    }
    if (!m_context->logs.open(logDir, error))
        return false;
    if (options.reset) {
        for (int id = 1; id <= static_cast<int>(LogStore::names().size()); ++id)
            m_context->logs.clear(id);
    }

    const bool fresh = m_context->db.createTables(Schema::instance());
    if (fresh)
        seedDatabase(*m_context);
    applyStartOptions(*m_context);

    std::string certPath = options.certPath;
    std::string keyPath = options.keyPath;
    if (certPath.empty()) {
        certPath = options.dataDir + "/server-cert.pem";
        keyPath = options.dataDir + "/server-key.pem";
        if (!ensureSelfSignedCertificate(certPath, keyPath, error))
            return false;
    }
    m_tls = createServerContext(certPath, keyPath, error);
    if (!m_tls)
        return false;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options.port);
    if (::inet_pton(AF_INET, options.listenAddress.c_str(), &address.sin_addr) != 1) {
        error = "invalid listen address " + options.listenAddress;
        return false;
    }
    // With port 0 the TCP port is picked first and UDP must get the same
    // number; retry a few times if another program holds that UDP port.
    for (int attempt = 0; attempt < 20; ++attempt) {
        m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(m_listenFd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(m_listenFd, 64) != 0) {
            error = "cannot listen on " + options.listenAddress + ":" + std::to_string(options.port)
                    + ": " + std::strerror(errno);
            ::close(m_listenFd);
            m_listenFd = -1;
            return false;
        }
        sockaddr_in bound{};
        socklen_t boundLength = sizeof bound;
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&bound), &boundLength);
        m_port = ntohs(bound.sin_port);
        if (m_context->notifier.open(bound, error))
            break;
        ::close(m_listenFd);
        m_listenFd = -1;
        if (options.port != 0)
            return false;
    }
    if (m_listenFd < 0)
        return false;
    m_context->options.port = m_port;
    return true;
}

std::string DevServer::listenAddress() const
{
    return m_context->options.listenAddress;
}

void DevServer::run()
{
    std::thread notifications([this] {
        while (!m_stopping)
            m_context->notifier.receive(200);
    });
    std::thread ticker;
    if (m_context->options.ticker) {
        ticker = std::thread([this] {
            LiveTicker live(*m_context);
            while (!m_stopping) {
                live.tick();
                for (int i = 0; i < 5 && !m_stopping; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    while (!m_stopping) {
        pollfd poller{m_listenFd, POLLIN, 0};
        if (::poll(&poller, 1, 200) > 0)
            acceptOne();
        reapSessions(false);
        const auto now = std::chrono::steady_clock::now();
        for (RunningSession &running : m_sessions) {
            if (running.session->loginOverdue(now, m_context->options.handshakeTimeoutMs))
                running.session->interrupt();
        }
    }
    reapSessions(true);
    notifications.join();
    if (ticker.joinable())
        ticker.join();
}

void DevServer::acceptOne()
{
    sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    const int fd
            = ::accept4(m_listenFd, reinterpret_cast<sockaddr *>(&peer), &peerLength, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    size_t fromAddress = 0;
    for (const RunningSession &running : m_sessions)
        fromAddress += running.address == peer.sin_addr.s_addr ? 1 : 0;
    if (m_sessions.size() >= m_context->options.maxSessions
        || fromAddress >= m_context->options.maxSessionsPerAddress) {
        ::close(fd); // over a cap: refuse before any TLS work
        return;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    char text[INET_ADDRSTRLEN] = {0};
    ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    auto session = std::make_unique<Session>(
            *m_context, m_tls, fd, std::string(text) + ":" + std::to_string(ntohs(peer.sin_port)));
    Session *raw = session.get();
    m_sessions.push_back(
            {std::move(session), std::thread([raw] { raw->run(); }), peer.sin_addr.s_addr});
}

void DevServer::reapSessions(bool all)
{
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if (all)
            it->session->interrupt();
        if (all || it->session->finished()) {
            it->thread.join();
            it = m_sessions.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace postvane::devserver
