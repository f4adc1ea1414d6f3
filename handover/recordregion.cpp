#include "handover/recordregion.h"

#include "handover/fsharedcomm.h"

#include <QRandomGenerator>

#include <cstring>

bool RecordRegion::publish(const ConnectionRecord &record, qsizetype minimumSize,
                           RecordRegion *region, QString *error)
{
    QByteArray bytes = record.toRegionBytes();
    const qsizetype size = qMax(minimumSize, bytes.size());
    if (size > FSharedComm::kMaxSize) {
        bytes.fill('\0');
        *error = QStringLiteral("the connection record is too long");
        return false;
    }
    FSharedComm shared;
    QString identifier;
    for (int attempt = 0; attempt < 20 && identifier.isEmpty(); ++attempt) {
        const QString candidate
                = QString::number(QRandomGenerator::global()->bounded(100000000, 999999999));
        if (shared.create(candidate, size))
            identifier = candidate;
    }
    if (identifier.isEmpty()) {
        bytes.fill('\0');
        *error = QStringLiteral("cannot create the shared region: %1").arg(shared.errorText());
        return false;
    }
    std::memcpy(shared.data(), bytes.constData(), size_t(bytes.size()));
    bytes.fill('\0');
    shared.close();
    *region = RecordRegion{identifier, size};
    return true;
}

bool RecordRegion::take(const RecordRegion &region, ConnectionRecord *record, QString *error)
{
    FSharedComm shared;
    if (region.size <= 0 || region.size > FSharedComm::kMaxSize
        || !shared.open(region.identifier, region.size)) {
        *error = shared.errorText().isEmpty() ? QStringLiteral("invalid shared region")
                                              : shared.errorText();
        return false;
    }
    *record = ConnectionRecord::fromRegion(shared.data(), shared.size());
    shared.wipeAndClose();
    FSharedComm::unlink(region.identifier);
    return true;
}
