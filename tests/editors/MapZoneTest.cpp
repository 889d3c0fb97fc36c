// The Map's zones without a window: the neighbour rules a typed boundary meets, the zone
// strip's brackets, ticks and numbers, the key colours, and the reading of Map and zone dumps.
#include "editors/MapZoneRules.h"
#include "editors/ZoneStrip.h"
#include "objects/MapDump.h"
#include "objects/ObjectStore.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <optional>

inline void PrintTo(const QLine &l, std::ostream *out)
{
    *out << '(' << l.x1() << ',' << l.y1() << ")-(" << l.x2() << ',' << l.y2() << ')';
}
inline void PrintTo(const QRect &r, std::ostream *out)
{
    *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

using MapZoneRules::Boundary;
using MapZoneRules::Range;

// Zone 0, zone 1 touching it, zone 2 after a gap, zone 3 last after a gap.
const std::vector<Range> FourZones = {{10, 20}, {21, 40}, {50, 60}, {70, 90}};

struct RuleCase {
    const char *what;
    std::vector<Range> zones;
    int zone, typed, otherBox;
    bool send;
    int value;
    std::optional<int> other;
};

void Check(const RuleCase &c, const Boundary &b)
{
    EXPECT_EQ(b.send, c.send) << c.what;
    if (c.send) {
        EXPECT_EQ(b.value, c.value) << c.what;
        EXPECT_EQ(b.other, c.other) << c.what;
    }
}

TEST(MapZoneRules, LowNoteAgainstTheNeighbours)
{
    const RuleCase cases[] = {
        {"zone 0 lowered", FourZones, 0, 5, 20, true, 5, {}},
        {"zone 0 down to note 0", FourZones, 0, 0, 20, true, 0, {}},
        {"zone 0 raised within itself", FourZones, 0, 20, 20, true, 20, {}},
        {"zone 0 above its high note, next zone touching: shrinks to its top", FourZones, 0, 25, 20, true, 20, {}},
        {"above 127", FourZones, 0, 128, 20, false, 0, {}},
        {"touching zone lowered onto the previous zone", FourZones, 1, 20, 40, false, 0, {}},
        {"touching zone raised by one", FourZones, 1, 22, 40, true, 22, {}},
        {"touching zone above its high note pushes it", FourZones, 1, 45, 40, true, 45, 45},
        {"gap zone lowered into the gap", FourZones, 2, 41, 60, true, 41, {}},
        {"gap zone lowered onto the previous zone", FourZones, 2, 40, 60, false, 0, {}},
        {"gap zone above its high note pushes it", FourZones, 2, 65, 60, true, 65, 65},
        {"pushed high note stops below the next zone", FourZones, 2, 75, 60, true, 69, 69},
        {"last zone above its high note pushes it", FourZones, 3, 95, 90, true, 95, 95},
        {"last zone lowered into the gap", FourZones, 3, 61, 90, true, 61, {}},
        {"last zone lowered onto the previous zone", FourZones, 3, 60, 90, false, 0, {}},
        {"one zone from note 0: shrinks to its top", {{0, 50}}, 0, 60, 50, true, 50, {}},
        {"one zone ending at 126 goes to 127", {{10, 126}}, 0, 127, 126, true, 127, 127},
        {"one zone ending at 127", {{10, 127}}, 0, 127, 127, true, 127, {}},
        {"the high-note box is what counts", FourZones, 0, 18, 15, true, 20, {}},
        {"no such zone", FourZones, 4, 10, 20, false, 0, {}},
    };
    for (const RuleCase &c : cases)
        Check(c, MapZoneRules::LowNote(c.zones, c.zone, c.typed, c.otherBox));
}

TEST(MapZoneRules, HighNoteAgainstTheNeighbours)
{
    const RuleCase cases[] = {
        {"zone 0 lowered within itself", FourZones, 0, 15, 10, true, 15, {}},
        {"zone 0 lowered below its low note takes it along", FourZones, 0, 5, 10, true, 5, 5},
        {"zone 0 raised into the touching zone: clamped", FourZones, 0, 25, 10, true, 20, {}},
        {"above 127", FourZones, 0, 128, 10, false, 0, {}},
        {"touching zone lowered within itself", FourZones, 1, 30, 21, true, 30, {}},
        {"touching zone lowered below its low note", FourZones, 1, 15, 21, false, 0, {}},
        {"raised into the gap", FourZones, 1, 45, 21, true, 45, {}},
        {"raised to the next zone's low note: one below it", FourZones, 1, 50, 21, true, 49, {}},
        {"gap zone lowered below its low note takes it along", FourZones, 2, 45, 50, true, 45, 45},
        {"gap zone lowered onto the previous zone", FourZones, 2, 40, 50, false, 0, {}},
        {"last zone raised", FourZones, 3, 127, 70, true, 127, {}},
        {"last zone lowered", FourZones, 3, 80, 70, true, 80, {}},
        {"touching the next zone already: stays", {{0, 9}, {10, 20}}, 0, 15, 0, true, 9, {}},
    };
    for (const RuleCase &c : cases)
        Check(c, MapZoneRules::HighNote(c.zones, c.zone, c.typed, c.otherBox));
}

// Key lefts in the design: white keys every 220 from 45, octaves every 1540.
constexpr int Left(int key)
{
    constexpr int semitone[12] = {0, 150, 220, 375, 440, 660, 810, 880, 1032, 1100, 1255, 1320};
    return 45 + 1540 * (key / 12) + semitone[key % 12];
}
constexpr int Y = 90;  // the bracket line
constexpr int H = 240; // the strip's height

QLine Bracket(int x1, int x2)
{
    return QLine(x1, Y, x2, Y);
}
QLine Tick(int x)
{
    return QLine(x, Y, x, H);
}

TEST(ZoneStrip, KeysLieAsTheDesignPlacesThem)
{
    for (int key = 0; key < 72; ++key)
        EXPECT_EQ(ZoneStrip::KeyLeft(key), Left(key)) << key;
    EXPECT_EQ(ZoneStrip::KeyLeft(71) + ZoneStrip::KeyWidth(71), 9305);
    EXPECT_EQ(ZoneStrip::KeyWidth(1), 150);
    EXPECT_EQ(ZoneStrip::KeyHeight(1), 735);
    EXPECT_EQ(ZoneStrip::KeyHeight(0), 1080);
    const struct { int x, y, octave, key; } hits[] = {
        {100, 900, 0, 0},   // a white key
        {200, 300, 0, 1},   // the black key lies on top
        {200, 900, 0, 0},   // below the black key's end: the white one
        {9200, 500, 4, 71}, // the last key
        {9200, 500, 5, -1}, // note 131: hidden
        {20, 500, 0, -1},   // left of the keys
        {100, 1100, 0, -1}, // below them
    };
    for (const auto &h : hits)
        EXPECT_EQ(ZoneStrip::KeyAt(h.x, h.y, h.octave), h.key) << h.x << "," << h.y;
}

TEST(ZoneStrip, BracketsTicksAndNumbers)
{
    const int right11 = Left(11) + 240; // a B's right edge
    const struct { const char *what; std::vector<Range> zones; int octave; QVector<QLine> lines;
                   QVector<ZoneStrip::Label> labels; } cases[] = {
        {"two touching zones share one tick", {{0, 11}, {12, 23}}, 0,
         {Bracket(45, right11), Tick(45), Tick(right11), Bracket(Left(12), Left(23) + 240), Tick(Left(23) + 240)},
         {{0, QRect(45 + (right11 - 45) / 2 - 60, 0, 120, 180)},
          {1, QRect(Left(12) + (Left(23) + 240 - Left(12)) / 2 - 60, 0, 120, 180)}}},
        {"a gap: both ticks; D starts after C#, G# ends at its own edge", {{0, 11}, {14, 20}}, 0,
         {Bracket(45, right11), Tick(45), Tick(right11), Bracket(Left(13) + 150, Left(20) + 150), Tick(Left(13) + 150),
          Tick(Left(20) + 150)},
         {{0, QRect(45 + (right11 - 45) / 2 - 60, 0, 120, 180)},
          {1, QRect(Left(13) + 150 + (Left(20) - Left(13)) / 2 - 60, 0, 120, 180)}}},
        {"F ends where F# starts", {{0, 5}}, 0, {Bracket(45, Left(6)), Tick(45), Tick(Left(6))},
         {{0, QRect(45 + (Left(6) - 45) / 2 - 60, 0, 120, 180)}}},
        {"a single note: bracket without a number", {{40, 40}}, 0,
         {Bracket(Left(39) + 150, Left(40) + 240), Tick(Left(39) + 150), Tick(Left(40) + 240)}, {}},
        {"the whole keyboard without ticks", {{0, 127}}, 2, {Bracket(45, 9305)},
         {{0, QRect(45 + (9305 - 45) / 2 - 60, 0, 120, 180)}}},
        {"only the high end shown", {{0, 30}}, 2, {Bracket(45, Left(6) + 150), Tick(Left(6) + 150)},
         {{0, QRect(45 + (Left(6) + 150 - 45) / 2 - 60, 0, 120, 180)}}},
        {"only the low end shown", {{90, 127}}, 2, {Bracket(Left(66), 9305), Tick(Left(66))},
         {{0, QRect(Left(66) + (9305 - Left(66)) / 2 - 60, 0, 120, 180)}}},
        {"wholly outside: nothing", {{0, 10}}, 2, {}, {}},
        {"note 127 ends at its own edge", {{100, 127}}, 5,
         {Bracket(Left(39) + 150, Left(67) + 240), Tick(Left(39) + 150), Tick(Left(67) + 240)},
         {{0, QRect(Left(39) + 150 + (Left(67) + 240 - Left(39) - 150) / 2 - 60, 0, 120, 180)}}},
    };
    for (const auto &c : cases) {
        const ZoneStrip::Drawing d = ZoneStrip::Draw(c.zones, c.octave);
        EXPECT_EQ(d.lines, c.lines) << c.what;
        ASSERT_EQ(d.labels.size(), c.labels.size()) << c.what;
        for (qsizetype i = 0; i < d.labels.size(); ++i) {
            EXPECT_EQ(d.labels[i].zone, c.labels[i].zone) << c.what;
            EXPECT_EQ(d.labels[i].rect, c.labels[i].rect) << c.what;
        }
    }
    // Zones from 10 on have wide numbers.
    std::vector<Range> zones;
    for (int z = 0; z < 16; ++z)
        zones.push_back({36 + 4 * z, 39 + 4 * z});
    const ZoneStrip::Drawing d = ZoneStrip::Draw(zones, 3);
    ASSERT_EQ(d.labels.size(), 16);
    for (const ZoneStrip::Label &label : d.labels)
        EXPECT_EQ(label.rect.width(), label.zone <= 9 ? 120 : 240) << label.zone;
    // Touching all the way: one tick for each zone's right end and the first zone's left.
    int ticks = 0;
    for (const QLine &line : d.lines)
        ticks += line.x1() == line.x2() ? 1 : 0;
    EXPECT_EQ(ticks, 17);
}

TEST(ZoneStrip, OverlappingAndReversedZonesAreDrawnAsFarAsTheRulesGo)
{
    const std::vector<Range> damaged = {{50, 40}, {30, 60}, {30, 60}, {200, 255}};
    const ZoneStrip::Drawing d = ZoneStrip::Draw(damaged, 2);
    EXPECT_EQ(d.labels.size(), 2); // the reversed zone and the zone above 127 get no number
    const auto colours = ZoneStrip::KeyColours(damaged, 0, 2);
    EXPECT_EQ(colours[12 * 0 + 7], ZoneStrip::ZoneColour(1)); // note 31: the first zone holding it
}

// A Map dump of `zones` zones whose data is all nibbles.
QByteArray MapDump(int zones)
{
    QByteArray dump(84 + 32 * zones, '\0');
    // The SP's frame, a data message of kind 2 (Map), Map number 4.
    const char head[] = {'\xF0', 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x02, 0, 0, 0, 0, 0, 0, 0, 4};
    dump.replace(0, 17, QByteArray(head, 17));
    dump[51] = static_cast<char>((zones - 1) / 16);
    dump[52] = static_cast<char>((zones - 1) % 16);
    dump[dump.size() - 1] = '\xF7';
    return dump;
}

TEST(MapDump, OnlyAWholeUndamagedMapOrZoneIsTaken)
{
    const struct { const char *what; QByteArray dump; bool taken; } cases[] = {
        {"whole", MapDump(3), true},
        {"one character longer", MapDump(3).insert(90, '\0'), false},
        {"one zone short", MapDump(3).remove(84, 32), false},
        {"a zone nibble damaged", MapDump(3).replace(100, 1, "\x40"), false},
        {"a name nibble damaged", MapDump(3).replace(20, 1, "\x11"), false},
    };
    for (const auto &c : cases) {
        ObjectStore store;
        store.ZoneImages = {"before"};
        EXPECT_EQ(ObjectDumps::ParseMap(c.dump, 4, store), c.taken) << c.what;
        EXPECT_EQ(store.ZoneImages.size(), c.taken ? 3 : 1) << c.what;
    }
    // A zone dump is exactly 52 characters.
    QByteArray zone(52, '\0');
    const char head[] = {'\xF0', 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x06}; // kind 6: a Map Zone
    zone.replace(0, 9, QByteArray(head, 9));
    zone[51] = '\xF7';
    zone[19] = 7;
    EXPECT_EQ(ObjectDumps::ZoneImageOfDump(zone), QByteArray(1, '\x07') + QByteArray(31, '\0'));
    EXPECT_FALSE(ObjectDumps::ZoneImageOfDump(zone.left(51) + '\xF7' + '\xF7'));
    EXPECT_FALSE(ObjectDumps::ZoneImageOfDump(zone.mid(1)));
}

TEST(MapDump, ZoneFieldsWithTheirSigns)
{
    // Zone bytes 0 to 15 as 32 nibble characters.
    const auto image = [](std::initializer_list<int> bytes) {
        QByteArray nibbles;
        for (int b : bytes) {
            nibbles.append(static_cast<char>(b / 16));
            nibbles.append(static_cast<char>(b % 16));
        }
        while (nibbles.size() < 32)
            nibbles.append('\0');
        return nibbles;
    };
    EXPECT_EQ(ObjectDumps::ReadZone(image({0, 0, 0, 0, 0, 0, 0, 0, 0x81}))->Tuning, 0x80); // bit 7 alone
    EXPECT_EQ(ObjectDumps::ReadZone(image({0, 0, 0, 0, 0, 0, 128}))->Pan, 128); // 128 is not negative
    EXPECT_FALSE(ObjectDumps::ReadZone(image({0}).left(31)));
    EXPECT_FALSE(ObjectDumps::ReadZone(image({0, 0x10 * 16})));
}

} // namespace
