#include "pages/scheduler/schedulingtexts.h"

#include <QCoreApplication>
#include <QStringList>

namespace schedulingtexts {

namespace {

QString tr(const char *text, const char *disambiguation = nullptr)
{
    return QCoreApplication::translate("SchedulingItem", text, disambiguation);
}

struct Unit
{
    int minutes;
    const char *singular;
    const char *plural;
};

} // namespace

QString countText(int count, const char *singular, const char *plural)
{
    QString word;
    if (count == 1)
        word = tr(singular);
    else if (count >= 2 && count <= 4)
        word = tr(plural, "<2-4>");
    else
        word = tr(plural, "<5-xxx>");
    return QString::number(count) + QLatin1Char(' ') + word;
}

QString timeText(int timeType, int minutes, const QString &timeRange)
{
    QString text;
    if (timeType == 1) {
        text = tr("At") + QLatin1Char(' ')
                + QString::asprintf("%2.2d:%2.2d", minutes / 60, minutes % 60);
    } else {
        static const Unit units[] = {{10080, QT_TRANSLATE_NOOP("SchedulingItem", "week"),
                                      QT_TRANSLATE_NOOP("SchedulingItem", "weeks")},
                                     {1440, QT_TRANSLATE_NOOP("SchedulingItem", "day"),
                                      QT_TRANSLATE_NOOP("SchedulingItem", "days")},
                                     {60, QT_TRANSLATE_NOOP("SchedulingItem", "hour"),
                                      QT_TRANSLATE_NOOP("SchedulingItem", "hours")},
                                     {1, QT_TRANSLATE_NOOP("SchedulingItem", "minute"),
                                      QT_TRANSLATE_NOOP("SchedulingItem", "minutes")}};
        for (const Unit &unit : units) {
            if ((minutes != 0 && minutes % unit.minutes == 0) || unit.minutes == 1) {
                text = tr("Every") + QLatin1Char(' ')
                        + countText(minutes / unit.minutes, unit.singular, unit.plural);
                break;
            }
        }
    }
    if (!timeRange.isEmpty())
        text += QLatin1Char(' ') + tr("(Valid only at time range ") + QLatin1Char('"') + timeRange
                + QLatin1String("\")");
    return text;
}

QString actionText(int actions)
{
    QStringList names;
    if (actions & 1)
        names << tr("Send mail");
    if (actions & 2)
        names << tr("Download POP3");
    if (actions & 4)
        names << tr("ETRN Download");
    return names.join(QLatin1String(", "));
}

QString dialText(int allowDial)
{
    return allowDial != 0 ? tr("Dial") : tr("Don't dial");
}

} // namespace schedulingtexts
