#include "forms/statusformlist.h"

namespace statusformlist {

int intervalFor(int id)
{
    switch (id) {
    case Every5s:
        return 5000;
    case Every10s:
        return 10000;
    case Every20s:
        return 20000;
    case Every30s:
        return 30000;
    case Every1min:
        return 60000;
    default:
        return -1;
    }
}

QString settingsKey(const QString &pageName)
{
    return QStringLiteral("/Autorefresh/") + pageName;
}

} // namespace statusformlist
