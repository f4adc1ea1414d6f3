// Noticing, between requests, that the server has gone: the admin channel
// carries nothing unasked, so an idle socket that hangs up, reports an error or
// has its peer's half closed means the session has ended.
#include "handle.h"
#include "transport.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

extern "C" uint32_t lumadb_peer_closed(const lumadb_handle *handle)
{
    if (!handle || handle->tcp_socket == lumadb_no_socket)
        return lumadb::socket_error_code(ECONNRESET);
    pollfd watched{handle->tcp_socket, POLLIN | POLLRDHUP, 0};
    int ready;
    do {
        ready = ::poll(&watched, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return 0;
    if (watched.revents & (POLLERR | POLLNVAL)) {
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(handle->tcp_socket, SOL_SOCKET, SO_ERROR, &error, &length);
        return lumadb::socket_error_code(error != 0 ? error : ECONNRESET);
    }
    if (watched.revents & (POLLHUP | POLLRDHUP))
        return lumadb::socket_error_code(ECONNRESET);
    return 0;
}
