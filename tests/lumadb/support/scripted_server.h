// A TLS server on 127.0.0.1 that plays a fixed script against one client
// connection at a time: it checks the exact bytes the client sends and
// answers with canned bytes. Every wait has a timeout, after which the server
// records the failure and hangs up, so a faulty client never hangs a test.
#ifndef LUMADB_TEST_SCRIPTED_SERVER_H
#define LUMADB_TEST_SCRIPTED_SERVER_H

#include "test_certificate.h"
#include "wire.h"

#include <openssl/ssl.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumadb_test {

class ScriptedServer
{
public:
    // Listens on a free TCP port and on the UDP port of the same number.
    explicit ScriptedServer(const TestCertificate &certificate);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;

    uint16_t port() const { return m_port; }
    std::string port_text() const { return std::to_string(m_port); }

    // The certificate presented to the next connection.
    void use_certificate(const TestCertificate &certificate);
    // The TLS versions the server speaks (TLS1_VERSION ... TLS1_3_VERSION).
    void set_protocol_range(int minimum, int maximum);
    // The host name the client sent (SNI) on the last connection, empty for none.
    std::string server_name() const;
    // Whether the client agreed to the last renegotiate() step.
    bool renegotiated() const;
    // How long any single wait may take before the step fails.
    void set_timeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Script steps, played in order.
    ScriptedServer &expect(const Bytes &bytes, const std::string &what = {});
    ScriptedServer &reply(const Bytes &bytes);
    // The client closes its end without sending anything more.
    ScriptedServer &expect_end();
    ScriptedServer &hang_up();
    // The server asks for a new handshake (TLS 1.2 and older) and waits for
    // the client to take it up or refuse it; see renegotiated().
    ScriptedServer &renegotiate();
    // A datagram arriving at the UDP port; its sender becomes the target of
    // send_datagram.
    ScriptedServer &expect_datagram(const Bytes &bytes);
    ScriptedServer &send_datagram(const Bytes &bytes);
    // A datagram to the same target, but from another port than the server's.
    ScriptedServer &send_forged_datagram(const Bytes &bytes);
    // The server's side of a whole login (ends with the application accepted).
    ScriptedServer &login(const LoginScript &script);

    // Accepts one connection on a server thread and plays the steps added so far.
    void start();
    // Waits for the script to end; returns what went wrong, empty on success.
    // The steps are cleared, so another script can be added and started.
    std::vector<std::string> finish();

private:
    struct Step
    {
        enum Kind {
            Expect,
            Reply,
            ExpectEnd,
            HangUp,
            ExpectDatagram,
            SendDatagram,
            SendForgedDatagram,
            Renegotiate
        } kind;
        Bytes bytes;
        std::string what;
    };

    void run(std::vector<Step> steps);
    bool read_exact(SSL *tls, Bytes *into, size_t length);
    void fail(const std::string &message);

    SSL_CTX *m_context = nullptr;
    int m_listener = -1;
    int m_datagram_socket = -1;
    uint16_t m_port = 0;
    std::chrono::milliseconds m_timeout{10000};
    std::vector<Step> m_steps;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_failures;
    std::string m_server_name;
    bool m_renegotiated = false;
};

// Renders bytes as hex for failure messages.
std::string hex(const Bytes &bytes);

} // namespace lumadb_test

#endif // LUMADB_TEST_SCRIPTED_SERVER_H
