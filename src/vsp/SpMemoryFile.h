// The Virtual SP's memory on disk: a JSON file written atomically and read back only when
// every part of it is something the device could hold.
#pragma once

#include "vsp/SpMemory.h"

#include <QString>

namespace Vsp {

enum class LoadResult { Loaded, Missing, Corrupt };

// Writes a temporary file beside `path` and renames it over `path`, so a failed save leaves
// the old file as it was. Creates the folder when needed.
bool SaveMemory(const SpMemory &memory, const QString &path, QString *error);

// On Corrupt `out` is left as it was and `error` says what is wrong; on Missing `out` is left
// as it was and `error` is not touched.
LoadResult LoadMemory(const QString &path, SpMemory &out, QString *error);

// The memory saved at `path`; the factory bank when there is none. A file that cannot be read
// is moved aside to `path` + ".corrupt" (or ".2.corrupt" and on, never replacing an older one)
// and `warning` says so.
SpMemory LoadMemoryOrFactory(const QString &path, QString *warning);

// Why the device would not hold this record (size, name characters, a field out of range),
// or an empty string when it would.
QString RecordFault(int kind, const QByteArray &record);

} // namespace Vsp
