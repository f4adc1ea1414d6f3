// Everything the sessions, the functions and the ticker share.
#pragma once

#include "database.h"
#include "fault_injector.h"
#include "log_store.h"
#include "login_throttle.h"
#include "notifier.h"
#include "server_options.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace postvane::devserver {

class FunctionRegistry;

// One admin session as "show_connections()" lists it.
struct ActiveSession
{
    std::string user;
    std::string peer;
    int64_t since = 0;
};

// A background log search started by AsyncLogSearch(...).
struct AsyncSearch
{
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    std::optional<uint64_t> line;
};

class ServerContext
{
public:
    explicit ServerContext(ServerOptions serverOptions);
    ~ServerContext();

    ServerOptions options;
    Database db;
    LogStore logs;
    Notifier notifier;
    FaultInjector faults;
    LoginThrottle loginThrottle;
    const FunctionRegistry &functions;
    int64_t startTime = 0;

    static int64_t now();

    // Appends lines to a log and announces the new count to every session.
    void appendLog(int logId, const std::vector<std::string> &lines);
    void announceLog(int logId);

    uint64_t addSession(ActiveSession session);
    void removeSession(uint64_t id);
    std::vector<ActiveSession> sessions();

    // Asynchronous searches, by id; 0 when kMaxRunningSearches are running.
    static constexpr size_t kMaxRunningSearches = 8;
    uint32_t startSearch(int logId, std::string text, uint64_t start, bool up,
                         std::optional<uint64_t> end);
    std::shared_ptr<AsyncSearch> search(uint32_t id);
    bool killSearch(uint32_t id);
    void stopSearches();

    // A backup started by StoreBackupCreate(): start time, 0 when none runs.
    std::atomic<int64_t> backupStarted{0};

private:
    std::mutex m_mutex;
    uint64_t m_nextSession = 1;
    std::map<uint64_t, ActiveSession> m_sessions;
    uint32_t m_nextSearch = 1;
    std::map<uint32_t, std::shared_ptr<AsyncSearch>> m_searches;
    std::vector<std::pair<std::shared_ptr<AsyncSearch>, std::thread>> m_searchThreads;
};

} // namespace postvane::devserver
