#include "log_lines.h"

#include <cstdio>
#include <ctime>

namespace postvane::devserver {

namespace {

const char *const kUsers[] = {"alice@example.com",    "bob@example.com",        "carol@example.com",
                              "erin@example.org",     "buyer@customer.example", "news@spam.example",
                              "donor@partner.example"};
const char *const kHosts[] = {"mx1.customer.example", "smtp.partner.example", "192.0.2.15",
                              "198.51.100.23",        "203.0.113.7",          "mail.isp.example"};
const char *const kLinks[] = {"http://www.example.com/status", "https://docs.example.org/mail",
                              "http://spam.example/unsubscribe"};

template<size_t N>
constexpr size_t countOf(const char *const (&)[N])
{
    return N;
}

} // namespace

LogLineGenerator::LogLineGenerator(uint32_t seed)
    : m_random(seed)
{ }

const char *LogLineGenerator::pick(const char *const *choices, size_t count)
{
    return choices[m_random() % count];
}

std::string LogLineGenerator::line(std::string_view log, int64_t when)
{
    // The date part changes once a day; only the time of day is formatted per line.
    const int64_t day = when >= 0 ? when / 86400 : (when - 86399) / 86400;
    if (day != m_day || m_date.empty()) {
        const time_t midnight = static_cast<time_t>(day * 86400);
        tm parts{};
        gmtime_r(&midnight, &parts);
        char date[16];
        std::strftime(date, sizeof date, "%Y-%m-%d ", &parts);
        m_date = date;
        m_day = day;
    }
    const auto secondOfDay = static_cast<unsigned>(when - day * 86400);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%s%02u:%02u:%02u", m_date.c_str(), secondOfDay / 3600,
                  secondOfDay / 60 % 60, secondOfDay % 60);
    const unsigned thread = 1000 + m_random() % 64;
    const char *user = pick(kUsers, countOf(kUsers));
    const char *other = pick(kUsers, countOf(kUsers));
    const char *host = pick(kHosts, countOf(kHosts));
    char text[512];
    const unsigned variant = m_random() % 4;
    if (log == "mail") {
        const char *forms[] = {"SMTP: message from <%s> to <%s> accepted from %s, %u bytes",
                               "DELIVERY: <%s> delivered to mailbox of <%s> (via %s), %u bytes",
                               "SMTP: relaying mail from <%s> for <%s> to %s refused (%u)",
                               "QUEUE: message for <%s> from <%s> deferred, host %s, try %u"};
        std::snprintf(text, sizeof text, forms[variant], user, other, host,
                      static_cast<unsigned>(500 + m_random() % 90000));
    } else if (log == "security") {
        const char *forms[] = {"IMAP: LOGIN %s from %s OK", "POP3: LOGIN %s from %s FAILED",
                               "SMTP: AUTH %s from %s OK", "ADMIN: session of %s from %s closed"};
        std::snprintf(text, sizeof text, forms[variant], user, host);
    } else if (log == "error") {
        const char *forms[] = {"SMTP: connection to %s failed: timed out after 30 s",
                               "DNS: lookup of %s failed: server failure",
                               "STORE: cannot open folder of %s, retrying",
                               "DELIVERY: error 550 from %s, see http://www.example.com/status"};
        std::snprintf(text, sizeof text, forms[variant], variant == 2 ? user : host);
    } else if (log == "warning") {
        const char *forms[] = {"QUOTA: mailbox of %s is at 91%% of its quota",
                               "SMTP: %s sent 20 unknown recipients",
                               "TLS: certificate of %s expires in 12 days",
                               "QUEUE: 3 messages older than 2 days for %s"};
        std::snprintf(text, sizeof text, forms[variant], variant % 2 ? host : user);
    } else if (log == "spam") {
        const char *forms[] = {"SPAM: message from <%s> scored 7.2, tagged, see %s",
                               "SPAM: message from <%s> scored 12.9, blocked (%s)",
                               "BLACKLIST: <%s> listed by bl.spamlist.example (%s)",
                               "SPAM: message from <%s> scored 0.4, clean (%s)"};
        std::snprintf(text, sizeof text, forms[variant], user, pick(kLinks, countOf(kLinks)));
    } else if (log == "config") {
        const char *forms[] = {"CONFIG: user %s changed by admin@example.com from %s",
                               "CONFIG: table Alias updated by %s from %s",
                               "CONFIG: service smtp restarted by %s (%s)",
                               "CONFIG: backup settings saved by %s from %s"};
        std::snprintf(text, sizeof text, forms[variant], user, host);
    } else {
        const char *forms[] = {"[%u] SMTP >>> RCPT TO:<%s>", "[%u] SMTP <<< 250 2.1.5 <%s> ok",
                               "[%u] IMAP SELECT INBOX for %s",
                               "[%u] LDAP search for %s in cn=users,dc=corp,dc=example"};
        std::snprintf(text, sizeof text, forms[variant], thread, user);
    }
    return std::string(stamp) + " [" + std::to_string(thread) + "] " + text;
}

} // namespace postvane::devserver
