// Backup files as the program reads them, what a restore would send and in which order, and the
// compare of two backups by parameter name. The files are made by the Virtual SP's own writing,
// so the program's reading is checked against an independent one.
#include "Bytes.h"
#include "QtPrinters.h"
#include "SpRecords.h"
#include "objects/Backup.h"
#include "objects/BackupTransfer.h"
#include "objects/Compare.h"
#include "vsp/SpBackupFile.h"

#include <QElapsedTimer>

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
    QByteArray foreign = good;
    foreign[secondMessage + 3] = 0x1C; // another maker's header on message 2
    QByteArray damaged = good;
    damaged[secondMessage + 40] = 0x10; // a nibble character above 15 inside message 2's dump
    QByteArray shortDump = good;
    shortDump.remove(secondMessage + 40, 2); // message 2 two characters short
    QByteArray duplicated = good.left(secondMessage) + good;
    const struct {
        const char *name;
        QByteArray file;
        const char *error;
    } cases[] = {
        {"cut inside a message", good.left(good.size() / 2), "is cut short"},
        {"cut after a whole message", good.left(good.indexOf('\xF7') + 1), "before all the Global settings"},
        {"last byte lost", good.chopped(1), "is cut short"},
        {"foreign header", foreign, "Message 2 is not from the SP"},
        {"damaged dump", damaged, "Message 2 is a damaged dump"},
        {"dump of the wrong length", shortDump, "Message 2 is a damaged dump"},
        {"an object twice", duplicated, "w# 2 Kick a second time"},
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
    EXPECT_TRUE(summary.contains(QStringLiteral("Changed on the SP (1): t# 7 Snare Tone")));
    EXPECT_TRUE(summary.contains(QStringLiteral("Not on the SP (1): p# 1 Drum Kit")));
    EXPECT_TRUE(summary.contains(QStringLiteral("left as they are (1): mu# 3 Extra")));
    EXPECT_TRUE(summary.contains(QStringLiteral("skipped because their samples cannot be sent (1): w# 5 Snare")));

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

TEST(CompareBackups, NamesEachDifferingParameterAsTheEditorsDo)
{
    const Vsp::SpMemory first = Memory();
    Vsp::SpMemory second = first;
    SetAt(second.of(Vsp::Tone)[3], 80, 40);             // txtDCF(4), the cutoff
    Vsp::Write(second.of(Vsp::Wave)[2], Vsp::WaveField::Pitch, 2, 6100);
    second.of(Vsp::Map)[4][Vsp::MapZonesOffset + Vsp::MapZoneBytes + Vsp::ZoneField::Volume] = 90;
    SetAt(second.of(Vsp::Preset)[1], 90, 7);            // Layer Detune
    second.of(Vsp::Multi)[0][37] = 9;                   // a Multi byte without a table
    Vsp::SetName(second.of(Vsp::Tone)[7], "Rim Tone");
    second.of(Vsp::Preset)[2] = Preset("New Kit");
    second.global.masterTune = 300;

    QStringList rows;
    for (const Compare::Difference &d : Compare::Differences(Read(first), Read(second)))
        rows << QStringLiteral("%1 | %2 | %3 | %4").arg(d.object, d.parameter, d.first, d.second);
    EXPECT_EQ(rows, QStringList({
                        "w# 2 Kick | Pitch | 6000 | 6100",
                        "t# 3 Kick Tone | txtDCF(4) | 0 | 40",
                        "t# 7 Snare Tone | Name | Snare Tone | Rim Tone",
                        "m# 4 Drum Map | Zone 1 Volume | 80 | 90",
                        "p# 1 Drum Kit | Layer Detune | 0 | 7",
                        "mu# 0 Band | byte 37 | 0 | 9",
                        "p# 2 New Kit |  | - | New Kit",
                        "Global | Master Tune | -2.5 | 3",
                    }));
    EXPECT_TRUE(Compare::Differences(Read(first), Read(first)).isEmpty());
}

TEST(CompareBackups, TwoBackupsOfAFullMemoryCompareWellUnderFiftyMilliseconds)
{
    Vsp::SpMemory first;
    // Every number each kind allows, as far as the parameter memory goes.
    for (int n = 0; n < 100; ++n) {
        if (n <= Vsp::HighestAllowed(Vsp::Tone))
            first.of(Vsp::Tone)[n] = Tone("Tone");
        if (n <= Vsp::HighestAllowed(Vsp::Preset))
            first.of(Vsp::Preset)[n] = Preset("Preset");
        if (n <= Vsp::HighestAllowed(Vsp::Multi))
            first.of(Vsp::Multi)[n] = Multi("Multi");
        if (n <= Vsp::HighestAllowed(Vsp::Map))
            first.of(Vsp::Map)[n] = Map("Map", {{0, 20}, {21, 40}, {41, 60}, {61, 127}});
    }
    ASSERT_GE(first.parameterBytesFree(), 0);
    Vsp::SpMemory second = first;
    for (auto &[n, record] : second.of(Vsp::Preset))
        record[n % record.size()] = 1;
    const Backup::Contents a = Read(first);
    const Backup::Contents b = Read(second);
    QElapsedTimer timer;
    timer.start();
    const auto differences = Compare::Differences(a, b);
    EXPECT_LT(timer.elapsed(), 50);
    EXPECT_EQ(differences.size(), static_cast<qsizetype>(second.of(Vsp::Preset).size()));
}

TEST(VspBackupFile, TheVirtualSpReadsBackItsOwnBackupAndRefusesADamagedOne)
{
    const Vsp::SpMemory memory = Memory();
    const QByteArray file = Vsp::BackupOf(memory);
    Vsp::SpMemory read;
    QString error;
    ASSERT_TRUE(Vsp::ReadBackup(file, read, &error)) << error.toStdString();
    EXPECT_EQ(read, memory);

    Vsp::SpMemory untouched = Memory();
    QByteArray damaged = file;
    damaged[file.indexOf('\xF0', 1) + 40] = 0x10;
    EXPECT_FALSE(Vsp::ReadBackup(damaged, untouched, &error));
    EXPECT_FALSE(Vsp::ReadBackup(file.chopped(1), untouched, &error));
    // A command that would act on the memory is not a backup's message.
    EXPECT_FALSE(Vsp::ReadBackup(file + Bytes({0xF0, 0, 0, 0x1B, 2, 5, 0x7F, 3, 0x7F, 0, 0, 0, 2, 0, 0, 0, 0, 0xF7}),
                                 untouched, &error));
    EXPECT_EQ(untouched, Memory());
}

} // namespace
