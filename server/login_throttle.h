// Slows down password guessing: every failed login of a client address or an
// account makes the next answer for that address or account wait longer
// (doubling from a base delay up to a cap); a successful login clears the
// account's and the address's record. Shared by all sessions.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace postvane::devserver {

class LoginThrottle
{
public:
    using Clock = std::chrono::steady_clock;

    // baseMs 0 switches the throttle off.
    explicit LoginThrottle(int baseMs = 250, int capMs = 4000)
        : m_baseMs(baseMs)
        , m_capMs(capMs)
    { }

    void configure(int baseMs) { m_baseMs = baseMs; }
    // How long the answer to a login from address for account must wait.
    std::chrono::milliseconds delayFor(const std::string &address, const std::string &account);
    void failed(const std::string &address, const std::string &account);
    void succeeded(const std::string &address, const std::string &account);

private:
    struct Record
    {
        int failures = 0;
        Clock::time_point last;
    };
    int failuresOf(const std::string &key, Clock::time_point now);

    std::mutex m_lock;
    std::map<std::string, Record> m_records;
    int m_baseMs;
    int m_capMs;
};

} // namespace postvane::devserver
