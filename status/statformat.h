#pragma once

#include <QString>

// The number texts of the statistics page and the traffic charts.
namespace statformat {

// Decimal with a space between groups of three digits: "1 234 567".
QString count(qint64 value);

// Bytes with one decimal and a unit: "1.5 kB", "2 kB", "1 024 B", "0 B".
QString volume(qint64 bytes);

// value / total * 100 rounded to the nearest integer, halves rounded down;
// -1 when the total is not above 0 or the value is negative.
int percent(qint64 value, qint64 total);

// "Less than 1 minute" below a minute, else "2 days, 1 hour, 5 minutes" with
// the parts that are not zero.
QString duration(qint64 seconds);

} // namespace statformat
