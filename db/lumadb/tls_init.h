// One-time initialisation of the TLS library for the process.
#ifndef LUMADB_TLS_INIT_H
#define LUMADB_TLS_INIT_H

#include <cstdint>

namespace lumadb {

// Initialises OpenSSL once; later calls return the recorded outcome. On
// failure *error receives the library's error code.
bool ensure_tls_initialised(uint32_t *error);

} // namespace lumadb

#endif // LUMADB_TLS_INIT_H
