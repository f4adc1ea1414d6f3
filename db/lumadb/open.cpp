// Opening and closing a connection: TCP, TLS and the certificate check.
#include "lumadb/lumadb.h"

#include "handle.h"
#include "known_hosts.h"
#include "tls_init.h"
#include "transport.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <new>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

thread_local uint32_t last_open_error = 0;

uint32_t fail_open(uint32_t status, uint32_t system_error)
{
    last_open_error = system_error;
    return status;
}

bool parse_port(const char *text, uint16_t *port)
{
    if (!text || !*text)
        return false;
    unsigned value = 0;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + unsigned(*p - '0');
        if (value > 65535)
            return false;
    }
    *port = static_cast<uint16_t>(value);
    return true;
}

// A dotted IPv4 address is used as it is; anything else is resolved and the
// first IPv4 address of the answer taken.
uint32_t resolve(const char *host, in_addr *address)
{
    if (inet_pton(AF_INET, host, address) == 1)
        return 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *answer = nullptr;
    const int resolved = getaddrinfo(host, nullptr, &hints, &answer);
    if (resolved != 0)
        return lumadb::resolver_error_code(resolved);
    uint32_t error = 11001;
    for (const addrinfo *entry = answer; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET) {
            *address = reinterpret_cast<const sockaddr_in *>(entry->ai_addr)->sin_addr;
            error = 0;
            break;
        }
    }
    freeaddrinfo(answer);
    return error;
}

void free_tls(lumadb_handle *handle)
{
    if (handle->tls) {
        SSL_free(handle->tls);
        handle->tls = nullptr;
    }
    if (handle->tls_context) {
        SSL_CTX_free(handle->tls_context);
        handle->tls_context = nullptr;
    }
}

void close_socket(int *fd)
{
    // 0 and all-ones count as no socket.
    if (*fd != lumadb_no_socket && *fd != 0)
        ::close(*fd);
    *fd = lumadb_no_socket;
}

bool certificate_fingerprint(const X509 *certificate, char *fingerprint)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digest_length = 0;
    const bool digested = X509_digest(certificate, EVP_sha256(), digest, &digest_length) == 1;
    if (!digested || digest_length * 2 != LUMADB_FINGERPRINT_LENGTH)
        return false;
    static const char digits[] = "0123456789abcdef";
    for (unsigned i = 0; i < digest_length; ++i) {
        fingerprint[2 * i] = digits[digest[i] >> 4];
        fingerprint[2 * i + 1] = digits[digest[i] & 0x0f];
    }
    fingerprint[LUMADB_FINGERPRINT_LENGTH] = '\0';
    return true;
}

bool compute_peer_fingerprint(SSL *tls, char *fingerprint)
{
    X509 *certificate = SSL_get1_peer_certificate(tls);
    if (!certificate)
        return false;
    const bool computed = certificate_fingerprint(certificate, fingerprint);
    X509_free(certificate);
    return computed;
}

// Compares the presented fingerprint with the recorded one. Nothing is
// recorded without a decision: an unknown server is refused (704) until the
// caller names the fingerprint the administrator confirmed.
uint32_t check_trust(const char *host, const char *port, const char *presented,
                     lumadb_open_options *options)
{
    const lumadb_trust_mode mode = options ? options->trust : LUMADB_TRUST_CHECK;
    if (mode == LUMADB_TRUST_INSECURE)
        return LUMADB_OK;
    const char *path = options && options->known_hosts_path ? options->known_hosts_path
                                                            : lumadb_default_known_hosts_path();
    char recorded[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    const uint32_t lookup = lumadb_known_host_fingerprint(path, host, port, recorded);
    if (lookup == LUMADB_ERR_KNOWN_HOSTS)
        return LUMADB_ERR_KNOWN_HOSTS;
    const bool known = lookup == LUMADB_OK;
    if (known && options)
        std::memcpy(options->recorded_fingerprint, recorded, sizeof recorded);

    if (mode != LUMADB_TRUST_REPLACE) {
        if (!known)
            return LUMADB_ERR_UNKNOWN_SERVER;
        return std::strcmp(recorded, presented) == 0 ? LUMADB_OK : LUMADB_ERR_MITM;
    }
    char expected[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    if (!options || !options->expected_fingerprint
        || lumadb_parse_fingerprint(options->expected_fingerprint, expected) != LUMADB_OK)
        return LUMADB_ERR_SYSTEM;
    if (std::strcmp(expected, presented) != 0)
        return LUMADB_ERR_MITM;
    if (lumadb_trust_fingerprint(path, host, port, presented) != LUMADB_OK)
        return LUMADB_ERR_KNOWN_HOSTS;
    return LUMADB_OK;
}

bool hex_digit(char c, unsigned *value)
{
    if (c >= '0' && c <= '9')
        *value = unsigned(c - '0');
    else if (c >= 'a' && c <= 'f')
        *value = unsigned(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
        *value = unsigned(c - 'A' + 10);
    else
        return false;
    return true;
}

} // namespace

extern "C" uint32_t lumadb_last_open_error(void)
{
    return last_open_error;
}

extern "C" uint32_t lumadb_open(const char *host, const char *port, lumadb_handle **handle)
{
    return lumadb_open_ex(host, port, nullptr, handle);
}

extern "C" uint32_t lumadb_open_ex(const char *host, const char *port, lumadb_open_options *options,
                                   lumadb_handle **handle)
{
    last_open_error = 0;
    if (options) {
        options->presented_fingerprint[0] = '\0';
        options->recorded_fingerprint[0] = '\0';
    }
    if (!handle)
        return fail_open(LUMADB_ERR_SYSTEM, 0);
    *handle = nullptr;
    uint16_t port_number = 0;
    if (!host || !parse_port(port, &port_number))
        return fail_open(LUMADB_ERR_SYSTEM, 0);

    in_addr address{};
    if (const uint32_t error = resolve(host, &address))
        return fail_open(LUMADB_ERR_NETWORK, error);

    int tcp = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (tcp < 0)
        return fail_open(LUMADB_ERR_NETWORK, lumadb::socket_error_code(errno));
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port_number);
    peer.sin_addr = address;
    int connected;
    do {
        connected = ::connect(tcp, reinterpret_cast<const sockaddr *>(&peer), sizeof peer);
    } while (connected != 0 && errno == EINTR);
    if (connected != 0) {
        const int error = errno;
        close_socket(&tcp);
        return fail_open(LUMADB_ERR_NETWORK, lumadb::socket_error_code(error));
    }

    auto *created = new (std::nothrow) lumadb_handle;
    if (!created) {
        close_socket(&tcp);
        return fail_open(LUMADB_ERR_NO_MORE_CONNECTIONS, 0);
    }
    created->notification_tag = LUMADB_NOTIFICATION_TAG;

    uint32_t tls_error = 0;
    if (!lumadb::ensure_tls_initialised(&tls_error)) {
        close_socket(&tcp);
        delete created;
        return fail_open(LUMADB_ERR_TLS, tls_error);
    }

    created->tcp_socket = tcp;
    const int on = 1;
    setsockopt(tcp, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(tcp, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // A server host that vanished without closing is noticed within about 20 s
    // of silence, not after the system's default of two hours.
    const int idle_seconds = 10, probe_interval = 3, probes = 3;
    setsockopt(tcp, IPPROTO_TCP, TCP_KEEPIDLE, &idle_seconds, sizeof idle_seconds);
    setsockopt(tcp, IPPROTO_TCP, TCP_KEEPINTVL, &probe_interval, sizeof probe_interval);
    setsockopt(tcp, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    created->output_fill = 0;

    ERR_clear_error();
    created->tls_context = SSL_CTX_new(TLS_client_method());
    if (created->tls_context) {
        // TLS 1.2 or later whatever the system's configuration allows, and no
        // new handshake in the middle of a session at the server's request.
        SSL_CTX_set_min_proto_version(created->tls_context, TLS1_2_VERSION);
        SSL_CTX_set_options(created->tls_context, SSL_OP_NO_RENEGOTIATION);
        created->tls = SSL_new(created->tls_context);
    }
    bool handshaken = created->tls && SSL_set_fd(created->tls, tcp) == 1;
    // A host name travels as the server name (SNI); an address does not.
    in_addr literal{};
    if (handshaken && inet_pton(AF_INET, host, &literal) != 1)
        handshaken = SSL_set_tlsext_host_name(created->tls, host) == 1;
    if (handshaken) {
        lumadb::SigpipeGuard guard;
        errno = 0;
        handshaken = SSL_connect(created->tls) == 1;
    }
    if (!handshaken) {
        const unsigned long queued = ERR_get_error();
        const uint32_t error = queued != 0 ? static_cast<uint32_t>(queued)
                                           : lumadb::socket_error_code(errno ? errno : ECONNRESET);
        ERR_clear_error();
        lumadb_close(created);
        return fail_open(LUMADB_ERR_TLS, error);
    }

    if (!compute_peer_fingerprint(created->tls, created->peer_fingerprint)) {
        lumadb_close(created);
        return fail_open(LUMADB_ERR_TLS, 0);
    }
    if (options)
        std::memcpy(options->presented_fingerprint, created->peer_fingerprint,
                    sizeof created->peer_fingerprint);
    if (const uint32_t trust = check_trust(host, port, created->peer_fingerprint, options)) {
        lumadb_close(created);
        return fail_open(trust, 0);
    }
    *handle = created;
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_error(const lumadb_handle *handle)
{
    return handle ? handle->last_error : 1;
}

extern "C" uint32_t lumadb_peer_fingerprint(const lumadb_handle *handle, char *fingerprint)
{
    if (!handle || !fingerprint || handle->peer_fingerprint[0] == '\0')
        return LUMADB_ERR_SYSTEM;
    std::memcpy(fingerprint, handle->peer_fingerprint, sizeof handle->peer_fingerprint);
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_certificate_file_fingerprint(const char *pem_path, char *fingerprint)
{
    if (!pem_path || !fingerprint)
        return LUMADB_ERR_SYSTEM;
    FILE *file = std::fopen(pem_path, "re");
    if (!file)
        return LUMADB_ERR_SYSTEM;
    X509 *certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    ERR_clear_error();
    if (!certificate)
        return LUMADB_ERR_SYSTEM;
    const bool computed = certificate_fingerprint(certificate, fingerprint);
    X509_free(certificate);
    return computed ? LUMADB_OK : LUMADB_ERR_SYSTEM;
}

extern "C" uint32_t lumadb_parse_fingerprint(const char *text, char *fingerprint)
{
    if (!text || !fingerprint)
        return LUMADB_ERR_SYSTEM;
    if (strncasecmp(text, "SHA256:", 7) == 0)
        text += 7;
    char parsed[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    size_t digits = 0;
    for (const char *p = text; *p; ++p) {
        unsigned value = 0;
        // A colon may only stand between two digit pairs.
        if (*p == ':' && digits % 2 == 0 && digits > 0 && p[1] != '\0' && p[1] != ':')
            continue;
        if (!hex_digit(*p, &value) || digits == LUMADB_FINGERPRINT_LENGTH)
            return LUMADB_ERR_SYSTEM;
        parsed[digits++] = "0123456789abcdef"[value];
    }
    if (digits != LUMADB_FINGERPRINT_LENGTH)
        return LUMADB_ERR_SYSTEM;
    std::memcpy(fingerprint, parsed, sizeof parsed);
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_fetch_fingerprint(const char *host, const char *port, char *fingerprint)
{
    if (!fingerprint)
        return LUMADB_ERR_SYSTEM;
    lumadb_open_options options{};
    options.trust = LUMADB_TRUST_INSECURE;
    lumadb_handle *handle = nullptr;
    const uint32_t status = lumadb_open_ex(host, port, &options, &handle);
    if (status != LUMADB_OK)
        return status;
    std::memcpy(fingerprint, options.presented_fingerprint, sizeof options.presented_fingerprint);
    lumadb_close(handle);
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_close(lumadb_handle *handle)
{
    if (!handle)
        return LUMADB_OK;
    if (handle->tls && SSL_is_init_finished(handle->tls)) {
        lumadb::SigpipeGuard guard;
        SSL_shutdown(handle->tls);
    }
    ERR_clear_error();
    free_tls(handle);
    close_socket(&handle->tcp_socket);
    close_socket(&handle->udp_socket);
    delete handle;
    return LUMADB_OK;
}
