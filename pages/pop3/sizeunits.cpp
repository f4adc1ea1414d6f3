#include "pages/pop3/sizeunits.h"

#include <QCoreApplication>

#include <limits>

namespace sizeunits {

QStringList unitNames()
{
    return {QCoreApplication::translate("SizeUnits", "kB"),
            QCoreApplication::translate("SizeUnits", "MB"),
            QCoreApplication::translate("SizeUnits", "GB")};
}

qint64 unitFactor(int unit)
{
    switch (unit) {
    case MB:
        return 1024;
    case GB:
        return 1024 * 1024;
    default:
        return 1;
    }
}

int largestExactUnit(qint64 kilobytes)
{
    if (kilobytes == 0)
        return KB;
    for (int unit = GB; unit > KB; --unit) {
        if (kilobytes % unitFactor(unit) == 0)
            return unit;
    }
    return KB;
}

qint64 toKilobytes(qint64 number, int unit)
{
    const qint64 factor = unitFactor(unit);
    if (number < 0 || number > std::numeric_limits<qint64>::max() / factor)
        return -1;
    return number * factor;
}

} // namespace sizeunits
