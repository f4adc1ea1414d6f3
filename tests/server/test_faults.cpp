// Fault injection, switched at start and at run time, does what it says.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

using namespace postdesk::test;

namespace {

TEST(Faults, StartOptionsCloseAnswerStatusAndRefuseLogins)
{
    DevServerProcess server({"--memory", "--log-rate", "0", "--fault-close-after", "3",
                             "--fault-status", "207:from Sort"});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession session;
    ASSERT_EQ(session.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    EXPECT_EQ(session.query("select * from SORT").status, 207u) << "pattern ignores case";
    EXPECT_EQ(session.query("select dummy from info").status, 0u);
    EXPECT_EQ(session.query("select dummy from info").status, 0u);
    // The third statement was answered, then the connection was closed.
    EXPECT_EQ(session.query("select dummy from info").status, 101u);

    DevServerProcess refusing({"--memory", "--log-rate", "0", "--fault-refuse-logins"});
    ASSERT_TRUE(refusing.start()) << refusing.errorText();
    EXPECT_EQ(session.connect(refusing.host(), refusing.portText(), "admin", "admin"), 702u);
}

TEST(Faults, AdminSwitchesFaultsAtRunTime)
{
    DevServerProcess server({"--memory", "--log-rate", "0"});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession admin;
    ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);

    ASSERT_EQ(admin.query("DevServerFault(\"status\", \"800\", \"LdapTest\")").status, 0u);
    EXPECT_EQ(admin.query("LdapTestPvnExtensions(\"ldap.corp.example\")").status, 800u);
    EXPECT_EQ(admin.query("select dummy from info").status, 0u);
    ASSERT_EQ(admin.query("select DevServerFault(\"delay\", \"300\")").status, 0u);
    EXPECT_EQ(admin.query("select dummy from info").status, 0u) << "delayed, still answered";
    ASSERT_EQ(admin.query("DevServerFault(\"clear\")").status, 0u);
    EXPECT_EQ(admin.query("LdapTestPvnExtensions(\"ldap.corp.example\")").status, 0u);

    EXPECT_EQ(admin.query("DevServerFault(\"no_such_fault\", \"1\")").status, 302u);
    EXPECT_EQ(admin.query("DevServerFault(\"close_after\", \"many\")").status, 302u);

    ASSERT_EQ(admin.query("DevServerFault(\"refuse_logins\", \"1\")").status, 0u);
    LumadbSession other;
    EXPECT_EQ(other.connect(server.host(), server.portText(), "admin", "admin"), 702u);
    ASSERT_EQ(admin.query("DevServerFault(\"refuse_logins\", \"0\")").status, 0u);
    ASSERT_EQ(other.connect(server.host(), server.portText(), "admin", "admin"), 0u);

    // Counted per session; the admin's own long session ends with this answer.
    ASSERT_EQ(admin.query("DevServerFault(\"close_after\", \"2\")").status, 0u);
    EXPECT_EQ(other.query("select dummy from info").status, 0u);
    EXPECT_EQ(other.query("select dummy from info").status, 0u);
    EXPECT_EQ(other.query("select dummy from info").status, 101u);
}

} // namespace
