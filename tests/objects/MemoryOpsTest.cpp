// The memory operations' logic: bank load, delete and clear, and stereo merge commands byte by
// byte, the merge checks and number rules, and the statistics texts from status records.
#include "Bytes.h"
#include "QtPrinters.h"
#include "device/ResponseWait.h"
#include "objects/BankLoad.h"
#include "objects/MemoryStats.h"
#include "objects/ObjectDelete.h"
#include "objects/StereoMerge.h"

#include <gtest/gtest.h>

namespace {

// A directory status answer with the fields the statistics use; the rest as the SP sends them.
QByteArray StatusAnswer(int highestAllowed, int loaded, int lowest, int highest, int used, int free, int freeParm,
                        int installed, int freeSample)
{
    return SpMessage(Bytes({0x02, 0x03, 0, 0, 1, 8, 0, 0, 0, 0, 0, 0, 0, 0}) + Nibbles(highestAllowed, 4) + Nibbles(loaded, 4)
                     + Nibbles(lowest, 4) + Nibbles(highest, 4) + Nibbles(used, 6) + Nibbles(free, 6)
                     + Nibbles(freeParm, 6) + Nibbles(installed, 4) + Nibbles(freeSample, 4));
}

ObjDir DirOf(std::initializer_list<int> numbers)
{
    ObjDir dir;
    int position = 0;
    for (int n : numbers)
        dir.Entries.append({static_cast<int16_t>(position++), static_cast<int16_t>(n), QStringLiteral("W%1").arg(n)});
    return dir;
}

ObjDirStatus Range(int lowest, int highest)
{
    ObjDirStatus status;
    status.Lowest = static_cast<int16_t>(lowest);
    status.Highest = static_cast<int16_t>(highest);
    return status;
}

} // namespace

// ---- Bank load ----

TEST(BankLoad, CommandCarriesTheDiskCodeThenTheBankAsNibbles)
{
    const struct {
        int diskCode, bank;
        QByteArray expected;
    } rows[] = {
        {2, 5, Bytes({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 0, 2, 0, 0, 0, 5})},
        {127, 0, Bytes({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 7, 15, 0, 0, 0, 0})},
        {6, 9999, Bytes({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 0, 6, 2, 7, 0, 15})},
        {0, 300, Bytes({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 0, 0, 0, 1, 2, 12})},
    };
    for (const auto &row : rows)
        EXPECT_EQ(BankLoad::LoadCommand(row.diskCode, row.bank), row.expected) << row.diskCode << " " << row.bank;
    EXPECT_FALSE(BankLoad::LoadCommand(2, 70000));
    EXPECT_FALSE(BankLoad::LoadCommand(-1, 0));
}

TEST(BankLoad, DiskCodeIs127ForTheFloppyAndTheScsiIdOtherwise)
{
    const auto disks = Settings::DefaultDisks();
    EXPECT_EQ(BankLoad::DiskCode(disks[0], 0), 127);
    EXPECT_EQ(BankLoad::DiskCode(disks[1], 1), 0);
    EXPECT_EQ(BankLoad::DiskCode(disks[3], 3), 2);
    EXPECT_EQ(BankLoad::DiskCode(disks[7], 7), 6);
}

TEST(BankLoad, TheFloppyIsWaitedForWithoutLimitOtherDrivesForAMinute)
{
    EXPECT_EQ(BankLoad::TimeoutFor(127), ResponseWait::Forever);
    EXPECT_EQ(BankLoad::TimeoutFor(0), 60000);
    EXPECT_EQ(BankLoad::TimeoutFor(6), 60000);
}

TEST(BankLoad, OnlyInstalledDevicesAreListedAfterTheFloppy)
{
    auto disks = Settings::DefaultDisks();
    for (auto &disk : disks)
        disk.Installed = 0;
    disks[0].Installed = 0; // the floppy is offered whatever its flag says
    const BankLoad::DeviceList none = BankLoad::ListDevices(disks);
    EXPECT_EQ(none.names, QStringList{QStringLiteral("Floppy Disk")});
    EXPECT_EQ(none.ListDevice, QVector<int>{0});

    disks[2].Installed = 1;
    disks[2].VolName = QStringLiteral("Samples HD");
    disks[5].Installed = 1;
    disks[5].VolName = QStringLiteral("Zip");
    const BankLoad::DeviceList two = BankLoad::ListDevices(disks);
    EXPECT_EQ(two.names, (QStringList{QStringLiteral("Floppy Disk"), QStringLiteral("Samples HD"), QStringLiteral("Zip")}));
    EXPECT_EQ(two.ListDevice, (QVector<int>{0, 2, 5}));
    EXPECT_EQ(two.DeviceListPos[2], 1);
    EXPECT_EQ(two.DeviceListPos[5], 2);
    EXPECT_EQ(two.DeviceListPos[3], -1);
    EXPECT_EQ(two.PositionOf(5), 2);
    EXPECT_EQ(two.PositionOf(3), 0); // a device no longer installed falls back to the floppy
}

TEST(BankLoad, ProgressTextNamesTheBankExceptOnTheFloppy)
{
    EXPECT_EQ(BankLoad::ProgressText(5, QStringLiteral("SCSI 2"), false), QStringLiteral("Loading Bank #5 from SCSI 2..."));
    EXPECT_EQ(BankLoad::ProgressText(0, QStringLiteral("Floppy Disk"), true),
              QStringLiteral("Loading Bank from Floppy Disk..."));
}

// ---- Delete and clear ----

TEST(ObjectDelete, CommandsForOneObjectAllOfAKindAndTheWholeMemory)
{
    using ObjectDelete::Scope;
    const struct {
        Scope scope;
        int kind, number;
        QByteArray expected;
    } rows[] = {
        {Scope::Current, 1, 12, Bytes({0x03, 0x01, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 12})},
        {Scope::Current, 0, 300, Bytes({0x03, 0x00, 0x00, 0x00, 0x00, 0x02, 0, 1, 2, 12})},
        {Scope::AllOfKind, 3, 7, Bytes({0x03, 0x03, 0x00, 0x00, 0x00, 0x02, 15, 15, 15, 15})},
        {Scope::ClearMemory, 2, 7, Bytes({0x03, 0x7F, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 0})},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ObjectDelete::Command(row.scope, row.kind, row.number), row.expected) << static_cast<int>(row.scope);
    EXPECT_FALSE(ObjectDelete::Command(Scope::Current, 1, 70000));
}

TEST(ObjectDelete, QuestionsAndProgressTextsPerKind)
{
    using ObjectDelete::Scope;
    const struct {
        int kind;
        const char *current, *all, *caption, *question, *allQuestion, *progress, *allProgress;
    } rows[] = {
        {0, "Delete Current Wave:", "Delete All Waves", "Delete Wave", "Delete Current Wave: w#5   Snare ?",
         "Delete all Waves?", "Deleting Wave w#5   Snare", "Deleting all Waves..."},
        {1, "Delete Current Tone:", "Delete All Tones", "Delete Tone", "Delete Current Tone: t#5   Snare ?",
         "Delete all Tones?", "Deleting Tone t#5   Snare", "Deleting all Tones..."},
        {2, "Delete Current Map:", "Delete All Maps", "Delete Map", "Delete Current Map: m#5   Snare ?",
         "Delete all Maps?", "Deleting Map m#5   Snare", "Deleting all Maps..."},
        {3, "Delete Current Preset:", "Delete All Presets", "Delete Preset", "Delete Current Preset: p#5   Snare ?",
         "Delete all Presets?", "Deleting Preset p#5   Snare", "Deleting all Presets..."},
        {4, "Delete Current Multi:", "Delete All Multis", "Delete Multi", "Delete Current Multi: mu#5   Snare ?",
         "Delete all Multis?", "Deleting Multi mu#5   Snare", "Deleting all Multis..."},
    };
    const QString n = QStringLiteral("5"), name = QStringLiteral("Snare");
    for (const auto &row : rows) {
        const auto texts = ObjectDelete::TextsFor(row.kind);
        EXPECT_EQ(texts.currentOption, QLatin1String(row.current));
        EXPECT_EQ(texts.allOption, QLatin1String(row.all));
        EXPECT_EQ(texts.caption, QLatin1String(row.caption));
        EXPECT_EQ(ObjectDelete::Question(Scope::Current, row.kind, n, name), QLatin1String(row.question));
        EXPECT_EQ(ObjectDelete::Question(Scope::AllOfKind, row.kind, n, name), QLatin1String(row.allQuestion));
        EXPECT_EQ(ObjectDelete::ProgressText(Scope::Current, row.kind, n, name), QLatin1String(row.progress));
        EXPECT_EQ(ObjectDelete::ProgressText(Scope::AllOfKind, row.kind, n, name), QLatin1String(row.allProgress));
        EXPECT_EQ(ObjectDelete::Question(Scope::ClearMemory, row.kind, n, name), QStringLiteral("Clear All SP Memory ?"));
        EXPECT_EQ(ObjectDelete::ProgressText(Scope::ClearMemory, row.kind, n, name),
                  QStringLiteral("Clearing all SP memory..."));
    }
    EXPECT_EQ(ObjectDelete::DownloadText(Scope::ClearMemory), QStringLiteral("Downloading Global Data..."));
    EXPECT_EQ(ObjectDelete::DownloadText(Scope::AllOfKind), QStringLiteral("Downloading SP Data..."));
}

// ---- Stereo merge ----

TEST(StereoMerge, CommandCarriesLeftThenRight)
{
    EXPECT_EQ(StereoMerge::Command(3, 10), Bytes({0x31, 0x01, 0x00, 0x00, 0x00, 0x04, 0, 0, 0, 3, 0, 0, 0, 10}));
    EXPECT_EQ(StereoMerge::Command(0x123, 0x45), Bytes({0x31, 0x01, 0x00, 0x00, 0x00, 0x04, 0, 1, 2, 3, 0, 0, 4, 5}));
    EXPECT_FALSE(StereoMerge::Command(-1, 4));
    EXPECT_EQ(StereoMerge::ProgressText(3, 10), QStringLiteral("Merging Right Wave w#10 and Left Wave w#3..."));
}

TEST(StereoMerge, ChecksInOrderAndTheFirstFailureIsShown)
{
    using Side = StereoMerge::Side;
    const QString mono = QStringLiteral("Mono"), stereo = QStringLiteral("Stereo");
    const struct {
        Side left, right;
        const char *message; // nullptr: may be merged
    } rows[] = {
        {{"3", mono, "10"}, {"3", mono, "10"}, "Must use two different waves!"},
        {{"3", stereo, "10"}, {"3", stereo, "5"}, "Must use two different waves!"},
        {{"3", stereo, "10"}, {"4", stereo, "5"}, "Left wave is already stereo!"},
        {{"3", mono, "10"}, {"4", stereo, "5"}, "Right wave is already stereo!"},
        {{"3", mono, "10"}, {"4", mono, "9"}, "Right wave length must be greater than left!"},
        {{"3", mono, "10"}, {"4", mono, "10"}, nullptr},
        {{"3", mono, "10"}, {"4", mono, "11"}, nullptr},
        {{"3", mono, "9"}, {"4", mono, "10"}, nullptr}, // compared as numbers, not as text
    };
    for (const auto &row : rows) {
        const auto problem = StereoMerge::Check(row.left, row.right);
        if (row.message)
            EXPECT_EQ(problem.value_or(QString()), QLatin1String(row.message));
        else
            EXPECT_FALSE(problem) << problem.value_or(QString()).toStdString();
    }
}

TEST(StereoMerge, DetailsReadLengthAt60AndTheStereoBitAt48)
{
    QByteArray dump(148, '\0');
    dump[59] = 0, dump[60] = 1, dump[61] = 2, dump[62] = 3; // length 0x0123
    dump[47] = 2, dump[48] = 0;                             // mode 0x20
    auto details = StereoMerge::Details(dump);
    ASSERT_TRUE(details);
    EXPECT_EQ(details->length, 0x123);
    EXPECT_EQ(details->modeText(), QStringLiteral("Stereo"));
    dump[47] = 0x0D; // loop bits without the stereo bit
    EXPECT_EQ(StereoMerge::Details(dump)->modeText(), QStringLiteral("Mono"));
    EXPECT_FALSE(StereoMerge::Details(dump.left(62)));
    dump[61] = 0x40; // not a nibble
    EXPECT_FALSE(StereoMerge::Details(dump));
}

TEST(StereoMerge, CommittedNumbersSettleOnAWaveInUse)
{
    const ObjDir dir = DirOf({2, 5, 9});
    const ObjDirStatus range = Range(2, 9);
    const struct {
        const char *typed;
        int expected;
    } rows[] = {{"5", 5}, {"", 2}, {"12", 9}, {"0", 2}, {"7", 2}, {"9", 9}};
    for (const auto &row : rows)
        EXPECT_EQ(StereoMerge::SettleNumber(QLatin1String(row.typed), range, dir), row.expected) << row.typed;
}

TEST(StereoMerge, SpinMovesToTheNeighbourInUse)
{
    const ObjDir dir = DirOf({2, 5, 9});
    const ObjDirStatus range = Range(2, 9);
    EXPECT_EQ(StereoMerge::SpinTarget(5, 1, range, dir), 9);
    EXPECT_EQ(StereoMerge::SpinTarget(5, -1, range, dir), 2);
    EXPECT_EQ(StereoMerge::SpinTarget(6, -1, range, dir), 5);
    EXPECT_FALSE(StereoMerge::SpinTarget(9, 1, range, dir));
    EXPECT_FALSE(StereoMerge::SpinTarget(2, -1, range, dir));
}

// ---- Statistics ----

TEST(MemoryStats, HalfOfAnOddByteCountEndsInPointFive)
{
    EXPECT_EQ(MemoryStats::HalfText(1001), QStringLiteral("500.5"));
    EXPECT_EQ(MemoryStats::HalfText(1000), QStringLiteral("500"));
    EXPECT_EQ(MemoryStats::HalfText(0), QStringLiteral("0"));
    EXPECT_EQ(MemoryStats::HalfText(-3), QStringLiteral("-1.5"));
    EXPECT_EQ(MemoryStats::HalfText(-1), QStringLiteral("-0.5"));
}

TEST(MemoryStats, TextsInWordsAndBytesFromStatusRecords)
{
    ObjectStore store;
    // Waves: 3 loaded, 2 to 9 of 255; Tones: none; Maps: one; Presets: 0 and 1.
    const QByteArray answers[MemoryStats::Kinds] = {
        StatusAnswer(255, 3, 2, 9, 1001, 4000, 30000, 1024, 700),
        StatusAnswer(255, 0, 0, 0, 0, 5000, 30000, 1024, 700),
        StatusAnswer(127, 1, 4, 4, 256, 2001, 30000, 1024, 700),
        StatusAnswer(127, 2, 0, 1, 420, 3000, 30000, 1024, 700),
    };
    for (int kind = 0; kind < MemoryStats::Kinds; ++kind) {
        KindState &state = store.of(kind);
        state.Status = ObjDirStatus::Parse(answers[kind]);
        ASSERT_TRUE(state.Status.valid) << kind;
        state.Have = state.Status.Loaded > 0;
    }
    store.FreeRAM = 700;

    const auto words = MemoryStats::Compute(store, MemoryStats::Unit::Words);
    const QStringList parmWords = {"3", "2", "9", "255", "500.5", "2000",           // Waves
                                   "0", "N/A", "N/A", "N/A", "N/A", "N/A",          // Tones
                                   "1", "4", "4", "127", "128", "1000.5",           // Maps
                                   "2", "0", "1", "127", "210", "1500"};            // Presets
    const QStringList qntWords = {"KWords", "KWords", "Words", "", "Words", "Words",
                                  "", "", "", "", "", "",
                                  "", "", "", "", "Words", "Words",
                                  "", "", "", "", "Words", "Words"};
    for (int i = 0; i < MemoryStats::KindRows; ++i) {
        EXPECT_EQ(words.lblParm[i], parmWords[i]) << "lblParm " << i;
        EXPECT_EQ(words.lblQnt[i], qntWords[i]) << "lblQnt " << i;
    }
    EXPECT_EQ(words.lblMem, (std::array<QString, 3>{"1024", "700", "30000"}));

    const auto bytes = MemoryStats::Compute(store, MemoryStats::Unit::Bytes);
    const QStringList parmBytes = {"3", "2", "9", "255", "1001", "4000",
                                   "0", "N/A", "N/A", "N/A", "N/A", "N/A",
                                   "1", "4", "4", "127", "256", "2001",
                                   "2", "0", "1", "127", "420", "3000"};
    for (int i = 0; i < MemoryStats::KindRows; ++i)
        EXPECT_EQ(bytes.lblParm[i], parmBytes[i]) << "lblParm " << i;
    EXPECT_EQ(bytes.lblMem, (std::array<QString, 3>{"2048", "1400", "60000"}));
    EXPECT_EQ(bytes.lblQnt[0], QStringLiteral("KBytes"));
    EXPECT_EQ(bytes.lblQnt[1], QStringLiteral("KBytes"));
    EXPECT_EQ(bytes.lblQnt[2], QStringLiteral("Bytes"));
    EXPECT_EQ(bytes.lblQnt[4], QStringLiteral("Bytes"));
    EXPECT_EQ(bytes.lblQnt[11], QString()); // no Tones: no units
}

TEST(MemoryStats, EachKindsNumberRowsFollowItsOwnLoadedFlag)
{
    ObjectStore store;
    store.of(KindPreset).Status = ObjDirStatus::Parse(StatusAnswer(127, 2, 0, 1, 420, 3000, 30000, 1024, 700));
    store.of(KindPreset).Have = false; // a failed status request leaves the flag down
    store.of(KindWave).Have = true;
    const auto texts = MemoryStats::Compute(store, MemoryStats::Unit::Words);
    EXPECT_EQ(texts.lblParm[18], QStringLiteral("2"));
    for (int row = 19; row < 24; ++row)
        EXPECT_EQ(texts.lblParm[row], QStringLiteral("N/A")) << row;
    EXPECT_EQ(texts.lblParm[1], QStringLiteral("0")); // the Waves' rows show their own figures
}
