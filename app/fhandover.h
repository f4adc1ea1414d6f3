#pragma once

#include "handover/connectionrecord.h"

class QIODevice;

// The console's side of the launcher hand-over: reads the region's location
// from the input, maps the region, reads the connection record and wipes the
// region. "initok" is the caller's to send once the record is stored.
namespace FHandOver {

// False (and a reason in *error, never containing the password) on failure.
bool receive(QIODevice &input, ConnectionRecord &record, QString *error = nullptr);

} // namespace FHandOver
