#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The stored form of time range intervals and the texts they are shown with.
namespace timerange {

enum Type { Daily = 0, Weekly = 1, Absolute = 2 };

// "%d:%02d:%02d" of seconds since midnight.
QString clockText(qint64 secondsOfDay);
// "Monday" ... "Sunday" for 0 ... 6.
QString dayName(int day);
// "January" ... "December" for 1 ... 12.
QString monthName(int month);
// The "Valid on" text of an interval.
QString validOnText(int type, qint64 start, qint64 end);
// The days of a daily interval: "Mon, Wed, Fri", "All days", "Weekday", "Weekend".
QString daysText(const QString &days);

// Seconds of a daily time and of a weekly day (0 = Monday) and time.
qint64 dailySeconds(const QTime &time);
qint64 weeklySeconds(int day, const QTime &time);
// Seconds since the epoch of a local date and time, exact on both sides of a
// summer-time change. A time the clock skips comes back an hour earlier; a
// time it repeats is taken the second time.
qint64 absoluteSeconds(const QDate &date, const QTime &time);
// The local date and time of stored seconds since the epoch.
QDateTime localDateTime(qint64 seconds);

} // namespace timerange
