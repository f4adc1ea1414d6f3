#include "transport.h"

#include "handle.h"

#include <openssl/err.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <netdb.h>
#include <pthread.h>

namespace lumadb {

namespace {

// Large sends are fed to the buffer in pieces of at most this size.
constexpr size_t send_piece = 1500;

// Records why a TLS read or write failed.
void record_tls_failure(lumadb_handle *handle, int result)
{
    const int saved_errno = errno;
    const int reason = SSL_get_error(handle->tls, result);
    if (reason == SSL_ERROR_SYSCALL || reason == SSL_ERROR_ZERO_RETURN) {
        // A peer that closed the connection reads as a reset.
        handle->last_error = socket_error_code(saved_errno != 0 ? saved_errno : ECONNRESET);
    } else {
        const unsigned long queued = ERR_peek_last_error();
        handle->last_error
                = queued != 0 ? static_cast<uint32_t>(queued) : static_cast<uint32_t>(reason);
    }
    ERR_clear_error();
}

} // namespace

SigpipeGuard::SigpipeGuard()
{
    sigset_t pipe_only;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    m_restore = pthread_sigmask(SIG_BLOCK, &pipe_only, &m_oldMask) == 0;
}

SigpipeGuard::~SigpipeGuard()
{
    if (!m_restore)
        return;
    if (!m_wasPending) {
        // Consume a SIGPIPE our own write raised before unblocking.
        sigset_t pipe_only;
        sigemptyset(&pipe_only);
        sigaddset(&pipe_only, SIGPIPE);
        const timespec no_wait{0, 0};
        while (sigtimedwait(&pipe_only, nullptr, &no_wait) == SIGPIPE) { }
    }
    pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
}

bool flush_output(lumadb_handle *handle)
{
    int written_total = 0;
    SigpipeGuard guard;
    while (written_total < handle->output_fill) {
        errno = 0;
        const int written = SSL_write(handle->tls, handle->output + written_total,
                                      handle->output_fill - written_total);
        if (written < 1) {
            record_tls_failure(handle, written);
            handle->output_fill = 0;
            return false;
        }
        written_total += written;
    }
    handle->output_fill = 0;
    return true;
}

bool send_bytes(lumadb_handle *handle, const void *data, size_t length)
{
    auto *next = static_cast<const unsigned char *>(data);
    while (length > 0) {
        size_t piece = std::min(length, send_piece);
        length -= piece;
        while (piece >= size_t(lumadb_output_capacity - handle->output_fill)) {
            const size_t room = lumadb_output_capacity - handle->output_fill;
            std::memcpy(handle->output + handle->output_fill, next, room);
            handle->output_fill = lumadb_output_capacity;
            next += room;
            piece -= room;
            if (!flush_output(handle))
                return false;
        }
        std::memcpy(handle->output + handle->output_fill, next, piece);
        handle->output_fill += static_cast<int32_t>(piece);
        next += piece;
    }
    return true;
}

bool receive_bytes(lumadb_handle *handle, void *data, size_t length)
{
    if (length == 0)
        return true;
    if (handle->output_fill > 0 && !flush_output(handle))
        return false;
    auto *next = static_cast<unsigned char *>(data);
    while (length > 0) {
        const int wanted = static_cast<int>(std::min<size_t>(length, 1 << 30));
        errno = 0;
        const int got = SSL_read(handle->tls, next, wanted);
        if (got <= 0) {
            record_tls_failure(handle, got);
            return false;
        }
        next += got;
        length -= size_t(got);
    }
    return true;
}

uint32_t socket_error_code(int error_number)
{
    switch (error_number) {
    case EADDRNOTAVAIL:
        return 10049;
    case ENETUNREACH:
        return 10051;
    case ECONNRESET:
    case EPIPE:
        return 10054;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case EHOSTUNREACH:
        return 10065;
    default:
        return static_cast<uint32_t>(error_number);
    }
}

uint32_t resolver_error_code(int resolver_error)
{
    switch (resolver_error) {
    case EAI_NONAME:
    case EAI_FAIL:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
        return 11001; // host not found
    case EAI_AGAIN:
        return 11002; // temporary failure, try again
    case EAI_MEMORY:
        return 12; // ENOMEM
    case EAI_SYSTEM:
        return socket_error_code(errno);
    default:
        return 11003; // unrecoverable resolver failure
    }
}

} // namespace lumadb
