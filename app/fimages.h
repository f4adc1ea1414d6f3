#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The console's embedded image collection ("resources/images").
namespace FImages {

// The picture with this file name (e.g. "f_statususer.png"). A missing picture
// is a fault: it is logged and an empty pixmap returned.
QPixmap pixmap(const QString &name);
// Whether the collection holds the picture.
bool exists(const QString &name);
// Resource path of a picture.
QString path(const QString &name);

} // namespace FImages
