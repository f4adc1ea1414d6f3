#pragma once

#include <QString>

// The texts a scheduled action is listed with.
namespace schedulingtexts {

// "Every 2 hours", "At 07:05", each followed by the time range when one is set.
QString timeText(int timeType, int minutes, const QString &timeRange);
// The number and its unit word: singular for 1, the plural forms otherwise.
QString countText(int count, const char *singular, const char *plural);
// "Send mail", "Download POP3", "ETRN Download" for the set bits, joined by ", ".
QString actionText(int actions);
// "Dial" or "Don't dial".
QString dialText(int allowDial);

} // namespace schedulingtexts
