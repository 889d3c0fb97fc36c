#include "objects/ObjectReferences.h"

#include "device/NibbleCodec.h"
#include "device/ObjectKinds.h"
#include "objects/MapDump.h"
#include "objects/MapDescription.h"
#include "objects/MultiDescription.h"
#include "objects/PresetDescription.h"
#include "objects/ToneDescription.h"

namespace ObjectReferences {

namespace {

constexpr int ReferenceWidth = 2; // one byte

// The Map box's position: level 1 of layer A; the other levels follow one byte apart.
constexpr int PresetMapPosition()
{
    for (const PresetDescription::Box &box : PresetDescription::Boxes) {
        if (box.index == PresetDescription::MapBox)
            return box.position;
    }
    return 0;
}
static_assert(PresetMapPosition() > 0);

} // namespace

QVector<Reference> Of(int kind, const QByteArray &dump)
{
    QVector<int> positions;
    int to = 0;
    switch (kind) {
    case KindTone:
        to = KindWave;
        positions = {ToneDescription::WavePosition};
        break;
    case KindMap: {
        to = KindTone;
        const auto lastZone = NibbleCodec::Read(dump, ObjectDumps::MapLastZonePosition, 2);
        for (int zone = 0; lastZone && zone <= static_cast<int>(*lastZone); ++zone)
            positions << ObjectDumps::MapZonePosition(zone, MapDescription::ToneByte);
        break;
    }
    case KindPreset:
        to = KindMap;
        for (int layer : {0, PresetDescription::LayerBOffset}) {
            for (int level = 0; level < PresetDescription::Levels; ++level)
                positions << PresetMapPosition() + layer + ReferenceWidth * level;
        }
        break;
    case KindMulti:
        to = KindPreset;
        for (int channel = 0; channel < MultiDescription::Channels; ++channel)
            positions << MultiDescription::PresetPosition + ReferenceWidth * channel;
        break;
    default:
        break;
    }
    QVector<Reference> references;
    for (int position : positions) {
        const auto number = NibbleCodec::Read(dump, position, ReferenceWidth);
        // Every byte's characters stand before the F7; a reference on it or beyond is no reference.
        if (!number || position + ReferenceWidth > dump.size())
            return {};
        references.append({to, static_cast<int>(*number), position});
    }
    return references;
}

QByteArray Renumbered(QByteArray dump, int position, int number)
{
    if (const auto nibbles = NibbleCodec::EncodeNumber(number, ReferenceWidth))
        NibbleCodec::Overwrite(dump, position, *nibbles, ReferenceWidth);
    return dump;
}

} // namespace ObjectReferences
