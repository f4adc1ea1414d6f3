#include "handover/closechannel.h"

#include <QDir>
#include <QFile>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class FolderState { Private, Missing, Unsafe };

// Whether this is a folder of this user's that no one else may enter or list.
FolderState folderState(const QString &path, QString *why)
{
    struct stat info
    { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        *why = QStringLiteral("%1 does not exist").arg(path);
        return FolderState::Missing;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        *why = QStringLiteral("%1 is not a folder of this user that only this user may enter")
                       .arg(path);
        return FolderState::Unsafe;
    }
    return FolderState::Private;
}

} // namespace

QString closeChannelFolder(bool create, QString *error, bool *missing)
{
    QString why;
    if (missing)
        *missing = false;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && folderState(runtime, &why) == FolderState::Private)
        return runtime;
    const QString fallback
            = QDir(QDir::tempPath()).filePath(QStringLiteral("postdesk-%1").arg(::geteuid()));
    if (create)
        ::mkdir(QFile::encodeName(fallback).constData(), 0700); // fails harmlessly when present
    const FolderState state = folderState(fallback, &why);
    if (state == FolderState::Private)
        return fallback;
    if (missing)
        *missing = state == FolderState::Missing;
    if (error)
        *error = why;
    return {};
}

QString closeChannelName(qint64 consoleProcessId)
{
    const QString folder = closeChannelFolder();
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QStringLiteral("BrantelAdminHiddenV6.%1").arg(consoleProcessId));
}

bool closeChannelPeerIsOwnUser(qintptr socketDescriptor)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0
        || length != sizeof peer)
        return false;
    return peer.uid == ::geteuid();
}
