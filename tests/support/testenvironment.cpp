#include "support/testenvironment.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace postdesk::test {

namespace {

class PrivateHome
{
public:
    PrivateHome()
    {
        std::string pattern
                = (std::filesystem::temp_directory_path() / "postdesk-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::fprintf(stderr, "cannot create a private test folder: %s\n", std::strerror(errno));
            std::abort();
        }
        m_path = pattern;
        const struct
        {
            const char *variable;
            const char *folder;
        } folders[] = {
                {"HOME", ""},
                {"XDG_CONFIG_HOME", "/config"},
                {"XDG_DATA_HOME", "/data"},
                {"XDG_CACHE_HOME", "/cache"},
                {"XDG_STATE_HOME", "/state"},
                {"XDG_CONFIG_DIRS", "/system-config"},
                {"POSTDESK_SETTINGS_DIR", "/settings"},
        };
        for (const auto &entry : folders) {
            const std::string folder = m_path + entry.folder;
            std::error_code ignored;
            std::filesystem::create_directories(folder, ignored);
            ::setenv(entry.variable, folder.c_str(), 1);
        }
    }

    ~PrivateHome()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// Set up before main(), whichever file's static objects come first.
const bool initialised = !privateHome().empty();

} // namespace

const std::string &privateHome()
{
    static const PrivateHome home;
    return home.path();
}

} // namespace postdesk::test
