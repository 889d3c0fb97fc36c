// Backup files as the program reads them, what a restore would send and in which order, and the
// compare of two backups by parameter name. The files are made by the Virtual SP's own writing,
// so the program's reading is checked against an independent one.
#include "Bytes.h"
#include "QtPrinters.h"
#include "SpRecords.h"
#include "objects/Backup.h"
#include "objects/BackupTransfer.h"
#include "editors/Compare.h"
#include "vsp/SpBackupFile.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

using namespace SpRecords;

Vsp::SpMemory Memory()
{
    Vsp::SpMemory m;
    m.of(Vsp::Wave)[2] = Wave("Kick", 9000);
    m.of(Vsp::Wave)[5] = Wave("Snare", 12000);
    m.of(Vsp::Tone)[3] = Tone("Kick Tone");
    m.of(Vsp::Tone)[7] = Tone("Snare Tone");
    m.of(Vsp::Map)[4] = Map("Drum Map", {{0, 47}, {48, 127}});
    m.of(Vsp::Preset)[1] = Preset("Drum Kit");
    m.of(Vsp::Multi)[0] = Multi("Band");
    m.global.bankName = "Test Bank     ";
    m.global.masterTune = -250;
    return m;
}

Backup::Contents Read(const Vsp::SpMemory &memory)
{
    const Backup::ReadResult read = Backup::Parse(Vsp::BackupOf(memory));
    EXPECT_TRUE(read.contents.has_value()) << read.error.toStdString();
    return read.contents.value_or(Backup::Contents());
}

QStringList Labels(const QVector<Backup::Object> &objects)
{
    QStringList labels;
    for (const Backup::Object &o : objects)
        labels << Backup::ObjectLabel(o.kind, o.number, o.name);
    return labels;
}

TEST(BackupFile, ReadsEveryObjectAndTheGlobalAnswersAndWritesThemBackByteForByte)
{
    const QByteArray file = Vsp::BackupOf(Memory());
    const Backup::ReadResult read = Backup::Parse(file);
    ASSERT_TRUE(read.contents) << read.error.toStdString();
    EXPECT_EQ(Labels(read.contents->objects),
              QStringList({"w# 2 Kick", "w# 5 Snare", "t# 3 Kick Tone", "t# 7 Snare Tone", "m# 4 Drum Map",
                           "p# 1 Drum Kit", "mu# 0 Band"}));
    ASSERT_EQ(read.contents->global.size(), Backup::GlobalAnswers);
    const auto global = read.contents->globalValues();
    ASSERT_TRUE(global);
    EXPECT_EQ(global->BankName, QStringLiteral("Test Bank     "));
    EXPECT_EQ(global->MasterTune, -250);
    EXPECT_EQ(Backup::Write(*read.contents), file);
}

TEST(BackupFile, RefusesADamagedTruncatedOrForeignFileWholeNamingWhatIsWrong)
{
    const QByteArray good = Vsp::BackupOf(Memory());
    const qsizetype secondMessage = good.indexOf('\xF0', 1);
    const auto inSecond = [&](int offset, char c) { return QByteArray(good).replace(secondMessage + offset, 1, &c, 1); };
    const struct { const char *name; QByteArray file; const char *error; } cases[] = {
        {"cut inside a message", good.left(good.size() / 2), "is cut short"},
        {"cut after a whole message", good.left(good.indexOf('\xF7') + 1), "before all the Global settings"},
        {"last byte lost", good.chopped(1), "is cut short"},
        {"an end lost, the next start inside", good.left(good.indexOf('\xF7')) + good.mid(good.indexOf('\xF7') + 1), "is cut short"},
        {"another maker's header", inSecond(3, 0x1C), "Message 2 is not from the SP"},
        {"a nibble above 15 inside the dump", inSecond(40, 0x10), "Message 2 is a damaged dump"},
        {"dump two characters short", QByteArray(good).remove(secondMessage + 40, 2), "Message 2 is a damaged dump"},
        {"an object twice", good.left(secondMessage) + good, "w# 2 Kick a second time"},
        {"bytes between messages", good.left(secondMessage) + "junk" + good.mid(secondMessage), "not SysEx messages"},
        {"empty", QByteArray(), "no SP messages"},
        {"text file", QByteArray("hello\n"), "not SysEx messages"},
    };
    for (const auto &c : cases) {
        const Backup::ReadResult read = Backup::Parse(c.file);
        EXPECT_FALSE(read.contents) << c.name;
        EXPECT_TRUE(read.error.contains(QLatin1String(c.error))) << c.name << ": " << read.error.toStdString();
    }
}

TEST(RestorePlan, ListsExactlyTheObjectsThatDifferAndSkipsWavesTheSpDoesNotHold)
{
    const Vsp::SpMemory backup = Memory();
    Vsp::SpMemory sp = backup;
    sp.of(Vsp::Tone)[7][20] = 5;                      // a changed Tone
    sp.of(Vsp::Preset).erase(1);                      // a Preset the SP lost
    sp.of(Vsp::Wave).erase(5);                        // a Wave the SP lost: cannot be sent
    sp.of(Vsp::Multi)[3] = Multi("Extra");            // held by the SP only
    sp.global.omniPolyVolume = 12;

    const BackupTransfer::Plan plan = BackupTransfer::PlanRestore(Read(backup), Read(sp));
    EXPECT_EQ(Labels(plan.changed), QStringList({"t# 7 Snare Tone"}));
    EXPECT_EQ(Labels(plan.missing), QStringList({"p# 1 Drum Kit"}));
    EXPECT_EQ(Labels(plan.skipped), QStringList({"w# 5 Snare"}));
    EXPECT_EQ(Labels(plan.extra), QStringList({"mu# 3 Extra"}));
    EXPECT_TRUE(plan.globalChanged);
    const QString summary = BackupTransfer::Summary(plan);
    for (const char *line : {"Changed on the SP (1): t# 7 Snare Tone", "Not on the SP (1): p# 1 Drum Kit",
                             "left as they are (1): mu# 3 Extra",
                             "skipped because their samples cannot be sent (1): w# 5 Snare"})
        EXPECT_TRUE(summary.contains(QLatin1String(line))) << summary.toStdString();

    const BackupTransfer::Plan same = BackupTransfer::PlanRestore(Read(backup), Read(backup));
    EXPECT_TRUE(same.nothingToDo());
}

TEST(RestorePlan, UploadsWavesThenTonesMapsPresetsMultisWhateverTheFileOrder)
{
    Vsp::SpMemory backup = Memory();
    Vsp::SpMemory sp;
    sp.of(Vsp::Wave)[2] = Wave("Kick", 9000);
    sp.of(Vsp::Wave)[5] = Wave("Old", 12000);
    Backup::Contents file = Read(backup);
    std::reverse(file.objects.begin(), file.objects.end());
    const BackupTransfer::Plan plan = BackupTransfer::PlanRestore(file, Read(sp));
    EXPECT_EQ(Labels(plan.uploads()), QStringList({"w# 5 Snare", "t# 3 Kick Tone", "t# 7 Snare Tone", "m# 4 Drum Map",
                                                   "p# 1 Drum Kit", "mu# 0 Band"}));
}

// One change per row, made on a copy of the memory; the compare must name it as its tab does,
// with the values as the tab shows them.
TEST(CompareBackups, NamesEachDifferingParameterAsTheEditorsDo)
{
    using Change = std::function<void(Vsp::SpMemory &)>;
    struct Case {
        Change change;
        const char *row;
    };
    // The byte whose high nibble travels at message `position` of the one object of `kind`.
    const auto at = [](Vsp::Kind kind, int number) {
        return [=](int position, int value) {
            return [=](Vsp::SpMemory &m) { SetAt(m.of(kind)[number], position, value); };
        };
    };
    const auto tone = at(Vsp::Tone, 3), preset = at(Vsp::Preset, 1), multi = at(Vsp::Multi, 0);
    const auto zone = [](int zone, int field, int value) {
        return [=](Vsp::SpMemory &m) { m.of(Vsp::Map)[4][Vsp::MapZonesOffset + zone * Vsp::MapZoneBytes + field] = char(value); };
    };
    const Case cases[] = {
        {[](Vsp::SpMemory &m) { Vsp::Write(m.of(Vsp::Wave)[2], Vsp::WaveField::Pitch, 2, 6100); }, "w# 2 Kick | Pitch | 60 | 61"},
        {[](Vsp::SpMemory &m) { m.of(Vsp::Wave)[2][Vsp::WaveField::Mode] = char(0x80); }, "w# 2 Kick | Loop | off | on"},
        {[](Vsp::SpMemory &m) { m.of(Vsp::Wave)[2][Vsp::WaveField::FineTune] = char(-5); }, "w# 2 Kick | Fine tune | 0 | -5"},
        {tone(80, 40), "t# 3 Kick Tone | DCF Cutoff | 0 | 40"},
        {tone(72, 246), "t# 3 Kick Tone | DCA Vel Sens | 0 | -10"},
        {tone(74, 128), "t# 3 Kick Tone | DCA LFO Amt | 0 | 128"}, // as the tab reads a signed byte
        {tone(142, 3), "t# 3 Kick Tone | LFO Quantize | none | 4"}, // shown one above what is stored
        {tone(108, 3), "t# 3 Kick Tone | LFO Waveshape | triangle | sine"},
        {tone(120, 16), "t# 3 Kick Tone | DCO LFO Polarity | bipolar | unipolar"},
        {tone(82, 2), "t# 3 Kick Tone | DCF Envelope | none | env2"},
        {tone(62, 30), "t# 3 Kick Tone | Envelope 2 Attack | 0 | 30"},
        {[](Vsp::SpMemory &m) { Vsp::SetName(m.of(Vsp::Tone)[7], "Rim Tone"); }, "t# 7 Snare Tone | Name | Snare Tone | Rim Tone"},
        {zone(1, Vsp::ZoneField::Volume, 90), "m# 4 Drum Map | Zone 1 Volume | 80 | 90"},
        {zone(0, Vsp::ZoneField::Output, 1), "m# 4 Drum Map | Zone 0 Output | Main | Sub"},
        {zone(1, Vsp::ZoneField::Allocation, 0x03), "m# 4 Drum Map | Zone 1 Allocation group | 0 | 3"},
        {preset(90, 7), "p# 1 Drum Kit | Layer Detune | 0 | 7"},
        {preset(74, 2), "p# 1 Drum Kit | Allocation Group 3 Priority | low | high"},
        {preset(102, 4), "p# 1 Drum Kit | Allocation Group 2 Overflow | off | on"},
        {preset(154, 9), "p# 1 Drum Kit | Layer A Level 2 Map | 0 | 9"},
        {preset(174 + 192, 250), "p# 1 Drum Kit | Layer B Volume | 0 | -6"},
        {preset(162 + 192, 64), "p# 1 Drum Kit | Layer B Map Switch Point 2 | 0 | 64"},
        {preset(170, 2), "p# 1 Drum Kit | Layer A Output | [Map] | Sub"},
        {preset(104, 5), "p# 1 Drum Kit | byte 43 | 0 | 5"},
        {multi(138, 60), "mu# 0 Band | Channel 9 Volume | 0 | 60"},
        {multi(92, 4), "mu# 0 Band | Channel 2 Preset (p#) | 0 | 4"},
        {multi(62, 12), "mu# 0 Band | Allocation Group 3 Max Polyphony | 0 | 12"},
        {multi(54, 8), "mu# 0 Band | Channel 3 Multi Enable | Active | Off-Line"},
        {[](Vsp::SpMemory &m) { m.global.masterTune = 300; }, "Global | Master Tune | -2.5 | 3"},
        {[](Vsp::SpMemory &m) { m.global.omniPolyVolume = 10; }, "Global | Omni/Poly Volume | 127 | 10"},
        {[](Vsp::SpMemory &m) { m.of(Vsp::Preset)[2] = Preset("New Kit"); }, "p# 2 New Kit |  | - | New Kit"},
    };
    const Vsp::SpMemory first = Memory();
    EXPECT_TRUE(Compare::Differences(Read(first), Read(first)).isEmpty());
    for (const Case &c : cases) {
        Vsp::SpMemory second = first;
        c.change(second);
        QStringList rows;
        for (const Compare::Difference &d : Compare::Differences(Read(first), Read(second)))
            rows << QStringLiteral("%1 | %2 | %3 | %4").arg(d.object, d.parameter, d.first, d.second);
        EXPECT_EQ(rows, QStringList({QLatin1String(c.row)})) << c.row;
    }
}

// Its time is the benchmark's to measure; here, only what it finds.
TEST(CompareBackups, TwoBackupsOfAFullMemoryDifferInTheChangedPresetsOnly)
{
    Vsp::SpMemory first;
    // A hundred of each kind but the Multis, of which every number allowed, as the memory allows.
    for (int n = 0; n < 100; ++n) {
        first.of(Vsp::Tone)[n] = Tone("Tone");
        first.of(Vsp::Preset)[n] = Preset("Preset");
        first.of(Vsp::Map)[n] = Map("Map", {{0, 20}, {21, 40}, {41, 60}, {61, 127}});
        if (n <= Vsp::HighestAllowed(Vsp::Multi))
            first.of(Vsp::Multi)[n] = Multi("Multi");
    }
    ASSERT_GE(first.parameterBytesFree(), 0);
    Vsp::SpMemory second = first;
    for (auto &[n, record] : second.of(Vsp::Preset))
        record[n % record.size()] = 1;
    EXPECT_EQ(Compare::Differences(Read(first), Read(second)).size(), qsizetype(second.of(Vsp::Preset).size()));
}

// Its reading back of a whole backup and of a cut one is the tool's test.
TEST(VspBackupFile, TheVirtualSpRefusesADamagedBackup)
{
    const QByteArray file = Vsp::BackupOf(Memory());
    Vsp::SpMemory untouched = Memory();
    QString error;
    EXPECT_FALSE(Vsp::ReadBackup(With(file, file.indexOf('\xF0', 1) + 41, Bytes({0x10})), untouched, &error));
    // A command that would act on the memory is not a backup's message.
    EXPECT_FALSE(Vsp::ReadBackup(file + Bytes({0xF0, 0, 0, 0x1B, 2, 5, 0x7F, 3, 0x7F, 0, 0, 0, 2, 0, 0, 0, 0, 0xF7}),
                                 untouched, &error));
    EXPECT_EQ(untouched, Memory());
}

} // namespace
