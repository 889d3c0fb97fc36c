// The memory operations' logic: bank load, delete and clear, and stereo merge commands byte by
// byte, the merge checks and number rules, and the statistics texts from status records.
#include "LowFixtures.h"
#include "QtPrinters.h"
#include "device/ResponseWait.h"
#include "objects/BankLoad.h"
#include "objects/MemoryStats.h"
#include "objects/ObjectDelete.h"
#include "objects/StereoMerge.h"

#include <gtest/gtest.h>

TEST(BankLoad, CommandCarriesTheDiskCodeThenTheBankAsNibbles)
{
    const QByteArray head = Bytes({0x30, 0x01, 0x00, 0x00, 0x00, 0x03});
    const struct { int diskCode, bank; QByteArray expected; } rows[] = {
        {2, 5, head + Bytes({0, 2, 0, 0, 0, 5})},       {127, 0, head + Bytes({7, 15, 0, 0, 0, 0})},
        {6, 9999, head + Bytes({0, 6, 2, 7, 0, 15})},   {0, 300, head + Bytes({0, 0, 0, 1, 2, 12})},
    };
    for (const auto &row : rows)
        EXPECT_EQ(BankLoad::LoadCommand(row.diskCode, row.bank), row.expected) << row.diskCode << " " << row.bank;
    EXPECT_FALSE(BankLoad::LoadCommand(2, 70000));
    EXPECT_FALSE(BankLoad::LoadCommand(-1, 0));
}

// The floppy is waited for without limit, the SCSI drives for a minute.
TEST(BankLoad, DiskCodeIs127ForTheFloppyAndTheScsiIdOtherwise)
{
    const auto disks = Settings::DefaultDisks();
    const struct { int device, code, timeout; } rows[] = {
        {0, 127, ResponseWait::Forever}, {1, 0, 60000}, {3, 2, 60000}, {7, 6, 60000}};
    for (const auto &row : rows) {
        EXPECT_EQ(BankLoad::DiskCode(disks[row.device], row.device), row.code) << row.device;
        EXPECT_EQ(BankLoad::TimeoutFor(row.code), row.timeout) << row.code;
    }
}

TEST(BankLoad, OnlyInstalledDevicesAreListedAfterTheFloppy)
{
    auto disks = Settings::DefaultDisks();
    for (auto &disk : disks)
        disk.Installed = 0; // the floppy too: it is offered whatever its flag says
    const BankLoad::DeviceList none = BankLoad::ListDevices(disks);
    EXPECT_EQ(none.names, QStringList{QStringLiteral("Floppy Disk")});
    EXPECT_EQ(none.ListDevice, QVector<int>{0});

    disks[2].Installed = disks[5].Installed = 1;
    disks[2].VolName = QStringLiteral("Samples HD");
    disks[5].VolName = QStringLiteral("Zip");
    const BankLoad::DeviceList two = BankLoad::ListDevices(disks);
    EXPECT_EQ(two.names, (QStringList{"Floppy Disk", "Samples HD", "Zip"}));
    EXPECT_EQ(two.ListDevice, (QVector<int>{0, 2, 5}));
    EXPECT_EQ(two.DeviceListPos, (std::array<int, 8>{0, -1, 1, -1, -1, 2, -1, -1}));
    EXPECT_EQ(two.PositionOf(5), 2);
    EXPECT_EQ(two.PositionOf(3), 0); // a device no longer installed falls back to the floppy
}

TEST(ObjectDelete, CommandsForOneObjectAllOfAKindAndTheWholeMemory)
{
    using ObjectDelete::Scope;
    const struct { Scope scope; int kind, number; QByteArray expected; } rows[] = {
        {Scope::Current, 1, 12, Bytes({0x03, 0x01, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 12})},
        {Scope::Current, 0, 300, Bytes({0x03, 0x00, 0x00, 0x00, 0x00, 0x02, 0, 1, 2, 12})},
        {Scope::AllOfKind, 3, 7, Bytes({0x03, 0x03, 0x00, 0x00, 0x00, 0x02, 15, 15, 15, 15})},
        {Scope::ClearMemory, 2, 7, Bytes({0x03, 0x7F, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 0})},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ObjectDelete::Command(row.scope, row.kind, row.number), row.expected) << static_cast<int>(row.scope);
    EXPECT_FALSE(ObjectDelete::Command(Scope::Current, 1, 70000));
}

// The texts of clearing the memory and of reading again are the Delete window's test.
TEST(ObjectDelete, QuestionsAndProgressTextsPerKind)
{
    using ObjectDelete::Scope;
    const struct { int kind; const char *name, *prefix; } rows[] = {
        {0, "Wave", "w#"}, {1, "Tone", "t#"}, {2, "Map", "m#"}, {3, "Preset", "p#"}, {4, "Multi", "mu#"}};
    const QString n = QStringLiteral("5"), snare = QStringLiteral("Snare");
    for (const auto &row : rows) {
        const QString kind = QLatin1String(row.name), prefix = QLatin1String(row.prefix);
        const auto texts = ObjectDelete::TextsFor(row.kind);
        EXPECT_EQ(texts.currentOption, "Delete Current " + kind + ":");
        EXPECT_EQ(texts.allOption, "Delete All " + kind + "s");
        EXPECT_EQ(texts.caption, "Delete " + kind);
        EXPECT_EQ(ObjectDelete::Question(Scope::Current, row.kind, n, snare),
                  "Delete Current " + kind + ": " + prefix + "5   Snare ?");
        EXPECT_EQ(ObjectDelete::Question(Scope::AllOfKind, row.kind, n, snare), "Delete all " + kind + "s?");
        EXPECT_EQ(ObjectDelete::ProgressText(Scope::Current, row.kind, n, snare),
                  "Deleting " + kind + " " + prefix + "5   Snare");
        EXPECT_EQ(ObjectDelete::ProgressText(Scope::AllOfKind, row.kind, n, snare), "Deleting all " + kind + "s...");
    }
}

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
    const struct { Side left, right; const char *message; } rows[] = { // no message: may be merged
        {{"3", mono, "10"}, {"3", mono, "10"}, "Must use two different waves!"},
        {{"3", stereo, "10"}, {"3", stereo, "5"}, "Must use two different waves!"},
        {{"3", stereo, "10"}, {"4", stereo, "5"}, "Left wave is already stereo!"},
        {{"3", mono, "10"}, {"4", stereo, "5"}, "Right wave is already stereo!"},
        {{"3", mono, "10"}, {"4", mono, "9"}, "Right wave length must be greater than left!"},
        {{"3", mono, "10"}, {"4", mono, "10"}, nullptr},
        {{"3", mono, "10"}, {"4", mono, "11"}, nullptr},
        {{"3", mono, "9"}, {"4", mono, "10"}, nullptr}, // compared as numbers, not as text
    };
    for (const auto &row : rows)
        EXPECT_EQ(StereoMerge::Check(row.left, row.right).value_or("none"), QLatin1String(row.message ? row.message : "none"));
}

TEST(StereoMerge, DetailsReadLengthAt60AndTheStereoBitAt48)
{
    QByteArray dump = With(QByteArray(148, '\0'), 60, Bytes({0, 1, 2, 3})); // length 0x0123
    dump[47] = 2;                                                          // mode 0x20
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

// Typed numbers settle on a Wave in use, and the spin box moves to the neighbour in use.
TEST(StereoMerge, CommittedNumbersAndSpinsSettleOnAWaveInUse)
{
    ObjDir dir;
    for (int n : {2, 5, 9})
        dir.Entries.append({static_cast<int16_t>(dir.Entries.size()), static_cast<int16_t>(n), QStringLiteral("W%1").arg(n)});
    const ObjDirStatus range{.Lowest = 2, .Highest = 9};
    const std::pair<const char *, int> typed[] = {{"5", 5}, {"", 2}, {"12", 9}, {"0", 2}, {"7", 2}, {"9", 9}};
    for (const auto &[text, expected] : typed)
        EXPECT_EQ(StereoMerge::SettleNumber(QLatin1String(text), range, dir), expected) << text;
    const struct { int from, step; std::optional<int> to; } spins[] = {
        {5, 1, 9}, {5, -1, 2}, {6, -1, 5}, {9, 1, std::nullopt}, {2, -1, std::nullopt}}; // none past the ends
    for (const auto &s : spins)
        EXPECT_EQ(StereoMerge::SpinTarget(s.from, s.step, range, dir), s.to) << s.from << " by " << s.step;
}

TEST(MemoryStats, TextsInWordsAndBytesFromStatusRecords)
{
    ObjectStore store;
    // Waves: 3 loaded, 2 to 9 of 255; Tones: none; Maps: one; Presets: 0 and 1.
    const QByteArray answers[MemoryStats::Kinds] = {
        StatusAnswer(255, 3, 2, 9, 1001, 4000), StatusAnswer(255, 0, 0, 0, 0, 5000),
        StatusAnswer(127, 1, 4, 4, 256, 2001), StatusAnswer(127, 2, 0, 1, 420, 3000)};
    for (int kind = 0; kind < MemoryStats::Kinds; ++kind) {
        KindState &state = store.of(kind);
        state.Status = ObjDirStatus::Parse(answers[kind]);
        ASSERT_TRUE(state.Status.valid) << kind;
        state.Have = state.Status.Loaded > 0;
    }
    store.FreeRAM = 700;

    const auto words = MemoryStats::Compute(store, MemoryStats::Unit::Words);
    const auto bytes = MemoryStats::Compute(store, MemoryStats::Unit::Bytes);
    const QStringList parmWords = {"3", "2", "9", "255", "500.5", "2000",  "0", "N/A", "N/A", "N/A", "N/A", "N/A",
                                   "1", "4", "4", "127", "128",   "1000.5", "2", "0",  "1",   "127", "210", "1500"};
    const QStringList parmBytes = {"3", "2", "9", "255", "1001", "4000", "0", "N/A", "N/A", "N/A", "N/A", "N/A",
                                   "1", "4", "4", "127", "256",  "2001", "2", "0",   "1",   "127", "420", "3000"};
    const QStringList qntWords = {"KWords", "KWords", "Words", "", "Words", "Words", "", "", "", "", "", "",
                                  "",       "",       "",      "", "Words", "Words", "", "", "", "", "Words", "Words"};
    for (int i = 0; i < MemoryStats::KindRows; ++i) {
        EXPECT_EQ(words.lblParm[i], parmWords[i]) << "lblParm " << i;
        EXPECT_EQ(bytes.lblParm[i], parmBytes[i]) << "lblParm " << i;
        EXPECT_EQ(words.lblQnt[i], qntWords[i]) << "lblQnt " << i;
        // In bytes every unit is a byte one; and no Tones: no units.
        EXPECT_EQ(bytes.lblQnt[i], QString(qntWords[i]).replace("Words", "Bytes")) << "lblQnt " << i;
    }
    EXPECT_EQ(words.lblMem, (std::array<QString, 3>{"1024", "700", "30000"}));
    EXPECT_EQ(bytes.lblMem, (std::array<QString, 3>{"2048", "1400", "60000"}));
}

TEST(MemoryStats, EachKindsNumberRowsFollowItsOwnLoadedFlag)
{
    ObjectStore store;
    store.of(KindPreset).Status = ObjDirStatus::Parse(StatusAnswer(127, 2, 0, 1, 420, 3000));
    store.of(KindPreset).Have = false; // a failed status request leaves the flag down
    store.of(KindWave).Have = true;
    const auto texts = MemoryStats::Compute(store, MemoryStats::Unit::Words);
    EXPECT_EQ(texts.lblParm[18], QStringLiteral("2"));
    for (int row = 19; row < 24; ++row)
        EXPECT_EQ(texts.lblParm[row], QStringLiteral("N/A")) << row;
    EXPECT_EQ(texts.lblParm[1], QStringLiteral("0")); // the Waves' rows show their own figures
}
