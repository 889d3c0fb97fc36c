// The program started on a Virtual SP whose Map 4 has four zones: zone 0 at notes 10 to 20,
// zone 1 touching it at 21 to 40, zone 2 after a gap at 50 to 60, and the last zone at 70 to
// 90. The Map tab is shown; the uploads and read-backs on the wire at hand.
#pragma once

#include "VspApp.h"
#include "widgets/KeyInput.h"
#include "editors/Keyboard.h"
#include "device/ObjectKinds.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

namespace MapTest {

constexpr int ShownMap = 4;
constexpr int ZoneUploadLength = 52;

struct ZoneSetting {
    int low, high, tone;
    int transpose = 0, volume = 80, pan = 0, output = 0, tuning = 0, allocation = 0;
};

const std::vector<ZoneSetting> FourZones = {
    {10, 20, 3},
    {21, 40, 7, -5, 70, -40, 1, 0x80, 0x13},
    {50, 60, 12},
    {70, 90, 3},
};

inline QByteArray MapRecord(const std::vector<ZoneSetting> &zones)
{
    using namespace Vsp;
    QByteArray m = SpRecords::Record(RecordBytes(Vsp::Map, static_cast<int>(zones.size())), "Split Map");
    m[MapLastZoneOffset] = static_cast<char>(zones.size() - 1);
    for (size_t z = 0; z < zones.size(); ++z) {
        const ZoneSetting &s = zones[z];
        const int base = MapZonesOffset + MapZoneBytes * static_cast<int>(z);
        const int fields[][2] = {{ZoneField::Tone, s.tone},         {ZoneField::LowNote, s.low},
                                 {ZoneField::HighNote, s.high},     {ZoneField::Transpose, s.transpose},
                                 {ZoneField::Volume, s.volume},     {ZoneField::Pan, s.pan},
                                 {ZoneField::Output, s.output},     {ZoneField::Tuning, s.tuning},
                                 {ZoneField::Allocation, s.allocation}};
        for (const auto &f : fields)
            m[base + f[0]] = static_cast<char>(f[1] & 0xFF);
    }
    return m;
}

// The zone request that reads back the zone holding `note` of Map 4.
inline QByteArray ZoneRequest(int note)
{
    return Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x06, 0, 0, 0, 2, note / 16, note % 16, 0, ShownMap,
                 0xF7});
}

// The Map Zone upload of `image` found by `note`, with nibbles written from `position`.
inline QByteArray ZoneUpload(int note, QByteArray image, int position, int byte)
{
    image[position - 20] = static_cast<char>(byte / 16);
    image[position - 19] = static_cast<char>(byte % 16);
    return Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x06, 0x00, 0x00, 0x01, 0x03, note / 16, note % 16, 0,
                 ShownMap, 0, 0})
           + image + Wire({0xF7});
}

struct MapApp : VspApp {
    explicit MapApp(const std::vector<ZoneSetting> &zones = FourZones, Vsp::SpMemory memory = StandardMemory())
    {
        memory.of(Vsp::Map)[ShownMap] = MapRecord(zones);
        start(std::move(memory));
        showTab("Map");
        vsp->clearTraffic();
        notifier.messages.clear();
    }

    QLineEdit *txt(int index) { return find<QLineEdit>(QStringLiteral("txtMap(%1)").arg(index)); }
    QRadioButton *opt(int index) { return find<QRadioButton>(QStringLiteral("optMap(%1)").arg(index)); }
    QSlider *volume() { return find<QSlider>(QStringLiteral("sldMap(7)")); }
    QSlider *pan() { return find<QSlider>(QStringLiteral("sldMapH(9)")); }
    QScrollBar *octaves() { return find<QScrollBar>(QStringLiteral("hsbKey")); }
    void spin(int index, bool up)
    {
        auto *spin = find<QWidget>(QStringLiteral("spnMap(%1)").arg(index));
        spin->findChild<QToolButton *>(up ? QStringLiteral("up") : QStringLiteral("down"))->click();
    }

    void selectZone(int zone)
    {
        clearAndType(txt(0), QString::number(zone));
        vsp->clearTraffic();
    }

    QByteArray &held() { return vsp->device().memory().of(Vsp::Map)[ShownMap]; }
    int heldByte(int zone, int field)
    {
        return static_cast<uint8_t>(held().at(Vsp::MapZonesOffset + Vsp::MapZoneBytes * zone + field));
    }
    QByteArray zoneImage(int zone) { return session().objects.ZoneImages.value(zone); }
};

} // namespace MapTest
