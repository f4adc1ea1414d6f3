// Writes through the protocol: round trips, durability across a restart and a
// killed process, rights, and the follow-up behaviour of particular tables.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace postdesk::test;

namespace {

class WritesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.errorText();
        ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    }
    void reconnect()
    {
        ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    }
    uint32_t run(const std::string &statement) { return admin.query(statement).status; }

    DevServerProcess server{{"--log-rate", "0", "--no-ticker"}};
    LumadbSession admin;
};

TEST_F(WritesTest, StatementsRoundTripAndSurviveRestartAndKill)
{
    ASSERT_EQ(run("insert User set Name='O\\'Neil\\\\', Domain='example.com', "
                  "Fullname='Tab\\there', Qstorage='5000000000', Rights='0'"),
              0u);
    ASSERT_EQ(run("update Smtp set EtrnTimeout='45', MaxHops='12'"), 0u);
    ASSERT_EQ(run("insert ServicePorts set Service='imap', IPAddress='10.1.2.3', Port='1143'"), 0u);
    ASSERT_EQ(run("update service-smtp set AutoStart='0', Acl='Trusted', MaxConnections='7'"), 0u);
    ASSERT_EQ(run("insert LogHighlighting set Id='{0000-1}', Enabled='1', Order='9', "
                  "Description='d', Condition='x', IsRegularExpression='0', Color='#00ff00'"),
              0u);
    ASSERT_EQ(run("delete from Alias where Lhs='shared' and Domain='example.com' and "
                  "Rhs='#public/Shared'"),
              0u);

    auto check = [&](const char *when) {
        SCOPED_TRACE(when);
        QueryResult user = admin.query(
                "select Name, Fullname, Qstorage from User where Name='O\\'Neil\\\\'");
        ASSERT_EQ(user.rows.size(), 1u);
        EXPECT_EQ(user.cell(0, "Name"), "O'Neil\\");
        EXPECT_EQ(user.cell(0, "Fullname"), "Tab\there");
        EXPECT_EQ(user.cell(0, "Qstorage"), "5000000000");
        QueryResult smtp = admin.query("select EtrnTimeout, MaxHops from Smtp");
        EXPECT_EQ(smtp.cell(0, "EtrnTimeout"), "45");
        EXPECT_EQ(smtp.cell(0, "MaxHops"), "12");
        EXPECT_EQ(
                admin.query("select Port from ServicePorts where IPAddress='10.1.2.3'").rows.size(),
                1u);
        QueryResult service
                = admin.query("select AutoStart, Acl, MaxConnections from service-smtp");
        EXPECT_EQ(service.cell(0, "AutoStart"), "0");
        EXPECT_EQ(service.cell(0, "Acl"), "Trusted");
        EXPECT_EQ(service.cell(0, "MaxConnections"), "7");
        EXPECT_EQ(admin.query("select Color from LogHighlighting where Id='{0000-1}'")
                          .cell(0, "Color"),
                  "#00ff00");
        EXPECT_EQ(admin.query("select count() from Alias where Lhs='shared'").rows[0][0], "0");
    };
    check("before restart");
    ASSERT_TRUE(server.restart()) << server.errorText();
    reconnect();
    check("after restart");

    // An acknowledged statement is on disk even when the process is killed.
    ASSERT_EQ(run("update Smtp set MaxRecipients='77'"), 0u);
    server.kill();
    ASSERT_TRUE(server.start()) << server.errorText();
    reconnect();
    check("after kill");
    EXPECT_EQ(admin.query("select MaxRecipients from Smtp").cell(0, "MaxRecipients"), "77");
}

TEST_F(WritesTest, RightsAreEnforcedPerSession)
{
    LumadbSession viewer;
    ASSERT_EQ(viewer.connect(server.host(), server.portText(), "viewer", "viewer"), 0u);
    EXPECT_EQ(viewer.rights & 2u, 0u);
    EXPECT_EQ(admin.rights & 2u, 2u);
    const char *writes[] = {
            "update Smtp set EtrnTimeout='99'",
            "insert Sort set To='x@example.com', Account='admin'",
            "delete from Sort",
            "select start_service(\"smtp\")",
            "select LogCtrl(\"mail\", 1)",
            "select Statistics::Reset()",
            "DevServerFault(\"refuse_logins\", \"1\")",
    };
    for (const char *statement : writes)
        EXPECT_EQ(viewer.query(statement).status, 300u) << statement;
    EXPECT_EQ(viewer.query("select EtrnTimeout from Smtp").status, 0u);
    EXPECT_NE(admin.query("select EtrnTimeout from Smtp").cell(0, "EtrnTimeout"), "99");
    EXPECT_EQ(admin.query("select count() from Sort").rows[0][0], "2");

    // Logins: wrong password, unknown user, name@domain form.
    LumadbSession other;
    EXPECT_EQ(other.connect(server.host(), server.portText(), "admin", "wrong"), 702u);
    EXPECT_EQ(other.connect(server.host(), server.portText(), "nobody", "admin"), 702u);
    EXPECT_EQ(other.connect(server.host(), server.portText(), "admin@example.com", "admin"), 0u);
    // Version components stay the same from one login to the next.
    EXPECT_EQ(other.version[0], admin.version[0]);
    EXPECT_EQ(other.version[1], admin.version[1]);
    EXPECT_EQ(other.version[2], admin.version[2]);
}

TEST_F(WritesTest, GroupsDirectoryRowsAndOrderedRules)
{
    // A new group's insert, then the user update that names it.
    ASSERT_EQ(run("insert Group set Name='g', Domain='example.com' controls ProviderID=0"), 0u);
    ASSERT_EQ(run("update User set Groups='g,sales' where Name='bob' and Domain='example.com'"),
              0u);
    EXPECT_EQ(admin.query("select check_alias(\"team@example.com\")").rows.size(), 2u);
    ASSERT_EQ(run("delete from Group where Name='sales' and Domain='example.com' controls "
                  "ProviderID=0"),
              0u);
    EXPECT_EQ(admin.query("select Groups from User where Name='bob'").cell(0, "Groups"), "g");
    EXPECT_EQ(admin.query("select Groups from User where Name='alice'").cell(0, "Groups"),
              "support");

    // Directory groups: listing the inactive ones, activating, deactivating.
    auto inactive = [&] {
        return admin
                .query("select Name from Group where Domain=\"corp.example\" controls "
                       "LDAPListInactive = 1")
                .rows.size();
    };
    EXPECT_EQ(inactive(), 1u);
    ASSERT_EQ(run("update Group where Name='finance' and Domain='corp.example' controls "
                  "LdapActiveSet=1"),
              0u);
    EXPECT_EQ(inactive(), 0u);
    EXPECT_EQ(admin.query("select Name from Group where Domain = corp.example").rows.size(), 2u);
    ASSERT_EQ(run("update Group where Name='engineering' and Domain='corp.example' controls "
                  "LdapActiveReSet=1"),
              0u);
    EXPECT_EQ(admin.query("select Name from Group where Domain = corp.example").rows.size(), 1u);
    ASSERT_EQ(run("update User set Account_enabled='1' where Name='hank' and Domain='corp.example' "
                  "controls ProviderID=1"),
              0u);

    // Up/Down swaps "Order" of two rules with two updates; each keeps its content.
    ASSERT_EQ(run("update HeaderFilter set Order='2' where Header='Subject' and Type='4' and "
                  "Content='viagra'"),
              0u);
    ASSERT_EQ(run("update HeaderFilter set Order='1' where Header='From' and Type='3' and "
                  "Content='partner.example'"),
              0u);
    QueryResult rules = admin.query("select Order, Header, Content from HeaderFilter");
    ASSERT_EQ(rules.rows.size(), 3u);
    EXPECT_EQ(rules.cell(0, "Order"), "2");
    EXPECT_EQ(rules.cell(0, "Content"), "viagra");
    EXPECT_EQ(rules.cell(1, "Order"), "1");
    EXPECT_EQ(rules.cell(1, "Content"), "partner.example");

    // Domains: the server assigns ID, refuses dialog markers, limits users.
    ASSERT_EQ(run("insert Domain set Domain='new.example', Type='1', MaxUserCount='1'"), 0u);
    EXPECT_NE(admin.query("select ID from Domain where Domain='new.example'").cell(0, "ID"), "0");
    EXPECT_EQ(run("insert Domain set Domain='x.$$$ADD$$$.y', Type='2'"), 207u);
    ASSERT_EQ(run("insert User set Name='one', Domain='new.example'"), 0u);
    EXPECT_EQ(run("insert User set Name='two', Domain='new.example'"), 204u);
}

TEST_F(WritesTest, FunctionsChangeStoredData)
{
    ASSERT_EQ(run("select stop_service(\"smtp\")"), 0u);
    EXPECT_EQ(admin.query("select running FROM service-smtp").rows[0][0], "0");
    QueryResult started = admin.query("select start_service(\"smtp\")");
    EXPECT_EQ(started.rows.at(0).at(0), "1");
    EXPECT_EQ(admin.query("select running FROM service-smtp").rows[0][0], "1");

    // A start fails, as on a live server, when the service cannot listen: no
    // address at all, or a port another running service holds.
    const auto startResult = [&](const std::string &service) {
        return admin.query("select start_service(\"" + service + "\")").rows.at(0).at(0);
    };
    const auto running = [&](const std::string &service) {
        return admin.query("select running FROM service-" + service).rows.at(0).at(0);
    };
    ASSERT_EQ(run("delete from ServicePorts where Service='nntp'"), 0u);
    EXPECT_EQ(startResult("nntp"), "0");
    EXPECT_EQ(running("nntp"), "0");
    ASSERT_EQ(run("insert ServicePorts set Service='ldap', IPAddress='10.0.0.7', Port='25'"), 0u);
    EXPECT_EQ(startResult("ldap"), "0"); // smtp listens on port 25 of every address
    EXPECT_EQ(running("ldap"), "0");
    ASSERT_EQ(run("select stop_service(\"smtp\")"), 0u);
    EXPECT_EQ(startResult("ldap"), "1");
    EXPECT_EQ(running("ldap"), "1");
    EXPECT_EQ(startResult("smtp"), "0"); // now ldap holds 10.0.0.7:25
    EXPECT_EQ(running("smtp"), "0");

    // Log streams through LogCtrl.
    const std::string url = "file:///C:/Logs/new mail.log";
    ASSERT_EQ(run("select LogCtrl(\"mail\", \"8\", \"file:///var/log/postvane/mail.log\")"), 0u);
    ASSERT_EQ(run("select LogCtrl('mail', '7', '" + url + "', '0', '2', '0', '5')"), 0u);
    EXPECT_EQ(run("select LogCtrl('mail', '7', 'file:///other', '0', '2', '0', '5')"), 203u);
    ASSERT_EQ(run("select LogCtrl('mail', '6', '" + url + "', '131072')"), 0u);
    ASSERT_EQ(run("select LogCtrl('mail', '10', '" + url + "', '1048576')"), 0u);
    QueryResult stream = admin.query("select StreamFlags, MaxSize, RotateCount from Log where "
                                     "LogName='mail' and StreamURL='"
                                     + url + "'");
    ASSERT_EQ(stream.rows.size(), 1u);
    EXPECT_EQ(stream.cell(0, "StreamFlags"), "131072");
    EXPECT_EQ(stream.cell(0, "MaxSize"), "1048576");
    EXPECT_EQ(stream.cell(0, "RotateCount"), "5");
    ASSERT_EQ(run("select LogCtrl('debug','4','12')"), 0u);
    QueryResult events = admin.query("select LogEvent('debug')");
    bool sawDisabled = false;
    for (size_t i = 0; i < events.rows.size(); ++i)
        sawDisabled = sawDisabled
                || (events.cell(i, "name") == "12" && events.cell(i, "enabled") == "0");
    EXPECT_TRUE(sawDisabled);

    // Mailing-list rosters.
    const std::string list = "\"announce\",\"example.com\"";
    ASSERT_EQ(run("select MListAdd(" + list
                  + ",\"jane@example.org\",\"members\",\"Jane \\\"JD\\\" Doe\")"),
              0u);
    EXPECT_EQ(run("select MListAdd(" + list + ",\"jane@example.org\",\"members\",\"Again\")"),
              203u);
    ASSERT_EQ(run("select MListChange(" + list
                  + ",\"jane@example.org\",\"x\",\"jane.doe@example.org\",\"Jane\",\"members\")"),
              0u);
    QueryResult roster = admin.query("select MListList(" + list + ",\"members\")");
    ASSERT_EQ(roster.rows.size(), 4u);
    EXPECT_EQ(roster.cell(3, "Email"), "jane.doe@example.org");
    ASSERT_EQ(run("select MListDel(" + list + ",\"jane.doe@example.org\",\"members\")"), 0u);
    EXPECT_EQ(admin.query("select MListList(" + list + ",\"members\")").rows.size(), 3u);
    EXPECT_EQ(run("select MListList(\"nolist\",\"example.com\",\"members\")"), 302u);

    // Queue commands, counters, directories inside the sandbox.
    ASSERT_EQ(run("QueueRemoveID(\"Q1002\")"), 0u);
    ASSERT_EQ(run("QueueRemovePattern(\"*@example.org\",\"*\")"), 0u);
    QueryResult queue = admin.query("select show_queue()");
    ASSERT_EQ(queue.rows.size(), 1u);
    EXPECT_EQ(queue.cell(0, "id"), "Q1001");
    ASSERT_EQ(run("select Statistics::Reset()"), 0u);
    EXPECT_EQ(admin.query("select mtaReceivedMessages from Stats").rows[0][0], "0");
    EXPECT_EQ(admin.query("AccessDir(\"C:\\\\new\\\\folder\", \"1\")").rows[0][0], "0");
    EXPECT_EQ(admin.query("ListDir(\"C:\\\\new\")").cell(0, "Name"), "folder");
    EXPECT_EQ(admin.query("AccessDir(\"/missing\", \"0\")").rows[0][0], "1");
    EXPECT_EQ(admin.query("AccessDir(\"../../etc\", \"0\")").rows[0][0], "2");
    EXPECT_EQ(run("ListDir(\"C:\\\\..\\\\..\")"), 302u);
    ASSERT_EQ(run("FolderSetAcl(\"#public\", \"bob@example.com\", \"lrswipkxtea\", \"0\")"), 0u);

    // Log searches, direct and in the background, over lines the actions logged.
    ASSERT_EQ(run("select run_pop3()"), 0u);
    QueryResult direct = admin.query("select LogSearch(\"mail\", \"PROVIDER.example\", 0, 0)");
    ASSERT_EQ(direct.rows.size(), 1u);
    const std::string line = direct.rows[0][0];
    QueryResult search = admin.query("select AsyncLogSearch(\"mail\", \"provider.example\", 0, 0)");
    ASSERT_EQ(search.rows.size(), 1u);
    const std::string id = search.rows[0][0];
    std::string state = "searching";
    QueryResult status;
    for (int poll = 0; poll < 300 && state == "searching"; ++poll) {
        status = admin.query("select GetSearchStatus(" + id + ")");
        state = status.cell(0, "status");
        if (state == "searching")
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(state, "found");
    EXPECT_EQ(status.cell(0, "Line"), line);
    EXPECT_EQ(run("KillLogSearch(" + id + ")"), 0u);
    EXPECT_EQ(admin.query("select GetSearchStatus(" + id + ")").cell(0, "status"), "unknown");
    EXPECT_EQ(run("KillLogSearch(" + id + ")"), 302u);
    EXPECT_EQ(admin.query("select PublicAdmin from PublicFolders").rows[0][0], "bob@example.com");
}

} // namespace
