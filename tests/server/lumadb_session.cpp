#include "lumadb_session.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace postdesk::test {

int QueryResult::column(const std::string &name) const
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

std::string QueryResult::cell(size_t row, const std::string &name) const
{
    const int index = column(name);
    if (index < 0 || row >= rows.size())
        return "<missing>";
    return rows[row][static_cast<size_t>(index)];
}

LumadbSession::~LumadbSession()
{
    close();
}

void LumadbSession::close()
{
    if (handle)
        lumadb_close(handle);
    handle = nullptr;
}

uint32_t LumadbSession::connect(const std::string &host, const std::string &port,
                                const std::string &user, const std::string &password,
                                bool notifications)
{
    close();
    lumadb_open_options options{};
    options.trust = LUMADB_TRUST_INSECURE;
    uint32_t status = lumadb_open_ex(host.c_str(), port.c_str(), &options, &handle);
    if (status != 0) {
        handle = nullptr;
        return status;
    }
    uint32_t protocol = 0;
    status = lumadb_login(handle, user.c_str(), password.c_str(), &rights, &protocol, &version[0],
                          &version[1], &version[2], "Brantel Admin (Windows)",
                          notifications ? 1 : 0);
    if (status != 0)
        close();
    return status;
}

QueryResult LumadbSession::query(const std::string &text)
{
    QueryResult out;
    if (!handle) {
        out.status = LUMADB_ERR_NETWORK;
        return out;
    }
    lumadb_result result{};
    out.status = lumadb_query(handle, text.c_str(), &result);
    if (out.status != 0)
        return out;
    out.kind = result.kind;
    if (result.kind == LUMADB_KIND_ROWSET) {
        for (uint32_t c = 0; c < result.column_count; ++c) {
            QueryColumn column;
            const char *name = nullptr;
            lumadb_get_column(&result, c, &column.type, &column.attribute, &name);
            column.name = name ? name : "";
            out.columns.push_back(column);
        }
        std::vector<char> text(1 << 16);
        for (uint32_t r = 0; r < result.row_count; ++r) {
            std::vector<std::string> row;
            std::vector<std::string> raw;
            for (uint32_t c = 0; c < result.column_count; ++c) {
                const unsigned char *data = nullptr;
                uint32_t length = 0;
                lumadb_cell(&result, r, c, &data, &length);
                raw.emplace_back(reinterpret_cast<const char *>(data), length);
                const uint32_t type = out.columns[c].type;
                if (type == 10) {
                    row.emplace_back(reinterpret_cast<const char *>(data),
                                     strnlen(reinterpret_cast<const char *>(data), length));
                    continue;
                }
                if (type == LUMADB_TYPE_INT32) {
                    // The console reads these cells as signed numbers.
                    int32_t value = 0;
                    std::memcpy(&value, data, sizeof value);
                    row.push_back(std::to_string(value));
                    continue;
                }
                const uint32_t written = lumadb_value_to_text(
                        type, text.data(), static_cast<uint32_t>(text.size()), data, length);
                row.emplace_back(written ? text.data() : "<unconvertible>");
            }
            out.rows.push_back(std::move(row));
            out.raw.push_back(std::move(raw));
        }
    }
    lumadb_free_result(&result);
    return out;
}

std::optional<std::string> LumadbSession::waitNotification(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (handle && std::chrono::steady_clock::now() < deadline) {
        char buffer[1500];
        uint32_t length = sizeof buffer;
        lumadb_recv_notification(handle, buffer, &length);
        if (length > 0)
            return std::string(buffer, length);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

} // namespace postdesk::test
