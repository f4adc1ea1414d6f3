#include "notifier.h"

#include "big_endian.h"

#include <cerrno>
#include <cstring>
#include <openssl/rand.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace postvane::devserver {

Notifier::~Notifier()
{
    close();
}

bool Notifier::open(const sockaddr_in &address, std::string &error)
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        error = std::string("cannot create the notification socket: ") + std::strerror(errno);
        return false;
    }
    if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        error = std::string("cannot bind the notification socket: ") + std::strerror(errno);
        close();
        return false;
    }
    return true;
}

void Notifier::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void Notifier::receive(int timeoutMs)
{
    if (m_fd < 0)
        return;
    pollfd poller{m_fd, POLLIN, 0};
    if (::poll(&poller, 1, timeoutMs) <= 0)
        return;
    // Drain everything waiting; only exact 4-byte datagrams are registrations.
    while (true) {
        unsigned char buffer[64];
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t got = ::recvfrom(m_fd, buffer, sizeof buffer, MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr *>(&sender), &senderLength);
        if (got < 0)
            return;
        if (got != 4 || sender.sin_family != AF_INET)
            continue;
        const uint32_t key = loadU32(buffer);
        std::lock_guard lock(m_mutex);
        auto found = m_sessions.find(key);
        if (found != m_sessions.end())
            found->second = sender;
    }
}

uint32_t Notifier::registerSession()
{
    std::lock_guard lock(m_mutex);
    while (true) {
        uint32_t key = 0;
        RAND_bytes(reinterpret_cast<unsigned char *>(&key), sizeof key);
        if (key != 0 && !m_sessions.count(key)) {
            m_sessions.emplace(key, std::nullopt);
            return key;
        }
    }
}

void Notifier::unregisterSession(uint32_t key)
{
    std::lock_guard lock(m_mutex);
    m_sessions.erase(key);
}

bool Notifier::hasEndpoint(uint32_t key)
{
    std::lock_guard lock(m_mutex);
    auto found = m_sessions.find(key);
    return found != m_sessions.end() && found->second.has_value();
}

void Notifier::broadcast(const std::string &payload)
{
    std::string datagram(1, static_cast<char>(kNotificationTag));
    datagram += payload;
    broadcastRaw(datagram);
}

void Notifier::broadcastRaw(const std::string &datagram)
{
    std::lock_guard lock(m_mutex);
    for (const auto &[key, endpoint] : m_sessions) {
        if (endpoint && m_fd >= 0)
            ::sendto(m_fd, datagram.data(), datagram.size(), MSG_DONTWAIT,
                     reinterpret_cast<const sockaddr *>(&*endpoint), sizeof *endpoint);
    }
}

std::string Notifier::logUpdatePayload(uint8_t logId, uint32_t offset, uint32_t lineCount)
{
    std::string payload;
    appendU8(payload, logId);
    appendU8(payload, kLogUpdateKind);
    appendU32(payload, offset);
    appendU32(payload, lineCount);
    return payload;
}

} // namespace postvane::devserver
