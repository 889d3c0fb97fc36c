// The Virtual SP against the device's rules, command by command: the bytes it answers with and
// the state it holds afterwards. Messages are written out byte by byte here, independently of
// both the program's client code and the Virtual SP's own message code.
#include "Bytes.h"
#include "QtPrinters.h"
#include "SpRecords.h"
#include "vsp/VirtualSp.h"

#include <gtest/gtest.h>

using namespace Vsp;

namespace {

using Answers = std::vector<QByteArray>;

int At(const QByteArray &m, int position)
{
    return static_cast<uint8_t>(m.at(position - 1));
}

QByteArray Text(const QByteArray &m, int position, int characters)
{
    QByteArray text;
    for (int i = 0; i < characters; ++i)
        text.append(static_cast<char>(NibblesAt(m, position + 2 * i, 2)));
    return text;
}

using SpRecords::Record;

struct Sp : ::testing::Test {
    VirtualSp sp;
    int changes = 0;

    Sp()
    {
        SpMemory m;
        m.of(Wave)[3] = SpRecords::Wave("Left Piano", 40000);
        m.of(Wave)[10] = SpRecords::Wave("Right Piano", 40000);
        m.of(Wave)[11] = SpRecords::Wave("Short One", 1000);
        m.of(Wave)[12] = SpRecords::Wave("Wide Strings", 20000, true);
        m.of(Tone)[5] = Record(ToneRecordBytes, "Soft Tone");
        m.of(Tone)[12] = Record(ToneRecordBytes, "Hard Tone");
        m.of(Map)[2] = SpRecords::Map("Split Map", {{0, 59}, {60, 127}});
        m.of(Preset)[0] = Record(PresetRecordBytes, "First Preset");
        m.of(Preset)[7] = Record(PresetRecordBytes, "Last Preset");
        m.of(Multi)[1] = Record(MultiRecordBytes, "Band Multi");
        m.global.bankName = "Test Bank     ";
        sp.setMemory(m);
        sp.onChanged = [this](const SpMemory &) { ++changes; };
    }

    QByteArray Answer(const QByteArray &body)
    {
        const auto answers = sp.Receive(SpMessage(body));
        EXPECT_EQ(answers.size(), 1u) << "one answer to every request";
        return answers.empty() ? QByteArray() : answers.front();
    }
    int StatusOf(const QByteArray &body)
    {
        const QByteArray answer = Answer(body);
        EXPECT_EQ(answer.size(), 10) << "a status response";
        return answer.size() == 10 ? At(answer, 9) : -1;
    }
    QByteArray Dump(int kind, int number) { return Answer(Bytes({0x01, kind, 0, 0, 0, 2, 0, 0, number / 16, number % 16})); }
    // The body of a dump, to send back as the program uploads an edit.
    QByteArray UploadOf(int kind, int number) { return Dump(kind, number).mid(7).chopped(1); }
    int Merge(int left, int right)
    {
        return StatusOf(Bytes({0x31, 0x01, 0, 0, 0, 4}) + Nibbles(left, 4) + Nibbles(right, 4));
    }
};

} // namespace

TEST_F(Sp, ObjectDumpsHaveTheLengthsAndFramingThatTheProgramReads)
{
    const struct { int kind, number, length; } dumps[] = {
        {Wave, 3, 148}, {Tone, 5, 180}, {Map, 2, 84 + 32 * 2}, {Preset, 7, 532}, {Multi, 1, 212}};
    for (const auto &d : dumps) {
        const QByteArray dump = Dump(d.kind, d.number);
        EXPECT_EQ(dump.size(), d.length) << "kind " << d.kind;
        EXPECT_EQ(At(dump, 9), d.kind);
        for (int position = 10; position < dump.size(); ++position)
            ASSERT_LE(At(dump, position), 15) << "every data character is a nibble, position " << position;
        EXPECT_EQ(NibblesAt(dump, 14, 4), d.number);
        EXPECT_EQ(NibblesAt(dump, 10, 4), (d.length - 18) / 2 + 2) << "count of the bytes that follow";
    }
    const QByteArray map = Dump(Map, 2);
    EXPECT_EQ(NibblesAt(map, 52, 2), 1) << "last zone index";
    EXPECT_EQ(NibblesAt(map, 84 + 32 + 4, 2), 60) << "zone 1 low note";
}

TEST_F(Sp, DirectoryStatusIs64CharactersWithTheTrueFiguresAndTheDirectoryListsEveryObject)
{
    const QByteArray status = Answer(Bytes({0x12, 0x01, 0x01, 0x03}));
    ASSERT_EQ(status.size(), 64);
    const int64_t free = sp.memory().parameterBytesFree(), installed = SpMemory::DefaultInstalledKilowords;
    const struct { int position, width; int64_t value; const char *what; } figures[] = {
        {22, 4, 127, "highest allowed"}, {26, 4, 2, "loaded"}, {30, 4, 0, "lowest"}, {34, 4, 7, "highest"},
        {38, 6, 2 * PresetRecordBytes, "bytes used"}, {44, 6, free, "bytes free"}, {50, 6, free / 2, "words free"},
        {56, 4, installed, "kilowords installed"}, {60, 4, installed - (40 + 40 + 1 + 40), "kilowords free"}};
    for (const auto &f : figures)
        EXPECT_EQ(NibblesAt(status, f.position, f.width), f.value) << f.what;

    sp.memory().of(Multi).clear();
    EXPECT_EQ(NibblesAt(Answer(Bytes({0x12, 0x01, 0x01, 0x04})), 26, 4), 0);

    // The Waves' directory lists the number and the name of each.
    const QByteArray dir = Answer(Bytes({0x12, 0x02, 0x01, 0x00}));
    EXPECT_EQ(NibblesAt(dir, 10, 4), 2 + 16 * 4);
    EXPECT_EQ(dir.size(), 17 + 32 * 4 + 1);
    const int numbers[] = {3, 10, 11, 12};
    for (int e = 0; e < 4; ++e)
        EXPECT_EQ(NibblesAt(dir, 18 + 32 * e, 4), numbers[e]);
    EXPECT_EQ(Text(dir, 22 + 32 * 3, 14), "Wide Strings  ");

    sp.memory().of(Tone).clear();
    EXPECT_EQ(NibblesAt(Answer(Bytes({0x12, 0x02, 0x01, 0x01})), 10, 4), 2);
}

TEST_F(Sp, UploadOfAnEditedDumpOrMapHeaderChangesTheObject)
{
    // Value 5 at position 50, width 2: the Tone's Wave number.
    EXPECT_EQ(StatusOf(With(UploadOf(Tone, 12), 50 - 7, Bytes({0, 5}))), 0);
    EXPECT_EQ(NibblesAt(Dump(Tone, 12), 50, 2), 5);
    EXPECT_EQ(StatusOf(With(UploadOf(Tone, 12), 20 - 7, Bytes({4, 2, 6, 1, 7, 3, 7, 3}) + Pads(10))), 0);
    EXPECT_EQ(Text(Dump(Tone, 12), 20, 14), "Bass          ");
    EXPECT_EQ(changes, 2);
    // A dump sent back to another number (37) creates that object.
    EXPECT_EQ(StatusOf(With(UploadOf(Tone, 12), 16 - 7, Bytes({2, 5}))), 0);
    EXPECT_NE(sp.memory().find(Tone, 37), nullptr);

    // A Map Header upload (kind 5, byte count 0023) renames the Map ('N' first) and keeps its zones.
    const QByteArray map = Dump(Map, 2);
    const QByteArray header = With(With(map.left(83), 9, Bytes({5, 0, 0, 2, 3})), 20, Bytes({4, 0xE})) + Bytes({0xF7});
    EXPECT_EQ(sp.Receive(header), Answers{SpStatusAnswer(0)});
    EXPECT_EQ(Text(Dump(Map, 2), 20, 14), "Nplit Map     ");
    EXPECT_EQ(Dump(Map, 2).size(), map.size()) << "the zones stay";
}

TEST_F(Sp, UploadsBreakingTheDevicesRulesAreRefused)
{
    const struct { const char *what; int kind, number, position, value, status; } cases[] = {
        {"a nibble above 15", Tone, 5, 54, 0x10, 3},
        {"envelope sustain of 0x90", Tone, 5, 56, 9, 11},
        {"cutoff 0xA0", Tone, 5, 80, 0x0A, 11},
        {"fine tune 0x7F = 127", Wave, 3, 50, 7, 11},
        {"map zone volume 0xF0", Map, 2, 84 + 10, 0x0F, 11},
        {"preset mode 0x50", Preset, 0, 50, 5, 11},
        {"multi channel volume 0x80", Multi, 1, 120, 8, 11},
    };
    for (const auto &c : cases) {
        const QByteArray before = UploadOf(c.kind, c.number);
        EXPECT_EQ(StatusOf(With(before, c.position - 7, Bytes({c.value}))), c.status) << c.what;
        EXPECT_EQ(UploadOf(c.kind, c.number), before) << c.what << ": nothing changed";
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(StatusOf(UploadOf(Tone, 5).chopped(2)), 2) << "a dump two characters short";
    EXPECT_EQ(StatusOf(With(UploadOf(Tone, 5), 12 - 7, Bytes({0}))), 2) << "a wrong byte count";
}

TEST_F(Sp, WaveUploadsKeepTheSamplesAndTheLoopInsideThePlayRange)
{
    // A Wave that does not exist cannot be made by an upload: its samples cannot be sent.
    EXPECT_EQ(StatusOf(With(UploadOf(Wave, 3), 17 - 7, Bytes({9}))), 4);
    // Loop on (0x80) with a loop end beyond the play end.
    EXPECT_EQ(StatusOf(With(With(UploadOf(Wave, 3), 48 - 7, Bytes({8})), 102 - 7, Bytes({0x0F}))), 11);

    // A changed length, sample address or stereo bit in an upload does not change the samples held.
    const int address = NibblesAt(Dump(Wave, 3), 52, 8);
    QByteArray tamper = With(UploadOf(Wave, 3), 91 - 7, Bytes({1}));
    tamper = With(With(tamper, 59 - 7, Bytes({5})), 48 - 7, Bytes({2}));
    EXPECT_EQ(StatusOf(tamper), 0);
    const QByteArray after = Dump(Wave, 3);
    EXPECT_EQ(NibblesAt(after, 84, 8), 40000);
    EXPECT_EQ(NibblesAt(after, 52, 8), address);
    EXPECT_EQ(NibblesAt(after, 48, 2) & 0x20, 0);

    // The play end lies inside the Wave: its last sample is length - 1.
    for (const auto &[playEnd, status] : {std::pair{1000, 11}, {999, 0}}) {
        EXPECT_EQ(StatusOf(With(UploadOf(Wave, 11), 76 - 7, Nibbles(playEnd, 8))), status) << "play end " << playEnd;
        EXPECT_EQ(NibblesAt(Dump(Wave, 11), 76, 8), 999);
    }
}

TEST_F(Sp, MapZonesAreFoundByAnyNoteInsideAndMustNotOverlap)
{
    const auto zoneUpload = [](int note, int map, int low, int high) {
        QByteArray zone(32, '\0');
        zone = With(With(zone, 2 * ZoneField::LowNote + 1, Nibbles(low, 2)), 2 * ZoneField::HighNote + 1, Nibbles(high, 2));
        return Bytes({0x02, 0x06, 0x00, 0x00, 0x01, 0x03, note / 16, note % 16, map / 16, map % 16, 0, 0}) + zone;
    };
    EXPECT_EQ(StatusOf(zoneUpload(30, 2, 0, 50)), 0) << "zone 0 found by note 30";
    EXPECT_EQ(StatusOf(zoneUpload(40, 2, 0, 60)), 11) << "would share note 60 with zone 1";
    EXPECT_EQ(StatusOf(zoneUpload(40, 2, 45, 44)), 11) << "low note above high note";
    EXPECT_EQ(StatusOf(zoneUpload(55, 2, 0, 50)), 4) << "no zone holds note 55 any more";
    EXPECT_EQ(StatusOf(zoneUpload(30, 9, 0, 50)), 4) << "no Map 9";

    // The zone dump is 52 characters with the zone at 20 to 51.
    const QByteArray zone = Answer(Bytes({0x01, 0x06, 0, 0, 0, 2, 4, 0, 0, 2})); // note 64 of Map 2
    ASSERT_EQ(zone.size(), 52);
    EXPECT_EQ(NibblesAt(zone, 20 + 2 * ZoneField::LowNote, 2), 60);
    EXPECT_EQ(NibblesAt(Dump(Map, 2), 84 + 2 * ZoneField::HighNote, 2), 50);
}

TEST_F(Sp, DeleteOneAllOfAKindOrTheWholeMemory)
{
    EXPECT_EQ(StatusOf(Bytes({0x03, 0x01, 0, 0, 0, 2, 0, 0, 0, 12})), 0);
    EXPECT_EQ(sp.memory().find(Tone, 12), nullptr);
    EXPECT_EQ(StatusOf(Bytes({0x03, 0x01, 0, 0, 0, 2, 0, 0, 0, 12})), 4) << "already gone";
    EXPECT_EQ(StatusOf(Bytes({0x03, 0x01, 0, 0, 0, 2, 0, 1, 0, 0})), 5) << "Tone 256 is out of range";
    EXPECT_EQ(StatusOf(Bytes({0x03, 0x09, 0, 0, 0, 2, 0, 0, 0, 1})), 7) << "no kind 9";
    // All Presets: 15 15 15 15.
    EXPECT_EQ(StatusOf(Bytes({0x03, 0x03, 0, 0, 0, 2, 15, 15, 15, 15})), 0);
    EXPECT_TRUE(sp.memory().of(Preset).empty());
    EXPECT_FALSE(sp.memory().of(Wave).empty());
    // Clearing the memory: kind 7F, number 0.
    EXPECT_EQ(StatusOf(Bytes({0x03, 0x7F, 0, 0, 0, 2, 0, 0, 0, 0})), 0);
    for (int kind = 0; kind < ObjectKinds; ++kind)
        EXPECT_TRUE(sp.memory().of(kind).empty());
    EXPECT_EQ(sp.memory().freeSampleKilowords(), SpMemory::DefaultInstalledKilowords);
    EXPECT_EQ(changes, 3);
}

TEST_F(Sp, StereoMergeJoinsTwoMonoWavesUnderTheLeftNumber)
{
    EXPECT_EQ(Merge(3, 11), 8) << "right Wave shorter than the left";
    const int freeBefore = sp.memory().freeSampleKilowords();
    EXPECT_EQ(Merge(3, 10), 0); // a right Wave as long as the left
    const QByteArray merged = Dump(Wave, 3);
    EXPECT_EQ(NibblesAt(merged, 48, 2) & 0x20, 0x20);
    EXPECT_EQ(NibblesAt(merged, 60, 4), 80);
    EXPECT_EQ(sp.memory().find(Wave, 10), nullptr);
    EXPECT_EQ(sp.memory().freeSampleKilowords(), freeBefore);

    const struct { int left, right, status; const char *what; } refused[] = {
        {3, 11, 8, "left is already stereo"}, {11, 12, 8, "right is already stereo"},
        {11, 11, 8, "the same Wave twice"},   {11, 10, 4, "right Wave is gone"},
        {11, 300, 5, "number out of range"},
    };
    for (const auto &r : refused)
        EXPECT_EQ(Merge(r.left, r.right), r.status) << r.what;
}

TEST_F(Sp, GlobalParametersAreReadAndEditedWhereTheProgramLooks)
{
    EXPECT_EQ(Answer(Bytes({0x11, 0x02, 0x01, 0x00})).mid(11, 14), "Test Bank     ");
    // Playback mode left as it was; poly, Omni/Poly channel 16, volume 127, program change disabled.
    const int values[] = {0, 1, 15, 127, 1};
    for (int p = 2; p <= 5; ++p)
        EXPECT_EQ(StatusOf(Bytes({0x11, 0x03, 0x03, p, 0x01, values[p - 1]})), 0) << "parameter " << p;
    for (int p = 1; p <= 5; ++p) // read back after all are set, so none overwrites another
        EXPECT_EQ(Answer(Bytes({0x11, 0x03, 0x02, p, 0x00})).mid(12, 1), Bytes({values[p - 1]})) << "parameter " << p;
    EXPECT_EQ(StatusOf(Bytes({0x11, 0x03, 0x03, 0x01, 0x01, 0x06})), 11) << "playback mode 6";
    EXPECT_EQ(StatusOf(Bytes({0x11, 0x03, 0x03, 0x03, 0x01, 0x10})), 11) << "channel 17";

    // Master tune -3.5, sent as FEA2.
    EXPECT_EQ(StatusOf(Bytes({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 15, 14, 10, 2})), 0);
    EXPECT_EQ(NibblesAt(Answer(Bytes({0x32, 0x01, 0, 0, 0, 2, 0, 1, 0, 0})), 18, 4), 0xFEA2);
    EXPECT_EQ(sp.memory().global.masterTune, -350);
    EXPECT_EQ(StatusOf(Bytes({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 3, 0, 13, 5})), 11) << "tune 12501";

    EXPECT_EQ(StatusOf(Bytes({0x11, 0x02, 0x0F, 0x01}) + "New Bank Name!"), 0);
    EXPECT_EQ(Answer(Bytes({0x11, 0x02, 0x01, 0x00})).mid(11, 14), "New Bank Name!");
}

TEST_F(Sp, RequestsForWhatIsNotThereOrBrokenGetTheirCodes)
{
    const struct { const char *what; QByteArray body; int status; } cases[] = {
        {"Tone 6 is empty", Bytes({0x01, 0x01, 0, 0, 0, 2, 0, 0, 0, 6}), 4},
        {"Preset 128 is out of range", Bytes({0x01, 0x03, 0, 0, 0, 2, 0, 0, 8, 0}), 5},
        {"no kind 9", Bytes({0x01, 0x09, 0, 0, 0, 2, 0, 0, 0, 0}), 7},
        {"a nibble above 15", Bytes({0x01, 0x01, 0, 0, 0, 2, 0, 0, 0x10, 0}), 3},
        {"dump request cut short", Bytes({0x01, 0x01, 0, 0, 0, 2, 0, 0}), 2},
        {"directory status of kind 5", Bytes({0x12, 0x01, 0x01, 0x05}), 7},
        {"unknown command", Bytes({0x40, 0x01}), 1},
        {"no command", QByteArray(), 2},
        {"key press cut short", Bytes({0x11, 0x01, 0x01}), 2},
        {"key code above 7F", Bytes({0x11, 0x01, 0x01, 0x80}), 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StatusOf(c.body), c.status) << c.what;
    EXPECT_EQ(sp.Receive(SpMessage({0x11, 0x01, 0x01, 0x00}).chopped(1)), Answers{SpStatusAnswer(2)}) << "no end byte";
    EXPECT_EQ(sp.keyPresses(), 0);
}

TEST_F(Sp, BankLoadingReplacesTheMemoryOrFailsWithCode10)
{
    // Without disks nothing can be loaded.
    EXPECT_EQ(StatusOf(Bytes({0x30, 0x01, 0, 0, 0, 3, 7, 15, 0, 0, 0, 1})), 10);

    sp.loadBank = [](int disk, int bank, SpMemory &into) {
        if (disk != 127 || bank != 1)
            return false;
        into.of(Tone)[0] = Record(ToneRecordBytes, "Bank Tone");
        into.global.bankName = "Floppy Bank 1 ";
        return true;
    };
    EXPECT_EQ(StatusOf(Bytes({0x30, 0x01, 0, 0, 0, 3, 0, 2, 0, 0, 0, 1})), 10) << "SCSI 2 holds no bank 1";
    EXPECT_EQ(StatusOf(Bytes({0x30, 0x01, 0, 0, 0, 3, 7, 15, 0, 0, 0, 1})), 0);
    EXPECT_TRUE(sp.memory().of(Wave).empty());
    ASSERT_NE(sp.memory().find(Tone, 0), nullptr);
    EXPECT_EQ(sp.memory().global.bankName, "Floppy Bank 1 ");
    EXPECT_EQ(StatusOf(Bytes({0x30, 0x01, 0, 0, 0, 3, 0, 9, 0, 0, 0, 1})), 5) << "no SCSI ID 9";
}

TEST_F(Sp, MemoryFullRefusesANewObjectWithCode6)
{
    // Fill the parameter memory with large Maps, then with Tones until less than one is left.
    int number = 100;
    while (sp.memory().parameterBytesFree() >= RecordBytes(Map, MaxMapZones))
        sp.memory().of(Map)[number++] = Record(RecordBytes(Map, MaxMapZones), "Filler");
    while (sp.memory().parameterBytesFree() >= ToneRecordBytes)
        sp.memory().of(Tone)[number++] = Record(ToneRecordBytes, "Filler");
    ASSERT_LT(number, 256) << "the parameter memory fills before the numbers run out";
    EXPECT_EQ(StatusOf(With(UploadOf(Tone, 5), 17 - 7, Bytes({9}))), 6);
    EXPECT_EQ(sp.memory().find(Tone, 9), nullptr);
    EXPECT_EQ(StatusOf(UploadOf(Tone, 5)), 0) << "replacing an object needs no more memory";
}
