#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Directories on the server's machine, browsed and checked through the
// server functions "ListDir(" and "AccessDir(". Backup, archive and store
// directories are chosen with them.
namespace serverdir {

// Network-disk credentials; both empty for a local directory.
struct Credentials
{
    QString user;
    QString password;
};

// The server's form of a path: every ":/" becomes ":\" and every "/" "\".
QString toServerPath(const QString &path);
// Two directories are the same when they differ only in letter case, in the
// kind of separator or in trailing separators.
bool sameDirectory(const QString &first, const QString &second);

// The function calls, every argument escaped. The credentials are passed only
// when a user is given and the server did not report its operating system.
QString listDirCall(const QString &path, const Credentials &credentials);
QString accessDirCall(const QString &path, int mode, const Credentials &credentials);

// "Result" of "AccessDir(": 0 success, 1 missing or not created, 2
// permissions missing, 3 internal error. -1 when the call failed; then
// *error holds the server's error text (empty while disconnected).
enum AccessResult {
    AccessFailed = -1,
    AccessOk = 0,
    AccessMissing = 1,
    AccessDenied = 2,
    AccessInternal = 3
};
int accessDir(const QString &path, int mode, const Credentials &credentials,
              QString *error = nullptr);

// The subdirectories of path; false when the call failed.
bool listDir(const QString &path, const Credentials &credentials, QStringList *names,
             QString *error = nullptr);

// What a checked directory is for: it chooses the message of a refused save.
enum class Purpose { Backup, Archive };

// Checks directory before a save: offers to create it when missing and
// reports a refusal. True when the save may go on.
bool checkBeforeSave(QWidget *parent, const QString &directory, Purpose purpose,
                     const Credentials &credentials);

} // namespace serverdir
