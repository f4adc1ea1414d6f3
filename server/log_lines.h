// Believable log lines for each of the server's logs.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace postvane::devserver {

class LogLineGenerator
{
public:
    explicit LogLineGenerator(uint32_t seed);
    std::string line(std::string_view log, int64_t when);

private:
    const char *pick(const char *const *choices, size_t count);
    std::mt19937 m_random;
    int64_t m_day = 0;
    std::string m_date;
};

} // namespace postvane::devserver
