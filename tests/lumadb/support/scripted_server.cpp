#include "scripted_server.h"

#include <openssl/err.h>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace lumadb_test {

namespace {

sockaddr_in loopback(uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

void set_timeouts(int fd, std::chrono::milliseconds timeout)
{
    timeval value{};
    value.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    value.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value);
}

bool wait_readable(int fd, std::chrono::milliseconds timeout)
{
    pollfd waiting{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&waiting, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    return ready == 1;
}

} // namespace

std::string hex(const Bytes &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char c : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 0x0f];
    }
    return text;
}

ScriptedServer::ScriptedServer(const TestCertificate &certificate)
{
    m_context = SSL_CTX_new(TLS_server_method());
    if (!m_context)
        throw std::runtime_error("cannot create the server TLS context");
    use_certificate(certificate);

    // The UDP port must have the same number as the TCP port; retry until a
    // free TCP port also has a free UDP twin.
    for (int attempt = 0; attempt < 50 && m_port == 0; ++attempt) {
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0
            || ::listen(listener, 8) != 0) {
            ::close(listener);
            continue;
        }
        const int datagrams = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (::bind(datagrams, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            ::close(datagrams);
            ::close(listener);
            continue;
        }
        m_listener = listener;
        m_datagram_socket = datagrams;
        m_port = ntohs(address.sin_port);
    }
    if (m_port == 0)
        throw std::runtime_error("cannot find a free port pair");
}

ScriptedServer::~ScriptedServer()
{
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_listener);
    ::close(m_datagram_socket);
    SSL_CTX_free(m_context);
}

void ScriptedServer::use_certificate(const TestCertificate &certificate)
{
    if (SSL_CTX_use_certificate(m_context, certificate.certificate()) != 1
        || SSL_CTX_use_PrivateKey(m_context, certificate.key()) != 1)
        throw std::runtime_error("cannot install the server certificate");
}

ScriptedServer &ScriptedServer::expect(const Bytes &bytes, const std::string &what)
{
    m_steps.push_back({Step::Expect, bytes, what});
    return *this;
}

ScriptedServer &ScriptedServer::reply(const Bytes &bytes)
{
    m_steps.push_back({Step::Reply, bytes, {}});
    return *this;
}

ScriptedServer &ScriptedServer::expect_end()
{
    m_steps.push_back({Step::ExpectEnd, {}, "end of connection"});
    return *this;
}

ScriptedServer &ScriptedServer::hang_up()
{
    m_steps.push_back({Step::HangUp, {}, {}});
    return *this;
}

ScriptedServer &ScriptedServer::renegotiate()
{
    m_steps.push_back({Step::Renegotiate, {}, {}});
    return *this;
}

void ScriptedServer::set_protocol_range(int minimum, int maximum)
{
    SSL_CTX_set_min_proto_version(m_context, minimum);
    SSL_CTX_set_max_proto_version(m_context, maximum);
}

std::string ScriptedServer::server_name() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_server_name;
}

bool ScriptedServer::renegotiated() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_renegotiated;
}

ScriptedServer &ScriptedServer::expect_datagram(const Bytes &bytes)
{
    m_steps.push_back({Step::ExpectDatagram, bytes, "datagram"});
    return *this;
}

ScriptedServer &ScriptedServer::send_datagram(const Bytes &bytes)
{
    m_steps.push_back({Step::SendDatagram, bytes, {}});
    return *this;
}

ScriptedServer &ScriptedServer::send_forged_datagram(const Bytes &bytes)
{
    m_steps.push_back({Step::SendForgedDatagram, bytes, {}});
    return *this;
}

ScriptedServer &ScriptedServer::login(const LoginScript &script)
{
    expect(byte(1), "greeting");
    reply(script.methods);
    expect(script.client_choice(), "method choice");
    reply(byte(0x04));
    expect(script.client_credentials(), "credentials");
    reply(script.server_verdict_and_versions());
    expect(script.client_application(), "application identifier");
    reply(script.server_application_accepted());
    return *this;
}

void ScriptedServer::start()
{
    if (m_thread.joinable())
        m_thread.join();
    m_thread = std::thread(&ScriptedServer::run, this, std::move(m_steps));
    m_steps.clear();
}

std::vector<std::string> ScriptedServer::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_mutex);
    return std::exchange(m_failures, {});
}

void ScriptedServer::fail(const std::string &message)
{
    std::lock_guard lock(m_mutex);
    m_failures.push_back(message);
}

bool ScriptedServer::read_exact(SSL *tls, Bytes *into, size_t length)
{
    into->clear();
    char chunk[4096];
    while (into->size() < length) {
        const int wanted = static_cast<int>(std::min(sizeof chunk, length - into->size()));
        const int got = SSL_read(tls, chunk, wanted);
        if (got <= 0)
            return false;
        into->append(chunk, size_t(got));
    }
    return true;
}

void ScriptedServer::run(std::vector<Step> steps)
{
    // Writes to a client that went away must fail, not end the test.
    sigset_t pipe_only;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_only, nullptr);

    if (!wait_readable(m_listener, m_timeout)) {
        fail("no client connected");
        return;
    }
    const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        fail("accept failed");
        return;
    }
    set_timeouts(connection, m_timeout);
    SSL *tls = SSL_new(m_context);
    SSL_set_fd(tls, connection);
    if (SSL_accept(tls) != 1) {
        fail("TLS handshake failed");
        ERR_clear_error();
        SSL_free(tls);
        ::close(connection);
        return;
    }
    {
        const char *name = SSL_get_servername(tls, TLSEXT_NAMETYPE_host_name);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_server_name = name ? name : "";
        m_renegotiated = false;
    }

    sockaddr_in datagram_peer{};
    bool have_datagram_peer = false;
    for (size_t index = 0; index < steps.size(); ++index) {
        const Step &step = steps[index];
        const std::string name = "step " + std::to_string(index + 1)
                + (step.what.empty() ? std::string() : " (" + step.what + ")");
        bool ok = true;
        switch (step.kind) {
        case Step::Expect: {
            Bytes got;
            if (!read_exact(tls, &got, step.bytes.size())) {
                fail(name + ": expected " + hex(step.bytes) + ", the client sent only " + hex(got)
                     + " before closing or timing out");
                ok = false;
            } else if (got != step.bytes) {
                fail(name + ": expected " + hex(step.bytes) + ", got " + hex(got));
                ok = false;
            }
            break;
        }
        case Step::Reply:
            if (!step.bytes.empty()
                && SSL_write(tls, step.bytes.data(), static_cast<int>(step.bytes.size())) <= 0) {
                fail(name + ": cannot send the reply");
                ok = false;
            }
            break;
        case Step::ExpectEnd: {
            char extra[256];
            errno = 0;
            const int got = SSL_read(tls, extra, sizeof extra);
            const int reason = got > 0 ? SSL_ERROR_NONE : SSL_get_error(tls, got);
            const bool timed_out = reason == SSL_ERROR_WANT_READ
                    || (reason == SSL_ERROR_SYSCALL && (errno == EAGAIN || errno == EWOULDBLOCK));
            if (got > 0)
                fail(name + ": the client sent unexpected bytes " + hex(Bytes(extra, size_t(got))));
            else if (timed_out)
                fail(name + ": the client did not close the connection");
            ok = false; // nothing can follow the end
            break;
        }
        case Step::HangUp:
            ok = false;
            break;
        case Step::Renegotiate: {
            // Sends the hello request, then reads what the client makes of it:
            // a new handshake, or an alert that refuses it.
            bool agreed = SSL_renegotiate(tls) == 1 && SSL_do_handshake(tls) == 1
                    && SSL_do_handshake(tls) == 1;
            char peeked = 0;
            SSL_peek(tls, &peeked, 1);
            agreed = agreed && !SSL_renegotiate_pending(tls);
            ERR_clear_error();
            std::lock_guard<std::mutex> lock(m_mutex);
            m_renegotiated = agreed;
            ok = agreed;
            break;
        }
        case Step::ExpectDatagram: {
            if (!wait_readable(m_datagram_socket, m_timeout)) {
                fail(name + ": no datagram arrived");
                ok = false;
                break;
            }
            char buffer[2048];
            socklen_t length = sizeof datagram_peer;
            const ssize_t got = ::recvfrom(m_datagram_socket, buffer, sizeof buffer, 0,
                                           reinterpret_cast<sockaddr *>(&datagram_peer), &length);
            const Bytes received = got > 0 ? Bytes(buffer, size_t(got)) : Bytes();
            have_datagram_peer = got >= 0;
            if (received != step.bytes) {
                fail(name + ": expected datagram " + hex(step.bytes) + ", got " + hex(received));
                ok = false;
            }
            break;
        }
        case Step::SendDatagram:
            if (!have_datagram_peer
                || ::sendto(m_datagram_socket, step.bytes.data(), step.bytes.size(), 0,
                            reinterpret_cast<const sockaddr *>(&datagram_peer),
                            sizeof datagram_peer)
                        != ssize_t(step.bytes.size())) {
                fail(name + ": cannot send the datagram");
                ok = false;
            }
            break;
        case Step::SendForgedDatagram: {
            const int other = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            if (!have_datagram_peer || other < 0
                || ::sendto(other, step.bytes.data(), step.bytes.size(), 0,
                            reinterpret_cast<const sockaddr *>(&datagram_peer),
                            sizeof datagram_peer)
                        != ssize_t(step.bytes.size())) {
                fail(name + ": cannot send the forged datagram");
                ok = false;
            }
            if (other >= 0)
                ::close(other);
            break;
        }
        }
        if (!ok)
            break;
    }
    SSL_shutdown(tls);
    ERR_clear_error();
    SSL_free(tls);
    ::close(connection);
}

} // namespace lumadb_test
