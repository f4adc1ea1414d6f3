// Fixed descriptions of the status codes.
#include "lumadb/lumadb.h"

namespace {

struct StatusDescription
{
    uint32_t code;
    const char *text;
};

constexpr StatusDescription status_descriptions[] = {
        {0, "operation completed successfully"},
        {100, "system memory allocation failed"},
        {101, "system socket or network error"},
        {102, "system error"},
        {103, "OpenSSL error"},
        {200, "database access denied"},
        {201, "database table not found"},
        {202, "database table column not found"},
        {203, "database table duplicate key"},
        {204, "database table size limit exceeded"},
        {205, "database table string size limit exceeded"},
        {206, "database invalid password format"},
        {207, "database wrong request"},
        {208, "database hook modification failed"},
        {209, "database callback modification failed"},
        {210, "database reference modification failed"},
        {300, "function call access denied"},
        {301, "function not found"},
        {302, "function called with invalid parameters"},
        {400, "SQL query parse error"},
        {401, "SQL query illegal"},
        {402, "SQL buffer is small or inproper size"},
        {500, "cannot open configuration XML file"},
        {501, "cannot parse configuration XML file"},
        {600, "server problem with encryption key"},
        {601, "server cannot accept more connections"},
        {602, "server is already run"},
        {603, "server is already halted"},
        {604, "server could be mitm"},
        {700, "client incompatible with server"},
        {701, "client cannot open more connections"},
        {702, "client authentication failed"},
        {703, "client failed to open \"known_hosts.cfg\". Time is up"},
        {704, "server certificate not confirmed yet"},
        {800, "LDAP server not available"},
        {801, "LDAP operation failed. Check that you have installed Directory Extensions properly"},
        {802, "LDAP map not configured for this operation"},
};

} // namespace

extern "C" const char *lumadb_status_text(uint32_t code)
{
    for (const auto &entry : status_descriptions) {
        if (entry.code == code)
            return entry.text;
    }
    return "UNKNOWN";
}

namespace {

constexpr StatusDescription network_error_descriptions[] = {
        {10049, "address not available"},
        {10051, "network unreachable"},
        {10054, "connection reset by the peer"},
        {10060, "connection timed out"},
        {10061, "connection refused (no server listening on that port)"},
        {10065, "host unreachable"},
        {11001, "unknown host"},
        {11002, "host name lookup failed for now, try again"},
        {11003, "host name lookup failed"},
};

} // namespace

extern "C" const char *lumadb_network_error_text(uint32_t code)
{
    for (const auto &entry : network_error_descriptions) {
        if (entry.code == code)
            return entry.text;
    }
    return nullptr;
}
