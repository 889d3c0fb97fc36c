// Saving and loading the Virtual SP's memory as JSON, checking everything that is read back.
#include "vsp/SpMemoryFile.h"

#include "vsp/FactoryBank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>

namespace Vsp {
namespace {

const QString FormatName = QStringLiteral("Korvane SP memory");
constexpr int FormatVersion = 1;
constexpr int MaxInstalledKilowords = 65536;
// Far beyond a full memory written out; anything larger is not ours and is not read whole.
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;

constexpr std::array<const char *, ObjectKinds> KindKeys = {"waves", "tones", "maps", "presets", "multis"};
constexpr std::array<const char *, ObjectKinds> KindNames = {"Wave", "Tone", "Map", "Preset", "Multi"};

struct GlobalByte {
    const char *key;
    uint8_t GlobalSettings::*field;
    int low;
    int high;
};
const std::array<GlobalByte, 5> GlobalBytes = {{
    {"playbackMode", &GlobalSettings::playbackMode, 0, 5},
    {"receiveMode", &GlobalSettings::receiveMode, 0, 2},
    {"omniPolyChannel", &GlobalSettings::omniPolyChannel, 0, 15},
    {"omniPolyVolume", &GlobalSettings::omniPolyVolume, 0, 127},
    {"progChange", &GlobalSettings::progChange, 0, 1},
}};
constexpr int MasterTuneLimit = 12000;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool IsAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<uint8_t>(c) & 0x80)
            return false;
    }
    return true;
}

std::optional<int> IntegerIn(const QJsonValue &value, int low, int high)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (std::floor(number) != number || number < low || number > high)
        return std::nullopt;
    return static_cast<int>(number);
}

// QByteArray::fromHex skips what is not a digit; a record must be nothing but digit pairs.
std::optional<QByteArray> HexBytes(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    const QString hex = value.toString();
    if (hex.size() % 2 != 0)
        return std::nullopt;
    for (QChar c : hex) {
        if (c.unicode() > 127 || !std::isxdigit(c.unicode()))
            return std::nullopt;
    }
    return QByteArray::fromHex(hex.toLatin1());
}

QJsonObject GlobalToJson(const GlobalSettings &global)
{
    QJsonObject json;
    json.insert(QStringLiteral("bankName"), QString::fromLatin1(global.bankName));
    for (const GlobalByte &byte : GlobalBytes)
        json.insert(QLatin1String(byte.key), global.*byte.field);
    json.insert(QStringLiteral("masterTune"), global.masterTune);
    return json;
}

QJsonObject MemoryToJson(const SpMemory &memory)
{
    QJsonObject objects;
    for (int kind = 0; kind < ObjectKinds; ++kind) {
        QJsonArray list;
        for (const auto &[number, record] : memory.of(kind)) {
            list.append(QJsonObject{{QStringLiteral("number"), number},
                                    {QStringLiteral("record"), QString::fromLatin1(record.toHex())}});
        }
        objects.insert(QLatin1String(KindKeys[static_cast<size_t>(kind)]), list);
    }
    return QJsonObject{
        {QStringLiteral("format"), FormatName},
        {QStringLiteral("version"), FormatVersion},
        {QStringLiteral("installedKilowords"), memory.installedKilowords},
        {QStringLiteral("global"), GlobalToJson(memory.global)},
        {QStringLiteral("objects"), objects},
    };
}

QString ReadGlobal(const QJsonValue &value, GlobalSettings &global)
{
    if (!value.isObject())
        return QStringLiteral("the Global settings are missing");
    const QJsonObject json = value.toObject();
    const QJsonValue bankName = json.value(QStringLiteral("bankName"));
    const QString name = bankName.toString();
    const bool plain = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!bankName.isString() || name.size() > NameLength || !plain)
        return QStringLiteral("the bank name is not up to %1 plain ASCII characters").arg(NameLength);
    global.bankName = name.toLatin1();
    for (const GlobalByte &byte : GlobalBytes) {
        const auto setting = IntegerIn(json.value(QLatin1String(byte.key)), byte.low, byte.high);
        if (!setting)
            return QStringLiteral("Global setting %1 is not a whole number from %2 to %3").arg(byte.key).arg(byte.low).arg(byte.high);
        global.*byte.field = static_cast<uint8_t>(*setting);
    }
    const auto tune = IntegerIn(json.value(QStringLiteral("masterTune")), -MasterTuneLimit, MasterTuneLimit);
    if (!tune)
        return QStringLiteral("the master tune is not a whole number from %1 to %2").arg(-MasterTuneLimit).arg(MasterTuneLimit);
    global.masterTune = static_cast<int16_t>(*tune);
    return {};
}

QString ReadObjects(const QJsonValue &value, SpMemory &memory)
{
    if (!value.isObject())
        return QStringLiteral("the object lists are missing");
    const QJsonObject objects = value.toObject();
    for (int kind = 0; kind < ObjectKinds; ++kind) {
        const QString kindName = QLatin1String(KindNames[static_cast<size_t>(kind)]);
        const QJsonValue list = objects.value(QLatin1String(KindKeys[static_cast<size_t>(kind)]));
        if (!list.isArray())
            return QStringLiteral("the %1 list is missing").arg(kindName);
        auto &kindObjects = memory.of(kind);
        for (const QJsonValue &entry : list.toArray()) {
            const auto number = IntegerIn(entry.toObject().value(QStringLiteral("number")), 0, HighestAllowed(kind));
            if (!number)
                return QStringLiteral("a %1 number is missing or not from 0 to %2").arg(kindName).arg(HighestAllowed(kind));
            if (kindObjects.count(*number) != 0)
                return QStringLiteral("%1 %2 appears twice").arg(kindName).arg(*number);
            const auto record = HexBytes(entry.toObject().value(QStringLiteral("record")));
            if (!record)
                return QStringLiteral("%1 %2 is not a string of hex digit pairs").arg(kindName).arg(*number);
            const QString fault = RecordFault(kind, *record);
            if (!fault.isEmpty())
                return QStringLiteral("%1 %2: %3").arg(kindName).arg(*number).arg(fault);
            kindObjects.emplace(*number, *record);
        }
    }
    return {};
}

QString ReadMemory(const QJsonObject &root, SpMemory &memory)
{
    if (root.value(QStringLiteral("format")).toString() != FormatName)
        return QStringLiteral("it is not a Korvane SP memory file");
    if (!IntegerIn(root.value(QStringLiteral("version")), FormatVersion, FormatVersion))
        return QStringLiteral("it is not in format version %1").arg(FormatVersion);
    const auto installed = IntegerIn(root.value(QStringLiteral("installedKilowords")), 1, MaxInstalledKilowords);
    if (!installed)
        return QStringLiteral("the installed sample memory is not from 1 to %1 kilowords").arg(MaxInstalledKilowords);
    memory.installedKilowords = *installed;
    if (QString problem = ReadGlobal(root.value(QStringLiteral("global")), memory.global); !problem.isEmpty())
        return problem;
    if (QString problem = ReadObjects(root.value(QStringLiteral("objects")), memory); !problem.isEmpty())
        return problem;
    if (memory.freeSampleKilowords() < 0)
        return QStringLiteral("the Waves use %1 kilowords of sample memory but only %2 are installed")
            .arg(memory.sampleKilowordsUsed())
            .arg(memory.installedKilowords);
    if (memory.parameterBytesFree() < 0)
        return QStringLiteral("the objects need more than the %1 bytes of parameter memory").arg(SpMemory::ParameterMemoryBytes);
    return {};
}

LoadResult Corrupt(const QString &path, const QString &why, QString *error)
{
    if (error)
        *error = QStringLiteral("%1 cannot be used: %2").arg(Native(path), why);
    return LoadResult::Corrupt;
}

bool Failed(const QString &message, QString *error)
{
    if (error)
        *error = message;
    return false;
}

// Moves a damaged file out of the way so the next save cannot overwrite it; says what happened.
// An earlier damaged copy is kept too: it may hold the only record of someone's work.
QString SetAside(const QString &path, const QString &loadError)
{
    QString aside = path + QStringLiteral(".corrupt");
    for (int copy = 2; QFileInfo::exists(aside); ++copy)
        aside = path + QStringLiteral(".%1.corrupt").arg(copy);
    if (QFile::rename(path, aside)) {
        return QStringLiteral("%1. It was moved to %2 and the Virtual SP starts with its factory bank.")
            .arg(loadError, Native(aside));
    }
    return QStringLiteral("%1. It could not be moved to %2 and will be replaced when the Virtual SP next "
                          "saves; the Virtual SP starts with its factory bank.")
        .arg(loadError, Native(aside));
}

} // namespace

QString RecordFault(int kind, const QByteArray &record)
{
    if (kind < 0 || kind >= ObjectKinds)
        return QStringLiteral("kind %1 is not an object kind").arg(kind);
    const int zones = kind == Map ? ZoneCount(record) : 1;
    if (zones < 1 || zones > MaxMapZones)
        return QStringLiteral("%1 zones where 1 to %2 are allowed").arg(zones).arg(MaxMapZones);
    const int expected = RecordBytes(kind, zones);
    if (record.size() != expected)
        return QStringLiteral("%1 bytes where %2 belong").arg(record.size()).arg(expected);
    if (!IsAscii(Name(record)))
        return QStringLiteral("the name is not plain ASCII");

    const auto breaks = [&record](const FieldRule &rule, int base) -> QString {
        const auto byte = static_cast<uint8_t>(record.at(base + rule.offset));
        const int value = rule.isSigned ? SignedByte(byte) : byte;
        if (value >= rule.low && value <= rule.high)
            return {};
        return QStringLiteral("byte %1 holds %2, outside %3 to %4").arg(base + rule.offset).arg(value).arg(rule.low).arg(rule.high);
    };
    if (kind == Map) {
        for (int zone = 0; zone < zones; ++zone) {
            for (const FieldRule &rule : Rules(MapZone)) {
                if (QString fault = breaks(rule, MapZonesOffset + MapZoneBytes * zone); !fault.isEmpty())
                    return QStringLiteral("zone %1: %2").arg(zone).arg(fault);
            }
        }
        return {};
    }
    for (const FieldRule &rule : Rules(kind)) {
        if (QString fault = breaks(rule, 0); !fault.isEmpty())
            return fault;
    }
    return {};
}

bool SaveMemory(const SpMemory &memory, const QString &path, QString *error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return Failed(QStringLiteral("Cannot create the folder %1").arg(Native(folder)), error);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failed(QStringLiteral("Cannot write %1: %2").arg(Native(path), file.errorString()), error);
    const QByteArray text = QJsonDocument(MemoryToJson(memory)).toJson(QJsonDocument::Indented);
    // Qt 6.4's commit() renames even when its own final flush fails, so flush and check first.
    if (file.write(text) != text.size() || !file.flush() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Failed(QStringLiteral("Cannot write %1: %2").arg(Native(path), why), error);
    }
    return true;
}

LoadResult LoadMemory(const QString &path, SpMemory &out, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists())
        return LoadResult::Missing;
    if (!info.isFile())
        return Corrupt(path, QStringLiteral("it is not a file"), error);
    if (info.size() > MaxFileBytes)
        return Corrupt(path, QStringLiteral("it is far too large to be a memory file"), error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Corrupt(path, file.errorString(), error);
    const QByteArray text = file.read(MaxFileBytes);

    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &parse);
    if (parse.error != QJsonParseError::NoError)
        return Corrupt(path, QStringLiteral("%1 at byte %2").arg(parse.errorString()).arg(parse.offset), error);
    if (!document.isObject())
        return Corrupt(path, QStringLiteral("it is not a Korvane SP memory file"), error);

    SpMemory loaded;
    if (const QString problem = ReadMemory(document.object(), loaded); !problem.isEmpty())
        return Corrupt(path, problem, error);
    out = std::move(loaded);
    return LoadResult::Loaded;
}

SpMemory LoadMemoryOrFactory(const QString &path, QString *warning)
{
    SpMemory memory;
    QString error;
    const LoadResult result = LoadMemory(path, memory, &error);
    if (result == LoadResult::Loaded)
        return memory;
    if (result == LoadResult::Corrupt) {
        const QString message = SetAside(path, error);
        if (warning)
            *warning = message;
    }
    return FactoryBank();
}

} // namespace Vsp
