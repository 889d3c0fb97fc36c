// The Virtual SP's banks and files: the factory and demo banks keep the device's rules, memory
// files survive a round trip and damage, and disk banks are found where the SP looks for them.
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

namespace Vsp {
void PrintTo(const SpMemory &memory, std::ostream *out)
{
    *out << "bank \"" << memory.global.bankName.toStdString() << "\", " << memory.installedKilowords
         << " kilowords installed, objects per kind:";
    for (const auto &kindObjects : memory.objects)
        *out << ' ' << kindObjects.size();
}
} // namespace Vsp

namespace {

using Vsp::SpMemory;

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

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

// ---------------------------------------------------------------- factory and demo banks

struct NamedBank {
    const char *name;
    SpMemory (*make)();
};
const NamedBank Banks[] = {
    {"Factory", &Vsp::FactoryBank},
    {"DemoDisk1", [] { return Vsp::DemoBank(0); }},
    {"DemoDisk2", [] { return Vsp::DemoBank(1); }},
};

void PrintTo(const NamedBank &bank, std::ostream *out)
{
    *out << bank.name;
}

class FactoryBankRules : public testing::TestWithParam<NamedBank> {
protected:
    SpMemory bank = GetParam().make();
};

TEST_P(FactoryBankRules, EveryRecordHasItsSizeAPlainNameAndFieldsInRange)
{
    for (int kind = 0; kind < Vsp::ObjectKinds; ++kind) {
        for (const auto &[number, record] : bank.of(kind)) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " number " << number);
            EXPECT_LE(number, Vsp::HighestAllowed(kind));
            // Size, plain name and every field's range, as the damaged files below show it checks.
            EXPECT_EQ(Vsp::RecordFault(kind, record), QString());
            const QByteArray name = Vsp::Name(record);
            EXPECT_NE(name.at(0), ' ');
            for (char c : name)
                EXPECT_GE(c, 0x20) << "name " << name.toStdString();
        }
    }
    EXPECT_EQ(bank.global.bankName.size(), Vsp::NameLength);
}

TEST_P(FactoryBankRules, WavesDescribeConsistentSamplesThatDoNotOverlap)
{
    using namespace Vsp::WaveField;
    ASSERT_FALSE(bank.of(Vsp::Wave).empty());
    std::vector<std::pair<uint32_t, uint32_t>> extents; // address range in 1024-byte units
    for (const auto &[number, wave] : bank.of(Vsp::Wave)) {
        SCOPED_TRACE(testing::Message() << "Wave " << number);
        const uint32_t length = Field(wave, Length, 4);
        const uint32_t playStart = Field(wave, PlayStart, 4);
        const uint32_t playEnd = Field(wave, PlayEnd, 4);
        const uint32_t loopStart = Field(wave, LoopStart, 4);
        const uint32_t loopEnd = Field(wave, LoopEnd, 4);
        const bool stereo = Field(wave, Mode) & Stereo;
        EXPECT_GE(length, 10000u);
        EXPECT_LT(playStart, playEnd);
        EXPECT_LE(playEnd, length - 1);
        EXPECT_GE(loopStart, playStart);
        EXPECT_LE(loopStart, loopEnd);
        EXPECT_LE(loopEnd, playEnd);
        EXPECT_LE(Field(wave, LoopFraction, 4), 0xFFFFFFu);
        EXPECT_EQ(Field(wave, Size, 2), (length + 1023) / 1024 * (stereo ? 2 : 1));
        EXPECT_GT(Field(wave, SamplePeriod, 4), 0u);
        EXPECT_GE(Field(wave, Pitch, 2), 100u);
        EXPECT_LE(Field(wave, Pitch, 2), 12700u);
        EXPECT_EQ(wave.mid(57), QByteArray(8, '\0'));
        const uint32_t address = Field(wave, Address, 4);
        EXPECT_GE(address, 0x500000u / 1024);
        extents.emplace_back(address, address + Field(wave, Size, 2) * 2);
    }
    std::sort(extents.begin(), extents.end());
    for (size_t i = 1; i < extents.size(); ++i)
        EXPECT_LE(extents[i - 1].second, extents[i].first) << "Waves share sample memory";
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
        for (int layer : {65, 161}) {
            for (int level = 2; level <= 5; ++level)
                EXPECT_NE(bank.find(Vsp::Map, Field(preset, layer + level)), nullptr) << "Preset " << number;
        }
        for (int aux = 32; aux <= 34; ++aux) {
            const uint32_t controller = Field(preset, 1 + aux);
            EXPECT_TRUE(controller <= 120 || controller == 255) << "Preset " << number;
        }
    }
    for (const auto &[number, multi] : bank.of(Vsp::Multi)) {
        for (int channel = 0; channel < 16; ++channel)
            EXPECT_NE(bank.find(Vsp::Preset, Field(multi, 1 + 34 + channel)), nullptr) << "Multi " << number;
    }
}

TEST_P(FactoryBankRules, MemoryFiguresAddUpAndFit)
{
    int kilowords = 0;
    for (const auto &[number, wave] : bank.of(Vsp::Wave)) {
        const bool stereo = Field(wave, Vsp::WaveField::Mode) & Vsp::WaveField::Stereo;
        kilowords += static_cast<int>((Field(wave, Vsp::WaveField::Length, 4) + 1023) / 1024) * (stereo ? 2 : 1);
    }
    EXPECT_EQ(bank.sampleKilowordsUsed(), kilowords);
    EXPECT_LE(kilowords, bank.installedKilowords);
    EXPECT_GT(bank.parameterBytesFree(), 0);

    QTemporaryDir dir;
    SpMemory loaded;
    ASSERT_TRUE(Vsp::SaveMemory(bank, dir.filePath("bank.json"), nullptr));
    EXPECT_EQ(Vsp::LoadMemory(dir.filePath("bank.json"), loaded, nullptr), Vsp::LoadResult::Loaded);
}

INSTANTIATE_TEST_SUITE_P(Banks, FactoryBankRules, testing::ValuesIn(Banks),
                         [](const testing::TestParamInfo<NamedBank> &row) { return std::string(row.param.name); });

TEST(FactoryBank, HoldsEveryKindOfObjectTheEditorShows)
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
}

TEST(FactoryBank, DemoBanksDifferFromEachOtherAndFromTheFactoryBank)
{
    const SpMemory first = Vsp::DemoBank(0);
    const SpMemory second = Vsp::DemoBank(1);
    const SpMemory factory = Vsp::FactoryBank();
    EXPECT_NE(first.global.bankName, second.global.bankName);
    EXPECT_NE(first.global.bankName, factory.global.bankName);
    EXPECT_NE(second.global.bankName, factory.global.bankName);
    for (const SpMemory *bank : {&first, &second}) {
        for (int kind : {Vsp::Wave, Vsp::Tone, Vsp::Map, Vsp::Preset})
            EXPECT_FALSE(bank->of(kind).empty()) << "kind " << kind;
    }
    EXPECT_NE(first.of(Vsp::Wave), second.of(Vsp::Wave));
    EXPECT_EQ(Vsp::DemoBank(2), SpMemory());
}

// ---------------------------------------------------------------- memory files

TEST(MemoryPersistence, SaveThenLoadGivesAnEqualMemory)
{
    QTemporaryDir dir;
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
    const QString path = dir.filePath("deeper/still/memory.json");

    QString error;
    ASSERT_TRUE(Vsp::SaveMemory(Vsp::DemoBank(1), path, &error)) << error.toStdString();
    ASSERT_TRUE(Vsp::SaveMemory(memory, path, &error)) << error.toStdString();
    SpMemory loaded;
    EXPECT_EQ(Vsp::LoadMemory(path, loaded, &error), Vsp::LoadResult::Loaded) << error.toStdString();
    EXPECT_EQ(loaded, memory);
    EXPECT_EQ(Entries(dir.filePath("deeper/still")), QStringList{"memory.json"});

    QString warning;
    EXPECT_EQ(Vsp::LoadMemoryOrFactory(path, &warning), memory);
    EXPECT_EQ(warning, QString());
    EXPECT_EQ(Entries(dir.filePath("deeper/still")), QStringList{"memory.json"});
}

TEST(MemoryPersistence, MissingFileIsMissingAndChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("memory.json");
    SpMemory memory = Bystander();
    EXPECT_EQ(Vsp::LoadMemory(path, memory, nullptr), Vsp::LoadResult::Missing);
    EXPECT_EQ(memory, Bystander());

    QString warning;
    EXPECT_EQ(Vsp::LoadMemoryOrFactory(path, &warning), Vsp::FactoryBank());
    EXPECT_EQ(warning, QString());
    EXPECT_EQ(Entries(dir.path()), QStringList());
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
    const QByteArray before = ReadAll(path);
    ASSERT_TRUE(Vsp::SaveMemory(Vsp::FactoryBank(), dir.filePath("probe.json"), nullptr));
    const auto factoryBytes = static_cast<rlim_t>(QFileInfo(dir.filePath("probe.json")).size());
    ASSERT_TRUE(QFile::remove(dir.filePath("probe.json")));

    QString error;
    bool saved = true;
    {
        FileSizeCap limit(factoryBytes / 2);
        ASSERT_TRUE(limit.applied);
        saved = Vsp::SaveMemory(Vsp::FactoryBank(), path, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(Entries(dir.path()), QStringList{"memory.json"});
}
#endif

TEST(MemoryPersistence, SaveFailsWhenTheFolderCannotBeMade)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteAll(dir.filePath("blocker"), "a file where a folder should be"));
    QString error;
    EXPECT_FALSE(Vsp::SaveMemory(Vsp::DemoBank(0), dir.filePath("blocker/memory.json"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(dir.filePath("blocker")), QByteArray("a file where a folder should be"));
}

// ---------------------------------------------------------------- damaged memory files

using Spoil = std::function<QByteArray(const QByteArray &)>;

Spoil EditJson(std::function<void(QJsonObject &root)> edit)
{
    return [edit](const QByteArray &text) {
        QJsonObject root = QJsonDocument::fromJson(text).object();
        edit(root);
        return QJsonDocument(root).toJson();
    };
}

Spoil SetTopLevel(const char *key, const QJsonValue &value)
{
    return EditJson([=](QJsonObject &root) { root[key] = value; });
}

// Sets `key` of the object held under `section` ("global", "objects").
Spoil SetInside(const char *section, const char *key, const QJsonValue &value)
{
    return EditJson([=](QJsonObject &root) {
        QJsonObject inner = root[section].toObject();
        inner[key] = value;
        root[section] = inner;
    });
}

// Edits entry `index` of one kind's list ({number, record}).
Spoil EditEntry(const char *kindKey, int index, std::function<void(QJsonObject &entry)> edit)
{
    return EditJson([=](QJsonObject &root) {
        QJsonObject objects = root["objects"].toObject();
        QJsonArray list = objects[kindKey].toArray();
        QJsonObject entry = list[index].toObject();
        edit(entry);
        list[index] = entry;
        objects[kindKey] = list;
        root["objects"] = objects;
    });
}

Spoil EditHex(const char *kindKey, int index, std::function<QString(QString)> edit)
{
    return EditEntry(kindKey, index, [=](QJsonObject &entry) { entry["record"] = edit(entry["record"].toString()); });
}

Spoil SetRecordByte(const char *kindKey, int index, int offset, uint8_t value)
{
    return EditHex(kindKey, index, [=](const QString &hex) {
        QByteArray record = QByteArray::fromHex(hex.toLatin1());
        record[offset] = static_cast<char>(value);
        return QString::fromLatin1(record.toHex());
    });
}

Spoil SetNumber(const char *kindKey, int index, const QJsonValue &number)
{
    return EditEntry(kindKey, index, [=](QJsonObject &entry) { entry["number"] = number; });
}

Spoil Replace(const QByteArray &text)
{
    return [text](const QByteArray &) { return text; };
}

struct Damage {
    const char *name;
    Spoil spoil;
    QString reason; // what the error says is wrong (a parse error says where)
};

// Applied to the factory bank's file: Wave 0, Tone 0 and Map 0 (three zones) come first.
const Damage Damages[] = {
    {"CutShort", [](const QByteArray &text) { return text.left(text.size() / 2); },
     "at byte"},
    {"NotJson", Replace("SP memory, version one\n"),
     "illegal value at byte 1"},
    {"EmptyFile", Replace(""),
     "at byte 0"},
    {"TopLevelIsAList", Replace("[1, 2, 3]"),
     "it is not a Korvane SP memory file"},
    {"OtherFormat", SetTopLevel("format", "Some other program"),
     "it is not a Korvane SP memory file"},
    {"NewerVersion", SetTopLevel("version", 2),
     "it is not in format version 1"},
    {"NoObjectLists", SetTopLevel("objects", QJsonValue()),
     "the object lists are missing"},
    {"NoGlobalSettings", SetTopLevel("global", "none"),
     "the Global settings are missing"},
    {"ToneListNotAList", SetInside("objects", "tones", 5),
     "the Tone list is missing"},
    {"MultiListMissing", SetInside("objects", "multis", QJsonValue(QJsonValue::Undefined)),
     "the Multi list is missing"},
    {"NoInstalledMemory", SetTopLevel("installedKilowords", 0),
     "the installed sample memory is not from 1 to 65536 kilowords"},
    {"WavesExceedInstalledMemory", SetTopLevel("installedKilowords", 100),
     "kilowords of sample memory but only 100 are installed"},
    {"WaveRecordOneByteShort", EditHex("waves", 0, [](QString hex) { return hex.left(hex.size() - 2); }),
     QString("Wave 0: %1 bytes where %2 belong").arg(Vsp::WaveRecordBytes - 1).arg(Vsp::WaveRecordBytes)},
    {"ToneRecordOneByteLong", EditHex("tones", 0, [](QString hex) { return hex + "00"; }),
     QString("Tone 0: %1 bytes where %2 belong").arg(Vsp::ToneRecordBytes + 1).arg(Vsp::ToneRecordBytes)},
    {"MapZoneCountDisagreesWithSize", SetRecordByte("maps", 0, Vsp::MapLastZoneOffset, 3),
     QString("Map 0: %1 bytes where %2 belong").arg(Vsp::RecordBytes(Vsp::Map, 3)).arg(Vsp::RecordBytes(Vsp::Map, 4))},
    {"MapOfTooManyZones", SetRecordByte("maps", 0, Vsp::MapLastZoneOffset, 200),
     "Map 0: 201 zones where 1 to 64 are allowed"},
    {"WaveFineTuneBelowRange", SetRecordByte("waves", 0, Vsp::WaveField::FineTune, 256 - 100),
     QString("Wave 0: byte %1 holds -100, outside").arg(Vsp::WaveField::FineTune)},
    {"ToneAttackAboveRange", SetRecordByte("tones", 0, 18, 100),
     "Tone 0: byte 18 holds 100, outside"},
    {"SecondZonePanAboveRange", SetRecordByte("maps", 0, Vsp::MapZonesOffset + Vsp::MapZoneBytes + 6, 100),
     QString("Map 0: zone 1: byte %1 holds 100, outside").arg(Vsp::MapZonesOffset + Vsp::MapZoneBytes + 6)},
    {"PresetModeAboveRange", SetRecordByte("presets", 0, 1 + 15, 5),
     "Preset 0: byte 16 holds 5, outside"},
    {"MultiChannelPresetAboveRange", SetRecordByte("multis", 0, 1 + 34, 128),
     "Multi 0: byte 35 holds 128, outside"},
    {"NameNotAscii", SetRecordByte("waves", 0, Vsp::NameOffset, 0xE9),
     "Wave 0: the name is not plain ASCII"},
    {"PresetNumberTooHigh", SetNumber("presets", 0, 128),
     QString("a Preset number is missing or not from 0 to %1").arg(Vsp::HighestAllowed(Vsp::Preset))},
    {"NegativeNumber", SetNumber("waves", 0, -1),
     "a Wave number is missing or not from 0 to"},
    {"FractionalNumber", SetNumber("tones", 0, 1.5),
     "a Tone number is missing or not from 0 to"},
    {"NumberMissing", SetNumber("maps", 0, QJsonValue(QJsonValue::Undefined)),
     "a Map number is missing or not from 0 to"},
    {"NumberTwice", SetNumber("tones", 1, 0),
     "Tone 0 appears twice"},
    {"EntryNotAnObject", SetInside("objects", "waves", QJsonArray{"00"}),
     "a Wave number is missing or not from 0 to"},
    {"RecordNotHex", EditHex("waves", 0, [](QString hex) { return "zz" + hex.mid(2); }),
     "Wave 0 is not a string of hex digit pairs"},
    {"RecordWithSpaces", EditHex("waves", 0, [](QString hex) { return hex.left(10) + "  " + hex.mid(10); }),
     "Wave 0 is not a string of hex digit pairs"},
    {"RecordOddLength", EditHex("tones", 0, [](QString hex) { return hex.left(hex.size() - 1); }),
     "Tone 0 is not a string of hex digit pairs"},
    {"RecordNotAString", EditEntry("waves", 0, [](QJsonObject &entry) { entry["record"] = 42; }),
     "Wave 0 is not a string of hex digit pairs"},
    {"ReceiveModeAboveRange", SetInside("global", "receiveMode", 3),
     "Global setting receiveMode is not a whole number from 0 to 2"},
    {"ChannelMissing", SetInside("global", "omniPolyChannel", QJsonValue(QJsonValue::Undefined)),
     "Global setting omniPolyChannel is not a whole number from 0 to 15"},
    {"MasterTuneAboveRange", SetInside("global", "masterTune", 12001),
     "the master tune is not a whole number from -12000 to 12000"},
    {"BankNameTooLong", SetInside("global", "bankName", "Fifteen chars!!"),
     "the bank name is not up to 14 plain ASCII characters"},
    {"BankNameNotAscii", SetInside("global", "bankName", QString::fromUtf8("Bänk")),
     "the bank name is not up to 14 plain ASCII characters"},
};

void PrintTo(const Damage &damage, std::ostream *out)
{
    *out << damage.name;
}

class DamagedMemoryFile : public testing::TestWithParam<Damage> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(Vsp::SaveMemory(Vsp::FactoryBank(), path, nullptr));
        const QByteArray good = ReadAll(path);
        damaged = GetParam().spoil(good);
        ASSERT_NE(damaged, good) << "the damage changed nothing";
        ASSERT_TRUE(WriteAll(path, damaged));
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
    EXPECT_TRUE(error.contains(GetParam().reason)) << error.toStdString();

    ASSERT_TRUE(WriteAll(path + ".corrupt", "last week's damage"));
    QString warning;
    EXPECT_EQ(Vsp::LoadMemoryOrFactory(path, &warning), Vsp::FactoryBank());
    // Last week's damaged copy may be the only record of that work: it stays as it was.
    EXPECT_EQ(Entries(dir.path()), (QStringList{"memory.json.2.corrupt", "memory.json.corrupt"}));
    EXPECT_EQ(ReadAll(path + ".corrupt"), "last week's damage");
    EXPECT_EQ(ReadAll(path + ".2.corrupt"), damaged);
    EXPECT_TRUE(warning.contains(QDir::toNativeSeparators(path))) << warning.toStdString();
    EXPECT_TRUE(warning.contains(QDir::toNativeSeparators(path + ".2.corrupt"))) << warning.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedMemoryFile, testing::ValuesIn(Damages),
                         [](const testing::TestParamInfo<Damage> &row) { return std::string(row.param.name); });

TEST(MemoryPersistence, AFolderOrAnOversizedFileIsNotReadAsMemory)
{
    QTemporaryDir dir;
    SpMemory memory = Bystander();
    QString error;
    const QString folder = dir.filePath("memory.json");
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(Vsp::LoadMemory(folder, memory, &error), Vsp::LoadResult::Corrupt);
    EXPECT_TRUE(error.endsWith("cannot be used: it is not a file")) << error.toStdString();

    const QString huge = dir.filePath("huge.json");
    ASSERT_TRUE(WriteAll(huge, QByteArray(8 * 1024 * 1024 + 1, ' ')));
    EXPECT_EQ(Vsp::LoadMemory(huge, memory, &error), Vsp::LoadResult::Corrupt);
    EXPECT_TRUE(error.endsWith("cannot be used: it is far too large to be a memory file")) << error.toStdString();
    EXPECT_EQ(memory, Bystander());
}

// ---------------------------------------------------------------- disk drives

TEST(DiskDrives, EachDiskCodeHasItsFolderAndThreeDigitBankFiles)
{
    const Vsp::DiskDrives drives("/disks");
    const struct {
        int diskCode;
        QString folder;
    } folders[] = {
        {127, "/disks/floppy"}, {0, "/disks/scsi0"}, {3, "/disks/scsi3"}, {6, "/disks/scsi6"},
        {7, ""},                {126, ""},           {128, ""},           {-1, ""},
    };
    for (const auto &row : folders)
        EXPECT_EQ(drives.folder(row.diskCode), row.folder) << "disk code " << row.diskCode;
    const struct {
        int diskCode;
        int bank;
        QString path;
    } banks[] = {
        {127, 0, "/disks/floppy/bank-000.json"}, {127, 7, "/disks/floppy/bank-007.json"},
        {4, 123, "/disks/scsi4/bank-123.json"},  {127, 1000, ""},
        {127, -1, ""},                           {9, 0, ""},
    };
    for (const auto &row : banks)
        EXPECT_EQ(drives.bankPath(row.diskCode, row.bank), row.path) << row.diskCode << " bank " << row.bank;
}

TEST(DiskDrives, SavedBanksLoadFromTheFloppyAndScsiDisks)
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

    SpMemory fromFloppy;
    SpMemory fromScsi;
    fromScsi.installedKilowords = 16384; // the machine's memory, not the bank's
    EXPECT_TRUE(drives.LoadBank(127, 0, fromFloppy, &error)) << error.toStdString();
    EXPECT_TRUE(drives.LoadBank(4, 12, fromScsi, &error)) << error.toStdString();
    EXPECT_EQ(fromFloppy, Vsp::DemoBank(0));
    EXPECT_EQ(fromScsi.installedKilowords, 16384);
    fromScsi.installedKilowords = Vsp::DemoBank(1).installedKilowords;
    EXPECT_EQ(fromScsi, Vsp::DemoBank(1));
}

TEST(DiskDrives, MissingBanksAndDisksAreNotLoadedOrSavedTo)
{
    QTemporaryDir dir;
    const Vsp::DiskDrives drives(dir.path());
    ASSERT_TRUE(QDir().mkpath(dir.filePath("floppy")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("scsi4")));
    ASSERT_TRUE(drives.SaveBank(127, 0, Vsp::DemoBank(0), nullptr));
    ASSERT_TRUE(WriteAll(dir.filePath("floppy/bank-003.json"), "{\"format\": \"Korvane SP memory\""));
    const struct {
        const char *what;
        int diskCode;
        int bank;
    } table[] = {
        {"a bank the floppy does not hold", 127, 1},
        {"a damaged bank", 127, 3},
        {"an empty SCSI disk", 4, 0},
        {"a SCSI ID with no disk", 5, 0},
        {"a disk code the SP does not have", 7, 0},
        {"a bank number beyond three digits", 127, 1000},
        {"a negative bank number", 127, -1},
    };
    for (const auto &row : table) {
        SpMemory memory = Bystander();
        QString error;
        EXPECT_FALSE(drives.LoadBank(row.diskCode, row.bank, memory, &error)) << row.what;
        EXPECT_EQ(memory, Bystander()) << row.what;
        EXPECT_FALSE(error.isEmpty()) << row.what;
    }
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("floppy/bank-003.json"))) << "a damaged disk bank stays where it is";

    QString error;
    EXPECT_FALSE(drives.SaveBank(5, 0, Vsp::DemoBank(0), &error)) << "no disk with SCSI ID 5";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(drives.SaveBank(7, 0, Vsp::DemoBank(0), nullptr));
    EXPECT_FALSE(drives.SaveBank(127, 1000, Vsp::DemoBank(0), nullptr));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"floppy", "scsi4"}));
}

TEST(DiskDrives, ShippedBanksAreTwoDifferentFloppyBanksBesideEmptyScsiDisks)
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
    SpMemory first;
    SpMemory second;
    ASSERT_TRUE(drives.LoadBank(127, 0, first, nullptr));
    ASSERT_TRUE(drives.LoadBank(127, 1, second, nullptr));
    EXPECT_EQ(first, Vsp::DemoBank(0));
    EXPECT_EQ(second, Vsp::DemoBank(1));
    EXPECT_NE(first, second);
}

TEST(DiskDrives, ShippedBanksDoNotReplaceBanksAlreadyThere)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    Vsp::DiskDrives::InstallShippedBanks(root);
    const Vsp::DiskDrives drives(root);
    ASSERT_TRUE(drives.SaveBank(127, 0, Vsp::FactoryBank(), nullptr));
    const QByteArray ownBank = ReadAll(drives.bankPath(127, 0));
    ASSERT_TRUE(QFile::remove(drives.bankPath(127, 1)));
    ASSERT_TRUE(QDir(root + "/scsi2").removeRecursively());

    Vsp::DiskDrives::InstallShippedBanks(root);
    EXPECT_EQ(ReadAll(drives.bankPath(127, 0)), ownBank);
    EXPECT_EQ(Entries(root + "/floppy"), QStringList{"bank-000.json"});
    EXPECT_FALSE(QFileInfo::exists(root + "/scsi2")) << "a removed SCSI disk stays removed";
}

} // namespace
