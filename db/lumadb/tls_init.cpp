#include "tls_init.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <mutex>

namespace lumadb {

namespace {
std::once_flag tls_once;
bool tls_ready = false;
uint32_t tls_error = 0;
} // namespace

bool ensure_tls_initialised(uint32_t *error)
{
    // OpenSSL 3 is thread-safe by itself: it needs no lock table or locking
    // callback, and it releases its state at process exit.
    std::call_once(tls_once, [] {
        tls_ready
                = OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS,
                                   nullptr)
                == 1;
        if (!tls_ready)
            tls_error = static_cast<uint32_t>(ERR_get_error());
    });
    if (!tls_ready && error)
        *error = tls_error;
    return tls_ready;
}

} // namespace lumadb
