#include "vsp/VirtualSp.h"

#include "vsp/SpMessages.h"

using namespace Vsp;

namespace {

constexpr uint8_t DataMessage = 0x02;
constexpr uint32_t AllOfKind = 0xFFFF;
constexpr int NumberNibbles = 4;

// Fixed command heads, as the program sends them.
const QByteArray DumpHead("\x01", 1);
const QByteArray UploadHead("\x02", 1);
const QByteArray DeleteHead("\x03", 1);
const QByteArray PanelHead("\x11\x01\x01", 3);
const QByteArray NameRequest("\x11\x02\x01\x00", 4);
const QByteArray NameEdit("\x11\x02\x0F\x01", 4);
const QByteArray ParameterRequest("\x11\x03\x02", 3);
const QByteArray ParameterEdit("\x11\x03\x03", 3);
const QByteArray StatusRequest("\x12\x01\x01", 3);
const QByteArray DirectoryRequest("\x12\x02\x01", 3);
const QByteArray LoadBankHead("\x30\x01\x00\x00\x00\x03", 6);
const QByteArray MergeHead("\x31\x01\x00\x00\x00\x04", 6);
const QByteArray TuneRequest("\x32\x01\x00\x00\x00\x02\x00\x01\x00\x00", 10);
const QByteArray TuneEdit("\x32\x01\x00\x00\x00\x04\x00\x01\x00\x01", 10);
constexpr int GlobalParameters = 5;
constexpr int MasterTuneLimit = 12000;
constexpr int HighestPitch = 12799;
constexpr uint32_t LargestLoopFraction = 0xFFFFFF;

bool IsObjectKind(int kind)
{
    return kind >= 0 && kind < ObjectKinds;
}

// Every byte of a SysEx body is 7-bit; anything else is a garbled string.
bool SevenBit(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<uint8_t>(c) & 0x80)
            return false;
    }
    return true;
}

bool RuleHolds(const FieldRule &rule, const QByteArray &record, int base)
{
    const auto byte = static_cast<uint8_t>(record.at(base + rule.offset));
    const int value = rule.isSigned ? SignedByte(byte) : byte;
    return value >= rule.low && value <= rule.high;
}

bool RulesHold(int kind, const QByteArray &record, int base = 0)
{
    for (const FieldRule &rule : Rules(kind)) {
        if (!RuleHolds(rule, record, base))
            return false;
    }
    return true;
}

int ZoneBase(int zone)
{
    return MapZonesOffset + MapZoneBytes * zone;
}

bool ZoneValid(const QByteArray &record, int zone)
{
    const int base = ZoneBase(zone);
    const auto low = static_cast<uint8_t>(record.at(base + ZoneField::LowNote));
    const auto high = static_cast<uint8_t>(record.at(base + ZoneField::HighNote));
    const auto group = static_cast<uint8_t>(record.at(base + ZoneField::Allocation)) & 0x0F;
    return RulesHold(MapZone, record, base) && low <= high && group <= 7;
}

// Zones lie in ascending key order and never share a key.
bool ZonesInOrder(const QByteArray &record)
{
    const int zones = ZoneCount(record);
    for (int z = 1; z < zones; ++z) {
        const auto previousHigh = static_cast<uint8_t>(record.at(ZoneBase(z - 1) + ZoneField::HighNote));
        const auto low = static_cast<uint8_t>(record.at(ZoneBase(z) + ZoneField::LowNote));
        if (low <= previousHigh)
            return false;
    }
    return true;
}

bool MapValid(const QByteArray &record)
{
    const int zones = ZoneCount(record);
    if (zones < 1 || zones > MaxMapZones || record.size() != RecordBytes(Map, zones))
        return false;
    for (int z = 0; z < zones; ++z) {
        if (!ZoneValid(record, z))
            return false;
    }
    return ZonesInOrder(record);
}

bool WaveValid(const QByteArray &record)
{
    if (!RulesHold(Wave, record))
        return false;
    const auto start = static_cast<int64_t>(Read(record, WaveField::PlayStart, 4));
    const auto end = static_cast<int64_t>(Read(record, WaveField::PlayEnd, 4));
    const auto length = static_cast<int64_t>(Read(record, WaveField::Length, 4));
    const auto loopStart = static_cast<int64_t>(Read(record, WaveField::LoopStart, 4));
    const auto loopEnd = static_cast<int64_t>(Read(record, WaveField::LoopEnd, 4));
    const bool loopOn = static_cast<uint8_t>(record.at(WaveField::Mode)) & WaveField::LoopOn;
    if (start >= end || end > length - 1)
        return false;
    if (loopOn && (loopStart < start || loopStart > loopEnd || loopEnd > end))
        return false;
    return Read(record, WaveField::LoopFraction, 4) <= LargestLoopFraction
           && Read(record, WaveField::Pitch, 2) <= static_cast<uint32_t>(HighestPitch);
}

bool PresetValid(const QByteArray &record)
{
    if (!RulesHold(Preset, record))
        return false;
    for (int aux = 0; aux < 3; ++aux) {
        const auto controller = static_cast<uint8_t>(record.at(1 + 32 + aux));
        if (controller > 120 && controller != 255)
            return false;
    }
    return true;
}

bool RecordValid(int kind, const QByteArray &record)
{
    if (!SevenBit(Name(record)))
        return false;
    switch (kind) {
    case Wave:
        return WaveValid(record);
    case Map:
        return MapValid(record);
    case Preset:
        return PresetValid(record);
    default:
        return RulesHold(kind, record);
    }
}

// The zone of a Map that holds a note, or -1.
int ZoneHolding(const QByteArray &record, int note)
{
    const int zones = ZoneCount(record);
    for (int z = 0; z < zones; ++z) {
        const int base = ZoneBase(z);
        if (note >= static_cast<uint8_t>(record.at(base + ZoneField::LowNote))
            && note <= static_cast<uint8_t>(record.at(base + ZoneField::HighNote)))
            return z;
    }
    return -1;
}

QByteArray DataHead(int kind, int dataBytes, QByteArray selector)
{
    QByteArray head;
    head.append(static_cast<char>(DataMessage));
    head.append(static_cast<char>(kind));
    // The count covers the two selector bytes as well as the data.
    head.append(Wire::NumberToNibbles(static_cast<uint32_t>(dataBytes + 2), NumberNibbles));
    head.append(selector);
    return head;
}

} // namespace

VirtualSp::VirtualSp(uint8_t deviceId) : ownId(deviceId) {}

QByteArray VirtualSp::StatusMessage(uint8_t code) const
{
    QByteArray body(1, '\0');
    body.append(static_cast<char>(code));
    return Wire::Frame(ownId, body);
}

void VirtualSp::Changed()
{
    if (onChanged)
        onChanged(mem);
}

std::vector<QByteArray> VirtualSp::Receive(const QByteArray &message)
{
    const auto in = Wire::Open(message);
    if (!in || (in->deviceId != ownId && in->deviceId != BroadcastId))
        return {};
    if (!in->terminated || in->body.isEmpty())
        return {StatusMessage(Truncated)};
    if (!SevenBit(in->body))
        return {StatusMessage(MalformedString)};
    return Dispatch(in->body);
}

std::vector<QByteArray> VirtualSp::Dispatch(const QByteArray &body)
{
    const auto status = [this](uint8_t code) { return std::vector<QByteArray>{StatusMessage(code)}; };
    const auto number = [&body](int at) { return Wire::NibblesToNumber(body, at, NumberNibbles); };

    if (body.startsWith(PanelHead))
        return status(FrontPanel(body));
    if (body.startsWith(NameRequest) || body.startsWith(NameEdit) || body.startsWith(ParameterRequest)
        || body.startsWith(ParameterEdit) || body.startsWith(TuneRequest) || body.startsWith(TuneEdit))
        return Global(body);

    if (body.startsWith(StatusRequest) || body.startsWith(DirectoryRequest)) {
        if (body.size() < 4)
            return status(Truncated);
        const int kind = static_cast<uint8_t>(body.at(3));
        if (!IsObjectKind(kind))
            return status(UnknownKind);
        return {body.startsWith(StatusRequest) ? DirectoryStatus(kind) : Directory(kind)};
    }

    if (body.startsWith(DumpHead)) {
        if (body.size() < 10)
            return status(Truncated);
        const int kind = static_cast<uint8_t>(body.at(1));
        const auto tail = Wire::FromNibbles(body.mid(6, 4));
        if (!tail)
            return status(MalformedString);
        Status result = Ok;
        QByteArray dump;
        if (kind == MapZone)
            dump = ZoneDump(static_cast<uint8_t>(tail->at(0)), static_cast<uint8_t>(tail->at(1)), result);
        else
            dump = ObjectDump(kind, static_cast<int>(*number(6)), result);
        return result == Ok ? std::vector<QByteArray>{dump} : status(result);
    }

    if (body.startsWith(UploadHead)) {
        if (body.size() < 10)
            return status(Truncated);
        const int kind = static_cast<uint8_t>(body.at(1));
        const auto count = number(2);
        const auto data = Wire::FromNibbles(body.mid(10));
        if (!count || !data)
            return status(MalformedString);
        if (static_cast<int>(*count) != data->size() + 2)
            return status(Truncated);
        return status(Upload(kind, body.mid(6, 4), *data));
    }

    if (body.startsWith(DeleteHead)) {
        if (body.size() < 10)
            return status(Truncated);
        const auto n = number(6);
        if (!n)
            return status(MalformedString);
        return status(Delete(static_cast<uint8_t>(body.at(1)), static_cast<int>(*n)));
    }

    if (body.startsWith(MergeHead)) {
        const auto left = number(6);
        const auto right = number(10);
        if (body.size() < 14)
            return status(Truncated);
        if (!left || !right)
            return status(MalformedString);
        return status(Merge(static_cast<int>(*left), static_cast<int>(*right)));
    }

    if (body.startsWith(LoadBankHead)) {
        if (body.size() < 12)
            return status(Truncated);
        const auto disk = Wire::NibblesToNumber(body, 6, 2);
        const auto bank = Wire::NibblesToNumber(body, 8, 4);
        if (!disk || !bank)
            return status(MalformedString);
        return status(LoadBank(static_cast<int>(*disk), static_cast<int>(*bank)));
    }
    return status(UnknownCommand);
}

uint8_t VirtualSp::FrontPanel(const QByteArray &body)
{
    if (body.size() < 4)
        return Truncated;
    if (body.size() > 4)
        return UnknownCommand;
    const int key = static_cast<uint8_t>(body.at(3));
    if (key >= FrontPanelKeys)
        return IllegalValue;
    lastKey = key;
    ++presses;
    return Ok;
}

QByteArray VirtualSp::ObjectDump(int kind, int number, Status &status) const
{
    const int objectKind = kind == MapHeader ? Map : kind;
    if (!IsObjectKind(objectKind)) {
        status = UnknownKind;
        return {};
    }
    if (number > HighestAllowed(objectKind)) {
        status = NumberOutOfRange;
        return {};
    }
    const QByteArray *record = mem.find(objectKind, number);
    if (!record) {
        status = EmptyObject;
        return {};
    }
    const QByteArray data = kind == MapHeader ? record->left(MapZonesOffset) : *record;
    status = Ok;
    return Wire::Frame(ownId, DataHead(kind, static_cast<int>(data.size()),
                                       Wire::NumberToNibbles(static_cast<uint32_t>(number), NumberNibbles))
                                  + Wire::ToNibbles(data));
}

QByteArray VirtualSp::ZoneDump(int note, int mapNumber, Status &status) const
{
    const QByteArray *record = mem.find(Map, mapNumber);
    if (note > 127 || mapNumber > HighestAllowed(Map)) {
        status = NumberOutOfRange;
        return {};
    }
    const int zone = record ? ZoneHolding(*record, note) : -1;
    if (zone < 0) {
        status = EmptyObject;
        return {};
    }
    // One spare byte, then the zone's 16 bytes.
    const QByteArray data = QByteArray(1, '\0') + record->mid(ZoneBase(zone), MapZoneBytes);
    QByteArray selector = Wire::NumberToNibbles(static_cast<uint32_t>(note), 2);
    selector.append(Wire::NumberToNibbles(static_cast<uint32_t>(mapNumber), 2));
    status = Ok;
    return Wire::Frame(ownId, DataHead(MapZone, static_cast<int>(data.size()), selector) + Wire::ToNibbles(data));
}

QByteArray VirtualSp::DirectoryStatus(int kind) const
{
    const auto &objects = mem.of(kind);
    const int loaded = static_cast<int>(objects.size());
    const int lowest = loaded ? objects.begin()->first : 0;
    const int highest = loaded ? objects.rbegin()->first : 0;
    QByteArray body;
    body.append(static_cast<char>(DataMessage));
    body.append(static_cast<char>(kind));
    body.append(Wire::NumberToNibbles(24, 4)); // the bytes that follow
    body.append(Wire::NumberToNibbles(0, 4));
    body.append(Wire::NumberToNibbles(0, 4)); // a value the program does not use
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(HighestAllowed(kind)), 4));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(loaded), 4));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(lowest), 4));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(highest), 4));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(mem.parameterBytesUsed(kind)), 6));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(mem.parameterBytesFree()), 6));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(mem.parameterBytesFree() / 2), 6));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(mem.installedKilowords), 4));
    body.append(Wire::NumberToNibbles(static_cast<uint32_t>(std::max(0, mem.freeSampleKilowords())), 4));
    return Wire::Frame(ownId, body);
}

QByteArray VirtualSp::Directory(int kind) const
{
    QByteArray entries;
    for (const auto &[number, record] : mem.of(kind)) {
        entries.append(Wire::NumberToNibbles(static_cast<uint32_t>(number), 4));
        entries.append(Wire::ToNibbles(Name(record)));
    }
    const int dataBytes = static_cast<int>(entries.size() / 2);
    return Wire::Frame(ownId, DataHead(kind, dataBytes, Wire::NumberToNibbles(0, 4)) + entries);
}

uint8_t VirtualSp::Upload(int kind, const QByteArray &selector, const QByteArray &data)
{
    const auto selected = Wire::NibblesToNumber(selector, 0, NumberNibbles);
    if (!selected)
        return MalformedString;
    if (kind == MapZone) {
        const auto note = Wire::NibblesToNumber(selector, 0, 2);
        const auto map = Wire::NibblesToNumber(selector, 2, 2);
        return UploadZone(static_cast<int>(*note), static_cast<int>(*map), data);
    }
    const int number = static_cast<int>(*selected);
    if (kind == MapHeader)
        return UploadMapHeader(number, data);
    if (!IsObjectKind(kind))
        return UnknownKind;
    if (number > HighestAllowed(kind))
        return NumberOutOfRange;

    const int zones = kind == Map ? ZoneCount(data) : 1;
    if (data.size() != RecordBytes(kind, zones))
        return data.size() < RecordBytes(kind, zones) ? Truncated : MalformedString;

    QByteArray record = data;
    const QByteArray *existing = mem.find(kind, number);
    if (kind == Wave) {
        // A Wave's samples cannot be sent; only its playing parameters can be changed.
        if (!existing)
            return EmptyObject;
        for (const auto &[offset, bytes] : {std::pair{WaveField::Address, 4}, {WaveField::Size, 2},
                                            {WaveField::Checksum, 2}, {WaveField::Length, 4},
                                            {WaveField::SamplePeriod, 4}})
            Write(record, offset, bytes, Read(*existing, offset, bytes));
        const uint8_t stereo = static_cast<uint8_t>(existing->at(WaveField::Mode)) & WaveField::Stereo;
        record[WaveField::Mode] = static_cast<char>((static_cast<uint8_t>(record.at(WaveField::Mode)) & ~WaveField::Stereo) | stereo);
    }
    if (!RecordValid(kind, record))
        return IllegalValue;
    const int growth = static_cast<int>(record.size()) - (existing ? static_cast<int>(existing->size()) : 0);
    if (growth > mem.parameterBytesFree())
        return OutOfMemory;
    mem.of(kind)[number] = record;
    Changed();
    return Ok;
}

uint8_t VirtualSp::UploadZone(int note, int mapNumber, const QByteArray &data)
{
    if (data.size() < 1 + MapZoneBytes)
        return Truncated;
    if (data.size() > 1 + MapZoneBytes)
        return MalformedString;
    if (note > 127 || mapNumber > HighestAllowed(Map))
        return NumberOutOfRange;
    auto &maps = mem.of(Map);
    const auto it = maps.find(mapNumber);
    if (it == maps.end())
        return EmptyObject;
    const int zone = ZoneHolding(it->second, note);
    if (zone < 0)
        return EmptyObject;
    QByteArray changed = it->second;
    changed.replace(ZoneBase(zone), MapZoneBytes, data.mid(1));
    if (!MapValid(changed))
        return IllegalValue;
    it->second = changed;
    Changed();
    return Ok;
}

uint8_t VirtualSp::UploadMapHeader(int number, const QByteArray &header)
{
    if (header.size() < MapZonesOffset)
        return Truncated;
    if (header.size() > MapZonesOffset)
        return MalformedString;
    if (number > HighestAllowed(Map))
        return NumberOutOfRange;
    auto &maps = mem.of(Map);
    const auto it = maps.find(number);
    if (it == maps.end())
        return EmptyObject;
    // The zone count belongs to the zones; a header cannot add or drop any.
    if (header.at(MapLastZoneOffset) != it->second.at(MapLastZoneOffset))
        return IllegalValue;
    if (!SevenBit(Name(header)))
        return IllegalValue;
    it->second.replace(0, MapZonesOffset, header);
    Changed();
    return Ok;
}

uint8_t VirtualSp::Delete(int kind, int number)
{
    if (kind == AllKinds) {
        if (number != 0)
            return IllegalRequest;
        mem.clear();
        Changed();
        return Ok;
    }
    if (!IsObjectKind(kind))
        return UnknownKind;
    auto &objects = mem.of(kind);
    if (number == static_cast<int>(AllOfKind)) {
        objects.clear();
        Changed();
        return Ok;
    }
    if (number > HighestAllowed(kind))
        return NumberOutOfRange;
    if (objects.erase(number) == 0)
        return EmptyObject;
    Changed();
    return Ok;
}

uint8_t VirtualSp::Merge(int left, int right)
{
    if (left > HighestAllowed(Wave) || right > HighestAllowed(Wave))
        return NumberOutOfRange;
    auto &waves = mem.of(Wave);
    const auto l = waves.find(left);
    const auto r = waves.find(right);
    if (l == waves.end() || r == waves.end())
        return EmptyObject;
    const auto isStereo = [](const QByteArray &w) { return static_cast<uint8_t>(w.at(WaveField::Mode)) & WaveField::Stereo; };
    if (left == right || isStereo(l->second) || isStereo(r->second)
        || Read(r->second, WaveField::Length, 4) < Read(l->second, WaveField::Length, 4))
        return IllegalRequest;
    // The right Wave's samples become the left Wave's second channel.
    QByteArray &merged = l->second;
    merged[WaveField::Mode] = static_cast<char>(static_cast<uint8_t>(merged.at(WaveField::Mode)) | WaveField::Stereo);
    Write(merged, WaveField::Size, 2, Read(merged, WaveField::Size, 2) + Read(r->second, WaveField::Size, 2));
    waves.erase(r);
    Changed();
    return Ok;
}

uint8_t VirtualSp::LoadBank(int diskCode, int bank)
{
    if (diskCode != FloppyDiskCode && (diskCode < 0 || diskCode > 6))
        return NumberOutOfRange;
    SpMemory loaded;
    if (!loadBank || !loadBank(diskCode, bank, loaded))
        return OperationFailed;
    loaded.installedKilowords = mem.installedKilowords; // the memory fitted is the SP's own
    if (loaded.freeSampleKilowords() < 0 || loaded.parameterBytesFree() < 0)
        return OutOfMemory;
    mem = std::move(loaded);
    Changed();
    return Ok;
}

std::vector<QByteArray> VirtualSp::Global(const QByteArray &body)
{
    const auto status = [this](uint8_t code) { return std::vector<QByteArray>{StatusMessage(code)}; };
    GlobalSettings &g = mem.global;
    uint8_t *const parameters[GlobalParameters] = {&g.playbackMode, &g.receiveMode, &g.omniPolyChannel,
                                                   &g.omniPolyVolume, &g.progChange};
    static constexpr int highest[GlobalParameters] = {5, 2, 15, 127, 1};

    if (body.startsWith(NameRequest)) {
        if (body.size() != NameRequest.size())
            return status(MalformedString);
        return {Wire::Frame(ownId, NameEdit + g.bankName.leftJustified(NameLength, ' ', true))};
    }
    if (body.startsWith(NameEdit)) {
        if (body.size() < NameEdit.size() + NameLength)
            return status(Truncated);
        g.bankName = body.mid(NameEdit.size(), NameLength);
        Changed();
        return status(Ok);
    }
    if (body.startsWith(TuneRequest)) {
        QByteArray answer = TuneEdit;
        answer.append(Wire::NumberToNibbles(static_cast<uint16_t>(g.masterTune), 4));
        return {Wire::Frame(ownId, answer)};
    }
    if (body.startsWith(TuneEdit)) {
        const auto tune = Wire::NibblesToNumber(body, TuneEdit.size(), 4);
        if (body.size() < TuneEdit.size() + 4)
            return status(Truncated);
        if (!tune)
            return status(MalformedString);
        const int value = static_cast<int16_t>(static_cast<uint16_t>(*tune));
        if (value < -MasterTuneLimit || value > MasterTuneLimit)
            return status(IllegalValue);
        g.masterTune = static_cast<int16_t>(value);
        Changed();
        return status(Ok);
    }
    const bool edit = body.startsWith(ParameterEdit);
    if (body.size() < (edit ? 6 : 5))
        return status(Truncated);
    const int p = static_cast<uint8_t>(body.at(3));
    if (p < 1 || p > GlobalParameters)
        return status(NumberOutOfRange);
    if (!edit) {
        QByteArray answer = ParameterEdit;
        answer.append(static_cast<char>(p));
        answer.append('\x01');
        answer.append(static_cast<char>(*parameters[p - 1]));
        return {Wire::Frame(ownId, answer)};
    }
    const int value = static_cast<uint8_t>(body.at(5));
    if (value > highest[p - 1])
        return status(IllegalValue);
    *parameters[p - 1] = static_cast<uint8_t>(value);
    Changed();
    return status(Ok);
}
