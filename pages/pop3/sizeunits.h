#pragma once

#include <QStringList>
#include <QtGlobal>

// Sizes kept in kilobytes and edited as a number with a unit ("kB", "MB",
// "GB"). A size is shown in the largest unit that divides it exactly, so
// showing it never rounds it.
namespace sizeunits {

enum Unit { KB = 0, MB = 1, GB = 2 };

// The unit names in combo order (translated).
QStringList unitNames();
// Kilobytes in one unit.
qint64 unitFactor(int unit);
// The largest unit that divides the size exactly (kB for 0).
int largestExactUnit(qint64 kilobytes);
// The size in kilobytes of a number of units; -1 when it would overflow.
qint64 toKilobytes(qint64 number, int unit);

} // namespace sizeunits
