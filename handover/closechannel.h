#pragma once

#include <QString>

// The name of a console's close channel: the local socket on which the
// console accepts the launcher's close request (see docs/shell.md).
inline QString closeChannelName(qint64 consoleProcessId)
{
    return QStringLiteral("BrantelAdminHiddenV6.%1").arg(consoleProcessId);
}
