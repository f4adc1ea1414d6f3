// The client against a scripted TLS server: the login handshake byte for
// byte, queries, notifications and failures of the connection.
#include "session_fixture.h"

#include "decoded_block.h"
#include "wire.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace lumadb_test;
using namespace std::chrono_literals;

namespace {

// The client's bytes and the server's answers of a login up to the verdict,
// written out by hand.
Bytes expected_credentials(const std::string &user, const std::string &password)
{
    return be32(uint32_t(user.size() + 1)) + user + byte(0) + be32(uint32_t(password.size() + 1))
            + password + byte(0);
}

} // namespace

TEST_F(SessionTest, SessionLoginSendsExactBytesAndRegistersForNotifications)
{
    LoginScript script;
    server.expect(byte(0x01), "greeting")
            .reply(Bytes("\x03\x01\x00", 3))
            .expect(Bytes("\x02\x81", 2), "method choice, session mode")
            .reply(byte(0x04))
            .expect(Bytes("\x00\x00\x00\x06"
                          "admin\0"
                          "\x00\x00\x00\x07"
                          "secret\0",
                          21),
                    "credentials")
            .reply(byte(1) + be32(0x12345678) + byte(22) + Bytes("\xab\xcd", 2) + be16(9) + be16(1)
                   + be16(65535))
            .expect(byte(5) + "Brantel Admin (Windows)" + Bytes(9, '\0'), "application")
            .reply(byte(1) + be32(0xcafe0042))
            .expect_datagram(be32(0xcafe0042))
            .send_datagram(byte(22) + "abc")
            .send_datagram(byte(23) + "dropped: wrong tag")
            .send_datagram(byte(22) + Bytes(40, 'L'))
            .send_forged_datagram(byte(22) + "forged")
            .send_datagram(byte(22) + "z")
            .expect_end();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);

    uint32_t rights = 0, protocol = 0, v1 = 0, v2 = 0, v3 = 0;
    ASSERT_EQ(lumadb_login(handle, "admin", "secret", &rights, &protocol, &v1, &v2, &v3,
                           "Brantel Admin (Windows)", 1),
              0u);
    EXPECT_EQ(rights, 0x12345678u);
    EXPECT_EQ(protocol, 22u);
    EXPECT_EQ(v1, 9u);
    EXPECT_EQ(v2, 1u);
    EXPECT_EQ(v3, 65535u);

    // Payloads without the tag; the wrongly tagged and the oversized datagram
    // (longer than the 16-byte capacity) are dropped, and so is one that does
    // not come from the server's address and port.
    std::vector<std::string> payloads;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline
           && (payloads.empty() || payloads.back() != "z")) {
        char buffer[16];
        uint32_t length = sizeof buffer;
        ASSERT_EQ(lumadb_recv_notification(handle, buffer, &length), 0u);
        if (length > 0)
            payloads.emplace_back(buffer, length);
        else
            std::this_thread::sleep_for(5ms);
    }
    EXPECT_EQ(payloads, (std::vector<std::string>{"abc", "z"}));
}

TEST_F(SessionTest, PlainModeReadsTheRightsWordButNoKey)
{
    LoginScript script;
    script.session = false;
    BlockBuilder block;
    block.columns = {{1, "v"}};
    block.rows = {{text_cell("1")}};
    server.login(script)
            .expect(query_request("select 1"), "query right after the login")
            .reply(response(0, 0, block.build()))
            .expect_end();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t protocol = 0;
    ASSERT_EQ(lumadb_login(handle, "admin", "secret", nullptr, &protocol, nullptr, nullptr, nullptr,
                           script.application.c_str(), 1),
              0u);
    EXPECT_EQ(protocol, 22u);
    lumadb_result result{};
    ASSERT_EQ(lumadb_query(handle, "select 1", &result), 0u);
    EXPECT_EQ(result.row_count, 1u);
    lumadb_free_result(&result);
    char buffer[16];
    uint32_t length = sizeof buffer;
    EXPECT_EQ(lumadb_recv_notification(handle, buffer, &length), 0u);
    EXPECT_EQ(length, 0u) << "no notification channel in plain mode";
}

TEST_F(SessionTest, LoginFieldsAreEncodedExactly)
{
    struct Case
    {
        const char *name;
        std::string password;
        std::string application;
        Bytes application_field;
    };
    const std::string forty(40, 'A');
    const Case cases[] = {
            {"empty password", "", "app", byte(5) + "app" + Bytes(29, '\0')},
            {"40-character application cut to 31 bytes", "pw", forty,
             byte(5) + forty.substr(0, 31) + byte(0)},
            {"UTF-8 password", "pässwort", "", byte(5) + Bytes(32, '\0')},
    };
    for (const Case &c : cases) {
        LoginScript script;
        script.password = c.password;
        server.expect(byte(1), c.name)
                .reply(Bytes("\x01\x00", 2))
                .expect(Bytes("\x02\x81", 2), c.name)
                .reply(byte(0))
                .expect(expected_credentials("admin", c.password), c.name)
                .reply(script.server_verdict_and_versions())
                .expect(c.application_field, c.name)
                .reply(script.server_application_accepted())
                .expect_end();
        server.start();
        ASSERT_EQ(open_insecure(), 0u) << c.name;
        uint32_t rights = 0;
        EXPECT_EQ(lumadb_login(handle, "admin", c.password.c_str(), &rights, nullptr, nullptr,
                               nullptr, nullptr, c.application.c_str(), 0),
                  0u)
                << c.name;
        close_client();
        expect_script_played();
    }
    // A missing password is sent as the empty text.
    LoginScript script;
    script.password = "";
    server.login(script).expect_end();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    EXPECT_EQ(lumadb_login(handle, "admin", nullptr, &rights, nullptr, nullptr, nullptr, nullptr,
                           script.application.c_str(), 0),
              0u);
}

TEST_F(SessionTest, ServerWithoutPasswordMethodGetsOneByteAndRefusal)
{
    server.expect(byte(1)).reply(Bytes("\x03\x00", 2)).expect(byte(2), "only 0x02").expect_end();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    EXPECT_EQ(login(LoginScript(), &rights), LUMADB_ERR_AUTHENTICATION);
}

TEST_F(SessionTest, LoginFailuresMapToTheirCodes)
{
    LoginScript good;
    const Bytes versions_tail = Bytes("\xab\xcd", 2) + be16(1) + be16(2) + be16(3);
    struct Case
    {
        const char *name;
        // The server's answers after the greeting, method choice and credentials.
        Bytes after_choice;
        Bytes after_credentials;
        bool expects_application;
        Bytes after_application;
        uint32_t status;
    };
    const Case cases[] = {
            {"method refused", byte(2), {}, false, {}, LUMADB_ERR_NETWORK},
            {"credentials rejected", byte(4), byte(0), false, {}, LUMADB_ERR_AUTHENTICATION},
            {"protocol 21",
             byte(4),
             byte(1) + be32(3) + byte(21) + versions_tail,
             false,
             {},
             LUMADB_ERR_INCOMPATIBLE},
            {"protocol 23",
             byte(4),
             byte(1) + be32(3) + byte(23) + versions_tail,
             false,
             {},
             LUMADB_ERR_INCOMPATIBLE},
            {"hang-up before the rights word",
             byte(4),
             byte(1),
             false,
             {},
             LUMADB_ERR_AUTHENTICATION},
            {"hang-up before the versions",
             byte(4),
             byte(1) + be32(3),
             false,
             {},
             LUMADB_ERR_NETWORK},
            {"application rejected", byte(4), byte(1) + be32(3) + byte(22) + versions_tail, true,
             byte(0), LUMADB_ERR_AUTHENTICATION},
            {"hang-up before the key", byte(4), byte(1) + be32(3) + byte(22) + versions_tail, true,
             byte(1), LUMADB_ERR_NETWORK},
    };
    for (const Case &c : cases) {
        server.expect(byte(1), c.name).reply(good.methods).expect(good.client_choice(), c.name);
        server.reply(c.after_choice);
        if (c.after_choice != byte(2)) {
            server.expect(good.client_credentials(), c.name).reply(c.after_credentials);
            if (c.expects_application)
                server.expect(good.client_application(), c.name).reply(c.after_application);
        }
        server.hang_up();
        server.start();
        ASSERT_EQ(open_insecure(), 0u) << c.name;
        uint32_t rights = 0;
        EXPECT_EQ(login(good, &rights), c.status) << c.name;
        close_client();
        expect_script_played();
    }
}

TEST_F(SessionTest, QueriesRowSetsServerStatusesAndLongTexts)
{
    LoginScript script;
    BlockBuilder users;
    users.extra = 9;
    users.columns = {{1, "name"}, {2, "quota"}};
    users.rows = {{text_cell("alice"), int32_cell(100)}, {text_cell("bob"), int32_cell(7)}};
    const std::string long_query = "select * from t where name = '" + std::string(9000, 'n') + "'";
    BlockBuilder update;
    update.kind = 'u';
    update.extra = 3;

    server.login(script)
            .expect(query_request("select name, quota from users"), "row-set query")
            .reply(response(0, 0, users.build()))
            .expect(query_request("select * from missing"), "failing query")
            .reply(response(LUMADB_ERR_FUNCTION_NOT_FOUND, 77))
            .expect(query_request(long_query), "query longer than the output buffer")
            .reply(response(0, 0, update.build()))
            .expect(query_request("empty answer"))
            .reply(response(0, 0))
            .expect_end();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    ASSERT_EQ(login(script, &rights), 0u);

    lumadb_result result{};
    ASSERT_EQ(lumadb_query(handle, "select name, quota from users", &result), 0u);
    EXPECT_EQ(result.row_count, 2u);
    EXPECT_EQ(result.extra, 9u);
    char name[16];
    uint32_t length = sizeof name;
    ASSERT_EQ(lumadb_read_result(&result, 1, 0, name, &length), 0u);
    EXPECT_STREQ(name, "bob");
    lumadb_free_result(&result);

    // A server status carries no block; the detail becomes the system error
    // and the connection stays usable.
    EXPECT_EQ(lumadb_query(handle, "select * from missing", &result),
              LUMADB_ERR_FUNCTION_NOT_FOUND);
    EXPECT_EQ(lumadb_error(handle), 77u);
    EXPECT_EQ(result.valid, 0u);

    ASSERT_EQ(lumadb_query(handle, long_query.c_str(), &result), 0u);
    EXPECT_EQ(result.kind, unsigned('u'));
    EXPECT_EQ(result.extra, 3u);
    EXPECT_EQ(result.row_count, 0u);
    lumadb_free_result(&result);

    EXPECT_EQ(lumadb_query(handle, "empty answer", &result), LUMADB_ERR_SYSTEM);
}

TEST_F(SessionTest, MalformedBlockFromTheServerIsRejected)
{
    LoginScript script;
    BlockBuilder lying;
    lying.columns = {{1, "c"}};
    lying.rows = {{text_cell("x")}};
    lying.row_count_override = 1000;
    server.login(script)
            .expect(query_request("q"))
            .reply(response(0, 0, lying.build()))
            .expect_end();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    ASSERT_EQ(login(script, &rights), 0u);
    lumadb_result result{};
    EXPECT_EQ(lumadb_query(handle, "q", &result), LUMADB_ERR_SYSTEM);
    EXPECT_EQ(result.valid, 0u);
    EXPECT_EQ(result.block, nullptr);
}

TEST_F(SessionTest, HugeAnnouncedBlockFromAServerThatHangsUp)
{
    // The announced 4 GiB never arrive; the client must fail with 101 rather
    // than allocate the whole announced size first.
    LoginScript script;
    server.login(script)
            .expect(query_request("q"))
            .reply(be32(0) + be32(0xfffffff0) + be32(0) + be32(0) + Bytes(100, 'x'))
            .hang_up();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    ASSERT_EQ(login(script, &rights), 0u);
    lumadb_result result{};
    EXPECT_EQ(lumadb_query(handle, "q", &result), LUMADB_ERR_NETWORK);
    EXPECT_EQ(result.valid, 0u);
}

TEST_F(SessionTest, PeerThatWentAwayGivesNetworkErrorsNotASignal)
{
    LoginScript script;
    server.set_timeout(2s);
    server.login(script).hang_up();
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    ASSERT_EQ(login(script, &rights), 0u);
    expect_script_played();
    lumadb_result result{};
    // Writing to the closed connection must not raise SIGPIPE.
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(lumadb_query(handle, "select 1", &result), LUMADB_ERR_NETWORK);
    EXPECT_NE(lumadb_error(handle), 0u);
}

TEST(Open, FailuresBeforeAHandleExists)
{
    lumadb_open_options insecure{};
    insecure.trust = LUMADB_TRUST_INSECURE;
    lumadb_handle *handle = reinterpret_cast<lumadb_handle *>(1);

    // A port nobody listens on: bind one, then release it.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length), 0);
    ::close(probe);
    const std::string closed_port = std::to_string(ntohs(address.sin_port));
    EXPECT_EQ(lumadb_open_ex("127.0.0.1", closed_port.c_str(), &insecure, &handle),
              LUMADB_ERR_NETWORK);
    EXPECT_EQ(lumadb_last_open_error(), 10061u);
    EXPECT_EQ(handle, nullptr);

    EXPECT_EQ(lumadb_open_ex("no-such-host.invalid", "44337", &insecure, &handle),
              LUMADB_ERR_NETWORK);
    const uint32_t resolver_error = lumadb_last_open_error();
    EXPECT_TRUE(resolver_error == 11001 || resolver_error == 11002) << resolver_error;

    for (const char *port : {"", "http", "65536", "-1"}) {
        handle = reinterpret_cast<lumadb_handle *>(1);
        EXPECT_EQ(lumadb_open_ex("127.0.0.1", port, &insecure, &handle), LUMADB_ERR_SYSTEM) << port;
        EXPECT_EQ(handle, nullptr);
    }
    EXPECT_EQ(lumadb_error(nullptr), 1u);
    EXPECT_EQ(lumadb_close(nullptr), 0u);
}

TEST(Open, PeerThatSpeaksNoTlsGives103)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    std::thread plain_server([listener] {
        const int connection = ::accept(listener, nullptr, nullptr);
        if (connection >= 0) {
            const char answer[] = "HTTP/1.0 400 Bad Request\r\n\r\n";
            (void)!::send(connection, answer, sizeof answer - 1, MSG_NOSIGNAL);
            ::close(connection);
        }
    });
    lumadb_open_options insecure{};
    insecure.trust = LUMADB_TRUST_INSECURE;
    lumadb_handle *handle = nullptr;
    EXPECT_EQ(lumadb_open_ex("127.0.0.1", std::to_string(ntohs(address.sin_port)).c_str(),
                             &insecure, &handle),
              LUMADB_ERR_TLS);
    EXPECT_EQ(handle, nullptr);
    plain_server.join();
    ::close(listener);
}
