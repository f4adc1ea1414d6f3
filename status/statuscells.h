#pragma once

#include <QString>
#include <QStringList>

#include <limits>

// The cell texts and sort values shared by the status lists.
namespace statuscells {

// Sort value of a date that cannot be read: before every real date.
inline constexpr qint64 kNoDate = std::numeric_limits<qint64>::min();

// Seconds as "hh:mm:ss" (hours are not wrapped at 24).
QString duration(qint64 seconds);

// A queue date ("10 Dec 2026 15:46:02": day, month name, year, time) as
// seconds since the epoch (UTC); kNoDate when the text cannot be read.
qint64 queueDateSeconds(const QString &text);

// The value every text shares, or "*" when they differ (or there are none):
// the pre-filled wildcard of the remove-by-pattern dialog.
QString commonPattern(const QStringList &values);

// True for a pattern that matches every address ("*", "**", ...).
bool matchesEverything(const QString &pattern);

// The address wildcard pattern the remove dialog accepts.
QString addressPatternExpression();

} // namespace statuscells
