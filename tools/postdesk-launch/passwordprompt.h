#pragma once

#include <QString>

// Reads a line from the terminal without echoing it. False when there is no
// terminal to ask (the launcher then needs POSTDESK_PASSWORD).
bool promptHidden(const QString &prompt, QString &answer);
// Reads a visible line from the terminal.
bool promptVisible(const QString &prompt, QString &answer);
