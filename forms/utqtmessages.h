#pragma once

#include <QString>
#include <QtGlobal>

// Routes Qt's own messages (qDebug, qWarning ... and the logging categories of
// the framework, such as "postdesk.forms") into the console's debug output
// (UtDebug), so one trace holds everything. Secrets are masked before a line
// is written anywhere.
namespace UtQtMessages {

// Trace categories of the routed lines.
inline constexpr int kQtCategory = 20; // Qt and third-party messages
inline constexpr int kFrameworkCategory = 21; // logging categories "postdesk.*"

// Installs the handler once (later calls do nothing); the application calls it
// at start-up. uninstall() restores the handler that was there before.
void install();
void uninstall();
bool isInstalled();

// The trace level of a message type: debug 2, info 3, warning 6, critical 8,
// fatal 9.
int levelFor(QtMsgType type);

// The text with every value that follows a password word and "=" or ":"
// ("password=x", "Password='x'", "pwd: x" ...) replaced by "***".
QString maskSecrets(const QString &text);

// The trace line a message becomes: "[category] text", masked.
QString lineFor(const char *category, const QString &message);

} // namespace UtQtMessages
