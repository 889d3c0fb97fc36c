// What differs between two backups (or a backup and what the SP holds), object by object and
// parameter by parameter, named as the editors name them. No widgets, so it is tested with tables.
#pragma once

#include "objects/Backup.h"

namespace Compare {

struct Difference {
    int kind = 0;       // KindGlobal for the Global settings
    int number = 0;
    QString object;     // "t# 7 Snare Tone", "Global"
    QString parameter;  // "Name", "DCF Cutoff", "Zone 1 High note", "byte 37"; empty: the whole object
    QString first;      // the value in the first backup, "-" when it does not hold the object
    QString second;
};

QVector<Difference> Differences(const Backup::Contents &first, const Backup::Contents &second);

} // namespace Compare
