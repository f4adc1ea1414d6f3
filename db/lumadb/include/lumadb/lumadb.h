/*
 * lumadb: client of the lumadb table-query protocol.
 *
 * A small library with a plain C interface and no toolkit dependency: it owns
 * the TCP socket, the TLS session, the output buffer, the notification socket
 * and the in-place decoding of result blocks. Every function returns a status
 * code (0 = success) unless stated otherwise; lumadb_status_text() describes it.
 *
 * One handle is used by one thread at a time.
 */
#ifndef LUMADB_H
#define LUMADB_H

/* The administration port a server listens on unless told otherwise. */
#define LUMADB_DEFAULT_PORT 44337

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes produced by the client itself. Server-side codes arrive in
 * the status word of a response header and are passed through unchanged. */
enum {
    LUMADB_OK = 0,
    LUMADB_ERR_MEMORY = 100,
    LUMADB_ERR_NETWORK = 101,
    LUMADB_ERR_SYSTEM = 102,
    LUMADB_ERR_TLS = 103,
    LUMADB_ERR_ACCESS_DENIED = 200,
    LUMADB_ERR_TABLE_NOT_FOUND = 201,
    LUMADB_ERR_COLUMN_NOT_FOUND = 202,
    LUMADB_ERR_DUPLICATE_KEY = 203,
    LUMADB_ERR_FUNCTION_ACCESS_DENIED = 300,
    LUMADB_ERR_FUNCTION_NOT_FOUND = 301,
    LUMADB_ERR_FUNCTION_PARAMETERS = 302,
    LUMADB_ERR_PARSE = 400,
    LUMADB_ERR_ILLEGAL = 401,
    LUMADB_ERR_BUFFER_SIZE = 402,
    LUMADB_ERR_MITM = 604,
    LUMADB_ERR_INCOMPATIBLE = 700,
    LUMADB_ERR_NO_MORE_CONNECTIONS = 701,
    LUMADB_ERR_AUTHENTICATION = 702,
    LUMADB_ERR_KNOWN_HOSTS = 703,
    /* The server is not in the known-hosts file: its fingerprint has to be
     * confirmed (expected_fingerprint) before any credential is sent. */
    LUMADB_ERR_UNKNOWN_SERVER = 704
};

/* Column type codes. */
enum {
    LUMADB_TYPE_TEXT = 1,
    LUMADB_TYPE_INT32 = 2,
    LUMADB_TYPE_INT64 = 3,
    LUMADB_TYPE_IPV4 = 4,
    LUMADB_TYPE_TEXT2 = 5,
    LUMADB_TYPE_BINARY = 6,
    LUMADB_TYPE_PORT = 7,
    LUMADB_TYPE_LIST = 8
};

/* Result kind of a row set (the letter "s"). */
#define LUMADB_KIND_ROWSET 115u
/* First byte of every notification datagram. */
#define LUMADB_NOTIFICATION_TAG 22u
/* Protocol version the client speaks. */
#define LUMADB_PROTOCOL_VERSION 22u
/* Length of a SHA-256 fingerprint in lower-case hex, without the 0x00. */
#define LUMADB_FINGERPRINT_LENGTH 64

typedef struct lumadb_handle lumadb_handle;

/* A decoded response. Cells and column names are read in place; pointers
 * into the block stay valid until lumadb_free_result(). */
typedef struct lumadb_result
{
    uint32_t kind;
    uint32_t column_count;
    uint32_t row_count;
    uint32_t extra;
    uint32_t valid;
    unsigned char **rows; /* row_count pointers to each row's first cell */
    unsigned char **columns; /* column_count pointers to column descriptors */
    unsigned char *block; /* the received block, owned */
    void *index; /* the one allocation behind rows and columns, owned */
} lumadb_result;

/* How lumadb_open_ex() treats the server certificate. */
typedef enum lumadb_trust_mode {
    /* Compare the certificate's fingerprint with the known-hosts file: the
     * recorded fingerprint is accepted, a different one is refused with 604,
     * an unknown server with 704 (nothing is recorded without a decision). */
    LUMADB_TRUST_CHECK = 0,
    /* Record expected_fingerprint in place of the recorded one, provided the
     * server presents exactly that certificate (604 otherwise, 102 without an
     * expected fingerprint): the fingerprint the administrator confirmed. */
    LUMADB_TRUST_REPLACE = 1,
    /* Accept any certificate and touch no file. */
    LUMADB_TRUST_INSECURE = 2
} lumadb_trust_mode;

typedef struct lumadb_open_options
{
    const char *known_hosts_path; /* NULL: lumadb_default_known_hosts_path() */
    lumadb_trust_mode trust;
    const char *expected_fingerprint; /* with LUMADB_TRUST_REPLACE: 64 hex digits */
    /* Outputs, filled whenever the TLS handshake got as far as a certificate:
     * the presented fingerprint, and on 604 the recorded one. */
    char presented_fingerprint[LUMADB_FINGERPRINT_LENGTH + 1];
    char recorded_fingerprint[LUMADB_FINGERPRINT_LENGTH + 1];
} lumadb_open_options;

/* Connect to host:port over TCP, wrap in TLS and check the server
 * certificate against the default known-hosts file (LUMADB_TRUST_CHECK). */
uint32_t lumadb_open(const char *host, const char *port, lumadb_handle **handle);
/* The same with explicit trust options; options may be NULL. */
uint32_t lumadb_open_ex(const char *host, const char *port, lumadb_open_options *options,
                        lumadb_handle **handle);

/* The login handshake. access_rights == NULL selects plain mode (no rights
 * word kept, no notification channel); otherwise session mode. password NULL
 * is sent as the empty text. Every version output may be NULL. */
uint32_t lumadb_login(lumadb_handle *handle, const char *user, const char *password,
                      uint32_t *access_rights, uint32_t *protocol_version, uint32_t *version1,
                      uint32_t *version2, uint32_t *version3, const char *application_id,
                      int open_notification_channel);

/* Send one query and decode its response into result (which is cleared first). */
uint32_t lumadb_query(lumadb_handle *handle, const char *query, lumadb_result *result);
/* Release the block and the index memory; a no-op on a result that is not valid. */
uint32_t lumadb_free_result(lumadb_result *result);

/* Decode a received block in place into result. Takes ownership of block
 * (allocated with malloc) in every case: on failure it is released and the
 * result is left cleared. Returns 0, 100 or 102. */
uint32_t lumadb_decode_block(unsigned char *block, uint32_t length, lumadb_result *result);

/* Copy one cell. *length holds the buffer's capacity on entry and the cell's
 * length on return (also with 402, buffer too small). */
uint32_t lumadb_read_result(const lumadb_result *result, uint32_t row, uint32_t column,
                            void *buffer, uint32_t *length);
/* Point at one cell inside the block without copying. */
uint32_t lumadb_cell(const lumadb_result *result, uint32_t row, uint32_t column,
                     const unsigned char **data, uint32_t *length);
/* Every cell of one row in a single walk: data[c] and length[c] for each
 * column c; both arrays hold column_count entries. */
uint32_t lumadb_row_cells(const lumadb_result *result, uint32_t row, const unsigned char **data,
                          uint32_t *length);
/* Type byte, attribute byte and name (0x00-terminated, inside the block). */
uint32_t lumadb_get_column(const lumadb_result *result, uint32_t column, uint32_t *type,
                           uint32_t *attribute, const char **name);

/* Fetch one waiting notification without blocking; *length is the capacity on
 * entry and the payload size (0 = nothing) on return. */
uint32_t lumadb_recv_notification(lumadb_handle *handle, void *buffer, uint32_t *length);

/* The handle's last system error; 1 when handle is NULL. */
uint32_t lumadb_error(const lumadb_handle *handle);
/* The system error of the last lumadb_open/lumadb_open_ex on the calling
 * thread that failed without producing a handle: the socket or resolver code
 * with 101 (10061 refused, 10060 timed out, 10049 address not available,
 * 10051 network unreachable, 10054 reset, 11001 host not found, otherwise the
 * errno value), the TLS library's code with 103; 0 after a successful open. */
uint32_t lumadb_last_open_error(void);
/* Whether the server ended the session of an idle handle (no request under
 * way), without blocking: 0 while it is up, otherwise the system error that
 * describes the end (10054 reset, or the socket's pending error). A closed or
 * half-closed connection and an expired keep-alive count as ended; data the
 * server sent unasked does not. */
uint32_t lumadb_peer_closed(const lumadb_handle *handle);
/* End TLS, close both sockets and free the handle. Always returns 0. */
uint32_t lumadb_close(lumadb_handle *handle);

/* Cell conversions. lumadb_value_to_text returns the bytes written including
 * the 0x00, or 0; lumadb_text_to_value returns the bytes produced, or 0. */
uint32_t lumadb_value_to_text(uint32_t type, char *output, uint32_t capacity,
                              const unsigned char *cell, uint32_t cell_length);
uint32_t lumadb_text_to_value(uint32_t type, const char *text, unsigned char *output,
                              uint32_t capacity);

/* Fixed description of a status code; "UNKNOWN" for a code not in the table. */
const char *lumadb_status_text(uint32_t code);
/* Words for a socket or resolver code that comes with 101 (the codes listed at
 * lumadb_last_open_error); NULL for any other value, such as an errno value. */
const char *lumadb_network_error_text(uint32_t code);

/* Certificate trust. */
/* The known-hosts file used when none is given: "known_hosts.cfg" in the
 * user's configuration directory. The returned text is the library's. */
const char *lumadb_default_known_hosts_path(void);
/* The fingerprint recorded for host:port; returns 0 and fills fingerprint
 * (capacity LUMADB_FINGERPRINT_LENGTH + 1), 102 when none is recorded,
 * 703 when the file cannot be read. */
uint32_t lumadb_known_host_fingerprint(const char *path, const char *host, const char *port,
                                       char *fingerprint);
/* Record fingerprint for host:port, replacing any earlier one (the explicit
 * trust operation). Returns 0 or 703. */
uint32_t lumadb_trust_fingerprint(const char *path, const char *host, const char *port,
                                  const char *fingerprint);
/* Fingerprint of the certificate presented by the server of an open handle. */
uint32_t lumadb_peer_fingerprint(const lumadb_handle *handle, char *fingerprint);
/* Fingerprint of the first certificate in a PEM file (a server's own
 * certificate, read by whoever started that server). 0, or 102 when the file
 * holds no certificate. */
uint32_t lumadb_certificate_file_fingerprint(const char *pem_path, char *fingerprint);
/* Reads a fingerprint as an administrator writes it: 64 hex digits of either
 * case, optionally after "SHA256:" and with ':' between the digit pairs.
 * Fills 64 lower-case digits and returns 0, or 102 for anything else. */
uint32_t lumadb_parse_fingerprint(const char *text, char *fingerprint);
/* Connects to host:port, completes the TLS handshake and reports the
 * certificate's fingerprint without logging in and without touching any
 * known-hosts file. */
uint32_t lumadb_fetch_fingerprint(const char *host, const char *port, char *fingerprint);

#ifdef __cplusplus
}
#endif

#endif /* LUMADB_H */
