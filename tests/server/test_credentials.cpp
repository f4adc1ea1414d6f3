// Credentials on the development server as a hostile client meets them: the
// stored password hashes, password guessing and telling accounts apart by the
// time an answer takes.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

using namespace postdesk::test;

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

TEST(Credentials, PasswordHashesStayWithTheWriteRight)
{
    DevServerProcess server({"--memory", "--log-rate", "0", "--no-ticker"});
    ASSERT_TRUE(server.start()) << server.errorText();
    LumadbSession admin, viewer;
    ASSERT_EQ(admin.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    ASSERT_EQ(viewer.connect(server.host(), server.portText(), "viewer", "viewer"), 0u);

    // The administrator sees the hashes: each seeded account has its own salt,
    // even where the passwords are the same.
    const QueryResult hashes
            = admin.query("select Name, Password from User where Domain='example.com'");
    ASSERT_EQ(hashes.status, 0u);
    std::set<std::string> distinct;
    for (size_t row = 0; row < hashes.rows.size(); ++row) {
        const std::string hash = hashes.cell(row, "Password");
        EXPECT_EQ(hash.rfind("SHA:", 0), 0u) << hashes.cell(row, "Name");
        distinct.insert(hash.substr(0, 20)); // "SHA:" and the salt
    }
    EXPECT_EQ(distinct.size(), hashes.rows.size());

    // A read-only session reads the column as empty and cannot probe it.
    const QueryResult seen = viewer.query("select Name, Password from User");
    ASSERT_EQ(seen.status, 0u);
    ASSERT_FALSE(seen.rows.empty());
    for (size_t row = 0; row < seen.rows.size(); ++row)
        EXPECT_EQ(seen.cell(row, "Password"), "") << seen.cell(row, "Name");
    EXPECT_EQ(viewer.query("select * from User where Name='admin'").cell(0, "Password"), "");
    EXPECT_EQ(viewer.query("select Name from User where Password='" + hashes.cell(0, "Password")
                           + "'")
                      .status,
              200u);

    // A password written in plain text is stored as a hash and still works.
    ASSERT_EQ(admin.query("update User set Password='plain words' where Name='carol'").status, 0u);
    const std::string stored
            = admin.query("select Password from User where Name='carol'").cell(0, "Password");
    EXPECT_EQ(stored.rfind("SHA:", 0), 0u) << stored;
    EXPECT_EQ(stored.find("plain"), std::string::npos);
    LumadbSession carol;
    EXPECT_EQ(carol.connect(server.host(), server.portText(), "carol", "plain words"), 0u);
}

TEST(Credentials, RepeatedFailuresAreSlowedDown)
{
    DevServerProcess server(
            {"--memory", "--log-rate", "0", "--no-ticker", "--login-delay-ms", "200"});
    ASSERT_TRUE(server.start()) << server.errorText();
    std::vector<double> times;
    for (int attempt = 0; attempt < 5; ++attempt) {
        LumadbSession guess;
        times.push_back(secondsOf([&] {
            EXPECT_EQ(guess.connect(server.host(), server.portText(), "admin", "guess"),
                      uint32_t(LUMADB_ERR_AUTHENTICATION));
        }));
    }
    // 0, 200, 400, 800, 1600 ms of waiting before the answers.
    EXPECT_GE(times[4], 1.5);
    EXPECT_GE(times[4], times[1] + 1.2);
    // The right password still gets in (after its wait) and clears the record.
    LumadbSession right;
    EXPECT_EQ(right.connect(server.host(), server.portText(), "admin", "admin"), 0u);
    LumadbSession next;
    EXPECT_LT(secondsOf([&] { next.connect(server.host(), server.portText(), "admin", "admin"); }),
              1.0);
}

TEST(Credentials, UnknownUsersCostTheSameWorkAsKnownOnes)
{
    // Without the throttle, only the work of the check itself is measured.
    DevServerProcess server(
            {"--memory", "--log-rate", "0", "--no-ticker", "--login-delay-ms", "0"});
    ASSERT_TRUE(server.start()) << server.errorText();
    const auto failures = [&](const std::string &user) {
        return secondsOf([&] {
            for (int attempt = 0; attempt < 12; ++attempt) {
                LumadbSession guess;
                guess.connect(server.host(), server.portText(), user, "guess");
            }
        });
    };
    failures("admin"); // warm up
    const double known = failures("admin");
    const double unknown = failures("nobody-by-that-name");
    // Before, an unknown user was answered many times faster.
    EXPECT_GT(unknown, 0.6 * known) << "known " << known << " s, unknown " << unknown << " s";
}
