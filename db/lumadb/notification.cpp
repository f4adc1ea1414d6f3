// Non-blocking receive of one notification datagram.
#include "lumadb/lumadb.h"

#include "handle.h"

#include <cstring>
#include <poll.h>
#include <sys/socket.h>

namespace {
constexpr size_t datagram_capacity = 1500;
}

extern "C" uint32_t lumadb_recv_notification(lumadb_handle *handle, void *buffer, uint32_t *length)
{
    if (!length)
        return LUMADB_ERR_SYSTEM;
    const uint32_t capacity = *length;
    *length = 0;
    if (!handle || handle->udp_socket == lumadb_no_socket || handle->udp_socket == 0)
        return LUMADB_OK;

    pollfd waiting{handle->udp_socket, POLLIN, 0};
    if (::poll(&waiting, 1, 0) != 1 || !(waiting.revents & POLLIN))
        return LUMADB_OK;

    unsigned char datagram[datagram_capacity];
    // MSG_TRUNC reports the real size, so an oversized datagram is dropped
    // rather than delivered cut short.
    const ssize_t size
            = ::recv(handle->udp_socket, datagram, sizeof datagram, MSG_TRUNC | MSG_DONTWAIT);
    if (size <= 0 || size_t(size) > sizeof datagram || size_t(size) > capacity
        || datagram[0] != handle->notification_tag || (!buffer && size > 1))
        return LUMADB_OK;
    std::memcpy(buffer, datagram + 1, size_t(size) - 1);
    *length = static_cast<uint32_t>(size - 1);
    return LUMADB_OK;
}
