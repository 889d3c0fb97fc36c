#include "objects/MapDump.h"

#include "objects/DumpCheck.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectStore.h"

namespace {
constexpr int MapHeaderEnd = 83;        // last character of the Map Header data
constexpr int TuningFixed = 0x80;

} // namespace

namespace ObjectDumps {

bool ParseMap(const QByteArray &dump, int number, ObjectStore &store)
{
    const auto lastZone = NibbleCodec::Read(dump, MapLastZonePosition, 2);
    if (!lastZone || !DumpCheck::WellFormed(dump, KindMap, number, DumpCheck::AnyLength))
        return false;
    const int zones = static_cast<int>(*lastZone) + 1;
    // F7 follows the last zone; any other length is not this Map.
    if (dump.size() != MapZonesPosition + ZoneCharacters * zones)
        return false;
    // The header goes back as kind 5 with 35 data bytes: 05 00 00 02 03 at positions 9 to 13.
    QByteArray header = dump.left(MapHeaderEnd);
    header.replace(8, 5, QByteArray("\x05\x00\x00\x02\x03", 5));
    header.append('\xF7');
    store.MapHeaderImage = header;
    store.ZoneImages.clear();
    for (int z = 0; z < zones; ++z)
        store.ZoneImages.append(dump.mid(MapZonesPosition - 1 + ZoneCharacters * z, ZoneCharacters));
    store.CurrentZone = 0;
    KindState &state = store.of(KindMap);
    state.Image = dump;
    state.Num = static_cast<int16_t>(number);
    return true;
}

std::optional<MapZone> ReadZone(const QByteArray &image)
{
    if (image.size() != ZoneCharacters)
        return std::nullopt;
    int bytes[ZoneCharacters / 2] = {};
    for (int b = 0; b < ZoneCharacters / 2; ++b) {
        const auto byte = NibbleCodec::Read(image, 1 + 2 * b, 2);
        if (!byte)
            return std::nullopt;
        bytes[b] = static_cast<int>(*byte);
    }
    const auto signedByte = [](int byte) { return static_cast<int16_t>(NibbleCodec::SignedByte(byte)); };
    MapZone zone;
    zone.Tone = static_cast<int16_t>(bytes[1]);
    zone.LowNote = static_cast<int16_t>(bytes[2]);
    zone.HighNote = static_cast<int16_t>(bytes[3]);
    zone.Transpose = signedByte(bytes[4]);
    zone.Volume = static_cast<int16_t>(bytes[5]);
    zone.Pan = signedByte(bytes[6]);
    zone.Output = static_cast<int16_t>(bytes[7]);
    zone.Tuning = static_cast<int16_t>(bytes[8] & TuningFixed);
    zone.Allocation = static_cast<int16_t>(bytes[9]);
    return zone;
}

std::optional<QByteArray> ZoneImageOfDump(const QByteArray &dump)
{
    // Its number field holds the zone's note and the Map's number, not an object number.
    if (!DumpCheck::WellFormed(dump, KindMapZone, DumpCheck::AnyNumber, ZoneDumpLength))
        return std::nullopt;
    return dump.mid(ZoneDumpImagePosition - 1, ZoneCharacters);
}

} // namespace ObjectDumps
