#include "fault_injector.h"

#include "cell.h"
#include "schema.h"

namespace postvane::devserver {

FaultSettings FaultInjector::settings() const
{
    std::lock_guard lock(m_mutex);
    return m_settings;
}

void FaultInjector::set(const FaultSettings &settings)
{
    std::lock_guard lock(m_mutex);
    m_settings = settings;
}

bool FaultInjector::apply(std::string_view name, std::string_view value, std::string_view extra)
{
    std::lock_guard lock(m_mutex);
    const auto number = parseInteger(value);
    if (equalsIgnoreCase(name, "clear")) {
        m_settings = {};
        return true;
    }
    if (equalsIgnoreCase(name, "close_after") && number && *number >= 0 && *number <= UINT32_MAX) {
        m_settings.closeAfterStatements = static_cast<uint32_t>(*number);
        return true;
    }
    if (equalsIgnoreCase(name, "delay") && number && *number >= 0 && *number <= 60000) {
        m_settings.delayMs = static_cast<uint32_t>(*number);
        return true;
    }
    if (equalsIgnoreCase(name, "refuse_logins") && number) {
        m_settings.refuseLogins = *number != 0;
        return true;
    }
    if (equalsIgnoreCase(name, "status") && number && *number >= 0 && *number <= 9999) {
        if (*number != 0 && extra.empty())
            return false;
        m_settings.forcedStatus = static_cast<uint32_t>(*number);
        m_settings.statusPattern = *number ? toLower(extra) : std::string();
        return true;
    }
    return false;
}

uint32_t FaultInjector::forcedStatusFor(std::string_view text) const
{
    std::lock_guard lock(m_mutex);
    if (!m_settings.forcedStatus || m_settings.statusPattern.empty())
        return 0;
    return toLower(text).find(m_settings.statusPattern) != std::string::npos
            ? m_settings.forcedStatus
            : 0;
}

} // namespace postvane::devserver
