// Sessions are independent: a client sending garbage, absurd lengths or
// nothing at all loses only its own session while others keep being served.
// Also the session cap and the notification channel.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace postdesk::test;

namespace {

// A hand-driven client for sending what the real library never would.
class RawClient
{
public:
    ~RawClient() { close(); }

    bool connectTcp(uint16_t port)
    {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval timeout{30, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        return ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    bool connectTls(uint16_t port)
    {
        if (!connectTcp(port))
            return false;
        context = SSL_CTX_new(TLS_client_method());
        ssl = SSL_new(context);
        SSL_set_fd(ssl, fd);
        return SSL_connect(ssl) == 1;
    }
    bool send(const std::string &bytes)
    {
        return SSL_write(ssl, bytes.data(), static_cast<int>(bytes.size())) == int(bytes.size());
    }
    bool receive(size_t length, std::string &out)
    {
        out.resize(length);
        size_t done = 0;
        while (done < length) {
            const int got = SSL_read(ssl, out.data() + done, static_cast<int>(length - done));
            if (got <= 0)
                return false;
            done += static_cast<size_t>(got);
        }
        return true;
    }
    // True when the server ends the connection; whatever it sent before is
    // drained. A receive timeout (30 s) counts as "still open".
    bool closedByServer()
    {
        char buffer[256];
        for (int reads = 0; reads < 1000; ++reads) {
            if (ssl) {
                const int got = SSL_read(ssl, buffer, sizeof buffer);
                if (got > 0)
                    continue;
                const int error = SSL_get_error(ssl, got);
                return !(error == SSL_ERROR_SYSCALL && (errno == EAGAIN || errno == EWOULDBLOCK))
                        && error != SSL_ERROR_WANT_READ;
            }
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got > 0)
                continue;
            return got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        }
        return false;
    }
    bool login(const std::string &user, const std::string &password)
    {
        std::string methods, verdict, rest, accepted;
        auto field = [](const std::string &text) {
            std::string out;
            const uint32_t length = htonl(static_cast<uint32_t>(text.size() + 1));
            out.append(reinterpret_cast<const char *>(&length), 4);
            return out + text + '\0';
        };
        if (!send("\x01") || !receive(2, methods) || !send(std::string("\x02\x81", 2)))
            return false;
        if (!receive(1, verdict) || !send(field(user) + field(password)) || !receive(1, verdict)
            || verdict[0] != 1 || !receive(4 + 1 + 2 + 6, rest))
            return false;
        std::string application(33, '\0');
        application[0] = 5;
        return send(application) && receive(1 + 4, accepted) && accepted[0] == 1;
    }
    void close()
    {
        if (ssl)
            SSL_free(ssl);
        if (context)
            SSL_CTX_free(context);
        if (fd >= 0)
            ::close(fd);
        ssl = nullptr;
        context = nullptr;
        fd = -1;
    }

    int fd = -1;
    SSL_CTX *context = nullptr;
    SSL *ssl = nullptr;
};

std::string requestHeader(uint8_t type, uint32_t length)
{
    std::string header(12, '\0');
    header[0] = static_cast<char>(type);
    const uint32_t big = htonl(length);
    std::memcpy(header.data() + 4, &big, 4);
    return header;
}

class SessionsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << server.errorText(); }
    void expectServing()
    {
        LumadbSession check;
        ASSERT_EQ(check.connect(server.host(), server.portText(), "viewer", "viewer"), 0u);
        EXPECT_EQ(check.query("select count() from User").rows.at(0).at(0), "9");
    }

    // Each read of a handshake or of a started request waits at most 2 s, so the
    // stalled clients below time out quickly; a live client's next bytes come in
    // milliseconds.
    DevServerProcess server{{"--memory", "--log-rate", "0", "--handshake-timeout-ms", "2000"}};
};

TEST_F(SessionsTest, MisbehavingClientsLoseOnlyTheirSession)
{
    LumadbSession bystander;
    ASSERT_EQ(bystander.connect(server.host(), server.portText(), "admin", "admin"), 0u);

    const struct
    {
        const char *what;
        bool login;
        std::string bytes;
    } cases[] = {
            {"garbage instead of the greeting", false, "GET / HTTP/1.0\r\n\r\n"},
            {"absurd user-name length", false, std::string("\x01\x02\x81\x7f\xff\xff\xff", 7)},
            {"unknown request type", true, requestHeader(7, 5) + "abcd"},
            {"zero query length", true, requestHeader(1, 0)},
            {"absurd query length", true, requestHeader(1, 0xfffffff0u)},
            {"query just over the limit", true, requestHeader(1, (1u << 20) + 1)},
            {"request header without its text", true, requestHeader(1, 100)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        RawClient client;
        ASSERT_TRUE(client.connectTls(server.port()));
        if (c.login) {
            ASSERT_TRUE(client.login("admin", "admin"));
        }
        client.send(c.bytes);
        EXPECT_TRUE(client.closedByServer());
        EXPECT_EQ(bystander.query("select dummy from info").status, 0u);
    }

    // Plain-text garbage where TLS is expected, and a client that says nothing.
    {
        RawClient plain;
        ASSERT_TRUE(plain.connectTcp(server.port()));
        const char junk[] = "\x16\x03\x01\xff\xff garbage";
        ::send(plain.fd, junk, sizeof junk, 0);
        EXPECT_TRUE(plain.closedByServer());
    }
    {
        RawClient silent;
        ASSERT_TRUE(silent.connectTcp(server.port()));
        EXPECT_TRUE(silent.closedByServer()) << "a stalled handshake must time out";
    }
    expectServing();
    EXPECT_EQ(bystander.query("select count() from User").rows.at(0).at(0), "9");
}

TEST_F(SessionsTest, QueryWithoutTerminatorIsAParseErrorNotADisconnect)
{
    RawClient client;
    ASSERT_TRUE(client.connectTls(server.port()));
    ASSERT_TRUE(client.login("admin", "admin"));
    ASSERT_TRUE(client.send(requestHeader(1, 4) + "abcd"));
    std::string header;
    ASSERT_TRUE(client.receive(16, header));
    EXPECT_EQ(header.substr(4, 8), std::string("\0\0\0\0\0\0\x01\x90", 8)) << "no block, 400";
    const std::string query = std::string("select dummy from info") + '\0';
    ASSERT_TRUE(client.send(requestHeader(1, static_cast<uint32_t>(query.size())) + query));
    ASSERT_TRUE(client.receive(16, header));
    EXPECT_EQ(header.substr(8, 4), std::string(4, '\0'));
}

TEST_F(SessionsTest, ConcurrentSessionsStayIndependent)
{
    constexpr int kSessions = 8;
    constexpr int kQueries = 40;
    std::atomic<int> failures{0};
    std::atomic<bool> hammering{true};
    std::thread vandal([&] {
        while (hammering) {
            RawClient client;
            if (client.connectTls(server.port()))
                client.send(requestHeader(9, 1));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    std::vector<std::thread> workers;
    for (int i = 0; i < kSessions; ++i) {
        workers.emplace_back([&, i] {
            LumadbSession session;
            if (session.connect(server.host(), server.portText(), "admin", "admin") != 0) {
                ++failures;
                return;
            }
            const std::string name = "worker" + std::to_string(i);
            if (session.query("insert Sort set To='" + name + "', Account='admin'").status != 0)
                ++failures;
            for (int q = 0; q < kQueries; ++q) {
                QueryResult result
                        = session.query("select Account from Sort where To='" + name + "'");
                if (result.status != 0 || result.rows.size() != 1)
                    ++failures;
            }
        });
    }
    for (auto &worker : workers)
        worker.join();
    hammering = false;
    vandal.join();
    EXPECT_EQ(failures.load(), 0);
    expectServing();
}

TEST(SessionCap, RefusesSessionsBeyondTheCapUntilOneEnds)
{
    DevServerProcess server({"--memory", "--log-rate", "0", "--max-sessions", "2"});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession first, second, third;
    ASSERT_EQ(first.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    ASSERT_EQ(second.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    EXPECT_NE(third.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    first.close();
    // The server notices the closed session on its next pass; poll for it.
    uint32_t status = 1;
    for (int attempt = 0; attempt < 300 && status != 0; ++attempt) {
        status = third.connect(server.host(), server.portText(), "admin", "admin");
        if (status != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(status, 0u);
}

TEST(SessionCap, TricklingClientsAreCutOffAtAnAbsoluteDeadline)
{
    // Each byte arrives well within the per-read allowance, but the handshake
    // and the login together must be done within it.
    DevServerProcess server({"--memory", "--log-rate", "0", "--handshake-timeout-ms", "1500"});
    ASSERT_TRUE(server.start()) << server.errorText();
    RawClient trickler;
    ASSERT_TRUE(trickler.connectTls(server.port()));
    const auto started = std::chrono::steady_clock::now();
    std::string methods;
    ASSERT_TRUE(trickler.send(std::string(1, '\x01')) && trickler.receive(2, methods));
    // The method choice and then the user name, one byte every 300 ms: the
    // server says nothing until the fields are complete, so anything readable
    // is the end of the connection.
    const std::string rest = std::string("\x02\x81\x00\x00\x00\x40", 6) + std::string(64, 'a');
    bool cutOff = false;
    for (size_t i = 0; i < rest.size() && !cutOff; ++i) {
        trickler.send(rest.substr(i, 1));
        pollfd poller{trickler.fd, POLLIN, 0};
        cutOff = ::poll(&poller, 1, 300) > 0;
    }
    EXPECT_TRUE(cutOff && trickler.closedByServer());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
}

TEST(SessionCap, OneAddressCannotTakeEverySlot)
{
    DevServerProcess server({"--memory", "--log-rate", "0", "--max-sessions-per-address", "3"});
    ASSERT_TRUE(server.start()) << server.errorText();
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 3; ++i) {
        silent.push_back(std::make_unique<RawClient>());
        ASSERT_TRUE(silent.back()->connectTls(server.port()));
    }
    RawClient fourth;
    // Refused before TLS: the server closes the connection without a word.
    ASSERT_TRUE(fourth.connectTcp(server.port()));
    char byte = 0;
    EXPECT_EQ(::recv(fourth.fd, &byte, 1, 0), 0);
    silent.clear();
    uint32_t status = 1;
    LumadbSession later;
    for (int attempt = 0; attempt < 300 && status != 0; ++attempt) {
        status = later.connect(server.host(), server.portText(), "admin", "admin");
        if (status != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(status, 0u);
}

TEST(Notifications, LogChangesReachRegisteredSessions)
{
    DevServerProcess server({"--memory", "--log-rate", "20", "--seed-log-lines", "5"});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession watcher, admin;
    ASSERT_EQ(watcher.connect(server.host(), server.portText(), "viewer", "viewer"), 0u);
    ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    QueryResult info = watcher.query("select LogList(\"mail\")");
    ASSERT_EQ(info.status, 0u);
    const uint32_t mailId = static_cast<uint32_t>(std::stoul(info.cell(0, "ID")));
    const uint32_t offset = static_cast<uint32_t>(std::stoll(info.cell(0, "Offset")));

    auto decode = [](const std::string &payload, uint32_t &id, uint32_t &off, uint32_t &count) {
        if (payload.size() != 10 || payload[1] != 8)
            return false;
        id = static_cast<uint8_t>(payload[0]);
        uint32_t big;
        std::memcpy(&big, payload.data() + 2, 4);
        off = ntohl(big);
        std::memcpy(&big, payload.data() + 6, 4);
        count = ntohl(big);
        return true;
    };
    // The logs grow on their own; a packet for the mail log arrives and its
    // count matches what LogList then reports or less.
    bool grew = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!grew && std::chrono::steady_clock::now() < deadline) {
        auto payload = watcher.waitNotification(1000);
        uint32_t id = 0, off = 0, count = 0;
        if (payload && decode(*payload, id, off, count) && id == mailId) {
            EXPECT_EQ(off, offset);
            EXPECT_GT(count, 5u);
            grew = true;
        }
    }
    EXPECT_TRUE(grew) << "no log-update packet for the mail log";

    // Clearing announces count 0 with the same offset.
    ASSERT_EQ(admin.query("select LogCtrl(\"mail\", 1)").status, 0u);
    bool cleared = false;
    const auto clearDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!cleared && std::chrono::steady_clock::now() < clearDeadline) {
        auto payload = watcher.waitNotification(1000);
        uint32_t id = 0, off = 0, count = 1;
        if (payload && decode(*payload, id, off, count) && id == mailId && count < 5) {
            EXPECT_EQ(off, offset);
            cleared = true;
        }
    }
    EXPECT_TRUE(cleared);

    // A registration with an unknown key gets nothing.
    const int stranger = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(server.port());
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const char key[4] = {0x12, 0x34, 0x56, 0x78};
    ::sendto(stranger, key, 4, 0, reinterpret_cast<sockaddr *>(&target), sizeof target);
    timeval wait{2, 0};
    ::setsockopt(stranger, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char buffer[64];
    EXPECT_LT(::recv(stranger, buffer, sizeof buffer, 0), 0);
    ::close(stranger);
}

} // namespace
