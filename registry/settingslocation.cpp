#include "registry/settingslocation.h"

#include <QDir>
#include <QSettings>

bool redirectSettingsStores(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString system = QDir(folder).filePath(QStringLiteral("system"));
    const QString user = QDir(folder).filePath(QStringLiteral("user"));
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::SystemScope, system);
        QSettings::setPath(format, QSettings::UserScope, user);
    }
    return true;
}

bool redirectSettingsStoresFromEnvironment()
{
    return redirectSettingsStores(qEnvironmentVariable("POSTDESK_SETTINGS_DIR"));
}
