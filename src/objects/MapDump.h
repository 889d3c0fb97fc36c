// Reading a Map dump: its header, sent back as the Map Header when the Map is renamed, and
// each zone's 32 nibble characters. No I/O here, so the reading can be fuzzed alone.
#pragma once

#include <QByteArray>

struct ObjectStore;

namespace ObjectDumps {

// False, and the store untouched, for a damaged dump or one too short for its own zone count.
bool ParseMap(const QByteArray &dump, int number, ObjectStore &store);

} // namespace ObjectDumps
