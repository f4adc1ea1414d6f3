#include "live_ticker.h"

#include "server_context.h"

#include <chrono>
#include <map>
#include <string>

namespace postvane::devserver {

namespace {

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

} // namespace

LiveTicker::LiveTicker(ServerContext &server)
    : m_server(server)
    , m_lines(static_cast<uint32_t>(nowMs()))
    , m_lastTick(nowMs())
    , m_lastSecond(ServerContext::now())
{ }

void LiveTicker::tick()
{
    const int64_t now = nowMs();
    growLogs(static_cast<double>(now - m_lastTick) / 1000.0);
    m_lastTick = now;
    if (ServerContext::now() != m_lastSecond) {
        m_lastSecond = ServerContext::now();
        moveCounters();
        if (++m_round % 20 == 0)
            moveQueue();
    }
}

void LiveTicker::growLogs(double seconds)
{
    m_pendingLines += m_server.options.logRate * seconds;
    if (m_pendingLines < 1)
        return;
    const auto lines = static_cast<uint64_t>(m_pendingLines);
    m_pendingLines -= static_cast<double>(lines);
    // Mostly mail and debug traffic, the rest spread over the other logs.
    static const char *const weighted[] = {"mail", "mail",  "mail",     "debug",   "debug", "debug",
                                           "spam", "error", "security", "warning", "config"};
    std::map<int, std::vector<std::string>> batches;
    for (uint64_t i = 0; i < lines; ++i) {
        const char *log = weighted[(m_round * 7 + i * 13 + (m_lastTick / 250)) % 11];
        const int id = m_server.logs.id(log);
        batches[id].push_back(m_lines.line(log, ServerContext::now()));
    }
    for (auto &[id, batch] : batches)
        m_server.appendLog(id, batch);
}

void LiveTicker::moveCounters()
{
    const int64_t messages = 1 + m_round % 4;
    m_server.db.write("UPDATE Stats SET mtaReceivedMessages = mtaReceivedMessages + ?1, "
                      "mtaReceivedVolume = mtaReceivedVolume + ?1 * 18000, "
                      "mtaReceivedRecipients = mtaReceivedRecipients + ?1 + 1, "
                      "mtaStoredMessages = mtaStoredMessages + ?1, "
                      "mtaTransmittedMessages = mtaTransmittedMessages + ?1 / 2, "
                      "mtaLocalMessages = mtaLocalMessages + ?1, "
                      "mtaSpamChecked = mtaSpamChecked + ?1, "
                      "mtaSpamTagged = mtaSpamTagged + (?1 / 3), "
                      "SMTPConnections = SMTPConnections + ?1 + 2, "
                      "IMAPConnections = IMAPConnections + 1, "
                      "POP3Connections = POP3Connections + (?1 % 2), "
                      "HTTPConnections = HTTPConnections + 3, "
                      "DNSQueriesHost = DNSQueriesHost + 5, DNSQueriesMx = DNSQueriesMx + ?1",
                      {Cell{messages}});
    m_server.db.write("UPDATE Info SET StorageOccupied = StorageOccupied + ?",
                      {Cell{messages * 18000}});
}

void LiveTicker::moveQueue()
{
    // Every so often a deferred message is delivered and a new one waits.
    const int64_t now = ServerContext::now();
    m_server.db.write("DELETE FROM _Queue WHERE rowid = (SELECT min(rowid) FROM _Queue) AND "
                      "(SELECT count(*) FROM _Queue) > 5");
    std::string id = std::to_string(2000 + m_round / 20);
    id.insert(0, 1, 'Q');
    m_server.db.write("INSERT OR IGNORE INTO _Queue VALUES (?, ?, ?, ?, ?, ?, ?)",
                      {Cell{id}, Cell{now}, Cell{now + 300}, Cell{int64_t(1000 + m_round * 3)},
                       Cell{std::string("carol@example.com")},
                       Cell{std::string("client@customer.example")}, Cell{std::string("Waiting")}});
}

} // namespace postvane::devserver
