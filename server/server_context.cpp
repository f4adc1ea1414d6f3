#include "server_context.h"

#include "function_registry.h"

#include <atomic>
#include <chrono>

namespace postvane::devserver {

namespace {

// One server runs in a process: its clock offset is the process's.
std::atomic<int64_t> clockOffset{0};

} // namespace

ServerContext::ServerContext(ServerOptions serverOptions)
    : options(std::move(serverOptions))
    , functions(FunctionRegistry::instance())
    , startTime((clockOffset.store(options.clockOffset), now()))
{
    faults.set(options.faults);
    loginThrottle.configure(options.loginDelayMs);
}

ServerContext::~ServerContext()
{
    stopSearches();
}

int64_t ServerContext::now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count()
            + clockOffset.load();
}

void ServerContext::appendLog(int logId, const std::vector<std::string> &lines)
{
    if (lines.empty() || !logs.append(logId, lines))
        return;
    announceLog(logId);
}

void ServerContext::announceLog(int logId)
{
    notifier.broadcast(Notifier::logUpdatePayload(static_cast<uint8_t>(logId), logs.offset(logId),
                                                  static_cast<uint32_t>(logs.count(logId))));
}

uint64_t ServerContext::addSession(ActiveSession session)
{
    std::lock_guard lock(m_mutex);
    const uint64_t id = m_nextSession++;
    m_sessions.emplace(id, std::move(session));
    return id;
}

void ServerContext::removeSession(uint64_t id)
{
    std::lock_guard lock(m_mutex);
    m_sessions.erase(id);
}

std::vector<ActiveSession> ServerContext::sessions()
{
    std::lock_guard lock(m_mutex);
    std::vector<ActiveSession> list;
    for (const auto &[id, session] : m_sessions)
        list.push_back(session);
    return list;
}

uint32_t ServerContext::startSearch(int logId, std::string text, uint64_t start, bool up,
                                    std::optional<uint64_t> end)
{
    auto search = std::make_shared<AsyncSearch>();
    uint32_t id;
    {
        std::lock_guard lock(m_mutex);
        // Finished searches give their threads back before a new one starts.
        for (auto it = m_searchThreads.begin(); it != m_searchThreads.end();) {
            if (it->first->done) {
                it->second.join();
                it = m_searchThreads.erase(it);
            } else {
                ++it;
            }
        }
        if (m_searchThreads.size() >= kMaxRunningSearches)
            return 0;
        id = m_nextSearch++;
        m_searches.emplace(id, search);
        m_searchThreads.emplace_back(
                search, std::thread([this, search, logId, text = std::move(text), start, up, end] {
                    auto line = logs.search(logId, text, start, up, end,
                                            [&] { return search->cancelled.load(); });
                    {
                        std::lock_guard lock(m_mutex);
                        search->line = line;
                    }
                    search->done = true;
                }));
    }
    return id;
}

std::shared_ptr<AsyncSearch> ServerContext::search(uint32_t id)
{
    std::lock_guard lock(m_mutex);
    auto found = m_searches.find(id);
    return found == m_searches.end() ? nullptr : found->second;
}

bool ServerContext::killSearch(uint32_t id)
{
    std::lock_guard lock(m_mutex);
    auto found = m_searches.find(id);
    if (found == m_searches.end())
        return false;
    found->second->cancelled = true;
    m_searches.erase(found);
    return true;
}

void ServerContext::stopSearches()
{
    std::vector<std::pair<std::shared_ptr<AsyncSearch>, std::thread>> threads;
    {
        std::lock_guard lock(m_mutex);
        for (auto &[id, search] : m_searches)
            search->cancelled = true;
        threads.swap(m_searchThreads);
    }
    for (auto &[search, thread] : threads)
        thread.join();
}

} // namespace postvane::devserver
