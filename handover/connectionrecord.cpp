#include "handover/connectionrecord.h"

#include <QStringList>

#include <cstring>

ConnectionRecord ConnectionRecord::fromRegion(const char *data, qsizetype size)
{
    ConnectionRecord record;
    if (!data || size <= 0)
        return record;
    const void *zero = std::memchr(data, '\0', size_t(size));
    const qsizetype length = zero ? static_cast<const char *>(zero) - data : size;
    const QStringList fields = QString::fromUtf8(data, length).split(QLatin1Char('\n'));
    record.host = fields.value(0);
    record.port = fields.value(1).trimmed().toInt();
    record.user = fields.value(2);
    record.password = fields.value(3);
    return record;
}

QByteArray ConnectionRecord::toRegionBytes() const
{
    QByteArray bytes = host.toUtf8();
    bytes += '\n';
    bytes += QByteArray::number(port);
    bytes += '\n';
    bytes += user.toUtf8();
    bytes += '\n';
    bytes += password.toUtf8();
    bytes += '\0';
    return bytes;
}
