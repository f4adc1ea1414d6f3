#pragma once

#include <QString>

// The texts a POP3 account's coded values are shown as, translated once.
namespace pop3strings {

// "Special port" (1), "STLS command" (2), empty for 0 and unknown modes.
QString sslModeText(int mode);
// "Plain" (0), "APOP" (1).
QString authText(int type);
// The "Delivery" cell of an "Mbox" value.
QString deliveryText(const QString &mbox);

} // namespace pop3strings
