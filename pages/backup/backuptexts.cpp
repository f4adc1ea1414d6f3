#include "pages/backup/backuptexts.h"

#include <QCoreApplication>
#include <QTime>

namespace backuptexts {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BackupScheduleWnd", text);
}

} // namespace

QString typeText(int type)
{
    return type == 1 ? tr("Differential backup") : tr("Full backup");
}

QStringList dayValues()
{
    return {QStringLiteral("Daily"),     QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
            QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
            QStringLiteral("Saturday"),  QStringLiteral("Sunday")};
}

QString dayText(const QString &value)
{
    static const char *const texts[] = {
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Daily"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Monday"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Tuesday"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Wednesday"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Thursday"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Friday"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Saturday"),
            QT_TRANSLATE_NOOP("BackupScheduleWnd", "Sunday"),
    };
    const qsizetype index = dayValues().indexOf(value);
    return index < 0 ? value : tr(texts[index]);
}

QString timeText(int minutes)
{
    return QTime(0, 0)
            .addSecs(qint64(qBound(0, minutes, 24 * 60 - 1)) * 60)
            .toString(QStringLiteral("HH:mm"));
}

QString formatText(int format)
{
    return format == 1 ? tr("Uncompressed copy") : tr("Compressed archive");
}

} // namespace backuptexts
