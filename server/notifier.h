// The notification channel: a UDP socket on the same port as the TLS endpoint.
// A session's 4-byte registration datagram (its key, big-endian) records the
// sender as that session's endpoint; notifications go to every endpoint.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <string>

namespace postvane::devserver {

constexpr uint8_t kNotificationTag = 22;
constexpr uint8_t kLogUpdateKind = 8;

class Notifier
{
public:
    Notifier() = default;
    ~Notifier();
    Notifier(const Notifier &) = delete;
    Notifier &operator=(const Notifier &) = delete;

    bool open(const sockaddr_in &address, std::string &error);
    void close();

    // Waits up to timeoutMs for registration datagrams and handles them.
    void receive(int timeoutMs);

    uint32_t registerSession(); // a new non-zero key, unique among live sessions
    void unregisterSession(uint32_t key);
    bool hasEndpoint(uint32_t key);

    // Sends tag + payload to every registered endpoint.
    void broadcast(const std::string &payload);
    // Sends the datagram exactly as given (tag included) to every endpoint.
    void broadcastRaw(const std::string &datagram);
    static std::string logUpdatePayload(uint8_t logId, uint32_t offset, uint32_t lineCount);

private:
    int m_fd = -1;
    std::mutex m_mutex;
    std::map<uint32_t, std::optional<sockaddr_in>> m_sessions;
};

} // namespace postvane::devserver
