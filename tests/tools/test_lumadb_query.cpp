// lumadb-query run as a separate process against the scripted TLS server.
#include "run_process.h"
#include "scripted_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

using namespace lumadb_test;

namespace {

class LumadbQueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/lumadb-query-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }

    void TearDown() override
    {
        std::string report;
        for (const std::string &failure : server.finish())
            report += failure + "\n";
        EXPECT_TRUE(report.empty()) << report;
        EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
    }

    // Runs the tool against the server; the configuration folder is a
    // temporary one so no real known-hosts file is touched.
    ProcessOutcome run(std::vector<std::string> arguments, const std::string &input = {},
                       std::vector<std::string> environment = {"LUMADB_PASSWORD=secret"})
    {
        arguments.insert(arguments.begin(), {"--host", "127.0.0.1", "--port", server.port_text()});
        environment.push_back("XDG_CONFIG_HOME=" + folder);
        return run_process(LUMADB_QUERY_PATH, arguments, input, environment);
    }

    std::string folder;
    TestCertificate certificate;
    ScriptedServer server{certificate};
    LoginScript login;
};

std::string read_text(const std::string &path)
{
    std::ifstream file(path);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

BlockBuilder awkward_cells()
{
    BlockBuilder block;
    block.columns = {{1, "name", 2}, {2, "quota"}, {4, "address"}, {8, "tags"}, {6, "data"}};
    block.rows = {{text_cell("a \"q\" \\ \n\x01 ü \xff"), int32_cell(7), ipv4_cell(10, 0, 0, 1),
                   list_cell({"x", "y"}), Bytes("\x00\xff", 2)},
                  {text_cell("plain, with comma"), int32_cell(4294967295u), ipv4_cell(1, 2, 3, 4),
                   list_cell({}), Bytes()}};
    return block;
}

} // namespace

TEST_F(LumadbQueryTest, JsonLinesForRowSetsOtherKindsAndFailures)
{
    BlockBuilder update;
    update.kind = 'u';
    update.extra = 1;
    server.login(login)
            .expect(query_request("select * from users"))
            .reply(response(0, 0, awkward_cells().build()))
            .expect(query_request("update t set a='1'"))
            .reply(response(0, 0, update.build()))
            .expect(query_request("select * from nope"))
            .reply(response(201, 5))
            .expect_end();
    server.start();
    const ProcessOutcome outcome
            = run({"--insecure", "--format", "json", "--login-info", "select * from users",
                   "update t set a='1'", "select * from nope"});
    EXPECT_EQ(outcome.exit_status, 1) << outcome.err;
    EXPECT_EQ(outcome.out,
              "{\"login\": {\"status\": 0, \"rights\": 3, \"protocol\": 22, \"version\": [4, 2, "
              "7]}}\n"
              "{\"query\": \"select * from users\", \"status\": 0, \"kind\": 115, \"extra\": 0, "
              "\"columns\": [{\"name\": \"name\", \"type\": 1, \"attribute\": 2}, "
              "{\"name\": \"quota\", \"type\": 2, \"attribute\": 0}, "
              "{\"name\": \"address\", \"type\": 4, \"attribute\": 0}, "
              "{\"name\": \"tags\", \"type\": 8, \"attribute\": 0}, "
              "{\"name\": \"data\", \"type\": 6, \"attribute\": 0}], "
              "\"rows\": [[\"a \\\"q\\\" \\\\ \\n\\u0001 ü \xef\xbf\xbd\", \"7\", \"10.0.0.1\", "
              "\"x,y\", \"00ff\"], "
              "[\"plain, with comma\", \"4294967295\", \"1.2.3.4\", \"\", \"\"]]}\n"
              "{\"query\": \"update t set a='1'\", \"status\": 0, \"kind\": 117, \"extra\": 1, "
              "\"columns\": [], \"rows\": []}\n"
              "{\"query\": \"select * from nope\", \"status\": 201, \"error\": \"database table "
              "not found\", \"detail\": 5}\n");
}

TEST_F(LumadbQueryTest, QueriesFromStandardInputAllSucceeding)
{
    BlockBuilder one;
    one.columns = {{1, "v"}};
    one.rows = {{text_cell("1")}};
    BlockBuilder done;
    done.kind = 'd';
    server.login(login)
            .expect(query_request("select 1"))
            .reply(response(0, 0, one.build()))
            .expect(query_request("delete from x"))
            .reply(response(0, 0, done.build()))
            .expect_end();
    server.start();
    const ProcessOutcome outcome
            = run({"--insecure", "--format=json"},
                  "select 1\n\n   \n\t \r\n# a comment\n  # indented comment\ndelete from x\r\n");
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "") << "no prompt when standard input is no terminal";
    EXPECT_EQ(outcome.out,
              "{\"query\": \"select 1\", \"status\": 0, \"kind\": 115, \"extra\": 0, \"columns\": "
              "[{\"name\": \"v\", \"type\": 1, \"attribute\": 0}], \"rows\": [[\"1\"]]}\n"
              "{\"query\": \"delete from x\", \"status\": 0, \"kind\": 100, \"extra\": 0, "
              "\"columns\": [], \"rows\": []}\n");
}

TEST_F(LumadbQueryTest, PromptsWhenReadingFromATerminal)
{
    BlockBuilder one;
    one.columns = {{1, "v"}};
    one.rows = {{text_cell("1")}};
    server.login(login)
            .expect(query_request("select 1"))
            .reply(response(0, 0, one.build()))
            .expect_end();
    server.start();
    const ProcessOutcome outcome = run_process(
            LUMADB_QUERY_PATH,
            {"--host", "127.0.0.1", "--port", server.port_text(), "--insecure", "--format=json"},
            "# typed\nselect 1\n", {"LUMADB_PASSWORD=secret", "XDG_CONFIG_HOME=" + folder}, true);
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    // One prompt per line read, and one for the end of input.
    EXPECT_EQ(outcome.err, "lumadb> lumadb> lumadb> \n");
    EXPECT_EQ(outcome.out.rfind("{\"query\": \"select 1\", \"status\": 0", 0), 0u) << outcome.out;
}

TEST_F(LumadbQueryTest, CsvIsQuotedAsRfc4180Says)
{
    server.login(login)
            .expect(query_request("q"))
            .reply(response(0, 0, awkward_cells().build()))
            .expect(query_request("bad"))
            .reply(response(400, 0))
            .expect_end();
    server.start();
    const ProcessOutcome outcome = run({"--insecure", "--format", "csv", "q", "bad"});
    EXPECT_EQ(outcome.exit_status, 1);
    EXPECT_EQ(outcome.out,
              "name,quota,address,tags,data\r\n"
              // The control character from the server is shown as U+FFFD.
              "\"a \"\"q\"\" \\ \n\xef\xbf\xbd ü \xef\xbf\xbd\",7,10.0.0.1,\"x,y\",00ff\r\n"
              "\"plain, with comma\",4294967295,1.2.3.4,,\r\n");
    EXPECT_NE(outcome.err.find("status 400 (SQL query parse error)"), std::string::npos)
            << outcome.err;
}

TEST_F(LumadbQueryTest, TableForPeople)
{
    BlockBuilder block;
    block.columns = {{1, "name"}, {2, "n"}};
    block.rows = {{text_cell("ü"), int32_cell(10)}, {text_cell("bob"), int32_cell(7)}};
    server.login(login)
            .expect(query_request("q"))
            .reply(response(0, 0, block.build()))
            .expect_end();
    server.start();
    const ProcessOutcome outcome = run({"--insecure", "q"});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "name | n\n"
              "-----+---\n"
              "ü    | 10\n"
              "bob  | 7\n"
              "(2 rows)\n");
}

TEST_F(LumadbQueryTest, TableEscapesControlsAndPadsByDisplayWidth)
{
    BlockBuilder block;
    block.columns = {{1, "名前"}, {1, "note"}, {2, "n"}};
    block.rows = {{text_cell("日本"), text_cell("two\nlines\tand tab"), int32_cell(1)},
                  {text_cell("e\xcc\x81t\xc3\xa9"), text_cell("😀 ok"), int32_cell(22)},
                  {text_cell("ascii"), text_cell(""), int32_cell(333)}};
    server.login(login)
            .expect(query_request("q"))
            .reply(response(0, 0, block.build()))
            .expect_end();
    server.start();
    const ProcessOutcome outcome = run({"--insecure", "q"});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "名前  | note                | n\n"
              "------+---------------------+----\n"
              "日本  | two\\nlines\\tand tab | 1\n"
              "e\xcc\x81t\xc3\xa9   | 😀 ok               | 22\n"
              "ascii |                     | 333\n"
              "(3 rows)\n");
}

TEST_F(LumadbQueryTest, LogLinesPrintTheirTextInEveryFormat)
{
    constexpr unsigned log_line = 10;
    BlockBuilder lines;
    lines.columns = {{log_line, "line"}};
    lines.rows
            = {{text_cell("10:00:01 SMTP \"hello\", world")}, {Bytes("no terminator")}, {Bytes()}};
    const std::string query = "select LogData(\"mail\", 0, 3)";
    const std::string formats[] = {"table", "csv", "json"};
    const std::string expected[] = {
            "line\n"
            "----------------------------\n"
            "10:00:01 SMTP \"hello\", world\n"
            "no terminator\n"
            "\n"
            "(3 rows)\n",
            "line\r\n"
            "\"10:00:01 SMTP \"\"hello\"\", world\"\r\n"
            "no terminator\r\n"
            "\r\n",
            "{\"query\": \"select LogData(\\\"mail\\\", 0, 3)\", \"status\": 0, \"kind\": 115, "
            "\"extra\": 0, \"columns\": [{\"name\": \"line\", \"type\": 10, \"attribute\": 0}], "
            "\"rows\": [[\"10:00:01 SMTP \\\"hello\\\", world\"], [\"no terminator\"], [\"\"]]}\n",
    };
    for (size_t i = 0; i < std::size(formats); ++i) {
        server.login(login)
                .expect(query_request(query))
                .reply(response(0, 0, lines.build()))
                .expect_end();
        server.start();
        const ProcessOutcome outcome = run({"--insecure", "--format", formats[i], query});
        EXPECT_EQ(outcome.exit_status, 0) << formats[i] << ": " << outcome.err;
        EXPECT_EQ(outcome.out, expected[i]) << formats[i];
        EXPECT_TRUE(server.finish().empty()) << formats[i];
    }
}

TEST_F(LumadbQueryTest, LoginFailureExits2WithoutQueryOutputOrPassword)
{
    login.password = "hunter2";
    server.expect(byte(1))
            .reply(login.methods)
            .expect(login.client_choice())
            .reply(byte(4))
            .expect(login.client_credentials(), "password from the named variable")
            .reply(byte(0))
            .expect_end();
    server.start();
    const ProcessOutcome outcome
            = run({"--insecure", "--password-env", "MY_SECRET", "--format", "json", "select 1"}, {},
                  {"MY_SECRET=hunter2", "LUMADB_PASSWORD=wrong"});
    EXPECT_EQ(outcome.exit_status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("status 702 (client authentication failed)"), std::string::npos)
            << outcome.err;
    EXPECT_EQ(outcome.err.find("hunter2"), std::string::npos);
    EXPECT_EQ(outcome.err.find("not set"), std::string::npos) << "the variable is set";
}

TEST_F(LumadbQueryTest, LoginFailureNamesAnUnsetPasswordVariable)
{
    login.password = "";
    server.expect(byte(1))
            .reply(login.methods)
            .expect(login.client_choice())
            .reply(byte(4))
            .expect(login.client_credentials(), "the empty password")
            .reply(byte(0))
            .expect_end();
    server.start();
    const ProcessOutcome outcome
            = run({"--insecure", "--password-env", "LUMADB_QUERY_TEST_UNSET", "select 1"}, {}, {});
    EXPECT_EQ(outcome.exit_status, 2);
    EXPECT_NE(outcome.err.find("status 702 (client authentication failed)\nlumadb-query: the "
                               "password variable LUMADB_QUERY_TEST_UNSET is not set, so an "
                               "empty password was sent\n"),
              std::string::npos)
            << outcome.err;
}

TEST_F(LumadbQueryTest, PlainModeAndApplicationIdentifier)
{
    login.session = false;
    login.application = "ops script";
    login.password = "";
    server.login(login).expect_end();
    server.start();
    const ProcessOutcome outcome = run(
            {"--insecure", "--plain", "--app-id", "ops script", "--format", "json", "--login-info"},
            {}, {});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "{\"login\": {\"status\": 0, \"rights\": null, \"protocol\": 22, "
              "\"version\": [4, 2, 7]}}\n");
}

TEST_F(LumadbQueryTest, ListenPrintsNotificationPayloads)
{
    server.login(login)
            .expect_datagram(be32(login.notification_key))
            .send_datagram(byte(22) + Bytes("\x01\xab", 2))
            .send_datagram(byte(9) + "ignored")
            .send_datagram(byte(22) + "Z")
            .expect_end();
    server.start();
    const ProcessOutcome outcome = run({"--insecure", "--format", "json", "--listen", "4000"});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "{\"notification\": \"01ab\"}\n{\"notification\": \"5a\"}\n");
}

TEST_F(LumadbQueryTest, ConnectionLostStopsTheRemainingQueries)
{
    server.login(login).expect(query_request("first")).hang_up();
    server.start();
    const ProcessOutcome outcome = run({"--insecure", "--format", "json", "first", "second"});
    EXPECT_EQ(outcome.exit_status, 1);
    EXPECT_EQ(outcome.out.rfind("{\"query\": \"first\", \"status\": 101, \"error\": \"system "
                                "socket or network error\", \"detail\": ",
                                0),
              0u)
            << outcome.out;
    EXPECT_NE(outcome.out.find(", \"reason\": \"connection reset by the peer\"}"),
              std::string::npos)
            << outcome.out;
    EXPECT_EQ(outcome.out.find("second"), std::string::npos);
}

TEST_F(LumadbQueryTest, NetworkFailuresAreDescribedInWords)
{
    // A bound socket that does not listen: connecting to it is refused.
    const int closed = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(closed, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(closed, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(closed, reinterpret_cast<sockaddr *>(&address), &length), 0);
    const std::string closed_port = std::to_string(ntohs(address.sin_port));

    struct Case
    {
        const char *name;
        std::vector<std::string> arguments;
        std::vector<std::string> reasons; // one of them is printed
    };
    const Case cases[] = {
            {"refused",
             {"--host", "127.0.0.1", "--port", closed_port},
             {"status 101 (system socket or network error): connection refused"}},
            // Without a name server the lookup may fail for now instead.
            {"unknown host",
             {"--host", "no-such-host.invalid"},
             {"status 101 (system socket or network error): unknown host",
              "status 101 (system socket or network error): host name lookup failed"}},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--insecure", "select 1"});
        const ProcessOutcome outcome = run_process(LUMADB_QUERY_PATH, arguments);
        EXPECT_EQ(outcome.exit_status, 2) << c.name;
        EXPECT_TRUE(std::any_of(c.reasons.begin(), c.reasons.end(),
                                [&](const std::string &reason) {
                                    return outcome.err.find(reason) != std::string::npos;
                                }))
                << c.name << ": " << outcome.err;
        EXPECT_EQ(outcome.err.find("detail"), std::string::npos) << c.name << ": " << outcome.err;
    }
    ::close(closed);

    // A server that drops the connection during a query.
    server.login(login).expect(query_request("first")).hang_up();
    server.start();
    const ProcessOutcome lost = run({"--insecure", "first"});
    EXPECT_EQ(lost.exit_status, 1);
    EXPECT_EQ(lost.out,
              "Error 101: system socket or network error (connection reset by the peer)\n");
}

TEST_F(LumadbQueryTest, KnownHostsFirstUseChangedCertificateAndTrustNew)
{
    const std::string known_hosts = folder + "/hosts.cfg";
    const std::string entry_prefix = "127.0.0.1:" + server.port_text() + " ";
    const std::string typed = "SHA256:" + certificate.fingerprint();

    // First use: refused before the login, the fingerprint shown, nothing recorded.
    server.expect_end();
    server.start();
    ProcessOutcome outcome = run({"--known-hosts", known_hosts, "select 1"});
    EXPECT_EQ(outcome.exit_status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("status 704"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(typed), std::string::npos) << outcome.err;
    EXPECT_EQ(read_text(known_hosts), "");
    EXPECT_TRUE(server.finish().empty());

    // The fingerprint can be read without logging in.
    server.expect_end();
    server.start();
    outcome = run({"--known-hosts", known_hosts, "--fingerprint"});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, typed + "\n");
    EXPECT_EQ(read_text(known_hosts), "");
    EXPECT_TRUE(server.finish().empty());

    // --trust-new names the certificate: another one gets no password.
    TestCertificate other("other");
    server.expect_end();
    server.start();
    outcome = run({"--known-hosts", known_hosts, "--trust-new", "SHA256:" + other.fingerprint()});
    EXPECT_EQ(outcome.exit_status, 2);
    EXPECT_NE(outcome.err.find("status 604"), std::string::npos) << outcome.err;
    EXPECT_EQ(read_text(known_hosts), "");
    EXPECT_TRUE(server.finish().empty());

    server.login(login).expect_end();
    server.start();
    outcome = run({"--known-hosts", known_hosts, "--trust-new", typed});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(read_text(known_hosts), entry_prefix + certificate.fingerprint() + "\n");
    EXPECT_TRUE(server.finish().empty());

    // A changed certificate is refused with both fingerprints.
    server.use_certificate(other);
    server.expect_end();
    server.start();
    outcome = run({"--known-hosts", known_hosts, "select 1"});
    EXPECT_EQ(outcome.exit_status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("status 604 (server could be mitm)"), std::string::npos)
            << outcome.err;
    EXPECT_NE(outcome.err.find(other.fingerprint()), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(certificate.fingerprint()), std::string::npos) << outcome.err;
    EXPECT_TRUE(server.finish().empty());

    server.login(login).expect_end();
    server.start();
    outcome = run({"--known-hosts", known_hosts, "--trust-new", other.fingerprint()});
    EXPECT_EQ(outcome.exit_status, 0) << outcome.err;
    EXPECT_EQ(read_text(known_hosts), entry_prefix + other.fingerprint() + "\n");
}

TEST_F(LumadbQueryTest, HelpAndUsageErrors)
{
    const ProcessOutcome help = run({"--help"});
    EXPECT_EQ(help.exit_status, 0);
    for (const char *option : {"--host", "--port", "--user", "--password-env", "--app-id",
                               "--plain", "--format", "--login-info", "--listen", "--insecure",
                               "--known-hosts", "--trust-new", "--fingerprint", "Exit status"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    const std::vector<std::vector<std::string>> wrong
            = {{"--format", "xml"},
               {"--listen", "soon"},
               {"--user"},
               {"--bogus"},
               {"--trust-new"},
               {"--trust-new", "yes"},
               {"--trust-new", "SHA256:abc"},
               {"--insecure", "--trust-new", "SHA256:" + std::string(64, 'a')}};
    for (const auto &arguments : wrong) {
        const ProcessOutcome outcome = run_process(LUMADB_QUERY_PATH, arguments);
        EXPECT_EQ(outcome.exit_status, 2) << arguments[0];
        EXPECT_EQ(outcome.out, "") << arguments[0];
    }
    const ProcessOutcome bad_port = run_process(LUMADB_QUERY_PATH, {"--port", "70000"});
    EXPECT_EQ(bad_port.exit_status, 2);
}
