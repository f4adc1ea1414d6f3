// Byte transport of an open handle: buffered sends and exact receives through
// the TLS session, and the socket error numbers the callers report.
#ifndef LUMADB_TRANSPORT_H
#define LUMADB_TRANSPORT_H

#include <csignal>
#include <cstddef>
#include <cstdint>

struct lumadb_handle;

namespace lumadb {

// Appends to the output buffer, flushing whenever it fills up.
bool send_bytes(lumadb_handle *handle, const void *data, size_t length);
// Writes everything buffered through TLS.
bool flush_output(lumadb_handle *handle);
// Flushes, then reads exactly length bytes.
bool receive_bytes(lumadb_handle *handle, void *data, size_t length);

// The error number reported for a failed socket call: the classic socket
// error numbers for the conditions callers word specially (refused, timed out,
// unreachable, reset, address not available), other errno values unchanged.
uint32_t socket_error_code(int error_number);
// The same for a failed name resolution (getaddrinfo result).
uint32_t resolver_error_code(int resolver_error);

// Runs a TLS write or shutdown with SIGPIPE blocked in the calling thread, so
// a peer that went away yields an error instead of ending the process.
class SigpipeGuard
{
public:
    SigpipeGuard();
    ~SigpipeGuard();
    SigpipeGuard(const SigpipeGuard &) = delete;
    SigpipeGuard &operator=(const SigpipeGuard &) = delete;

private:
    bool m_wasPending = false;
    bool m_restore = false;
    sigset_t m_oldMask;
};

} // namespace lumadb

#endif // LUMADB_TRANSPORT_H
