#include "handover/fsharedcomm.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

FSharedComm::~FSharedComm()
{
    close();
}

QByteArray FSharedComm::objectName(const QString &identifier)
{
    if (identifier.isEmpty() || identifier.size() > 20)
        return {};
    for (QChar c : identifier) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    }
    return '/' + identifier.toLatin1();
}

bool FSharedComm::create(const QString &identifier, qsizetype size)
{
    close();
    const QByteArray name = objectName(identifier);
    if (name.isEmpty() || size <= 0 || size > kMaxSize) {
        m_error = QStringLiteral("invalid region name or size");
        return false;
    }
    const int fd = ::shm_open(name.constData(), O_RDWR | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::ftruncate(fd, off_t(size)) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        ::shm_unlink(name.constData());
        return false;
    }
    const bool mapped = map(fd, size);
    ::close(fd);
    if (!mapped)
        ::shm_unlink(name.constData());
    return mapped;
}

bool FSharedComm::open(const QString &identifier, qsizetype size)
{
    close();
    const QByteArray name = objectName(identifier);
    if (name.isEmpty() || size <= 0 || size > kMaxSize) {
        m_error = QStringLiteral("Shared memory file not allocated.");
        return false;
    }
    const int fd = ::shm_open(name.constData(), O_RDWR, 0);
    if (fd < 0) {
        m_error = QStringLiteral("Shared memory file not allocated.");
        return false;
    }
    // The record holds a password: accept only a region of our own that nobody
    // else can read, and never map past its end.
    struct stat info
    { };
    if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid() || (info.st_mode & 077) != 0
        || info.st_size < off_t(size)) {
        ::close(fd);
        m_error = QStringLiteral("Shared memory file not allocated.");
        return false;
    }
    const bool mapped = map(fd, size);
    ::close(fd);
    if (!mapped)
        m_error = QStringLiteral("Shared memory not allocated.");
    return mapped;
}

bool FSharedComm::map(int fd, qsizetype size)
{
    void *address = ::mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (address == MAP_FAILED) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_data = static_cast<char *>(address);
    m_size = size;
    return true;
}

void FSharedComm::wipeAndClose()
{
    if (m_data)
        std::memset(m_data, 0, size_t(m_size));
    close();
}

void FSharedComm::close()
{
    if (m_data)
        ::munmap(m_data, size_t(m_size));
    m_data = nullptr;
    m_size = 0;
}

void FSharedComm::unlink(const QString &identifier)
{
    const QByteArray name = objectName(identifier);
    if (!name.isEmpty())
        ::shm_unlink(name.constData());
}
