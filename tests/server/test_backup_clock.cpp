// A backup started on the development server runs on the server's own clock,
// which --clock-offset sets apart from the machine's: it progresses over a few
// seconds, ends and records its status, as on a live server.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace postdesk::test;

namespace {

constexpr int64_t kOffset = -3 * 86400 - 1234;

int64_t machineNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
}

TEST(BackupClock, BackupRunsOnTheServersClockAndEnds)
{
    DevServerProcess server(
            {"--memory", "--log-rate", "0", "--clock-offset", std::to_string(kOffset)});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession session;
    ASSERT_EQ(session.connect(server.host(), server.portText(), "admin", "admin"), 0u);

    const int64_t serverNow
            = std::stoll(session.query("select CurrentTime from Info").cell(0, "CurrentTime"));
    EXPECT_LE(std::llabs(serverNow - (machineNow() + kOffset)), 2);

    ASSERT_EQ(session.query("update Backup set LastBackupStatus='1'").status, 0u);
    ASSERT_EQ(session.query("StoreBackupCreate()").status, 0u);
    QueryResult first = session.query("select GetCurrentBackup()");
    const int64_t started = std::stoll(first.cell(0, "BackupStarted"));
    EXPECT_LE(std::llabs(started - serverNow), 2);
    int last = std::stoi(first.cell(0, "Progress"));
    ASSERT_GE(last, 0);
    // Starting again while one runs does not restart it.
    ASSERT_EQ(session.query("StoreBackupCreate()").status, 0u);

    bool moved = false;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        QueryResult current = session.query("select GetCurrentBackup()");
        const int progress = std::stoi(current.cell(0, "Progress"));
        if (progress < 0) {
            ended = true;
            break;
        }
        EXPECT_EQ(std::stoll(current.cell(0, "BackupStarted")), started);
        EXPECT_GE(progress, last);
        EXPECT_LT(progress, 100);
        moved = moved || progress > last;
        last = progress;
    }
    EXPECT_TRUE(moved);
    ASSERT_TRUE(ended);
    EXPECT_EQ(session.query("select LastBackupStatus from Backup").cell(0, "LastBackupStatus"),
              "0");
}

TEST(BackupClock, OptionRefusesNonsense)
{
    for (const char *bad : {"x", "99999999999999"}) {
        DevServerProcess server({"--memory", "--clock-offset", bad});
        EXPECT_FALSE(server.start()) << bad;
    }
}

} // namespace
