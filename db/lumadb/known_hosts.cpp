#include "known_hosts.h"

#include "lumadb/lumadb.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace lumadb {

namespace {

constexpr mode_t folder_mode = 0700;

enum class ReadOutcome { Read, Missing, Failed };

ReadOutcome read_file(const std::string &path, std::string *contents)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
    contents->clear();
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return ReadOutcome::Failed;
        }
        if (got == 0)
            break;
        contents->append(chunk, size_t(got));
    }
    ::close(fd);
    return ReadOutcome::Read;
}

std::vector<std::string> split_lines(const std::string &contents)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        std::string line = contents.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Splits a line into its key and fingerprint; false for lines that are not
// entries (blank lines, comments, damaged lines), which are kept untouched.
bool parse_entry(const std::string &line, std::string *key, std::string *fingerprint)
{
    const size_t space = line.find(' ');
    if (space == std::string::npos || space == 0)
        return false;
    *key = line.substr(0, space);
    size_t begin = line.find_first_not_of(' ', space);
    if (begin == std::string::npos)
        return false;
    size_t end = line.find_last_not_of(" \t");
    *fingerprint = line.substr(begin, end + 1 - begin);
    return key->front() != '#';
}

bool valid_host_and_port(const char *host, const char *port)
{
    if (!host || !port || !*host || !*port)
        return false;
    for (const char *p = host; *p; ++p) {
        if (std::isspace(static_cast<unsigned char>(*p)) || static_cast<unsigned char>(*p) < 0x20)
            return false;
    }
    for (const char *p = port; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
    }
    return true;
}

// Creates the folders leading to path (owner-only) when they are missing.
bool make_parent_folders(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    const std::string folder = path.substr(0, slash);
    struct stat info;
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    if (!make_parent_folders(folder))
        return false;
    return ::mkdir(folder.c_str(), folder_mode) == 0 || errno == EEXIST;
}

bool write_all(int fd, const std::string &contents)
{
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = ::write(fd, contents.data() + done, contents.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += size_t(written);
    }
    return true;
}

// Replaces the file in one step: a crash leaves either the old or the new
// file, never a half-written one.
bool replace_file(const std::string &path, const std::string &contents)
{
    if (!make_parent_folders(path))
        return false;
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, 0600) == 0 && write_all(fd, contents) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string configuration_folder()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return std::string(entry->pw_dir) + "/.config";
    return ".config";
}

} // namespace

std::string known_host_key(const char *host, const char *port)
{
    std::string key;
    for (const char *p = host; *p; ++p)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    key += ':';
    key += port;
    return key;
}

bool is_fingerprint(const char *text)
{
    if (!text)
        return false;
    size_t length = 0;
    for (; text[length]; ++length) {
        const char c = text[length];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return length == LUMADB_FINGERPRINT_LENGTH;
}

} // namespace lumadb

extern "C" const char *lumadb_default_known_hosts_path(void)
{
    // Per thread, recomputed on each call so a changed environment is seen.
    thread_local std::string path;
    path = lumadb::configuration_folder() + "/postdesk/known_hosts.cfg";
    return path.c_str();
}

extern "C" uint32_t lumadb_known_host_fingerprint(const char *path, const char *host,
                                                  const char *port, char *fingerprint)
{
    if (!lumadb::valid_host_and_port(host, port) || !fingerprint)
        return LUMADB_ERR_SYSTEM;
    const std::string file = path ? path : lumadb_default_known_hosts_path();
    std::string contents;
    switch (lumadb::read_file(file, &contents)) {
    case lumadb::ReadOutcome::Failed:
        return LUMADB_ERR_KNOWN_HOSTS;
    case lumadb::ReadOutcome::Missing:
        return LUMADB_ERR_SYSTEM;
    case lumadb::ReadOutcome::Read:
        break;
    }
    const std::string wanted = lumadb::known_host_key(host, port);
    std::string key;
    std::string recorded;
    for (const std::string &line : lumadb::split_lines(contents)) {
        if (lumadb::parse_entry(line, &key, &recorded) && key == wanted) {
            if (!lumadb::is_fingerprint(recorded.c_str()))
                return LUMADB_ERR_KNOWN_HOSTS;
            std::memcpy(fingerprint, recorded.c_str(), LUMADB_FINGERPRINT_LENGTH + 1);
            return LUMADB_OK;
        }
    }
    return LUMADB_ERR_SYSTEM;
}

extern "C" uint32_t lumadb_trust_fingerprint(const char *path, const char *host, const char *port,
                                             const char *fingerprint)
{
    if (!lumadb::valid_host_and_port(host, port) || !lumadb::is_fingerprint(fingerprint))
        return LUMADB_ERR_SYSTEM;
    const std::string file = path ? path : lumadb_default_known_hosts_path();
    std::string contents;
    if (lumadb::read_file(file, &contents) == lumadb::ReadOutcome::Failed)
        return LUMADB_ERR_KNOWN_HOSTS;

    const std::string wanted = lumadb::known_host_key(host, port);
    const std::string entry = wanted + ' ' + fingerprint;
    std::string updated;
    bool replaced = false;
    std::string key;
    std::string recorded;
    for (const std::string &line : lumadb::split_lines(contents)) {
        if (lumadb::parse_entry(line, &key, &recorded) && key == wanted) {
            if (replaced)
                continue; // drop duplicates of the same server
            updated += entry;
            replaced = true;
        } else {
            updated += line;
        }
        updated += '\n';
    }
    if (!replaced)
        updated += entry + '\n';
    return lumadb::replace_file(file, updated) ? LUMADB_OK : LUMADB_ERR_KNOWN_HOSTS;
}
