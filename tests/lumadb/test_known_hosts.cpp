// Trust on first use: the server certificate's fingerprint against the
// known-hosts file.
#include "session_fixture.h"

#include <openssl/pem.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace lumadb_test;

namespace {

std::string read_text(const std::string &path)
{
    std::ifstream file(path);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

mode_t permissions(const std::string &path)
{
    struct stat info
    { };
    if (::stat(path.c_str(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

class KnownHostsTest : public SessionTest
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/lumadb-known-hosts-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
        path = folder + "/config/known_hosts.cfg";
    }

    void TearDown() override
    {
        SessionTest::TearDown();
        const std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // One connection that is opened and closed again.
    uint32_t connect(lumadb_trust_mode trust, const char *expected = nullptr)
    {
        options = lumadb_open_options{};
        options.known_hosts_path = path.c_str();
        options.trust = trust;
        options.expected_fingerprint = expected;
        server.expect_end();
        server.start();
        const uint32_t status
                = lumadb_open_ex("127.0.0.1", server.port_text().c_str(), &options, &handle);
        if (status != 0) {
            EXPECT_EQ(handle, nullptr);
        }
        close_client();
        expect_script_played();
        return status;
    }

    std::string entry(const std::string &fingerprint) const
    {
        return "127.0.0.1:" + server.port_text() + " " + fingerprint + "\n";
    }

    std::string folder;
    std::string path;
    lumadb_open_options options{};
    TestCertificate other_certificate{"impostor"};
};

} // namespace

TEST_F(KnownHostsTest, FirstUseNeedsTheConfirmedFingerprintThenIsRecordedOwnerOnly)
{
    // An unknown server is refused before any credential could be sent, and
    // its fingerprint reported for the administrator to check.
    EXPECT_EQ(connect(LUMADB_TRUST_CHECK), LUMADB_ERR_UNKNOWN_SERVER);
    EXPECT_EQ(std::string(options.presented_fingerprint), certificate.fingerprint());
    EXPECT_EQ(std::string(options.recorded_fingerprint), "");
    EXPECT_NE(::access(path.c_str(), F_OK), 0) << "nothing recorded without a decision";
    // Confirming another fingerprint does not let this server in.
    EXPECT_EQ(connect(LUMADB_TRUST_REPLACE, other_certificate.fingerprint().c_str()),
              LUMADB_ERR_MITM);
    EXPECT_NE(::access(path.c_str(), F_OK), 0);

    const std::string typed = "SHA256:" + certificate.fingerprint();
    ASSERT_EQ(connect(LUMADB_TRUST_REPLACE, typed.c_str()), 0u);
    EXPECT_EQ(read_text(path), entry(certificate.fingerprint()));
    EXPECT_EQ(permissions(path), 0600u);
    EXPECT_EQ(permissions(folder + "/config"), 0700u);

    char recorded[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    ASSERT_EQ(lumadb_known_host_fingerprint(path.c_str(), "127.0.0.1", server.port_text().c_str(),
                                            recorded),
              0u);
    EXPECT_EQ(std::string(recorded), certificate.fingerprint());

    ASSERT_EQ(connect(LUMADB_TRUST_CHECK), 0u);
    EXPECT_EQ(read_text(path), entry(certificate.fingerprint()));
}

TEST_F(KnownHostsTest, PeerFingerprintOfAnOpenHandle)
{
    server.expect_end();
    server.start();
    lumadb_open_options insecure{};
    insecure.trust = LUMADB_TRUST_INSECURE;
    ASSERT_EQ(lumadb_open_ex("127.0.0.1", server.port_text().c_str(), &insecure, &handle), 0u);
    char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    ASSERT_EQ(lumadb_peer_fingerprint(handle, fingerprint), 0u);
    EXPECT_EQ(std::string(fingerprint), certificate.fingerprint());
    EXPECT_EQ(lumadb_peer_fingerprint(nullptr, fingerprint), LUMADB_ERR_SYSTEM);
    EXPECT_NE(::access(path.c_str(), F_OK), 0) << "insecure mode touches no file";
}

TEST_F(KnownHostsTest, ChangedCertificateIsRefusedUntilReplacedOnRequest)
{
    ASSERT_EQ(connect(LUMADB_TRUST_REPLACE, certificate.fingerprint().c_str()), 0u);
    server.use_certificate(other_certificate);

    EXPECT_EQ(connect(LUMADB_TRUST_CHECK), LUMADB_ERR_MITM);
    EXPECT_EQ(std::string(options.presented_fingerprint), other_certificate.fingerprint());
    EXPECT_EQ(std::string(options.recorded_fingerprint), certificate.fingerprint());
    EXPECT_EQ(read_text(path), entry(certificate.fingerprint()));

    // Replacing with a fingerprint the administrator confirmed for another
    // certificate is refused and changes nothing.
    EXPECT_EQ(connect(LUMADB_TRUST_REPLACE, certificate.fingerprint().c_str()), LUMADB_ERR_MITM);
    EXPECT_EQ(read_text(path), entry(certificate.fingerprint()));

    ASSERT_EQ(connect(LUMADB_TRUST_REPLACE, other_certificate.fingerprint().c_str()), 0u);
    EXPECT_EQ(read_text(path), entry(other_certificate.fingerprint()));
    EXPECT_EQ(connect(LUMADB_TRUST_CHECK), 0u);

    // Without an expected fingerprint nothing is replaced: whatever answers
    // would otherwise be trusted.
    server.use_certificate(certificate);
    EXPECT_EQ(connect(LUMADB_TRUST_REPLACE), LUMADB_ERR_SYSTEM);
    EXPECT_EQ(read_text(path), entry(other_certificate.fingerprint()));
}

TEST_F(KnownHostsTest, OtherServersLinesSurviveAnUpdate)
{
    ASSERT_EQ(::mkdir((folder + "/config").c_str(), 0700), 0);
    const std::string others = "# servers of the office\n"
                               "mail.example.org:44337 "
            + std::string(64, 'a') + "\n127.0.0.1:1 " + std::string(64, 'b') + "\n";
    std::ofstream(path) << others;
    ASSERT_EQ(connect(LUMADB_TRUST_REPLACE, certificate.fingerprint().c_str()), 0u);
    EXPECT_EQ(read_text(path), others + entry(certificate.fingerprint()));

    ASSERT_EQ(lumadb_trust_fingerprint(path.c_str(), "MAIL.example.org", "44337",
                                       std::string(64, 'c').c_str()),
              0u);
    EXPECT_EQ(read_text(path),
              "# servers of the office\nmail.example.org:44337 " + std::string(64, 'c')
                      + "\n127.0.0.1:1 " + std::string(64, 'b') + "\n"
                      + entry(certificate.fingerprint()));
    EXPECT_EQ(permissions(path), 0600u);
}

TEST_F(KnownHostsTest, UnusableFileGives703)
{
    // A folder where the file should be cannot be read; a path below a
    // regular file can be neither read nor written.
    ASSERT_EQ(::mkdir((folder + "/config").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(connect(LUMADB_TRUST_CHECK), LUMADB_ERR_KNOWN_HOSTS);
    char recorded[LUMADB_FINGERPRINT_LENGTH + 1];
    EXPECT_EQ(lumadb_known_host_fingerprint(path.c_str(), "h", "1", recorded),
              LUMADB_ERR_KNOWN_HOSTS);

    std::ofstream(folder + "/plain-file") << "x";
    path = folder + "/plain-file/known_hosts.cfg";
    EXPECT_EQ(connect(LUMADB_TRUST_CHECK), LUMADB_ERR_KNOWN_HOSTS);
    EXPECT_EQ(connect(LUMADB_TRUST_REPLACE, certificate.fingerprint().c_str()),
              LUMADB_ERR_KNOWN_HOSTS);
    EXPECT_EQ(lumadb_trust_fingerprint(path.c_str(), "h", "1", std::string(64, 'a').c_str()),
              LUMADB_ERR_KNOWN_HOSTS);
}

TEST_F(KnownHostsTest, LookupAndRecordCheckTheirInput)
{
    char recorded[LUMADB_FINGERPRINT_LENGTH + 1];
    EXPECT_EQ(lumadb_known_host_fingerprint(path.c_str(), "h", "1", recorded), LUMADB_ERR_SYSTEM)
            << "a missing file knows no server";
    const std::string good(64, 'a');
    struct Case
    {
        const char *name;
        const char *host;
        const char *port;
        std::string fingerprint;
    };
    const Case cases[] = {
            {"short fingerprint", "h", "1", std::string(63, 'a')},
            {"upper-case fingerprint", "h", "1", std::string(64, 'A')},
            {"host with a space", "h x", "1", good},
            {"host with a line break", "h\nevil:1", "1", good},
            {"port with letters", "h", "1a", good},
            {"empty host", "", "1", good},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(lumadb_trust_fingerprint(path.c_str(), c.host, c.port, c.fingerprint.c_str()),
                  LUMADB_ERR_SYSTEM)
                << c.name;
    }
    EXPECT_NE(::access(path.c_str(), F_OK), 0) << "nothing written for bad input";
}

TEST_F(KnownHostsTest, DefaultPathFollowsTheConfigurationDirectory)
{
    const char *saved_xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = saved_xdg ? saved_xdg : "";
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    EXPECT_EQ(std::string(lumadb_default_known_hosts_path()), folder + "/postdesk/known_hosts.cfg");

    // lumadb_open checks against the default file: unknown first, then known
    // once the confirmed fingerprint is recorded there.
    server.expect_end();
    server.start();
    EXPECT_EQ(lumadb_open("127.0.0.1", server.port_text().c_str(), &handle),
              LUMADB_ERR_UNKNOWN_SERVER);
    expect_script_played();
    ASSERT_EQ(lumadb_trust_fingerprint(lumadb_default_known_hosts_path(), "127.0.0.1",
                                       server.port_text().c_str(),
                                       certificate.fingerprint().c_str()),
              0u);
    server.expect_end();
    server.start();
    ASSERT_EQ(lumadb_open("127.0.0.1", server.port_text().c_str(), &handle), 0u);
    close_client();
    expect_script_played();
    EXPECT_EQ(read_text(folder + "/postdesk/known_hosts.cfg"), entry(certificate.fingerprint()));
    EXPECT_EQ(permissions(folder + "/postdesk"), 0700u);

    ::unsetenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/') {
        EXPECT_EQ(std::string(lumadb_default_known_hosts_path()),
                  std::string(home) + "/.config/postdesk/known_hosts.cfg");
    }
    if (saved_xdg)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(Fingerprints, WrittenFormsAreReadAndOthersRefused)
{
    const std::string digits = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
    std::string paired;
    for (size_t i = 0; i < digits.size(); i += 2)
        paired += (i ? ":" : "") + digits.substr(i, 2);
    std::string upper = digits;
    for (char &c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    struct Case
    {
        std::string text;
        bool accepted;
    };
    const Case cases[] = {
            {digits, true},
            {"SHA256:" + digits, true},
            {"sha256:" + upper, true},
            {"SHA256:" + paired, true},
            {digits.substr(1), false},
            {digits + "0", false},
            {"SHA1:" + digits, false},
            {":" + digits, false},
            {digits.substr(0, 62) + "::" + digits.substr(62), false},
            {digits.substr(0, 63) + "g", false},
            {"", false},
    };
    for (const Case &c : cases) {
        char parsed[LUMADB_FINGERPRINT_LENGTH + 1] = {};
        EXPECT_EQ(lumadb_parse_fingerprint(c.text.c_str(), parsed) == 0, c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_EQ(std::string(parsed), digits) << c.text;
        }
    }
}

TEST_F(KnownHostsTest, FingerprintIsFetchedWithoutLoginOrRecord)
{
    server.expect_end();
    server.start();
    char fetched[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    ASSERT_EQ(lumadb_fetch_fingerprint("127.0.0.1", server.port_text().c_str(), fetched), 0u);
    EXPECT_EQ(std::string(fetched), certificate.fingerprint());
    expect_script_played();
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

TEST_F(KnownHostsTest, FingerprintOfACertificateFile)
{
    const std::string pem = folder + "/server-cert.pem";
    FILE *file = std::fopen(pem.c_str(), "w");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(PEM_write_X509(file, certificate.certificate()), 1);
    std::fclose(file);
    char read[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    ASSERT_EQ(lumadb_certificate_file_fingerprint(pem.c_str(), read), 0u);
    EXPECT_EQ(std::string(read), certificate.fingerprint());
    std::ofstream(folder + "/not-a-certificate.pem") << "hello\n";
    EXPECT_EQ(
            lumadb_certificate_file_fingerprint((folder + "/not-a-certificate.pem").c_str(), read),
            LUMADB_ERR_SYSTEM);
    EXPECT_EQ(lumadb_certificate_file_fingerprint((folder + "/missing.pem").c_str(), read),
              LUMADB_ERR_SYSTEM);
}
