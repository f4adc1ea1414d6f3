#pragma once

#include "handover/connectionrecord.h"

#include <QString>

// A connection record passed between processes in an owner-only shared region:
// the launcher hands a console its login this way, and a console hands the
// launcher the login for another console (File > New Connection).
struct RecordRegion
{
    QString identifier;
    qsizetype size = 0;

    // Places the record in a new region of at least minimumSize bytes under a
    // fresh random identifier; false with *error when no region could be made.
    static bool publish(const ConnectionRecord &record, qsizetype minimumSize, RecordRegion *region,
                        QString *error);
    // Reads the record, then wipes the region and removes its name.
    static bool take(const RecordRegion &region, ConnectionRecord *record, QString *error);
};
