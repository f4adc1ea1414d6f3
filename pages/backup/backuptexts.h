#pragma once

#include <QString>
#include <QStringList>

// The texts of scheduled backups: type, day, time and format.
namespace backuptexts {

// 0 full, 1 differential.
QString typeText(int type);
// The stored day values, "Daily" first, then the week from Monday.
QStringList dayValues();
QString dayText(const QString &value);
// Minutes after midnight as "HH:mm".
QString timeText(int minutes);
// 0 a compressed archive, 1 a plain copy.
QString formatText(int format);

} // namespace backuptexts
