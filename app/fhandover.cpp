#include "app/fhandover.h"

#include "handover/fsharedcomm.h"
#include "handover/fstreamcomm.h"

namespace FHandOver {

bool receive(QIODevice &input, ConnectionRecord &record, QString *error)
{
    FStreamComm::RegionLocation location;
    if (!FStreamComm::readRegionLocation(input, location)) {
        if (error)
            *error = QStringLiteral("FStreamComm::decodeFromStream() failed.");
        return false;
    }
    FSharedComm region;
    if (!region.open(location.identifier, location.size)) {
        if (error)
            *error = region.errorText() + QStringLiteral(" FSharedComm::read() failed.");
        return false;
    }
    record = ConnectionRecord::fromRegion(region.data(), region.size());
    region.wipeAndClose();
    return true;
}

} // namespace FHandOver
