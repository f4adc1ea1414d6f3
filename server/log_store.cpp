#include "log_store.h"

#include "schema.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <openssl/rand.h>
#include <sys/stat.h>
#include <unistd.h>

namespace postvane::devserver {

struct LogStore::Log
{
    std::mutex mutex;
    std::string name;
    int dataFd = -1;
    int indexFd = -1;
    uint64_t lines = 0;
    uint64_t dataSize = 0;
    uint32_t offset = 0;
};

namespace {

bool writeAll(int fd, const char *data, size_t size, off_t at)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
        at += written;
    }
    return true;
}

bool readAll(int fd, char *data, size_t size, off_t at)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<size_t>(got);
        at += got;
    }
    return true;
}

// A number that stays the same for the life of a log file, kept beside it.
uint32_t loadOrCreateOffset(const std::string &path)
{
    uint32_t value = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const bool ok = readAll(fd, reinterpret_cast<char *>(&value), sizeof value, 0);
        ::close(fd);
        if (ok)
            return value;
    }
    RAND_bytes(reinterpret_cast<unsigned char *>(&value), sizeof value);
    const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out >= 0) {
        writeAll(out, reinterpret_cast<const char *>(&value), sizeof value, 0);
        ::close(out);
    }
    return value;
}

// Case-insensitive substring test with the needle lower-cased once; the line
// is lower-cased into a reused buffer so the search itself is a plain find.
class LineMatcher
{
public:
    explicit LineMatcher(std::string_view needle)
        : m_needle(toLower(needle))
        , m_searcher(m_needle.begin(), m_needle.end())
    { }
    bool matches(std::string_view line)
    {
        if (m_needle.empty())
            return true;
        if (line.size() < m_needle.size())
            return false;
        m_lower.resize(line.size());
        for (size_t i = 0; i < line.size(); ++i)
            m_lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
        return std::search(m_lower.begin(), m_lower.end(), m_searcher) != m_lower.end();
    }

private:
    std::string m_needle;
    std::boyer_moore_horspool_searcher<std::string::const_iterator> m_searcher;
    std::string m_lower;
};

} // namespace

LogStore::LogStore() = default;

LogStore::~LogStore()
{
    close();
}

const std::vector<std::string> &LogStore::names()
{
    static const std::vector<std::string> logNames
            = {"debug", "error", "security", "warning", "mail", "config", "spam"};
    return logNames;
}

bool LogStore::open(const std::string &directory, std::string &error)
{
    close();
    ::mkdir(directory.c_str(), 0700);
    for (const auto &name : names()) {
        auto log = std::make_unique<Log>();
        log->name = name;
        const std::string base = directory + "/" + name;
        log->dataFd = ::open((base + ".log").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        log->indexFd = ::open((base + ".idx").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (log->dataFd < 0 || log->indexFd < 0) {
            error = "cannot open the log files in " + directory + ": " + std::strerror(errno);
            if (log->dataFd >= 0)
                ::close(log->dataFd);
            if (log->indexFd >= 0)
                ::close(log->indexFd);
            close();
            return false;
        }
        struct stat dataInfo, indexInfo;
        ::fstat(log->dataFd, &dataInfo);
        ::fstat(log->indexFd, &indexInfo);
        log->lines = static_cast<uint64_t>(indexInfo.st_size) / 8;
        log->dataSize = static_cast<uint64_t>(dataInfo.st_size);
        // A torn last index entry (killed while appending) is dropped.
        if (static_cast<uint64_t>(indexInfo.st_size) % 8)
            ::ftruncate(log->indexFd, static_cast<off_t>(log->lines * 8));
        log->offset = loadOrCreateOffset(base + ".gen");
        m_logs.push_back(std::move(log));
    }
    return true;
}

void LogStore::close()
{
    for (auto &log : m_logs) {
        ::close(log->dataFd);
        ::close(log->indexFd);
    }
    m_logs.clear();
}

int LogStore::id(std::string_view name, std::string *canonical) const
{
    for (size_t i = 0; i < names().size(); ++i) {
        if (equalsIgnoreCase(names()[i], name)) {
            if (canonical)
                *canonical = names()[i];
            return static_cast<int>(i + 1);
        }
    }
    return 0;
}

LogStore::Log *LogStore::log(int id)
{
    if (id < 1 || static_cast<size_t>(id) > m_logs.size())
        return nullptr;
    return m_logs[static_cast<size_t>(id - 1)].get();
}

uint64_t LogStore::count(int id)
{
    Log *entry = log(id);
    if (!entry)
        return 0;
    std::lock_guard lock(entry->mutex);
    return entry->lines;
}

uint32_t LogStore::offset(int id)
{
    Log *entry = log(id);
    return entry ? entry->offset : 0;
}

bool LogStore::append(int id, const std::vector<std::string> &lines)
{
    Log *entry = log(id);
    if (!entry)
        return false;
    std::lock_guard lock(entry->mutex);
    std::string data;
    std::string index;
    data.reserve(lines.size() * 128);
    index.reserve(lines.size() * sizeof(uint64_t));
    uint64_t position = entry->dataSize;
    for (const auto &line : lines) {
        std::string_view text(line);
        if (text.size() > kMaxLineBytes)
            text = text.substr(0, kMaxLineBytes);
        index.append(reinterpret_cast<const char *>(&position), sizeof position);
        const size_t start = data.size();
        data.append(text);
        // A line feed inside a line would split it; it becomes a space.
        for (size_t i = start; i < data.size(); ++i) {
            if (data[i] == '\n' || data[i] == '\r')
                data[i] = ' ';
        }
        data += '\n';
        position += text.size() + 1;
    }
    if (!writeAll(entry->dataFd, data.data(), data.size(), static_cast<off_t>(entry->dataSize)))
        return false;
    if (!writeAll(entry->indexFd, index.data(), index.size(), static_cast<off_t>(entry->lines * 8)))
        return false;
    entry->dataSize = position;
    entry->lines += lines.size();
    return true;
}

bool LogStore::read(int id, uint64_t first, uint64_t lines,
                    const std::function<void(std::string_view)> &onLine)
{
    Log *entry = log(id);
    if (!entry)
        return false;
    std::lock_guard lock(entry->mutex);
    if (first > entry->lines || lines > entry->lines - first)
        return false;
    constexpr uint64_t kChunk = 4096;
    std::vector<uint64_t> starts;
    std::string data;
    for (uint64_t done = 0; done < lines;) {
        const uint64_t chunk = std::min(kChunk, lines - done);
        const uint64_t from = first + done;
        // One more start than lines, or the data size after the last line.
        const uint64_t entries = std::min(chunk + 1, entry->lines - from);
        starts.resize(entries);
        if (!readAll(entry->indexFd, reinterpret_cast<char *>(starts.data()), entries * 8,
                     static_cast<off_t>(from * 8)))
            return false;
        if (entries == chunk)
            starts.push_back(entry->dataSize);
        const uint64_t begin = starts.front();
        const uint64_t end = starts.back();
        if (end < begin || end > entry->dataSize)
            return false;
        data.resize(end - begin);
        if (!data.empty()
            && !readAll(entry->dataFd, data.data(), data.size(), static_cast<off_t>(begin)))
            return false;
        for (uint64_t i = 0; i < chunk; ++i) {
            const uint64_t lineStart = starts[i] - begin;
            uint64_t lineEnd = starts[i + 1] - begin;
            if (lineEnd < lineStart || lineEnd > data.size())
                return false;
            if (lineEnd > lineStart && data[lineEnd - 1] == '\n')
                --lineEnd;
            onLine(std::string_view(data).substr(lineStart, lineEnd - lineStart));
        }
        done += chunk;
    }
    return true;
}

bool LogStore::clear(int id)
{
    Log *entry = log(id);
    if (!entry)
        return false;
    std::lock_guard lock(entry->mutex);
    if (::ftruncate(entry->indexFd, 0) != 0 || ::ftruncate(entry->dataFd, 0) != 0)
        return false;
    entry->lines = 0;
    entry->dataSize = 0;
    return true;
}

std::optional<uint64_t> LogStore::search(int id, std::string_view text, uint64_t start, bool up,
                                         std::optional<uint64_t> end,
                                         const std::function<bool()> &cancelled)
{
    const uint64_t total = count(id);
    if (total == 0 || start >= total)
        return std::nullopt;
    constexpr uint64_t kChunk = 4096;
    std::optional<uint64_t> found;
    LineMatcher matcher(text);
    if (!up) {
        const uint64_t limit = end ? std::min(*end, total) : total;
        for (uint64_t from = start; from < limit && !found; from += kChunk) {
            if (cancelled && cancelled())
                return std::nullopt;
            const uint64_t lines = std::min(kChunk, limit - from);
            uint64_t line = from;
            read(id, from, lines, [&](std::string_view content) {
                if (!found && matcher.matches(content))
                    found = line;
                ++line;
            });
        }
        return found;
    }
    const uint64_t stop = end ? *end : 0; // exclusive lower bound when given
    uint64_t to = start + 1; // exclusive
    while (to > stop && !found) {
        if (cancelled && cancelled())
            return std::nullopt;
        const uint64_t from = (to - stop > kChunk) ? to - kChunk : stop;
        uint64_t line = from;
        read(id, from, to - from, [&](std::string_view content) {
            if ((!end || line > *end) && matcher.matches(content))
                found = line; // keeps the last (nearest) match of the chunk
            ++line;
        });
        to = from;
    }
    return found;
}

} // namespace postvane::devserver
