#pragma once

#include <QByteArray>
#include <QString>

// A named shared-memory region for the launcher hand-over: a POSIX shared
// memory object named "/" followed by the decimal identifier, owner-only.
//
// The launcher creates the region and writes the connection record into it;
// the console opens it, reads the record and wipes it.
class FSharedComm
{
public:
    // Regions larger than this are refused: the record is four short fields.
    static constexpr qsizetype kMaxSize = 64 * 1024;

    FSharedComm() = default;
    ~FSharedComm();
    FSharedComm(const FSharedComm &) = delete;
    FSharedComm &operator=(const FSharedComm &) = delete;

    // The POSIX name of the region with this identifier, or empty when the
    // identifier is not a plain decimal number.
    static QByteArray objectName(const QString &identifier);

    // Launcher side: creates a new owner-only region of the size and maps it.
    bool create(const QString &identifier, qsizetype size);
    // Console side: opens the existing region and maps exactly the size. The
    // region must belong to this user and be closed to everybody else, and be
    // at least the size long.
    bool open(const QString &identifier, qsizetype size);

    char *data() const { return m_data; }
    qsizetype size() const { return m_size; }
    QString errorText() const { return m_error; }

    // Fills the region with zero bytes, unmaps it and releases the handle.
    void wipeAndClose();
    // Unmaps and releases without touching the contents.
    void close();
    // Removes the name (launcher side, once the console has read the record).
    static void unlink(const QString &identifier);

private:
    bool map(int fd, qsizetype size);

    char *m_data = nullptr;
    qsizetype m_size = 0;
    QString m_error;
};
