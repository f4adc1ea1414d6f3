// The TLS client against a hostile scripted server: old protocol versions,
// a renegotiation the server asks for, and the server name it is given. Runs
// under a system configuration that would allow old versions (legacy-tls.cnf).
#include "session_fixture.h"

#include <openssl/ssl.h>

using namespace lumadb_test;

TEST_F(SessionTest, ProtocolsOlderThanTls12AreRefused)
{
    server.set_protocol_range(TLS1_VERSION, TLS1_1_VERSION);
    server.start();
    EXPECT_EQ(open_insecure(), uint32_t(LUMADB_ERR_TLS));
    EXPECT_EQ(handle, nullptr);
    EXPECT_FALSE(server.finish().empty()) << "the server saw the handshake fail";
}

TEST_F(SessionTest, RenegotiationAskedByTheServerIsRefused)
{
    server.set_protocol_range(TLS1_2_VERSION, TLS1_2_VERSION);
    LoginScript script;
    server.login(script).expect(query_request("select 1")).renegotiate().reply(response(0, 0));
    server.start();
    ASSERT_EQ(open_insecure(), 0u);
    uint32_t rights = 0;
    ASSERT_EQ(login(script, &rights), 0u);
    lumadb_result result{};
    lumadb_query(handle, "select 1", &result);
    lumadb_free_result(&result);
    close_client();
    server.finish();
    EXPECT_FALSE(server.renegotiated());
}

TEST_F(SessionTest, HostNamesAreSentAsServerNameAddressesAreNot)
{
    const struct
    {
        const char *host;
        const char *expected;
    } cases[] = {{"localhost", "localhost"}, {"127.0.0.1", ""}};
    for (const auto &c : cases) {
        server.expect_end();
        server.start();
        lumadb_open_options options{};
        options.trust = LUMADB_TRUST_INSECURE;
        ASSERT_EQ(lumadb_open_ex(c.host, server.port_text().c_str(), &options, &handle), 0u)
                << c.host;
        close_client();
        expect_script_played();
        EXPECT_EQ(server.server_name(), c.expected) << c.host;
    }
}
