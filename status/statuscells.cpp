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

int monthNumber(QStringView name)
{
    static const char *const names[]
            = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        if (name.startsWith(QLatin1String(names[i]), Qt::CaseInsensitive))
            return i + 1;
    }
    return 0;
}

// The next run of non-space characters from position *at.
QStringView nextField(QStringView text, qsizetype *at)
{
    while (*at < text.size() && text.at(*at).isSpace())
        ++*at;
    const qsizetype start = *at;
    while (*at < text.size() && !text.at(*at).isSpace())
        ++*at;
    return text.mid(start, *at - start);
}

// A decimal number of one to four digits, or -1.
int smallNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 4)
        return -1;
    int value = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

qint64 queueDateSeconds(const QString &text)
{
    // Read for two dates of every queued message: no temporary lists.
    qsizetype at = 0;
    const int day = smallNumber(nextField(text, &at));
    const int month = monthNumber(nextField(text, &at));
    const int year = smallNumber(nextField(text, &at));
    const QStringView clock = nextField(text, &at);
    if (day < 0 || month == 0 || year < 0 || clock.isEmpty())
        return kNoDate;
    int parts[3] = {0, 0, 0};
    int count = 0;
    qsizetype from = 0;
    while (from <= clock.size()) {
        qsizetype colon = clock.indexOf(QLatin1Char(':'), from);
        if (colon < 0)
            colon = clock.size();
        if (count == 3)
            return kNoDate;
        parts[count] = smallNumber(clock.mid(from, colon - from));
        if (parts[count++] < 0)
            return kNoDate;
        from = colon + 1;
    }
    if (count < 2)
        return kNoDate;
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
