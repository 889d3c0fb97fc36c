// Reading a Map dump: its header, sent back as the Map Header when the Map is renamed, and
// each zone's 32 nibble characters; reading one zone's fields and a Map Zone dump. No I/O here,
// so the reading can be fuzzed alone.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

struct ObjectStore;

// One key zone of a Map, as its image holds it.
struct MapZone {
    int16_t Tone = 0;
    int16_t LowNote = 0;
    int16_t HighNote = 0;
    int16_t Transpose = 0; // signed byte
    int16_t Volume = 0;
    int16_t Pan = 0;       // signed byte
    int16_t Output = 0;    // bit 0: Sub output
    int16_t Tuning = 0;    // bit 7 only: fixed pitch
    int16_t Allocation = 0; // bit 4 exclusive, bits 0 to 3 the voice group
};

namespace ObjectDumps {

constexpr int MapLastZonePosition = 52; // header byte 16: the last zone's index
constexpr int MapZonesPosition = 84;  // zone 0's first nibble character in a Map dump
constexpr int ZoneCharacters = 32;    // 16 bytes as nibble characters
constexpr int ZoneDumpLength = 52;    // a Map Zone dump, F0 to F7
constexpr int ZoneDumpImagePosition = 20;

// Where zone byte `zoneByte` of zone `zone` sits in a Map dump.
constexpr int MapZonePosition(int zone, int zoneByte)
{
    return MapZonesPosition + ZoneCharacters * zone + 2 * zoneByte;
}

// False, and the store untouched, for a damaged dump or one whose length is not that of its
// own zone count.
bool ParseMap(const QByteArray &dump, int number, ObjectStore &store);

// The fields of a zone from its 32 nibble characters; nothing when they are not that.
std::optional<MapZone> ReadZone(const QByteArray &zoneImage);
// The zone image of a Map Zone dump; nothing unless it is exactly a whole, undamaged one.
std::optional<QByteArray> ZoneImageOfDump(const QByteArray &zoneDump);

} // namespace ObjectDumps
