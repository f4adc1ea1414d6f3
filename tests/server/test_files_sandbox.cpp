// The files folder that ListDir( and AccessDir( browse: nothing outside it is
// reachable, through ".." or a symbolic link, and creating folders needs the
// write right.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

using namespace postdesk::test;
namespace fs = std::filesystem;

namespace {

class FilesSandboxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.errorText();
        ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);
        ASSERT_EQ(viewer.connect(server.host(), server.portText(), "viewer", "viewer"), 0u);
        outside = fs::path(server.dataDir()).parent_path() / "outside";
        fs::create_directories(outside);
        // The sandbox exists once a function has looked at it.
        ASSERT_EQ(admin.query("ListDir('/')").status, 0u);
        fs::create_symlink(outside, fs::path(server.dataDir()) / "files" / "escape");
    }

    std::string accessDir(LumadbSession &session, const std::string &path, int mode,
                          uint32_t *status = nullptr)
    {
        const QueryResult result
                = session.query("AccessDir('" + path + "', '" + std::to_string(mode) + "')");
        if (status)
            *status = result.status;
        return result.status == 0 ? result.cell(0, "Result") : std::string();
    }

    DevServerProcess server{{"--log-rate", "0", "--no-ticker"}};
    LumadbSession admin, viewer;
    fs::path outside;
};

} // namespace

TEST_F(FilesSandboxTest, SymbolicLinksDoNotLeadOutside)
{
    std::error_code ignored;
    EXPECT_EQ(admin.query("ListDir('/escape')").status, 302u);
    EXPECT_EQ(accessDir(admin, "/escape", 0), "2");
    EXPECT_EQ(accessDir(admin, "/escape/planted", 1), "2");
    EXPECT_FALSE(fs::exists(outside / "planted", ignored));
    EXPECT_EQ(accessDir(admin, "/escape/../../outside", 1), "2");
    // Inside the folder everything works as before.
    EXPECT_EQ(accessDir(admin, "/backup/new", 1), "0");
    EXPECT_TRUE(fs::is_directory(fs::path(server.dataDir()) / "files/backup/new", ignored));
}

TEST_F(FilesSandboxTest, CreatingAFolderNeedsTheWriteRight)
{
    std::error_code ignored;
    uint32_t status = 0;
    accessDir(viewer, "/made-by-viewer", 1, &status);
    EXPECT_EQ(status, 300u);
    EXPECT_FALSE(fs::exists(fs::path(server.dataDir()) / "files/made-by-viewer", ignored));
    // Checking an existing folder stays allowed.
    EXPECT_EQ(accessDir(viewer, "/backup", 0), "0");
    EXPECT_EQ(accessDir(viewer, "/backup", 1), "0");
}
