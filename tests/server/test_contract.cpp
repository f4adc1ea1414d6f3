// Every table and function the console uses answers with its columns, wire
// types and key marks, through the real client library over TLS.
#include "lumadb_session.h"
#include "schema.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <memory>

using namespace postdesk::test;
using postvane::devserver::Schema;
using postvane::devserver::TableKind;

namespace {

class ContractTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<DevServerProcess>(
                std::vector<std::string>{"--memory", "--log-rate", "0", "--seed-log-lines", "250"});
        ASSERT_TRUE(server->start()) << server->errorText();
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override
    {
        ASSERT_TRUE(server && server->running());
        ASSERT_EQ(session.connect(server->host(), server->portText(), "admin", "admin"), 0u);
    }

    static std::unique_ptr<DevServerProcess> server;
    LumadbSession session;
};

std::unique_ptr<DevServerProcess> ContractTest::server;

TEST_F(ContractTest, EveryTableAnswersWithItsColumnsTypesAndKeys)
{
    for (const auto &table : Schema::instance().tables()) {
        SCOPED_TRACE(table.name);
        const QueryResult result = session.query("select * from " + table.name);
        ASSERT_EQ(result.status, 0u);
        ASSERT_EQ(result.kind, 115u);
        ASSERT_EQ(result.columns.size(), table.columns.size());
        bool anyKey = false;
        for (size_t i = 0; i < table.columns.size(); ++i) {
            EXPECT_EQ(result.columns[i].name, table.columns[i].name);
            EXPECT_EQ(result.columns[i].type, static_cast<uint32_t>(table.columns[i].type))
                    << table.columns[i].name;
            EXPECT_EQ(result.columns[i].attribute != 0, table.columns[i].key)
                    << table.columns[i].name;
            anyKey = anyKey || table.columns[i].key;
        }
        // Multi-row tables need keys, or the console's updates would hit every row.
        if (table.kind == TableKind::Rows) {
            EXPECT_TRUE(anyKey);
        }
        if (table.kind == TableKind::Settings) {
            EXPECT_EQ(result.rows.size(), 1u) << "one-row settings table";
        }
    }
}

TEST_F(ContractTest, KnownColumnTypesOfTheContract)
{
    // A few types the console depends on, written out independently of the schema.
    const struct
    {
        const char *query;
        const char *column;
        uint32_t type;
        uint32_t keyed;
    } cases[] = {
            {"select Service, IPAddress, Port from ServicePorts", "IPAddress", 4, 1},
            {"select Service, IPAddress, Port from ServicePorts", "Port", 7, 1},
            {"select StartTime, StorageTotal from Info", "StorageTotal", 3, 0},
            {"select StartTime, StorageTotal from Info", "StartTime", 2, 0},
            {"select mtaReceivedMessages, TimeStamp from Stats", "TimeStamp", 3, 0},
            {"select Name, Domain, Qstorage from User", "Qstorage", 3, 0},
            {"select Name, Domain from User", "Domain", 1, 1},
            {"select Id, Color from LogHighlighting", "Id", 1, 1},
            {"select LogName, StreamURL, MaxSize from Log", "MaxSize", 3, 0},
            {"select Start, End from TimeIntervals", "Start", 3, 1},
            {"select running FROM service-smtp", "Running", 2, 0},
            {"select FwPort, BindIp from Domain", "BindIp", 4, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.query);
        const QueryResult result = session.query(c.query);
        ASSERT_EQ(result.status, 0u);
        const int index = result.column(c.column);
        ASSERT_GE(index, 0);
        EXPECT_EQ(result.columns[index].type, c.type);
        EXPECT_EQ(result.columns[index].attribute != 0, c.keyed != 0);
    }
}

TEST_F(ContractTest, FunctionsAnswerWithTheirColumns)
{
    const struct
    {
        const char *query;
        std::vector<std::pair<const char *, uint32_t>> columns;
        bool needsRows;
    } cases[] = {
            {"select GetCapabilities()", {{"Capability", 1}}, false},
            {"select LogList()", {{"Name", 1}}, true},
            {"select LogList(\"mail\")", {{"ID", 2}, {"Count", 2}, {"Offset", 2}}, true},
            {"select LogData(\"mail\", 150, 100)", {{"line", 10}}, true},
            {"select LogEvent('debug')",
             {{"name", 2}, {"desc", 1}, {"enabled", 2}, {"parent", 2}},
             true},
            {"select LogSearch(\"mail\", \"SMTP\", 0, 0)", {{"Line", 3}}, false},
            {"select AsyncLogSearch(\"mail\", \"x\", 0, 0)", {{"SearchId", 2}}, true},
            {"select ShowUserStats(\"example.com\")",
             {{"Name", 1}, {"QuotaStorage", 3}, {"QuotaMessage", 3}, {"LastLogin", 3}},
             true},
            {"select GetInterfaceAddresses()", {{"Address", 4}}, true},
            {"select get_auth_types()", {{"AuthTypes", 2}}, true},
            {"WebmailLogoGet(\"example.com\")", {{"Logo", 6}}, true},
            {"LdapTestPvnExtensions(\"ldap.corp.example\",\"636\",\"1\",\"cn=x\",\"p\",\"u\",\"g\","
             "\"\")",
             {{"Result", 2}, {"Message", 1}},
             true},
            {"SpamFilter::GetBayesStatistics()",
             {{"Number of spam", 3}, {"Number of ham", 3}},
             true},
            {"select check_alias(\"info@example.com\")", {{"Recipient", 1}}, true},
            {"FolderList(\"example.com\", \"0\")",
             {{"Name", 1}, {"Type", 2}, {"Listable", 2}},
             true},
            {"select GetMailPlugins()", {{"Name", 1}}, true},
            {"select MListList(\"announce\",\"example.com\",\"members\")",
             {{"Email", 1}, {"FullName", 1}},
             true},
            {"ListDir(\"C:\\\\\")", {{"Name", 1}}, true},
            {"AccessDir(\"/backup\", \"0\")", {{"Result", 2}}, true},
            {"select GetCurrentBackup()", {{"Progress", 2}, {"BackupStarted", 2}}, true},
            {"FolderGetAcl(\"#public\")", {{"Name", 1}, {"Rights", 1}}, true},
            {"select ChartList()",
             {{"Class", 1},
              {"Name", 1},
              {"Scale", 2},
              {"ScaleTime", 2},
              {"SampleTime", 2},
              {"XType", 1},
              {"YType", 1},
              {"YMax", 2}},
             true},
            {"select ChartData(\"Messages\", \"Received\", \"1\")",
             {{"Time", 3}, {"count", 3}, {"connections", 3}},
             true},
            {"select show_connections()",
             {{"Protocol", 1}, {"Secure", 2}, {"Time", 2}, {"From", 1}, {"User", 1}, {"Info", 1}},
             true},
            {"select showWebSessions()",
             {{"User", 1}, {"ClientAddress", 4}, {"Expires", 2}, {"Component", 1}},
             true},
            {"select ShowOpenedFolders()",
             {{"name", 1}, {"refcount", 2}, {"index", 2}, {"users", 8}},
             true},
            {"select show_queue()",
             {{"id", 1},
              {"create", 1},
              {"nexttry", 1},
              {"size", 2},
              {"from", 1},
              {"to", 1},
              {"status", 1}},
             true},
            {"select show_delivery()",
             {{"ID", 1},
              {"Size", 2},
              {"From", 1},
              {"To", 1},
              {"Status", 2},
              {"Percent", 2},
              {"Server", 1},
              {"Time", 2}},
             false},
            {"select run_pop3()", {{"result", 2}}, true},
            {"select run_odmr()", {{"result", 2}}, true},
            {"run_queue()", {{"result", 2}}, true},
            {"RestoreMsgs(\"alice@example.com\")", {{"Result", 2}, {"Count", 3}}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.query);
        const QueryResult result = session.query(c.query);
        ASSERT_EQ(result.status, 0u);
        ASSERT_EQ(result.kind, 115u);
        ASSERT_EQ(result.columns.size(), c.columns.size());
        for (size_t i = 0; i < c.columns.size(); ++i) {
            EXPECT_EQ(result.columns[i].name, c.columns[i].first);
            EXPECT_EQ(result.columns[i].type, c.columns[i].second) << c.columns[i].first;
        }
        if (c.needsRows) {
            EXPECT_FALSE(result.rows.empty());
        }
    }
}

TEST_F(ContractTest, WorkedExamplesOfTheProtocol)
{
    // count() is named "count" and typed as a 32-bit integer.
    QueryResult count = session.query("select count() from User where Domain=example.com");
    ASSERT_EQ(count.status, 0u);
    ASSERT_EQ(count.columns.size(), 1u);
    EXPECT_EQ(count.columns[0].name, "count");
    EXPECT_EQ(count.columns[0].type, 2u);
    EXPECT_EQ(count.rows[0][0], "6");
    EXPECT_EQ(session.query("select count() from User where Domain = EXAMPLE.COM").rows[0][0], "6");
    EXPECT_EQ(session.query("select count() from User").rows[0][0], "9");

    // Unquoted, spaced and double-quoted filters select the same rows.
    for (const char *filter : {"Domain=example.com", "Domain = example.com",
                               "Domain=\"example.com\"", "Domain='example.com'"}) {
        const QueryResult groups
                = session.query(std::string("select Name from Group where ") + filter);
        ASSERT_EQ(groups.status, 0u) << filter;
        EXPECT_EQ(groups.rows.size(), 2u) << filter;
    }
    EXPECT_EQ(session.query("select Name from IpAccessList where name=\"Trusted\"").rows.size(),
              2u);

    // An empty text is one zero byte; a list of a and bc is 17 bytes; a
    // negative progress survives as a signed value.
    QueryResult empty = session.query("select Description from Sort where To='*@example.com'");
    ASSERT_EQ(empty.rows.size(), 1u);
    EXPECT_EQ(empty.raw[0][0], std::string(1, '\0'));
    QueryResult backup = session.query("select GetCurrentBackup()");
    EXPECT_EQ(backup.cell(0, "Progress"), "-1");
    QueryResult folders = session.query("select ShowOpenedFolders()");
    EXPECT_EQ(folders.cell(0, "users"), "alice@example.com,bob@example.com");

    // Acknowledgements are 16-byte blocks of another kind, never empty.
    QueryResult ack = session.query("update Smtp set EtrnTimeout='30'");
    EXPECT_EQ(ack.status, 0u);
    EXPECT_NE(ack.kind, 115u);

    // An empty multi-row table still sends its descriptors.
    ASSERT_EQ(session.query("delete from Sort").status, 0u);
    QueryResult sort = session.query("select * from Sort");
    EXPECT_EQ(sort.status, 0u);
    EXPECT_EQ(sort.columns.size(), 3u);
    EXPECT_TRUE(sort.rows.empty());

    // LogData returns exactly the lines asked for, in order (the seeded 250
    // lines, and whatever earlier calls logged after them).
    QueryResult info = session.query("select LogList(\"mail\")");
    const int lines = std::stoi(info.cell(0, "Count"));
    ASSERT_GE(lines, 250);
    QueryResult page = session.query("select LogData(\"mail\", 0, 100)");
    ASSERT_EQ(page.rows.size(), 100u);
    EXPECT_EQ(session.query("select LogData(\"mail\", 99, 1)").rows.at(0).at(0), page.rows[99][0]);
    EXPECT_NE(page.rows[98][0], page.rows[99][0]);
    const std::string lastLine = std::to_string(lines - 1);
    EXPECT_EQ(session.query("select LogData(\"mail\", " + lastLine + ", 1)").rows.size(), 1u);
    EXPECT_EQ(session.query("select LogData(\"mail\", " + lastLine + ", 2)").status, 302u);
    EXPECT_LE(std::stoi(info.cell(0, "ID")), 255);
}

TEST_F(ContractTest, ErrorsAnswerWithTheirStatusAndKeepTheSession)
{
    const struct
    {
        const char *query;
        uint32_t status;
    } cases[] = {
            {"select Name from NoSuchTable", 201},
            {"select NoSuchColumn from User", 202},
            {"select Name from User where NoSuchColumn='x'", 202},
            {"update Smtp set NoSuchColumn='1'", 202},
            {"insert User set Name='alice', Domain='example.com'", 203},
            {"insert User set Name='ALICE', Domain='Example.Com'", 203},
            {"select NoSuchFunction()", 301},
            {"LogData(\"mail\")", 302},
            {"select LogData(\"nolog\", 0, 1)", 302},
            {"select LogData(\"mail\", -1, 1)", 302},
            {"select LogData(\"mail\", 0, 99999999999)", 302},
            {"select start_service(\"gopher\")", 302},
            {"selec Name from User", 400},
            {"select Name from User where Name='unterminated", 400},
            {"select Name from User where Name='a' or 1=1", 400},
            {"select Name from User; delete from User", 400},
            {"update Smtp set MaxHops='many'", 207},
            {"insert ServicePorts set Service='smtp', IPAddress='300.1.1.1', Port='25'", 207},
            {"insert Info set Version='1'", 401},
            {"update Log set MaxSize='1'", 401},
            {"update service-smtp set Running='0'", 401},
    };
    for (const auto &c : cases)
        EXPECT_EQ(session.query(c.query).status, c.status) << c.query;
    // The session is still usable after every refusal.
    EXPECT_EQ(session.query("select dummy from info").status, 0u);
    EXPECT_EQ(session.query("select count() from User").rows[0][0], "9");
}

} // namespace
