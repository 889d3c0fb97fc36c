#include "objects/MapDump.h"

#include "objects/DumpCheck.h"
#include "objects/NibbleCodec.h"
#include "objects/ObjectStore.h"

namespace {
constexpr int MapHeaderEnd = 83;        // last character of the Map Header data
constexpr int MapLastZonePosition = 52; // header byte 16
constexpr int MapZonesPosition = 84;
constexpr int ZoneCharacters = 32;
} // namespace

namespace ObjectDumps {

bool ParseMap(const QByteArray &dump, int number, ObjectStore &store)
{
    const auto lastZone = NibbleCodec::Read(dump, MapLastZonePosition, 2);
    if (!lastZone || !DumpCheck::WellFormed(dump, KindMap, number, DumpCheck::AnyLength))
        return false;
    const int zones = static_cast<int>(*lastZone) + 1;
    if (dump.size() < MapZonesPosition + ZoneCharacters * zones)
        return false; // shorter than its own zone count says
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

} // namespace ObjectDumps
