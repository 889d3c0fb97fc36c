// The banks the Virtual SP starts with: the factory bank in memory and the two demo banks on
// its floppy, all built here from our own sound names and figures (no sample data is held).
#pragma once

#include "vsp/SpMemory.h"

namespace Vsp {

// The first address a Wave may start at, in units of 1024 bytes (the program shows addresses
// relative to 0x500000).
constexpr uint32_t FirstSampleAddress = 0x500000 / 1024;

// Waves, Tones, multi-zone Maps, two-layer Presets and a Multi that refer only to each other.
SpMemory FactoryBank();

// The shipped floppy banks 0 and 1: small and different from each other. Any other index gives
// an empty memory.
SpMemory DemoBank(int index);

} // namespace Vsp
