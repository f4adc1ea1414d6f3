#include "app/fimages.h"

#include <QFile>
#include <QPixmapCache>

namespace FImages {

QString path(const QString &name)
{
    return QStringLiteral(":/images/") + name;
}

bool exists(const QString &name)
{
    return !name.isEmpty() && QFile::exists(path(name));
}

QPixmap pixmap(const QString &name)
{
    QPixmap picture;
    if (QPixmapCache::find(name, &picture))
        return picture;
    if (!picture.load(path(name))) {
        qWarning("missing picture: %s", qPrintable(name));
        return {};
    }
    QPixmapCache::insert(name, picture);
    return picture;
}

} // namespace FImages
