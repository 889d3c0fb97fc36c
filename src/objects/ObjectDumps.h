// Fetching one object into its working image. A damaged dump or one of the wrong length is never kept:
// the previous image stays, so nothing garbled can be shown or sent back.
#pragma once

#include <QByteArray>

#include <optional>

class ObjectIO;

namespace ObjectDumps {

// Waves, Tones, Presets and Multis: exactly the kind's dump length.
bool FixedDump(ObjectIO &io, int kind, int number);
// The dump of object `number` of a fixed-length kind, whole and undamaged, or nothing. Anything
// else that arrived is reported as the kind's download error (`heading`, `text`); no answer at
// all, or the SP's error status, has been reported by the wait already.
std::optional<QByteArray> CheckedDump(ObjectIO &io, int kind, int number, const char *heading, const char *text);
// A Map: its header upload image and each zone's 32 nibble characters.
bool MapObjDump(ObjectIO &io, int number);
// Whichever of the two the kind needs.
bool DumpObject(ObjectIO &io, int kind, int number);

} // namespace ObjectDumps
