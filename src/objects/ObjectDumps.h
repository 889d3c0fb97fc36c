// Fetching one object into its working image. A damaged dump or one of the wrong length is never kept:
// the previous image stays, so nothing garbled can be shown or sent back.
#pragma once

class ObjectIO;

namespace ObjectDumps {

// Waves, Tones, Presets and Multis: exactly the kind's dump length.
bool FixedDump(ObjectIO &io, int kind, int number);
// A Map: its header upload image and each zone's 32 nibble characters.
bool MapObjDump(ObjectIO &io, int number);
// Whichever of the two the kind needs.
bool DumpObject(ObjectIO &io, int kind, int number);

} // namespace ObjectDumps
