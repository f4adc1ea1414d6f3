// The data folder belongs to one server, must be writable, and a write the
// storage refuses is answered as a storage failure.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace postdesk::test;

namespace {

constexpr uid_t kUnprivileged = 65534; // "nobody"
constexpr uint32_t kStorageFailure = 200;

struct ServerRun
{
    int exitStatus = -1; // -1 when it had to be killed
    std::string output; // standard output and error
};

// Runs postvane-devserver with arguments until it exits (killed after 30 s:
// a server that should have refused to start but listens instead). With
// unprivileged, a test running as root runs the server as "nobody", since
// root may write any file.
ServerRun runServer(std::vector<std::string> arguments, bool unprivileged = false)
{
    arguments.insert(arguments.begin(), POSTDESK_DEVSERVER_PATH);
    std::vector<char *> argv;
    for (auto &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    const bool dropRoot = unprivileged && ::geteuid() == 0;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::dup2(pipeFds[1], STDERR_FILENO);
        if (dropRoot
            && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivileged) != 0
                || ::setuid(kUnprivileged) != 0))
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    ServerRun run;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
        pollfd poller{pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&poller, 1, static_cast<int>(left.count())) == 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        char buffer[512];
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        run.output.append(buffer, static_cast<size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    return run;
}

// A fresh folder that the unprivileged server user may enter and write.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "datafolder-XXXXXX");
        if (::mkdtemp(pattern.data()))
            path = pattern;
        ::chmod(path.c_str(), 0755);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    // Hands a file or folder to the user the unprivileged server runs as.
    static void giveToServerUser(const std::string &file)
    {
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(file.c_str(), kUnprivileged, kUnprivileged), 0) << file;
        }
    }

    std::string path;
};

TEST(DataFolder, ASecondServerIsRefusedAndItsResetWipesNothing)
{
    DevServerProcess first({"--log-rate", "0", "--no-ticker", "--seed-log-lines", "20"});
    ASSERT_TRUE(first.start()) << first.errorText();
    LumadbSession admin;
    ASSERT_EQ(admin.connect(first.host(), first.portText(), "admin", "admin"), 0u);
    ASSERT_EQ(admin.query("insert Sort set To='kept@example.com', Account='admin'").status, 0u);
    const auto logSize = std::filesystem::file_size(first.dataDir() + "/logs/mail.log");
    ASSERT_GT(logSize, 0u);

    const ServerRun second = runServer({"--listen", "127.0.0.1", "--port", "0", "--data",
                                        first.dataDir(), "--reset", "--log-rate", "0"});
    EXPECT_EQ(second.exitStatus, 1) << second.output;
    EXPECT_NE(second.output.find("the data folder " + first.dataDir()
                                 + " is in use by another postvane-devserver (process "
                                 + std::to_string(first.pid()) + ")"),
              std::string::npos)
            << second.output;
    EXPECT_EQ(second.output.find("listening"), std::string::npos) << second.output;

    // The running server still has its data, on disk too.
    EXPECT_EQ(admin.query("select count() from Sort where To='kept@example.com'").rows.at(0).at(0),
              "1");
    EXPECT_EQ(std::filesystem::file_size(first.dataDir() + "/logs/mail.log"), logSize);
    ASSERT_TRUE(first.restart()) << "the lock ends with its server: " << first.errorText();
    ASSERT_EQ(admin.connect(first.host(), first.portText(), "admin", "admin"), 0u);
    EXPECT_EQ(admin.query("select count() from Sort where To='kept@example.com'").rows.at(0).at(0),
              "1");
}

TEST(DataFolder, RefusesToStartWithoutWriteAccess)
{
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.path.empty());
    // A database the server user may read but not write.
    const std::string readOnlyData = scratch.path + "/readonly-db";
    ASSERT_EQ(::mkdir(readOnlyData.c_str(), 0700), 0);
    const std::string database = readOnlyData + "/postvane.db";
    ASSERT_EQ(::close(::open(database.c_str(), O_CREAT | O_WRONLY, 0400)), 0);
    ScratchFolder::giveToServerUser(readOnlyData);
    ScratchFolder::giveToServerUser(database);

    struct Case
    {
        const char *name;
        std::string dataDir;
        std::string message;
    };
    const Case cases[] = {
            // The root folder: no unprivileged user may write there.
            {"folder", "/", "the data folder / is not writable: Permission denied"},
            {"database file", readOnlyData,
             "the database file " + database + " is not writable: Permission denied"},
    };
    for (const Case &c : cases) {
        const ServerRun run = runServer(
                {"--listen", "127.0.0.1", "--port", "0", "--data", c.dataDir, "--log-rate", "0"},
                true);
        EXPECT_EQ(run.exitStatus, 1) << c.name << ": " << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.name << ": " << run.output;
    }
    EXPECT_EQ(std::filesystem::file_size(database), 0u) << "the refused server wrote nothing";
}

TEST(DataFolder, AWriteTheStorageRefusesGetsTheStorageStatus)
{
    DevServerProcess server({"--log-rate", "0", "--no-ticker"});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession admin;
    ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    ASSERT_EQ(admin.query("insert Sort set To='before@example.com', Account='admin'").status, 0u);

    // A file size limit of one byte makes every write to the database fail
    // with EFBIG, like a full disk.
    rlimit original{};
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_FSIZE, nullptr, &original), 0);
    rlimit tiny = original;
    tiny.rlim_cur = 1;
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_FSIZE, &tiny, nullptr), 0);
    const char *writes[] = {
            "insert Sort set To='during@example.com', Account='admin'",
            "update Sort set Account='viewer' where To='before@example.com'",
            "delete from Sort where To='before@example.com'",
            ("select MListAdd(\"announce\", \"example.com\", \"new@example.com\", \"members\", "
             "\"New\")"),
    };
    for (const char *write : writes) {
        const QueryResult result = admin.query(write);
        EXPECT_EQ(result.status, kStorageFailure) << write;
    }
    // Reads still work, and nothing of the refused writes is visible.
    const QueryResult before
            = admin.query("select Account from Sort where To='before@example.com'");
    ASSERT_EQ(before.status, 0u);
    EXPECT_EQ(before.rows, (std::vector<std::vector<std::string>>{{"admin"}}));
    EXPECT_EQ(
            admin.query("select count() from Sort where To='during@example.com'").rows.at(0).at(0),
            "0");

    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_FSIZE, &original, nullptr), 0);
    EXPECT_EQ(admin.query("insert Sort set To='after@example.com', Account='admin'").status, 0u);
}

} // namespace
