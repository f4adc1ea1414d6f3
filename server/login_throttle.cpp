#include "login_throttle.h"

#include <algorithm>

namespace postvane::devserver {

namespace {

// A record is forgotten a quarter of an hour after its last failure.
constexpr auto kMemory = std::chrono::minutes(15);
// Far more keys than any honest use needs; beyond it the oldest go.
constexpr size_t kMaxRecords = 10000;

std::string addressKey(const std::string &address)
{
    return "a:" + address;
}

std::string accountKey(const std::string &account)
{
    return "u:" + account;
}

} // namespace

int LoginThrottle::failuresOf(const std::string &key, Clock::time_point now)
{
    const auto found = m_records.find(key);
    if (found == m_records.end())
        return 0;
    if (now - found->second.last > kMemory) {
        m_records.erase(found);
        return 0;
    }
    return found->second.failures;
}

std::chrono::milliseconds LoginThrottle::delayFor(const std::string &address,
                                                  const std::string &account)
{
    std::lock_guard locker(m_lock);
    if (m_baseMs <= 0)
        return std::chrono::milliseconds(0);
    const auto now = Clock::now();
    const int failures
            = std::max(failuresOf(addressKey(address), now), failuresOf(accountKey(account), now));
    if (failures == 0)
        return std::chrono::milliseconds(0);
    long long delay = m_baseMs;
    for (int i = 1; i < failures && delay < m_capMs; ++i)
        delay *= 2;
    return std::chrono::milliseconds(std::min<long long>(delay, m_capMs));
}

void LoginThrottle::failed(const std::string &address, const std::string &account)
{
    std::lock_guard locker(m_lock);
    const auto now = Clock::now();
    if (m_records.size() >= kMaxRecords) {
        auto oldest = std::min_element(
                m_records.begin(), m_records.end(),
                [](const auto &a, const auto &b) { return a.second.last < b.second.last; });
        m_records.erase(oldest);
    }
    for (const std::string &key : {addressKey(address), accountKey(account)}) {
        Record &record = m_records[key];
        if (now - record.last > kMemory)
            record.failures = 0;
        ++record.failures;
        record.last = now;
    }
}

void LoginThrottle::succeeded(const std::string &address, const std::string &account)
{
    std::lock_guard locker(m_lock);
    m_records.erase(addressKey(address));
    m_records.erase(accountKey(account));
}

} // namespace postvane::devserver
