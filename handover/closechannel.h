#pragma once

#include <QString>

// The close channel of a console: the local socket on which the console
// accepts the launcher's close request (see docs/shell.md). It lives in a
// folder only this user can enter: $XDG_RUNTIME_DIR when that is a folder of
// this user's that nobody else may access, else "postdesk-<uid>" in the
// temporary folder (created 0700 when missing). Empty when neither is safe;
// *missing then tells whether the fallback folder does not exist at all, which
// means that no console of this user has opened a channel there.
QString closeChannelFolder(bool create = false, QString *error = nullptr, bool *missing = nullptr);

// The full socket path of the console with this process id; empty without a
// safe folder.
QString closeChannelName(qint64 consoleProcessId);

// True when the process at the other end of a connected local socket runs
// under this process's user id: only then is its answer believed.
bool closeChannelPeerIsOwnUser(qintptr socketDescriptor);
