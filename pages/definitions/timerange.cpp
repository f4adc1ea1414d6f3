#include "pages/definitions/timerange.h"

#include <QCoreApplication>
#include <QStringList>

namespace timerange {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("GTimeIntItem", text);
}

constexpr qint64 kDay = 86400;
constexpr qint64 kLastSecond = kDay - 1;

QString dateText(const QDateTime &when, bool withTime)
{
    const QDate date = when.date();
    QString text = QStringLiteral("%1. %2 %3")
                           .arg(date.day())
                           .arg(monthName(date.month()))
                           .arg(date.year(), 4, 10, QLatin1Char('0'));
    if (withTime)
        text += QLatin1Char(' ') + clockText(when.time().msecsSinceStartOfDay() / 1000);
    return text;
}

} // namespace

QString clockText(qint64 secondsOfDay)
{
    return QString::asprintf("%d:%02d:%02d", int(secondsOfDay / 3600), int(secondsOfDay / 60 % 60),
                             int(secondsOfDay % 60));
}

QString dayName(int day)
{
    static const char *const names[] = {QT_TRANSLATE_NOOP("GTimeIntItem", "Monday"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "Tuesday"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "Wednesday"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "Thursday"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "Friday"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "Saturday"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "Sunday")};
    return day >= 0 && day < 7 ? tr(names[day]) : QString();
}

QString monthName(int month)
{
    static const char *const names[] = {QT_TRANSLATE_NOOP("GTimeIntItem", "January"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "February"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "March"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "April"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "May"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "June"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "July"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "August"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "September"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "October"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "November"),
                                        QT_TRANSLATE_NOOP("GTimeIntItem", "December")};
    return month >= 1 && month <= 12 ? tr(names[month - 1]) : QString();
}

QString validOnText(int type, qint64 start, qint64 end)
{
    switch (type) {
    case Daily:
        return tr("Daily from %1 to %2").arg(clockText(start), clockText(end));
    case Weekly: {
        const qint64 startTime = start % kDay;
        const qint64 endTime = end % kDay;
        return tr("Weekly from %1 %2 to %3 %4")
                .arg(dayName(int(start / kDay)), startTime == 0 ? QString() : clockText(startTime),
                     dayName(int(end / kDay)),
                     endTime == kLastSecond ? QString() : clockText(endTime));
    }
    case Absolute: {
        const QDateTime from = localDateTime(start);
        const QDateTime to = localDateTime(end);
        const bool fromTime = from.time() != QTime(0, 0);
        const bool toTime = to.time() != QTime(23, 59, 59);
        return tr("From %1").arg(dateText(from, fromTime)) + QLatin1Char(' ')
                + tr("to %1").arg(dateText(to, toTime));
    }
    default:
        return QString();
    }
}

QString daysText(const QString &days)
{
    const QString trimmed = days.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("1234567"))
        return tr("All days");
    if (trimmed == QLatin1String("12345"))
        return tr("Weekday");
    if (trimmed == QLatin1String("67"))
        return tr("Weekend");
    static const char *const shortNames[]
            = {QT_TRANSLATE_NOOP("GTimeIntItem", "Mon"), QT_TRANSLATE_NOOP("GTimeIntItem", "Tue"),
               QT_TRANSLATE_NOOP("GTimeIntItem", "Wed"), QT_TRANSLATE_NOOP("GTimeIntItem", "Thu"),
               QT_TRANSLATE_NOOP("GTimeIntItem", "Fri"), QT_TRANSLATE_NOOP("GTimeIntItem", "Sat"),
               QT_TRANSLATE_NOOP("GTimeIntItem", "Sun")};
    QStringList names;
    for (const QChar digit : trimmed) {
        const int day = digit.digitValue();
        if (day >= 1 && day <= 7)
            names.append(tr(shortNames[day - 1]));
    }
    return names.join(QStringLiteral(", "));
}

qint64 dailySeconds(const QTime &time)
{
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

qint64 weeklySeconds(int day, const QTime &time)
{
    return ((qint64(day) * 24 + time.hour()) * 60 + time.minute()) * 60 + time.second();
}

qint64 absoluteSeconds(const QDate &date, const QTime &time)
{
    const QTime whole(time.hour(), time.minute(), time.second());
    const QDateTime epoch = QDateTime::fromSecsSinceEpoch(0, Qt::LocalTime);
    QDateTime entered(date, whole, Qt::LocalTime);
    // A time inside the hour the clock skips when summer time starts does
    // not exist: it is read as the same time an hour later, and then comes
    // back an hour early through the correction below.
    if (!entered.isValid())
        entered = QDateTime(date, whole.addSecs(3600), Qt::LocalTime);
    qint64 seconds = epoch.secsTo(entered);
    if (localDateTime(seconds).time().hour() != time.hour())
        seconds -= 3600;
    return seconds;
}

QDateTime localDateTime(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime);
}

} // namespace timerange
