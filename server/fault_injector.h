// Faults the console's tests can switch on: at start through options, at run
// time through the admin-only function DevServerFault(...).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace postvane::devserver {

struct FaultSettings
{
    uint32_t closeAfterStatements = 0; // 0 = never; counted per session
    uint32_t forcedStatus = 0; // answered to statements containing the pattern
    std::string statusPattern; // case-insensitive substring
    uint32_t delayMs = 0; // before every answer
    bool refuseLogins = false;
};

class FaultInjector
{
public:
    FaultSettings settings() const;
    void set(const FaultSettings &settings);

    // Changes one setting by name; false for an unknown name or bad value.
    bool apply(std::string_view name, std::string_view value, std::string_view extra);

    // The status to answer instead of executing text, or 0.
    uint32_t forcedStatusFor(std::string_view text) const;

private:
    mutable std::mutex m_mutex;
    FaultSettings m_settings;
};

} // namespace postvane::devserver
