// The server's logs, kept as files in the data folder: "<name>.log" holds the
// lines separated by line feeds, "<name>.idx" one 8-byte start offset per line.
// Line counts, pages and searches work from the index without loading the log.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace postvane::devserver {

class LogStore
{
public:
    static constexpr size_t kMaxLineBytes = 4096;

    LogStore();
    ~LogStore();
    LogStore(const LogStore &) = delete;
    LogStore &operator=(const LogStore &) = delete;

    // The seven logs the console shows.
    static const std::vector<std::string> &names();

    bool open(const std::string &directory, std::string &error);
    void close();

    // 1..7, 0 for an unknown name (compared ignoring case); canonical name out.
    int id(std::string_view name, std::string *canonical = nullptr) const;
    uint64_t count(int id);
    uint32_t offset(int id);

    bool append(int id, const std::vector<std::string> &lines);
    // Calls onLine for each line of [first, first + lines); false when out of range.
    bool read(int id, uint64_t first, uint64_t lines,
              const std::function<void(std::string_view)> &onLine);
    bool clear(int id);
    // Case-insensitive substring search from start (inclusive) towards line 0
    // (up) or the end; stops before end when given. nullopt when not found.
    std::optional<uint64_t> search(int id, std::string_view text, uint64_t start, bool up,
                                   std::optional<uint64_t> end,
                                   const std::function<bool()> &cancelled = {});

private:
    struct Log;
    Log *log(int id);
    std::vector<std::unique_ptr<Log>> m_logs;
};

} // namespace postvane::devserver
