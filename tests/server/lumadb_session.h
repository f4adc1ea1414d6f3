// A logged-in lumadb session for the server tests, with results copied into
// plain structures (cells as text) so assertions stay short.
#pragma once

#include "lumadb/lumadb.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace postdesk::test {

struct QueryColumn
{
    std::string name;
    uint32_t type = 0;
    uint32_t attribute = 0;
};

struct QueryResult
{
    uint32_t status = 0;
    uint32_t kind = 0;
    std::vector<QueryColumn> columns;
    std::vector<std::vector<std::string>> rows; // cells as text
    std::vector<std::vector<std::string>> raw; // cell bytes as decoded

    int column(const std::string &name) const; // -1 when missing
    std::string cell(size_t row, const std::string &name) const;
};

class LumadbSession
{
public:
    LumadbSession() = default;
    ~LumadbSession();
    LumadbSession(const LumadbSession &) = delete;
    LumadbSession &operator=(const LumadbSession &) = delete;

    // Opens with LUMADB_TRUST_INSECURE and logs in (session mode, channel on).
    // Returns the status of the open or the login.
    uint32_t connect(const std::string &host, const std::string &port, const std::string &user,
                     const std::string &password, bool notifications = true);
    QueryResult query(const std::string &text);
    // Waits up to timeoutMs for a notification payload (tag removed).
    std::optional<std::string> waitNotification(int timeoutMs);
    void close();

    uint32_t rights = 0;
    uint32_t version[3] = {0, 0, 0};
    lumadb_handle *handle = nullptr;
};

} // namespace postdesk::test
