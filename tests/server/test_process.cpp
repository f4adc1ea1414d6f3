// The test-support launcher itself: it reports servers that cannot start,
// keeps one data folder across restarts and cleans up after itself.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace postdesk::test;

namespace {

TEST(DevServerProcess, ReportsAServerThatCannotStart)
{
    DevServerProcess server({"--no-such-option"});
    EXPECT_FALSE(server.start());
    EXPECT_FALSE(server.errorText().empty());
    EXPECT_FALSE(server.running());
}

TEST(DevServerProcess, RestartKeepsTheDataFolderAndRemovesItAtTheEnd)
{
    std::string dataDir;
    {
        DevServerProcess server({"--log-rate", "0", "--version", "1.2.3"});
        ASSERT_TRUE(server.start()) << server.errorText();
        dataDir = server.dataDir();
        struct stat key;
        ASSERT_EQ(::stat((dataDir + "/server-key.pem").c_str(), &key), 0);
        EXPECT_EQ(key.st_mode & 0777, 0600u) << "the private key is owner-only";

        LumadbSession session;
        ASSERT_EQ(session.connect(server.host(), server.portText(), "admin", "admin"), 0u);
        EXPECT_EQ(session.version[0], 1u);
        ASSERT_EQ(session.query("insert Sort set To='kept@example.com', Account='admin'").status,
                  0u);
        char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {0};
        ASSERT_EQ(lumadb_peer_fingerprint(session.handle, fingerprint), 0u);

        // New arguments replace the old ones; data and certificate stay.
        ASSERT_TRUE(server.restart({"--log-rate", "0", "--version", "1.2.4"}))
                << server.errorText();
        EXPECT_EQ(server.dataDir(), dataDir);
        ASSERT_EQ(session.connect(server.host(), server.portText(), "admin", "admin"), 0u);
        EXPECT_EQ(session.version[2], 4u);
        EXPECT_EQ(session.query("select count() from Sort where To='kept@example.com'").rows[0][0],
                  "1");
        char again[LUMADB_FINGERPRINT_LENGTH + 1] = {0};
        ASSERT_EQ(lumadb_peer_fingerprint(session.handle, again), 0u);
        EXPECT_STREQ(again, fingerprint);
    }
    EXPECT_FALSE(std::filesystem::exists(dataDir));
}

} // namespace
