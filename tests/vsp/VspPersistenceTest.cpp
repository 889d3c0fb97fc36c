// The Virtual SP's banks and files: the factory and demo banks keep the device's rules, memory
// files survive a round trip and damage, and disk banks are found where the SP looks for them.
#include "Bytes.h"
#include "QtPrinters.h"
#include "vsp/DiskDrives.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpMemoryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <set>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Vsp::SpMemory;

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

uint32_t Field(const QByteArray &record, int offset, int bytes = 1)
{
    return Vsp::Read(record, offset, bytes);
}

// A memory unlike the ones under test, to show a failed load changed nothing.
SpMemory Bystander()
{
    SpMemory memory = Vsp::DemoBank(1);
    memory.installedKilowords = 4096;
    memory.global.bankName = "Bystander     ";
    return memory;
}

struct NamedBank {
    const char *name;
    SpMemory (*make)();
};
const NamedBank Banks[] = {
    {"Factory", &Vsp::FactoryBank},
    {"DemoDisk1", [] { return Vsp::DemoBank(0); }},
    {"DemoDisk2", [] { return Vsp::DemoBank(1); }},
};

class FactoryBankRules : public testing::TestWithParam<NamedBank> {
protected:
    SpMemory bank = GetParam().make();
};

TEST_P(FactoryBankRules, WavesDescribeConsistentSamplesAndMemoryFiguresThatAddUp)
{
    using namespace Vsp::WaveField;
    ASSERT_FALSE(bank.of(Vsp::Wave).empty());
    std::vector<std::pair<uint32_t, uint32_t>> extents; // address range in 1024-byte units
    int kilowords = 0;
    for (const auto &[number, wave] : bank.of(Vsp::Wave)) {
        SCOPED_TRACE(testing::Message() << "Wave " << number);
        const uint32_t length = Field(wave, Length, 4), playEnd = Field(wave, PlayEnd, 4);
        const uint32_t loopStart = Field(wave, LoopStart, 4), loopEnd = Field(wave, LoopEnd, 4);
        EXPECT_GE(length, 10000u);
        EXPECT_LT(Field(wave, PlayStart, 4), playEnd);
        EXPECT_LE(playEnd, length - 1);
        EXPECT_GE(loopStart, Field(wave, PlayStart, 4));
        EXPECT_LE(loopStart, loopEnd);
        EXPECT_LE(loopEnd, playEnd);
        EXPECT_LE(Field(wave, LoopFraction, 4), 0xFFFFFFu);
        const uint32_t size = (length + 1023) / 1024 * ((Field(wave, Mode) & Stereo) ? 2 : 1);
        EXPECT_EQ(Field(wave, Size, 2), size);
        kilowords += static_cast<int>(size);
        EXPECT_GT(Field(wave, SamplePeriod, 4), 0u);
        EXPECT_GE(Field(wave, Pitch, 2), 100u);
        EXPECT_LE(Field(wave, Pitch, 2), 12700u);
        EXPECT_EQ(wave.mid(57), QByteArray(8, '\0'));
        const uint32_t address = Field(wave, Address, 4);
        EXPECT_GE(address, 0x500000u / 1024);
        extents.emplace_back(address, address + size * 2);
    }
    std::sort(extents.begin(), extents.end());
    for (size_t i = 1; i < extents.size(); ++i)
        EXPECT_LE(extents[i - 1].second, extents[i].first) << "Waves share sample memory";
    EXPECT_EQ(bank.sampleKilowordsUsed(), kilowords);
    EXPECT_GT(bank.parameterBytesFree(), 0);
}

TEST_P(FactoryBankRules, ObjectsReferOnlyToObjectsThatExist)
{
    for (const auto &[number, tone] : bank.of(Vsp::Tone))
        EXPECT_NE(bank.find(Vsp::Wave, Field(tone, 16)), nullptr) << "Tone " << number;
    for (const auto &[number, map] : bank.of(Vsp::Map)) {
        SCOPED_TRACE(testing::Message() << "Map " << number);
        int previousHigh = -1;
        for (int zone = 0; zone < Vsp::ZoneCount(map); ++zone) {
            const int base = Vsp::MapZonesOffset + Vsp::MapZoneBytes * zone;
            const int low = static_cast<int>(Field(map, base + Vsp::ZoneField::LowNote));
            const int high = static_cast<int>(Field(map, base + Vsp::ZoneField::HighNote));
            EXPECT_GT(low, previousHigh) << "zone " << zone << " overlaps or is out of order";
            EXPECT_LE(low, high);
            previousHigh = high;
            EXPECT_NE(bank.find(Vsp::Tone, Field(map, base + Vsp::ZoneField::Tone)), nullptr) << "zone " << zone;
        }
    }
    for (const auto &[number, preset] : bank.of(Vsp::Preset)) {
        for (int layer : {65, 161})
            for (int level = 2; level <= 5; ++level)
                EXPECT_NE(bank.find(Vsp::Map, Field(preset, layer + level)), nullptr) << "Preset " << number;
        for (int aux = 32; aux <= 34; ++aux)
            EXPECT_TRUE(Field(preset, 1 + aux) <= 120 || Field(preset, 1 + aux) == 255) << "Preset " << number;
    }
    for (const auto &[number, multi] : bank.of(Vsp::Multi))
        for (int channel = 0; channel < 16; ++channel)
            EXPECT_NE(bank.find(Vsp::Preset, Field(multi, 1 + 34 + channel)), nullptr) << "Multi " << number;
}

INSTANTIATE_TEST_SUITE_P(Banks, FactoryBankRules, testing::ValuesIn(Banks),
                         [](const testing::TestParamInfo<NamedBank> &row) { return std::string(row.param.name); });

TEST(FactoryBank, HoldsEveryKindOfObjectTheEditorShowsAndDiffersFromTheDemoBanks)
{
    const SpMemory bank = Vsp::FactoryBank();
    std::set<uint32_t> waveModes; // stereo and loop bits
    for (const auto &[number, wave] : bank.of(Vsp::Wave))
        waveModes.insert(Field(wave, Vsp::WaveField::Mode) & (Vsp::WaveField::Stereo | Vsp::WaveField::LoopOn));
    EXPECT_EQ(waveModes, (std::set<uint32_t>{0x00, 0x20, 0x80, 0xA0})) << "mono and stereo, looped and one-shot";
    EXPECT_NE(bank.of(Vsp::Wave).rbegin()->first + 1, static_cast<int>(bank.of(Vsp::Wave).size()))
        << "Wave numbers should have gaps";
    std::set<int> zoneCounts;
    for (const auto &[number, map] : bank.of(Vsp::Map))
        zoneCounts.insert(Vsp::ZoneCount(map));
    EXPECT_GE(*zoneCounts.begin(), 2);
    EXPECT_LE(*zoneCounts.rbegin(), 4);
    EXPECT_GE(zoneCounts.size(), 2u);
    EXPECT_GE(bank.of(Vsp::Preset).size(), 2u);
    for (const auto &[number, preset] : bank.of(Vsp::Preset))
        EXPECT_NE(Field(preset, 65 + 2), Field(preset, 161 + 2)) << "Preset " << number << " layers play one Map";
    EXPECT_EQ(bank.of(Vsp::Multi).size(), 1u);
    EXPECT_NE(bank.global.bankName, Vsp::GlobalSettings().bankName);

    const SpMemory first = Vsp::DemoBank(0), second = Vsp::DemoBank(1);
    EXPECT_EQ((std::set<QByteArray>{first.global.bankName, second.global.bankName, bank.global.bankName}).size(), 3u);
    for (const SpMemory *demo : {&first, &second}) {
        EXPECT_EQ(demo->global.bankName.size(), Vsp::NameLength);
        for (int kind : {Vsp::Wave, Vsp::Tone, Vsp::Map, Vsp::Preset})
            EXPECT_FALSE(demo->of(kind).empty()) << "kind " << kind;
    }
    EXPECT_NE(first.of(Vsp::Wave), second.of(Vsp::Wave));
    EXPECT_EQ(Vsp::DemoBank(2), SpMemory());
}

TEST(MemoryPersistence, MissingFileIsMissingAndSaveThenLoadGivesAnEqualMemory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("deeper/still/memory.json");
    SpMemory bystander = Bystander();
    QString warning;
    EXPECT_EQ(Vsp::LoadMemory(path, bystander, nullptr), Vsp::LoadResult::Missing);
    EXPECT_EQ(bystander, Bystander());
    EXPECT_EQ(Vsp::LoadMemoryOrFactory(path, &warning), Vsp::FactoryBank());
    EXPECT_EQ(warning, QString());
    EXPECT_EQ(Entries(dir.path()), QStringList());

    SpMemory memory = Vsp::FactoryBank();
    memory.installedKilowords = 8192;
    memory.global = {"Saved Bank    ", 5, 2, 15, 90, 1, -12000};
    // The longest Map the device takes, and byte values at the edges of their ranges.
    QByteArray bigMap(Vsp::RecordBytes(Vsp::Map, Vsp::MaxMapZones), '\0');
    Vsp::SetName(bigMap, "Every Key");
    bigMap[Vsp::MapLastZoneOffset] = static_cast<char>(Vsp::MaxMapZones - 1);
    bigMap[Vsp::MapZonesOffset + Vsp::ZoneField::Transpose] = static_cast<char>(256 - 127);
    memory.of(Vsp::Map)[255] = bigMap;
    memory.of(Vsp::Tone)[0][18] = static_cast<char>(256 - 99);
    memory.of(Vsp::Tone)[0][22] = static_cast<char>(99);
    memory.of(Vsp::Multi)[0][1 + 50] = static_cast<char>(127);

    QString error;
    ASSERT_TRUE(Vsp::SaveMemory(Vsp::DemoBank(1), path, &error)) << error.toStdString();
    ASSERT_TRUE(Vsp::SaveMemory(memory, path, &error)) << error.toStdString();
    SpMemory loaded;
    EXPECT_EQ(Vsp::LoadMemory(path, loaded, &error), Vsp::LoadResult::Loaded) << error.toStdString();
    EXPECT_EQ(loaded, memory);
    EXPECT_EQ(Entries(dir.filePath("deeper/still")), QStringList{"memory.json"});
}

#ifndef _WIN32 // a full disk is made with a POSIX file size limit
// Caps the size of files this process may write while it lives, as a full disk would; read-only
// folders do not stop a test run as root.
struct FileSizeCap {
    explicit FileSizeCap(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        const rlimit cap{bytes, saved.rlim_max};
        applied = setrlimit(RLIMIT_FSIZE, &cap) == 0;
    }
    ~FileSizeCap()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeCap(const FileSizeCap &) = delete;
    FileSizeCap &operator=(const FileSizeCap &) = delete;

    rlimit saved{};
    void (*previousHandler)(int) = SIG_DFL;
    bool applied = false;
};

TEST(MemoryPersistence, SaveThatFailsPartWayKeepsTheOldFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("memory.json");
    ASSERT_TRUE(Vsp::SaveMemory(Vsp::DemoBank(0), path, nullptr));
    const QByteArray before = FileBytes(path);
    QString error;
    bool saved = true;
    {
        FileSizeCap limit(static_cast<rlim_t>(before.size()) / 2); // the factory bank is larger still
        ASSERT_TRUE(limit.applied);
        saved = Vsp::SaveMemory(Vsp::FactoryBank(), path, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(Entries(dir.path()), QStringList{"memory.json"});
}
#endif

// A save where a file stands for a folder fails; a folder or an oversized file does not load.
TEST(MemoryPersistence, SaveAndLoadRefuseWhatCannotBeAMemoryFile)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteBytes(dir.filePath("blocker"), "a file where a folder should be"));
    EXPECT_FALSE(Vsp::SaveMemory(Vsp::DemoBank(0), dir.filePath("blocker/memory.json"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(FileBytes(dir.filePath("blocker")), QByteArray("a file where a folder should be"));

    SpMemory memory = Bystander();
    ASSERT_TRUE(QDir().mkpath(dir.filePath("memory.json")));
    EXPECT_EQ(Vsp::LoadMemory(dir.filePath("memory.json"), memory, &error), Vsp::LoadResult::Corrupt);
    EXPECT_TRUE(error.endsWith("cannot be used: it is not a file")) << error.toStdString();
    ASSERT_TRUE(WriteBytes(dir.filePath("huge.json"), QByteArray(8 * 1024 * 1024 + 1, ' ')));
    EXPECT_EQ(Vsp::LoadMemory(dir.filePath("huge.json"), memory, &error), Vsp::LoadResult::Corrupt);
    EXPECT_TRUE(error.endsWith("cannot be used: it is far too large to be a memory file")) << error.toStdString();
    EXPECT_EQ(memory, Bystander());
}

using Spoil = std::function<QByteArray(const QByteArray &)>;

// `node` with the value at `path` (keys, and indices into lists) replaced; an undefined value
// takes the key away.
QJsonValue Put(const QJsonValue &node, QStringList path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    const QString key = path.takeFirst();
    if (node.isArray()) {
        QJsonArray list = node.toArray();
        list[key.toInt()] = Put(list[key.toInt()], path, value);
        return list;
    }
    QJsonObject object = node.toObject();
    object[key] = Put(object[key], path, value);
    return object;
}

// Sets the value at a path such as "objects/tones/1/number".
Spoil Set(const char *path, const QJsonValue &value)
{
    return [=](const QByteArray &text) {
        const QJsonValue root = QJsonDocument::fromJson(text).object();
        return QJsonDocument(Put(root, QString::fromLatin1(path).split('/'), value).toObject()).toJson();
    };
}

// Edits the hex text of entry `index` of one kind's list.
Spoil Hex(const char *kindKey, int index, std::function<QString(QString)> edit)
{
    return [=](const QByteArray &text) {
        const QString path = QStringLiteral("objects/%1/%2/record").arg(kindKey).arg(index);
        const QJsonObject root = QJsonDocument::fromJson(text).object();
        const QString hex = root["objects"][QLatin1String(kindKey)][index]["record"].toString();
        return Set(qPrintable(path), edit(hex))(text);
    };
}

Spoil SetByte(const char *kindKey, int index, int offset, uint8_t value)
{
    return Hex(kindKey, index, [=](const QString &hex) {
        QByteArray record = QByteArray::fromHex(hex.toLatin1());
        record[offset] = static_cast<char>(value);
        return QString::fromLatin1(record.toHex());
    });
}

struct Damage {
    const char *name;
    Spoil spoil;
    const char *reason; // what the error says is wrong (a parse error says where)
};

const QJsonValue Gone(QJsonValue::Undefined);

// Applied to the factory bank's file: Wave 0, Tone 0 and Map 0 (three zones) come first. Wave,
// Tone and Map records are 65, 81 and 33 + 16 per zone bytes long.
const Damage Damages[] = {
    {"CutShort", [](const QByteArray &text) { return text.left(text.size() / 2); }, "at byte"},
    {"NotJson", [](const QByteArray &) { return QByteArray("SP memory, version one\n"); }, "illegal value at byte 1"},
    {"TopLevelIsAList", [](const QByteArray &) { return QByteArray("[1, 2, 3]"); }, "it is not a Korvane SP memory file"},
    {"OtherFormat", Set("format", "Some other program"), "it is not a Korvane SP memory file"},
    {"NewerVersion", Set("version", 2), "it is not in format version 1"},
    {"NoObjectLists", Set("objects", QJsonValue()), "the object lists are missing"},
    {"NoGlobalSettings", Set("global", "none"), "the Global settings are missing"},
    {"ToneListNotAList", Set("objects/tones", 5), "the Tone list is missing"},
    {"MultiListMissing", Set("objects/multis", Gone), "the Multi list is missing"},
    {"NoInstalledMemory", Set("installedKilowords", 0), "the installed sample memory is not from 1 to 65536"},
    {"WavesExceedInstalledMemory", Set("installedKilowords", 100), "kilowords of sample memory but only 100 are"},
    {"WaveRecordOneByteShort", Hex("waves", 0, [](QString h) { return h.chopped(2); }), "Wave 0: 64 bytes where 65"},
    {"ToneRecordOneByteLong", Hex("tones", 0, [](QString h) { return h + "00"; }), "Tone 0: 82 bytes where 81 belong"},
    {"MapZoneCountDisagreesWithSize", SetByte("maps", 0, Vsp::MapLastZoneOffset, 3), "Map 0: 81 bytes where 97"},
    {"MapOfTooManyZones", SetByte("maps", 0, Vsp::MapLastZoneOffset, 200), "Map 0: 201 zones where 1 to 64"},
    {"WaveFineTuneBelowRange", SetByte("waves", 0, Vsp::WaveField::FineTune, 156), "Wave 0: byte 16 holds -100, out"},
    {"ToneAttackAboveRange", SetByte("tones", 0, 18, 100), "Tone 0: byte 18 holds 100, outside"},
    {"SecondZonePanAboveRange", SetByte("maps", 0, 33 + 16 + 6, 100), "Map 0: zone 1: byte 55 holds 100, outside"},
    {"PresetModeAboveRange", SetByte("presets", 0, 1 + 15, 5), "Preset 0: byte 16 holds 5, outside"},
    {"MultiChannelPresetAboveRange", SetByte("multis", 0, 1 + 34, 128), "Multi 0: byte 35 holds 128, outside"},
    {"NameNotAscii", SetByte("waves", 0, Vsp::NameOffset, 0xE9), "Wave 0: the name is not plain ASCII"},
    {"PresetNumberTooHigh", Set("objects/presets/0/number", 128), "a Preset number is missing or not from 0 to 127"},
    {"NegativeNumber", Set("objects/waves/0/number", -1), "a Wave number is missing or not from 0 to"},
    {"FractionalNumber", Set("objects/tones/0/number", 1.5), "a Tone number is missing or not from 0 to"},
    {"NumberMissing", Set("objects/maps/0/number", Gone), "a Map number is missing or not from 0 to"},
    {"NumberTwice", Set("objects/tones/1/number", 0), "Tone 0 appears twice"},
    {"RecordNotHex", Hex("waves", 0, [](QString h) { return "zz" + h.mid(2); }), "Wave 0 is not a string of hex"},
    {"RecordOddLength", Hex("tones", 0, [](QString h) { return h.chopped(1); }), "Tone 0 is not a string of hex"},
    {"RecordNotAString", Set("objects/waves/0/record", 42), "Wave 0 is not a string of"},
    {"ReceiveModeAboveRange", Set("global/receiveMode", 3), "receiveMode is not a whole number from 0 to 2"},
    {"ChannelMissing", Set("global/omniPolyChannel", Gone), "omniPolyChannel is not a whole number from 0 to 15"},
    {"MasterTuneAboveRange", Set("global/masterTune", 12001), "the master tune is not a whole number from -12000"},
    {"BankNameTooLong", Set("global/bankName", "Fifteen chars!!"), "the bank name is not up to 14 plain ASCII"},
    {"BankNameNotAscii", Set("global/bankName", QString::fromUtf8("Bänk")), "the bank name is not up to 14"},
};

class DamagedMemoryFile : public testing::TestWithParam<Damage> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(Vsp::SaveMemory(Vsp::FactoryBank(), path, nullptr));
        const QByteArray good = FileBytes(path);
        damaged = GetParam().spoil(good);
        ASSERT_NE(damaged, good) << "the damage changed nothing";
        ASSERT_TRUE(WriteBytes(path, damaged));
    }

    QTemporaryDir dir;
    QString path = dir.filePath("memory.json");
    QByteArray damaged;
};

TEST_P(DamagedMemoryFile, IsCorruptAndSetAsideForTheFactoryBank)
{
    SpMemory memory = Bystander();
    QString error;
    EXPECT_EQ(Vsp::LoadMemory(path, memory, &error), Vsp::LoadResult::Corrupt);
    EXPECT_EQ(memory, Bystander());
    EXPECT_TRUE(error.startsWith(QDir::toNativeSeparators(path) + " cannot be used: ")) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String(GetParam().reason))) << error.toStdString();

    ASSERT_TRUE(WriteBytes(path + ".corrupt", "last week's damage"));
    QString warning;
    EXPECT_EQ(Vsp::LoadMemoryOrFactory(path, &warning), Vsp::FactoryBank());
    // Last week's damaged copy may be the only record of that work: it stays as it was.
    EXPECT_EQ(Entries(dir.path()), (QStringList{"memory.json.2.corrupt", "memory.json.corrupt"}));
    EXPECT_EQ(FileBytes(path + ".corrupt"), "last week's damage");
    EXPECT_EQ(FileBytes(path + ".2.corrupt"), damaged);
    EXPECT_TRUE(warning.contains(QDir::toNativeSeparators(path))) << warning.toStdString();
    EXPECT_TRUE(warning.contains(QDir::toNativeSeparators(path + ".2.corrupt"))) << warning.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedMemoryFile, testing::ValuesIn(Damages),
                         [](const testing::TestParamInfo<Damage> &row) { return std::string(row.param.name); });

TEST(DiskDrives, SavedBanksLoadFromTheirDisksAndNothingElseLoadsOrIsSaved)
{
    QTemporaryDir dir;
    const Vsp::DiskDrives drives(dir.path());
    ASSERT_TRUE(QDir().mkpath(dir.filePath("floppy")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("scsi4")));
    QString error;
    ASSERT_TRUE(drives.SaveBank(127, 0, Vsp::DemoBank(0), &error)) << error.toStdString();
    ASSERT_TRUE(drives.SaveBank(4, 12, Vsp::DemoBank(1), &error)) << error.toStdString();
    EXPECT_EQ(Entries(dir.filePath("floppy")), QStringList{"bank-000.json"});
    EXPECT_EQ(Entries(dir.filePath("scsi4")), QStringList{"bank-012.json"});
    SpMemory fromFloppy, fromScsi;
    fromScsi.installedKilowords = 16384; // the machine's memory, not the bank's
    EXPECT_TRUE(drives.LoadBank(127, 0, fromFloppy, &error)) << error.toStdString();
    EXPECT_TRUE(drives.LoadBank(4, 12, fromScsi, &error)) << error.toStdString();
    EXPECT_EQ(fromFloppy, Vsp::DemoBank(0));
    EXPECT_EQ(fromScsi.installedKilowords, 16384);
    fromScsi.installedKilowords = Vsp::DemoBank(1).installedKilowords;
    EXPECT_EQ(fromScsi, Vsp::DemoBank(1));

    ASSERT_TRUE(WriteBytes(dir.filePath("floppy/bank-003.json"), "{\"format\": \"Korvane SP memory\""));
    const struct { const char *what; int diskCode, bank; } refused[] = {
        {"a bank the floppy does not hold", 127, 1}, {"a damaged bank", 127, 3}, {"an empty SCSI disk", 4, 0},
        {"a SCSI ID with no disk", 5, 0}, {"a disk code the SP does not have", 7, 0},
        {"a negative disk code", -1, 0}, {"a bank number beyond three digits", 127, 1000},
        {"a negative bank number", 127, -1}};
    for (const auto &row : refused) {
        SpMemory memory = Bystander();
        error.clear();
        EXPECT_FALSE(drives.LoadBank(row.diskCode, row.bank, memory, &error)) << row.what;
        EXPECT_EQ(memory, Bystander()) << row.what;
        EXPECT_FALSE(error.isEmpty()) << row.what;
    }
    for (const auto &[diskCode, bank] : {std::pair{5, 0}, {7, 0}, {127, 1000}}) {
        error.clear();
        EXPECT_FALSE(drives.SaveBank(diskCode, bank, Vsp::DemoBank(0), &error)) << diskCode << " bank " << bank;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("floppy/bank-003.json"))) << "a damaged disk bank stays where it is";
    EXPECT_EQ(Entries(dir.path()), (QStringList{"floppy", "scsi4"}));
}

TEST(DiskDrives, ShippedBanksAreTwoFloppyBanksBesideEmptyScsiDisksAndReplaceNothing)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("disks");
    Vsp::DiskDrives::InstallShippedBanks(root);
    EXPECT_EQ(Entries(root + "/floppy"), (QStringList{"bank-000.json", "bank-001.json"}));
    for (int id = 0; id <= 6; ++id) {
        EXPECT_TRUE(QFileInfo(root + QString("/scsi%1").arg(id)).isDir()) << "SCSI ID " << id;
        EXPECT_EQ(Entries(root + QString("/scsi%1").arg(id)), QStringList()) << "SCSI ID " << id;
    }
    const Vsp::DiskDrives drives(root);
    SpMemory first, second;
    ASSERT_TRUE(drives.LoadBank(127, 0, first, nullptr));
    ASSERT_TRUE(drives.LoadBank(127, 1, second, nullptr));
    EXPECT_EQ(first, Vsp::DemoBank(0));
    EXPECT_EQ(second, Vsp::DemoBank(1));

    ASSERT_TRUE(drives.SaveBank(127, 0, Vsp::FactoryBank(), nullptr));
    const QByteArray ownBank = FileBytes(drives.bankPath(127, 0));
    ASSERT_TRUE(QFile::remove(drives.bankPath(127, 1)));
    ASSERT_TRUE(QDir(root + "/scsi2").removeRecursively());
    Vsp::DiskDrives::InstallShippedBanks(root);
    EXPECT_EQ(FileBytes(drives.bankPath(127, 0)), ownBank);
    EXPECT_EQ(Entries(root + "/floppy"), QStringList{"bank-000.json"});
    EXPECT_FALSE(QFileInfo::exists(root + "/scsi2")) << "a removed SCSI disk stays removed";
}

} // namespace
