// One client connection: TLS handshake, login, then one query and one answer
// at a time until the peer leaves, misbehaves or the server stops.
#pragma once

#include <atomic>
#include <chrono>
#include <string>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

namespace postvane::devserver {

class ServerContext;

class Session
{
public:
    Session(ServerContext &server, SSL_CTX *tls, int fd, std::string peer);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    void run();
    // Called from another thread: makes a blocked read or write return.
    void interrupt();
    bool finished() const { return m_finished.load(); }
    // The handshake and the login together have an absolute deadline: a peer
    // that trickles one byte at a time must not keep its slot.
    bool loginOverdue(std::chrono::steady_clock::time_point now, int timeoutMs) const;

private:
    bool readExact(void *buffer, size_t length);
    bool writeAll(const void *buffer, size_t length);
    bool login(uint32_t &key, std::string &user, std::string &domain, bool &canWrite,
               bool &sessionMode);
    void serveQueries(const std::string &user, const std::string &domain, bool canWrite,
                      uint32_t key);
    void setReceiveTimeout(int milliseconds);

    ServerContext &m_server;
    SSL_CTX *m_tlsContext;
    SSL *m_ssl = nullptr;
    int m_fd;
    std::string m_peer;
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_loggedIn{false};
    const std::chrono::steady_clock::time_point m_accepted = std::chrono::steady_clock::now();
};

} // namespace postvane::devserver
