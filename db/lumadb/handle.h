// The connection handle behind the opaque lumadb_handle of the public interface.
#ifndef LUMADB_HANDLE_H
#define LUMADB_HANDLE_H

#include "lumadb/lumadb.h"

#include <openssl/ssl.h>

#include <cstdint>

constexpr int lumadb_no_socket = -1;
constexpr int lumadb_output_capacity = 4096;

struct lumadb_handle
{
    uint32_t last_error = 0;
    int tcp_socket = lumadb_no_socket;
    unsigned char output[lumadb_output_capacity] = {};
    int32_t output_fill = 0;
    SSL *tls = nullptr;
    int udp_socket = lumadb_no_socket;
    unsigned char notification_tag = LUMADB_NOTIFICATION_TAG;
    uint32_t notification_key = 0;
    SSL_CTX *tls_context = nullptr;
    char peer_fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
};

#endif // LUMADB_HANDLE_H
