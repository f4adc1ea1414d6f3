#include "data_folder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace postvane::devserver {

namespace {

constexpr const char *kLockName = "/postvane.lock";

// The process id recorded in the lock file, or empty when it holds none.
std::string recordedHolder(int fd)
{
    char text[32] = {0};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    if (got <= 0)
        return {};
    std::string holder(text, static_cast<size_t>(got));
    holder.erase(holder.find_last_not_of("\n") + 1);
    if (holder.empty() || holder.find_first_not_of("0123456789") != std::string::npos)
        return {};
    return holder;
}

} // namespace

DataFolderLock::~DataFolderLock()
{
    // Closing releases the lock; the file stays so no other server races
    // against a file being removed.
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DataFolderLock::acquire(const std::string &folder, std::string &error)
{
    const std::string path = folder + kLockName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return false;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int reason = errno;
        if (reason == EWOULDBLOCK) {
            const std::string holder = recordedHolder(fd);
            error = "the data folder " + folder + " is in use by another postvane-devserver"
                    + (holder.empty() ? std::string() : " (process " + holder + ")")
                    + "; stop that server or choose another folder with --data";
        } else {
            error = "cannot lock " + path + ": " + std::strerror(reason);
        }
        ::close(fd);
        return false;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0
        || ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        error = "cannot write the lock file " + path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool checkWritableFolder(const std::string &folder, std::string &error)
{
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        error = "the data folder " + folder + " is not writable: " + std::strerror(errno);
        return false;
    }
    return true;
}

bool checkWritableFile(const std::string &path, std::string &error)
{
    if (::access(path.c_str(), F_OK) != 0)
        return true; // created later
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        error = "the database file " + path + " is not writable: " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace postvane::devserver
