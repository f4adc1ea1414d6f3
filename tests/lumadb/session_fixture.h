// A scripted server with a fresh certificate and the client handle talking to it.
#ifndef LUMADB_TEST_SESSION_FIXTURE_H
#define LUMADB_TEST_SESSION_FIXTURE_H

#include "lumadb/lumadb.h"
#include "scripted_server.h"

#include <gtest/gtest.h>

#include <string>

class SessionTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        close_client();
        expect_script_played();
    }

    // Opens without touching any known-hosts file.
    uint32_t open_insecure()
    {
        lumadb_open_options options{};
        options.trust = LUMADB_TRUST_INSECURE;
        return lumadb_open_ex("127.0.0.1", server.port_text().c_str(), &options, &handle);
    }

    uint32_t login(const lumadb_test::LoginScript &script, uint32_t *rights,
                   int notification_channel = 0)
    {
        return lumadb_login(handle, script.user.c_str(), script.password.c_str(), rights, nullptr,
                            nullptr, nullptr, nullptr, script.application.c_str(),
                            notification_channel);
    }

    void close_client()
    {
        lumadb_close(handle);
        handle = nullptr;
    }

    void expect_script_played()
    {
        std::string report;
        for (const std::string &failure : server.finish())
            report += failure + "\n";
        EXPECT_TRUE(report.empty()) << report;
    }

    lumadb_test::TestCertificate certificate;
    lumadb_test::ScriptedServer server{certificate};
    lumadb_handle *handle = nullptr;
};

#endif // LUMADB_TEST_SESSION_FIXTURE_H
