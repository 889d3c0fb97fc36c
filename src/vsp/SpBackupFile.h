// The Virtual SP's memory as a backup file: the dumps the SP sends for each of its objects and
// the answers that carry its Global settings, one after another. Read with the Virtual SP's own
// reading of messages, never the program's, so the two check each other.
#pragma once

#include "vsp/SpMemory.h"

#include <QString>

namespace Vsp {

// The messages the SP with `deviceId` would send when asked for everything it holds.
QByteArray BackupOf(const SpMemory &memory, uint8_t deviceId = 127);

// The memory a backup describes; false, `out` untouched and `error` saying why when any
// message is not a whole dump of something the device could hold or a Global setting.
bool ReadBackup(const QByteArray &file, SpMemory &out, QString *error);

bool SaveBackup(const SpMemory &memory, const QString &path, QString *error);
bool LoadBackup(const QString &path, SpMemory &out, QString *error);

} // namespace Vsp
