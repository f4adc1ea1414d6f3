#include "failure_reason.h"

#include "lumadb/lumadb.h"

#include <cstring>

std::string failure_reason(uint32_t status, uint32_t detail)
{
    if (status != LUMADB_ERR_NETWORK || detail == 0)
        return {};
    if (const char *words = lumadb_network_error_text(detail))
        return words;
    // Codes without a socket-style number are errno values.
    constexpr uint32_t largest_errno = 4095;
    if (detail <= largest_errno)
        return std::strerror(static_cast<int>(detail));
    return {};
}
