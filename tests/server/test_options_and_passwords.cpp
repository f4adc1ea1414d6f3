// Command-line checking and the stored password forms.
#include "password.h"
#include "server_options.h"

#include <gtest/gtest.h>

using namespace postvane::devserver;

namespace {

bool parse(std::vector<std::string> args, ServerOptions &options, std::string &message)
{
    args.insert(args.begin(), "postvane-devserver");
    std::vector<char *> argv;
    for (auto &arg : args)
        argv.push_back(arg.data());
    bool exitNow = false;
    return parseOptions(static_cast<int>(argv.size()), argv.data(), options, message, exitNow);
}

TEST(ServerOptions, AcceptsValidValues)
{
    ServerOptions options;
    std::string message;
    ASSERT_TRUE(parse({"--listen", "0.0.0.0", "--port", "0", "--version", "8.1.12", "--seed-users",
                       "500", "--log-rate", "0.5", "--fault-status", "207:from Sort",
                       "--fault-close-after", "3", "--memory", "--max-result-mib", "512"},
                      options, message))
            << message;
    EXPECT_EQ(options.listenAddress, "0.0.0.0");
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.version[0], 8);
    EXPECT_EQ(options.version[1], 1);
    EXPECT_EQ(options.version[2], 12);
    EXPECT_EQ(options.seedUsers, 500u);
    EXPECT_DOUBLE_EQ(options.logRate, 0.5);
    EXPECT_EQ(options.faults.forcedStatus, 207u);
    EXPECT_EQ(options.faults.statusPattern, "from sort");
    EXPECT_EQ(options.faults.closeAfterStatements, 3u);
    EXPECT_TRUE(options.memory);
    EXPECT_EQ(options.maxResultBytes, size_t(512) << 20);
}

TEST(ServerOptions, RefusesBadValues)
{
    const std::vector<std::vector<std::string>> cases = {
            {"--port"},
            {"--port", "65536"},
            {"--port", "-1"},
            {"--port", "12x"},
            {"--listen", "localhost"},
            {"--listen", "1.2.3"},
            {"--version", "1.2"},
            {"--version", "1.2.3.4"},
            {"--version", "1..3"},
            {"--version", "1.2.70000"},
            {"--log-rate", "fast"},
            {"--log-rate", "-1"},
            {"--log-rate", "nan"},
            {"--seed-users", "2000000"},
            {"--max-result-mib", "0"},
            {"--max-result-mib", "5000"},
            {"--seed-queue", "many"},
            {"--seed-queue", "20000000"},
            {"--fault-status", "207"},
            {"--fault-status", "x:pattern"},
            {"--fault-status", "207:"},
            {"--fault-delay", "60001"},
            {"--max-sessions", "0"},
            {"--cert", "only-cert.pem"},
            {"--data", ""},
            {"--no-such-option"},
    };
    for (const auto &args : cases) {
        ServerOptions options;
        std::string message;
        EXPECT_FALSE(parse(args, options, message)) << args[0];
        EXPECT_FALSE(message.empty()) << args[0];
    }
}

TEST(ServerOptions, WarnsWhenRunAsRootOrBeyondLoopback)
{
    struct Case
    {
        const char *listen;
        unsigned uid;
        size_t warnings;
        const char *mentions;
    };
    const Case cases[] = {
            {"127.0.0.1", 1000, 0, ""},      {"127.8.9.10", 1000, 0, ""},
            {"0.0.0.0", 1000, 1, "0.0.0.0"}, {"192.168.1.20", 1000, 1, "192.168.1.20"},
            {"127.0.0.1", 0, 1, "root"},     {"10.0.0.1", 0, 2, "root"},
    };
    for (const Case &c : cases) {
        ServerOptions options;
        options.listenAddress = c.listen;
        const std::vector<std::string> warnings = exposureWarnings(options, c.uid);
        EXPECT_EQ(warnings.size(), c.warnings) << c.listen << " " << c.uid;
        if (c.warnings > 0) {
            EXPECT_NE(warnings.front().find(c.mentions), std::string::npos) << warnings.front();
        }
    }
}

TEST(Passwords, StoredFormsVerify)
{
    const std::string hashed = hashPassword("s3cret äö");
    ASSERT_EQ(hashed.size(), 60u);
    EXPECT_EQ(hashed.substr(0, 4), "SHA:");
    EXPECT_NE(hashPassword("s3cret äö"), hashed) << "salted";
    EXPECT_TRUE(verifyPassword(hashed, "s3cret äö"));
    EXPECT_FALSE(verifyPassword(hashed, "s3cret"));
    EXPECT_FALSE(verifyPassword(hashed, ""));

    EXPECT_TRUE(verifyPassword("NUL:plain", "plain"));
    EXPECT_FALSE(verifyPassword("NUL:plain", "NUL:plain"));
    EXPECT_TRUE(verifyPassword("legacy", "legacy"));
    EXPECT_TRUE(verifyPassword("NUL:", ""));
    // Malformed hashes never verify.
    for (const char *stored :
         {"SHA:", "SHA:zz", "SHA:0011223344556677",
          "SHA:00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff"})
        EXPECT_FALSE(verifyPassword(stored, "")) << stored;
}

} // namespace
