// The login handshake and the registration of the notification channel.
#include "lumadb/lumadb.h"

#include "byte_order.h"
#include "handle.h"
#include "transport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr unsigned char greeting = 0x01;
constexpr unsigned char method_follows = 0x02;
constexpr unsigned char method_password = 0x01;
constexpr unsigned char mode_session = 0x81;
constexpr unsigned char mode_plain = 0x01;
constexpr unsigned char refused = 0x02;
constexpr unsigned char accepted = 0x01;
constexpr unsigned char application_follows = 0x05;
constexpr size_t application_field = 32;

bool send_text_field(lumadb_handle *handle, const char *text)
{
    const size_t length = std::strlen(text) + 1;
    if (length > UINT32_MAX)
        return false;
    unsigned char word[4];
    lumadb::write_be32(word, static_cast<uint32_t>(length));
    return lumadb::send_bytes(handle, word, sizeof word)
            && lumadb::send_bytes(handle, text, length);
}

// Binds a datagram socket to any local address, connects it to the address and
// port number of the TCP peer and sends the notification key there.
uint32_t open_notification_channel(lumadb_handle *handle)
{
    const int udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (udp < 0) {
        handle->last_error = lumadb::socket_error_code(errno);
        return LUMADB_ERR_NETWORK;
    }
    handle->udp_socket = udp;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(udp, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        handle->last_error = lumadb::socket_error_code(errno);
        return LUMADB_ERR_NETWORK;
    }
    socklen_t local_length = sizeof local;
    sockaddr_in peer{};
    socklen_t peer_length = sizeof peer;
    if (::getsockname(udp, reinterpret_cast<sockaddr *>(&local), &local_length) != 0
        || ::getpeername(handle->tcp_socket, reinterpret_cast<sockaddr *>(&peer), &peer_length)
                != 0) {
        handle->last_error = lumadb::socket_error_code(errno);
        return LUMADB_ERR_NETWORK;
    }
    unsigned char key[4];
    lumadb::write_be32(key, handle->notification_key);
    // Connected to the server's address and port: the kernel drops datagrams
    // from anyone else, so no other host or local user can feed notifications.
    if (::connect(udp, reinterpret_cast<const sockaddr *>(&peer), peer_length) != 0
        || ::send(udp, key, sizeof key, 0) != ssize_t(sizeof key)) {
        handle->last_error = lumadb::socket_error_code(errno);
        return LUMADB_ERR_NETWORK;
    }
    return LUMADB_OK;
}

} // namespace

extern "C" uint32_t lumadb_login(lumadb_handle *handle, const char *user, const char *password,
                                 uint32_t *access_rights, uint32_t *protocol_version,
                                 uint32_t *version1, uint32_t *version2, uint32_t *version3,
                                 const char *application_id, int open_notification_channel_flag)
{
    if (!handle)
        return LUMADB_ERR_SYSTEM;
    const bool session_mode = access_rights != nullptr;
    unsigned char byte = 0;

    // Steps 1-2: greeting, then the offered login methods up to 0x00.
    if (!lumadb::send_bytes(handle, &greeting, 1))
        return LUMADB_ERR_AUTHENTICATION;
    bool password_offered = false;
    do {
        if (!lumadb::receive_bytes(handle, &byte, 1))
            return LUMADB_ERR_AUTHENTICATION;
        password_offered = password_offered || byte == method_password;
    } while (byte != 0);

    // Steps 3-5: the method choice.
    if (!lumadb::send_bytes(handle, &method_follows, 1))
        return LUMADB_ERR_NETWORK;
    if (!password_offered) {
        lumadb::flush_output(handle);
        return LUMADB_ERR_AUTHENTICATION;
    }
    const unsigned char mode = session_mode ? mode_session : mode_plain;
    if (!lumadb::send_bytes(handle, &mode, 1))
        return LUMADB_ERR_NETWORK;
    if (!lumadb::receive_bytes(handle, &byte, 1) || byte == refused)
        return LUMADB_ERR_NETWORK;

    // Steps 6-9: the credentials.
    if (!send_text_field(handle, user ? user : "")
        || !send_text_field(handle, password ? password : ""))
        return LUMADB_ERR_NETWORK;

    // Steps 10-11: verdict and access rights, read in both modes.
    if (!lumadb::receive_bytes(handle, &byte, 1))
        return LUMADB_ERR_AUTHENTICATION;
    if (byte != accepted)
        return LUMADB_ERR_AUTHENTICATION;
    unsigned char word[4];
    if (!lumadb::receive_bytes(handle, word, sizeof word))
        return LUMADB_ERR_AUTHENTICATION;
    if (session_mode)
        *access_rights = lumadb::read_be32(word);

    // Steps 12-14: protocol and server version.
    if (!lumadb::receive_bytes(handle, &byte, 1))
        return LUMADB_ERR_NETWORK;
    if (byte != LUMADB_PROTOCOL_VERSION)
        return LUMADB_ERR_INCOMPATIBLE;
    unsigned char versions[2 + 3 * 2];
    if (!lumadb::receive_bytes(handle, versions, sizeof versions))
        return LUMADB_ERR_NETWORK;
    if (protocol_version)
        *protocol_version = LUMADB_PROTOCOL_VERSION;
    if (version1)
        *version1 = lumadb::read_be16(versions + 2);
    if (version2)
        *version2 = lumadb::read_be16(versions + 4);
    if (version3)
        *version3 = lumadb::read_be16(versions + 6);

    // Steps 15-17: the application identifier, cut to 31 bytes and 0x00.
    unsigned char application[application_field] = {};
    if (application_id)
        std::strncpy(reinterpret_cast<char *>(application), application_id, application_field - 1);
    if (!lumadb::send_bytes(handle, &application_follows, 1))
        return LUMADB_ERR_AUTHENTICATION;
    if (!lumadb::send_bytes(handle, application, sizeof application))
        return LUMADB_ERR_NETWORK;
    if (!lumadb::receive_bytes(handle, &byte, 1))
        return LUMADB_ERR_AUTHENTICATION;
    if (byte != accepted)
        return LUMADB_ERR_AUTHENTICATION;

    if (!session_mode)
        return LUMADB_OK;

    // Step 18: the notification key.
    if (!lumadb::receive_bytes(handle, word, sizeof word))
        return LUMADB_ERR_NETWORK;
    handle->notification_key = lumadb::read_be32(word);
    if (open_notification_channel_flag)
        return open_notification_channel(handle);
    return LUMADB_OK;
}
