// The known-hosts file: the SHA-256 certificate fingerprint recorded for each
// server, one line "host:port fingerprint" per server.
#ifndef LUMADB_KNOWN_HOSTS_H
#define LUMADB_KNOWN_HOSTS_H

#include <string>

namespace lumadb {

// "host:port" as written in the file; the host in lower case.
std::string known_host_key(const char *host, const char *port);
// 64 lower-case hexadecimal digits.
bool is_fingerprint(const char *text);

} // namespace lumadb

#endif // LUMADB_KNOWN_HOSTS_H
