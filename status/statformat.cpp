#include "status/statformat.h"

#include <QCoreApplication>
#include <QStringList>

namespace statformat {

namespace {

QString groupDigits(QString digits)
{
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}

enum Unit { Days, Hours, Minutes };

// One part of a duration with its unit word in the form its number takes:
// the plural forms are told apart by the "<2-4>" and "<5-xxx>" contexts so
// that languages with several plurals can translate them differently.
QString durationPart(qint64 number, Unit unit)
{
    const bool few = number >= 2 && number <= 4;
    QString word;
    switch (unit) {
    case Days:
        word = number == 1 ? QCoreApplication::translate("StatDuration", "day")
                : few      ? QCoreApplication::translate("StatDuration", "days", "<2-4>")
                           : QCoreApplication::translate("StatDuration", "days", "<5-xxx>");
        break;
    case Hours:
        word = number == 1 ? QCoreApplication::translate("StatDuration", "hour")
                : few      ? QCoreApplication::translate("StatDuration", "hours", "<2-4>")
                           : QCoreApplication::translate("StatDuration", "hours", "<5-xxx>");
        break;
    case Minutes:
        word = number == 1 ? QCoreApplication::translate("StatDuration", "minute")
                : few      ? QCoreApplication::translate("StatDuration", "minutes", "<2-4>")
                           : QCoreApplication::translate("StatDuration", "minutes", "<5-xxx>");
        break;
    }
    return QString::number(number) + QLatin1Char(' ') + word;
}

} // namespace

QString count(qint64 value)
{
    if (value < 0)
        return QLatin1Char('-') + groupDigits(QString::number(-(value + 1) + 1ULL));
    return groupDigits(QString::number(value));
}

QString volume(qint64 bytes)
{
    if (bytes < 0)
        bytes = 0;
    using Wide = unsigned __int128;
    const Wide v = Wide(quint64(bytes));
    Wide x = v * 100; // hundredths of the unit
    const char *unit = "B";
    if (v <= 1024) {
        unit = "B";
    } else if (v <= 1048576) {
        x /= 1024;
        unit = "kB";
    } else if (v <= 1073741824) {
        x /= 1048576;
        unit = "MB";
    } else {
        x /= 1073741824;
        unit = "GB";
    }
    const Wide tenths = (x + 5) / 10;
    const quint64 whole = quint64(tenths / 10);
    const int digit = int(tenths % 10);
    QString text = groupDigits(QString::number(whole));
    if (digit != 0)
        text += QLatin1Char('.') + QString::number(digit);
    return text + QLatin1Char(' ') + QLatin1String(unit);
}

int percent(qint64 value, qint64 total)
{
    if (total <= 0 || value < 0)
        return -1;
    using Wide = __int128;
    const Wide scaled = Wide(value) * 100;
    Wide result = scaled / total;
    const Wide rest = scaled % total;
    if (rest * 2 > total)
        ++result;
    return int(result);
}

QString duration(qint64 seconds)
{
    if (seconds < 60)
        return QCoreApplication::translate("StatDuration", "Less than 1 minute");
    const qint64 days = seconds / 86400;
    const qint64 hours = seconds % 86400 / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    QStringList parts;
    if (days)
        parts << durationPart(days, Days);
    if (hours)
        parts << durationPart(hours, Hours);
    if (minutes)
        parts << durationPart(minutes, Minutes);
    return parts.join(QStringLiteral(", "));
}

} // namespace statformat
