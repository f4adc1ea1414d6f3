#include "status/statuscells.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimeZone>

namespace statuscells {

QString duration(qint64 seconds)
{
    const quint64 total = seconds < 0 ? 0 : quint64(seconds);
    const quint64 hours = total / 3600;
    const quint64 rest = total % 3600;
    return QString::asprintf("%02llu:%02llu:%02llu", static_cast<unsigned long long>(hours),
                             static_cast<unsigned long long>(rest / 60),
                             static_cast<unsigned long long>(rest % 60));
}

namespace {

int monthNumber(const QString &name)
{
    static const char *const names[]
            = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() < 3)
        return 0;
    const QString lower = name.toLower();
    for (int i = 0; i < 12; ++i) {
        if (lower.startsWith(QLatin1String(names[i])))
            return i + 1;
    }
    return 0;
}

} // namespace

qint64 queueDateSeconds(const QString &text)
{
    const QStringList fields = text.simplified().split(QLatin1Char(' '));
    if (fields.size() < 4)
        return kNoDate;
    bool dayOk = false;
    bool yearOk = false;
    const int day = fields.at(0).toInt(&dayOk);
    const int month = monthNumber(fields.at(1));
    const int year = fields.at(2).toInt(&yearOk);
    const QStringList clock = fields.at(3).split(QLatin1Char(':'));
    if (!dayOk || !yearOk || month == 0 || clock.size() < 2 || clock.size() > 3)
        return kNoDate;
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < clock.size(); ++i) {
        bool ok = false;
        parts[i] = clock.at(i).toInt(&ok);
        if (!ok)
            return kNoDate;
    }
    const QDate date(year, month, day);
    const QTime time(parts[0], parts[1], parts[2]);
    if (!date.isValid() || !time.isValid())
        return kNoDate;
    return QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
}

QString commonPattern(const QStringList &values)
{
    if (values.isEmpty())
        return QStringLiteral("*");
    for (const QString &value : values) {
        if (value != values.first())
            return QStringLiteral("*");
    }
    return values.first().isEmpty() ? QStringLiteral("*") : values.first();
}

bool matchesEverything(const QString &pattern)
{
    if (pattern.isEmpty())
        return false;
    for (QChar c : pattern) {
        if (c != QLatin1Char('*'))
            return false;
    }
    return true;
}

QString addressPatternExpression()
{
    return QStringLiteral(
            "[0-9a-zA-Z?*&'+-./=^_{}~]*[@]{0,1}[*?0-9a-zA-Z-]{0,1}[?*.0-9a-zA-Z-]{0,66}");
}

} // namespace statuscells
