#include "objects/MessageDescription.h"

#include "objects/GlobalDescription.h"
#include "device/FrontPanel.h"
#include "device/StatusCodes.h"
#include "device/SysExFrame.h"
#include "midi/NoteNames.h"
#include "device/ObjectKinds.h"

#include <array>
#include <optional>

namespace MessageDescription {

namespace {

using Byte = std::optional<uint8_t>;

// Positions are 1-based, F0 at 1, as everywhere the SP's messages are read.
constexpr int DeviceIdPosition = 7;
constexpr int BodyPosition = 8;
constexpr int KindPosition = 9;
constexpr int CountPosition = 10;
constexpr int NumberPosition = 14;
constexpr int NamePosition = 20;
constexpr int NameLength = 14;
constexpr int DirectoryStatusLength = 64;
constexpr int MapZoneDumpLength = 52;
constexpr int BroadcastDeviceId = 127;
constexpr int FloppyDisk = 127;
constexpr int AllObjects = 0xFFFF;
constexpr int ClearMemoryKind = 0x7F;

QString ByteCount(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(n);
}

QString HexByte(uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

Byte At(const QByteArray &m, int position)
{
    return SysEx::ByteAt(m, position);
}

// A byte of an SP message's body: the closing F7 is not part of it.
Byte BodyAt(const QByteArray &m, int position)
{
    return position < m.size() ? At(m, position) : std::nullopt;
}

// A number of `count` nibble characters from `position`, or nothing when one is missing or
// above 15.
std::optional<int> Nibbles(const QByteArray &m, int position, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const Byte nibble = At(m, position + i);
        if (!nibble || *nibble > 0x0F)
            return std::nullopt;
        value = value * 16 + *nibble;
    }
    return value;
}

QString Printable(const QByteArray &chars)
{
    QString text;
    for (char c : chars) {
        const auto code = static_cast<uint8_t>(c);
        if (code == 0)
            continue; // names are padded with zero bytes as well as spaces
        text += code >= 0x20 && code < 0x7F ? QChar(code) : QChar(u'.');
    }
    return text.trimmed();
}

// A name held as nibble characters, each character as its high and low nibble.
QString NibbleName(const QByteArray &m, int position)
{
    QByteArray chars;
    for (int i = 0; i < NameLength; ++i) {
        const auto code = Nibbles(m, position + 2 * i, 2);
        if (!code)
            return {};
        chars.append(static_cast<char>(*code));
    }
    return Printable(chars);
}

QString KindPlural(int kind)
{
    if (kind >= KindWave && kind < NumberedKinds)
        return QLatin1String(Kind(kind).name) + QLatin1Char('s');
    if (kind == KindMapHeader || kind == KindMapZone)
        return UploadKindName(kind) + QLatin1Char('s');
    return QStringLiteral("kind %1").arg(kind);
}

QString ObjectRef(int kind, std::optional<int> number)
{
    const QString n = number ? QString::number(*number) : QStringLiteral("?");
    if (kind >= KindWave && kind < NumberedKinds)
        return QLatin1String(Kind(kind).prefix) + n;
    if (kind == KindMapHeader)
        return QStringLiteral("Map Header m#") + n;
    return QStringLiteral("kind %1 #%2").arg(kind).arg(n);
}

// A Map Zone is addressed by a note inside it and its Map's number, two nibbles each.
QString ZoneRef(const QByteArray &m)
{
    const auto note = Nibbles(m, NumberPosition, 2);
    const auto map = Nibbles(m, NumberPosition + 2, 2);
    return QStringLiteral("zone at %1 of m#%2")
        .arg(note ? FormatNoteName(*note) : QStringLiteral("?"), map ? QString::number(*map) : QStringLiteral("?"));
}

QString WithName(QString text, const QByteArray &m)
{
    const QString name = NibbleName(m, NamePosition);
    if (!name.isEmpty())
        text += QStringLiteral(" \"%1\"").arg(name);
    return text;
}

std::optional<int> KindAt(const QByteArray &m)
{
    const Byte kind = BodyAt(m, KindPosition);
    return kind ? std::optional<int>(*kind) : std::nullopt;
}

QString Truncated(const QString &what)
{
    return what + QStringLiteral(" (truncated)");
}

// ---- The SP's commands and answers, by the bytes their body starts with ----

QString FrontPanelKey(const QByteArray &m, Direction, const QByteArray &)
{
    const Byte code = BodyAt(m, 11);
    if (!code)
        return Truncated(QStringLiteral("Front-panel key"));
    for (const FrontPanel::Key &key : FrontPanel::Layout()) {
        if (FrontPanel::KeyCode(key.index) == *code)
            return QStringLiteral("Front-panel key %1").arg(QLatin1String(key.caption));
    }
    return QStringLiteral("Front-panel key, unknown code %1").arg(*code);
}

QString GlobalNameRequest(const QByteArray &, Direction, const QByteArray &)
{
    return QStringLiteral("Global name request");
}

QString GlobalName(const QByteArray &m, Direction direction, const QByteArray &)
{
    constexpr int NameAt = 12;
    if (m.size() < NameAt + NameLength)
        return Truncated(QStringLiteral("Global name"));
    const QString name = Printable(m.mid(NameAt - 1, NameLength));
    return direction == Direction::Out ? QStringLiteral("Set Global name \"%1\"").arg(name)
                                       : QStringLiteral("Global name \"%1\"").arg(name);
}

// The numbered Global parameters, 1 to 5, as the MIDI monitor names them.
const GlobalDescription::Setting *GlobalParameterOf(Byte p)
{
    if (!p || *p < GlobalDescription::PlaybackMode || *p > GlobalDescription::ProgChange)
        return nullptr;
    return GlobalDescription::Find(*p);
}

QString GlobalParameterName(Byte p)
{
    if (const GlobalDescription::Setting *setting = GlobalParameterOf(p))
        return QLatin1String(setting->monitorName);
    return p ? QStringLiteral("parameter %1").arg(*p) : QStringLiteral("parameter ?");
}

QString GlobalParameterRequest(const QByteArray &m, Direction, const QByteArray &)
{
    return QStringLiteral("Global %1 request").arg(GlobalParameterName(BodyAt(m, 11)));
}

QString GlobalParameter(const QByteArray &m, Direction direction, const QByteArray &)
{
    const Byte p = BodyAt(m, 11);
    const QString name = GlobalParameterName(p);
    const Byte raw = BodyAt(m, 13);
    if (!raw || *raw > 0x7F)
        return Truncated(QStringLiteral("Global ") + name);
    const GlobalDescription::Setting *setting = GlobalParameterOf(p);
    const int value = *raw + (setting ? setting->shownOffset : 0);
    return direction == Direction::Out ? QStringLiteral("Set Global %1 to %2").arg(name).arg(value)
                                       : QStringLiteral("Global %1 = %2").arg(name).arg(value);
}

QString MasterTuneRequest(const QByteArray &, Direction, const QByteArray &)
{
    return QStringLiteral("Master tune request");
}

QString MasterTune(const QByteArray &m, Direction direction, const QByteArray &)
{
    const auto raw = Nibbles(m, 18, 4);
    if (!raw)
        return Truncated(QStringLiteral("Master tune"));
    // Hundredths of a semitone, 16-bit two's complement.
    const int tune = static_cast<int16_t>(static_cast<uint16_t>(*raw));
    const QString value = QString::number(tune / 100.0, 'f', 2);
    return direction == Direction::Out ? QStringLiteral("Set master tune to %1").arg(value)
                                       : QStringLiteral("Master tune %1").arg(value);
}

QString DirectoryStatusRequest(const QByteArray &m, Direction, const QByteArray &)
{
    const Byte kind = BodyAt(m, 11);
    return kind ? QStringLiteral("Directory status request, %1").arg(KindPlural(*kind))
                : Truncated(QStringLiteral("Directory status request"));
}

QString DirectoryRequest(const QByteArray &m, Direction, const QByteArray &)
{
    const Byte kind = BodyAt(m, 11);
    return kind ? QStringLiteral("Directory request, %1").arg(KindPlural(*kind))
                : Truncated(QStringLiteral("Directory request"));
}

QString DumpRequest(const QByteArray &m, Direction, const QByteArray &)
{
    const auto kind = KindAt(m);
    if (!kind || m.size() < NumberPosition + 4)
        return Truncated(QStringLiteral("Dump request"));
    if (*kind == KindMapZone)
        return QStringLiteral("Dump request ") + ZoneRef(m);
    return QStringLiteral("Dump request ") + ObjectRef(*kind, Nibbles(m, NumberPosition, 4));
}

QString DirectoryStatus(const QByteArray &m, int kind)
{
    const auto loaded = Nibbles(m, 26, 4);
    const auto lowest = Nibbles(m, 30, 4);
    const auto highest = Nibbles(m, 34, 4);
    const auto freeSample = Nibbles(m, 60, 4);
    QString text = QStringLiteral("Directory status, %1").arg(KindPlural(kind));
    if (m.size() != DirectoryStatusLength || !loaded || !lowest || !highest || !freeSample)
        return text + QStringLiteral(" (malformed)");
    text += QStringLiteral(": %1 loaded").arg(*loaded);
    if (*loaded > 0)
        text += QStringLiteral(", %1 to %2").arg(*lowest).arg(*highest);
    return text + QStringLiteral(", free RAM %1 kw").arg(*freeSample);
}

QString Directory(const QByteArray &m, int kind)
{
    const auto count = Nibbles(m, CountPosition, 4);
    // The count covers the two selector bytes; each entry is a number and a name, 16 bytes.
    if (!count || *count < 2)
        return QStringLiteral("Directory, %1 (malformed)").arg(KindPlural(kind));
    const int entries = (*count - 2) / 16;
    return QStringLiteral("Directory, %1: %2 %3").arg(KindPlural(kind)).arg(entries)
        .arg(entries == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
}

QString ObjectDump(const QByteArray &m, int kind)
{
    if (kind == KindMapZone)
        return QStringLiteral("Dump ") + ZoneRef(m);
    const bool numbered = kind >= KindWave && kind < NumberedKinds;
    const QString what = numbered ? QLatin1String(Kind(kind).name) : UploadKindName(kind);
    QString text = WithName(QStringLiteral("%1 dump %2").arg(what, ObjectRef(kind, Nibbles(m, NumberPosition, 4))), m);
    // A dump the program would refuse: what a user looks for when a retrieval fails.
    if (numbered && Kind(kind).dumpLength > 0 && Kind(kind).dumpLength != m.size())
        text += QStringLiteral(" (wrong length, %1)").arg(ByteCount(m.size()));
    return text;
}

// What the SP's data answer is: the request it answers says so; without it, the lengths do.
enum class Answer { Dump, Directory, DirectoryStatus, Unknown };

Answer AnswerTo(const QByteArray &request)
{
    if (!request.startsWith(SysEx::Header()))
        return Answer::Unknown;
    const QByteArray body = request.mid(BodyPosition - 1);
    if (body.startsWith(QByteArrayLiteral("\x12\x01\x01")))
        return Answer::DirectoryStatus;
    if (body.startsWith(QByteArrayLiteral("\x12\x02\x01")))
        return Answer::Directory;
    if (body.startsWith('\x01'))
        return Answer::Dump;
    return Answer::Unknown;
}

Answer AnswerByShape(const QByteArray &m, int kind)
{
    if (m.size() == DirectoryStatusLength)
        return Answer::DirectoryStatus;
    if ((kind >= KindWave && kind < NumberedKinds && Kind(kind).dumpLength == m.size())
        || (kind == KindMapZone && m.size() == MapZoneDumpLength))
        return Answer::Dump;
    // A directory's selector is zero and its entries fill it to the end.
    const auto count = Nibbles(m, CountPosition, 4);
    const auto selector = Nibbles(m, NumberPosition, 4);
    if (kind != KindMap && count && selector == 0 && m.size() == 2 * *count + 14 && (*count - 2) % 16 == 0)
        return Answer::Directory;
    return kind == KindMap ? Answer::Unknown : Answer::Dump;
}

QString Data(const QByteArray &m, Direction direction, const QByteArray &request)
{
    const auto kind = KindAt(m);
    if (!kind || m.size() < NumberPosition + 4)
        return Truncated(direction == Direction::Out ? QStringLiteral("Upload") : QStringLiteral("Data"));
    if (direction == Direction::Out) {
        if (*kind == KindMapZone)
            return QStringLiteral("Upload ") + ZoneRef(m);
        return WithName(QStringLiteral("Upload ") + ObjectRef(*kind, Nibbles(m, NumberPosition, 4)), m);
    }
    Answer answer = AnswerTo(request);
    if (answer == Answer::Unknown)
        answer = AnswerByShape(m, *kind);
    switch (answer) {
    case Answer::DirectoryStatus: return DirectoryStatus(m, *kind);
    case Answer::Directory: return Directory(m, *kind);
    case Answer::Dump: return ObjectDump(m, *kind);
    case Answer::Unknown: break;
    }
    return QStringLiteral("Map dump or directory, ") + ByteCount(m.size());
}

QString Delete(const QByteArray &m, Direction, const QByteArray &)
{
    const auto kind = KindAt(m);
    const auto number = Nibbles(m, NumberPosition, 4);
    if (!kind || !number)
        return Truncated(QStringLiteral("Delete"));
    if (*kind == ClearMemoryKind)
        return QStringLiteral("Clear all memory");
    if (*number == AllObjects)
        return QStringLiteral("Delete all ") + KindPlural(*kind);
    return QStringLiteral("Delete ") + ObjectRef(*kind, number);
}

QString LoadBank(const QByteArray &m, Direction, const QByteArray &)
{
    const auto disk = Nibbles(m, 14, 2);
    const auto bank = Nibbles(m, 16, 4);
    if (!disk || !bank)
        return Truncated(QStringLiteral("Load bank"));
    const QString from = *disk == FloppyDisk ? QStringLiteral("the floppy disk") : QStringLiteral("SCSI ID %1").arg(*disk);
    return QStringLiteral("Load bank %1 from %2").arg(*bank).arg(from);
}

QString Merge(const QByteArray &m, Direction, const QByteArray &)
{
    const auto left = Nibbles(m, 14, 4);
    const auto right = Nibbles(m, 18, 4);
    if (!left || !right)
        return Truncated(QStringLiteral("Stereo merge"));
    return QStringLiteral("Stereo merge w#%1 with w#%2").arg(*left).arg(*right);
}

QString Status(const QByteArray &m, Direction, const QByteArray &)
{
    const Byte code = BodyAt(m, SysEx::StatusCodePosition);
    if (!code)
        return Truncated(QStringLiteral("Status"));
    if (*code == 0)
        return QStringLiteral("Status 0: OK");
    return QStringLiteral("Status %1: %2").arg(*code).arg(SpStatus::SPErrorText(*code));
}

struct SpCommand {
    QByteArray head; // the body's first bytes
    QString (*describe)(const QByteArray &message, Direction direction, const QByteArray &request);
};

// The longer heads first, so that a Global command is not taken for the front panel's.
const std::array<SpCommand, 15> &SpCommands()
{
    static const std::array<SpCommand, 15> table = {{
        {QByteArrayLiteral("\x32\x01\x00\x00\x00\x02\x00\x01\x00\x00"), MasterTuneRequest},
        {QByteArrayLiteral("\x32\x01\x00\x00\x00\x04\x00\x01\x00\x01"), MasterTune},
        {QByteArrayLiteral("\x30\x01\x00\x00\x00\x03"), LoadBank},
        {QByteArrayLiteral("\x31\x01\x00\x00\x00\x04"), Merge},
        {QByteArrayLiteral("\x11\x02\x01\x00"), GlobalNameRequest},
        {QByteArrayLiteral("\x11\x02\x0F\x01"), GlobalName},
        {QByteArrayLiteral("\x11\x01\x01"), FrontPanelKey},
        {QByteArrayLiteral("\x11\x03\x02"), GlobalParameterRequest},
        {QByteArrayLiteral("\x11\x03\x03"), GlobalParameter},
        {QByteArrayLiteral("\x12\x01\x01"), DirectoryStatusRequest},
        {QByteArrayLiteral("\x12\x02\x01"), DirectoryRequest},
        {QByteArrayLiteral("\x00"), Status},
        {QByteArrayLiteral("\x01"), DumpRequest},
        {QByteArrayLiteral("\x02"), Data},
        {QByteArrayLiteral("\x03"), Delete},
    }};
    return table;
}

bool HeadMatches(const QByteArray &m, const QByteArray &head)
{
    for (int i = 0; i < head.size(); ++i) {
        const Byte b = At(m, BodyPosition + i);
        if (!b || *b != static_cast<uint8_t>(head.at(i)))
            return false;
    }
    return true;
}

QString SpMessage(const QByteArray &m, Direction direction, const QByteArray &request)
{
    const Byte body = At(m, BodyPosition);
    if (!body || m.size() <= BodyPosition)
        return QStringLiteral("SP message without a command");
    QString text;
    for (const SpCommand &command : SpCommands()) {
        if (HeadMatches(m, command.head)) {
            text = command.describe(m, direction, request);
            break;
        }
    }
    if (text.isEmpty())
        text = QStringLiteral("Unknown SP command %1").arg(HexByte(*body));
    const Byte id = At(m, DeviceIdPosition);
    if (id && *id != BroadcastDeviceId)
        text += QStringLiteral(" [device %1]").arg(*id);
    return text;
}

// ---- Other makers, universal messages ----

QString MakerId(const QByteArray &m, int position, int *length)
{
    const Byte first = At(m, position);
    if (!first)
        return QStringLiteral("?");
    if (*first != 0) {
        *length = 1;
        return HexByte(*first);
    }
    *length = 3;
    const Byte second = At(m, position + 1);
    const Byte third = At(m, position + 2);
    if (!second || !third)
        return QStringLiteral("00 ?");
    return QStringLiteral("00 %1 %2").arg(HexByte(*second), HexByte(*third));
}

QString Universal(const QByteArray &m)
{
    const Byte realTime = At(m, 2);
    const Byte sub1 = At(m, 4);
    const Byte sub2 = At(m, 5);
    const Byte device = At(m, 3);
    const QString kind = *realTime == 0x7F ? QStringLiteral("real-time") : QStringLiteral("non-real-time");
    if (!sub1 || !sub2 || !device)
        return Truncated(QStringLiteral("Universal SysEx (%1)").arg(kind));
    constexpr uint8_t GeneralInformation = 0x06, IdentityRequest = 0x01, IdentityReply = 0x02;
    if (*realTime == 0x7E && *sub1 == GeneralInformation && *sub2 == IdentityRequest)
        return QStringLiteral("Identity request (device %1)").arg(*device);
    if (*realTime == 0x7E && *sub1 == GeneralInformation && *sub2 == IdentityReply) {
        int length = 0;
        const QString maker = MakerId(m, 6, &length);
        const int family = 6 + length;
        // Family and model are two bytes each, least significant first; then four of version.
        const Byte f1 = At(m, family), f2 = At(m, family + 1), d1 = At(m, family + 2), d2 = At(m, family + 3);
        const Byte v1 = At(m, family + 4), v2 = At(m, family + 5), v3 = At(m, family + 6), v4 = At(m, family + 7);
        if (!f1 || !f2 || !d1 || !d2 || !v1 || !v2 || !v3 || !v4)
            return Truncated(QStringLiteral("Identity reply from maker %1").arg(maker));
        return QStringLiteral("Identity reply (device %1): maker %2, family %3, model %4, version %5.%6.%7.%8")
            .arg(*device)
            .arg(maker)
            .arg(*f1 | (*f2 << 7))
            .arg(*d1 | (*d2 << 7))
            .arg(*v1)
            .arg(*v2)
            .arg(*v3)
            .arg(*v4);
    }
    return QStringLiteral("Universal SysEx (%1), device %2, sub-IDs %3 %4")
        .arg(kind)
        .arg(*device)
        .arg(HexByte(*sub1), HexByte(*sub2));
}

QString SystemExclusive(const QByteArray &m, Direction direction, const QByteArray &request)
{
    const bool terminated = m.size() >= 2 && static_cast<uint8_t>(m.back()) == SysEx::End;
    const bool ours = m.startsWith(SysEx::Header());
    if (!terminated)
        return (ours ? QStringLiteral("Truncated SP message (no F7), ") : QStringLiteral("Truncated SysEx (no F7), "))
            + ByteCount(m.size());
    for (int i = 1; i < m.size() - 1; ++i) {
        const auto b = static_cast<uint8_t>(m.at(i));
        if (b > 0x7F)
            return QStringLiteral("Broken SysEx: byte %1 at position %2").arg(HexByte(b)).arg(i + 1);
    }
    if (m.size() == 2)
        return QStringLiteral("Empty SysEx");
    const Byte first = At(m, 2);
    if (*first == 0x7E || *first == 0x7F)
        return Universal(m);
    int length = 0;
    const QString maker = MakerId(m, 2, &length);
    if (maker != QStringLiteral("00 00 1B"))
        return QStringLiteral("SysEx from another maker (ID %1), %2").arg(maker, ByteCount(m.size()));
    if (!ours) {
        const Byte a = At(m, 5), b = At(m, 6);
        return QStringLiteral("SysEx from the SP's maker for another model (%1 %2)")
            .arg(a ? HexByte(*a) : QStringLiteral("?"), b ? HexByte(*b) : QStringLiteral("?"));
    }
    return SpMessage(m, direction, request);
}

// ---- Channel and system messages ----

struct ShortKind {
    uint8_t status; // high nibble for channel messages, the whole byte for system ones
    const char *name;
    int length;
};

const std::array<ShortKind, 7> ChannelKinds = {{
    {0x80, "Note off", 3},
    {0x90, "Note on", 3},
    {0xA0, "Key pressure", 3},
    {0xB0, "Control change", 3},
    {0xC0, "Program change", 2},
    {0xD0, "Channel pressure", 2},
    {0xE0, "Pitch bend", 3},
}};

const std::array<ShortKind, 15> SystemKinds = {{
    {0xF1, "MTC quarter frame", 2},
    {0xF2, "Song position", 3},
    {0xF3, "Song select", 2},
    {0xF4, "Undefined system message F4", 1},
    {0xF5, "Undefined system message F5", 1},
    {0xF6, "Tune request", 1},
    {0xF7, "End of SysEx without a start", 1},
    {0xF8, "Timing clock", 1},
    {0xF9, "Undefined real-time message F9", 1},
    {0xFA, "Start", 1},
    {0xFB, "Continue", 1},
    {0xFC, "Stop", 1},
    {0xFD, "Undefined real-time message FD", 1},
    {0xFE, "Active sensing", 1},
    {0xFF, "System reset", 1},
}};

// Checks a short message's length and data bytes; empty when it is whole and sound.
QString ShortProblem(const QByteArray &m, const ShortKind &kind, const QString &what)
{
    if (m.size() < kind.length)
        return Truncated(what);
    for (int i = 1; i < kind.length; ++i) {
        if (static_cast<uint8_t>(m.at(i)) > 0x7F)
            return what + QStringLiteral(" with a bad data byte %1").arg(HexByte(static_cast<uint8_t>(m.at(i))));
    }
    return {};
}

QString Extra(const QByteArray &m, int length)
{
    return m.size() > length ? QStringLiteral(" (and %1 more bytes)").arg(m.size() - length) : QString();
}

QString ChannelMessage(const QByteArray &m)
{
    const auto status = static_cast<uint8_t>(m.at(0));
    const ShortKind *kind = nullptr;
    for (const ShortKind &k : ChannelKinds) {
        if (k.status == (status & 0xF0))
            kind = &k;
    }
    const int channel = (status & 0x0F) + 1;
    const QString what = QStringLiteral("%1 ch %2").arg(QLatin1String(kind->name)).arg(channel);
    if (const QString problem = ShortProblem(m, *kind, what); !problem.isEmpty())
        return problem;
    const int d1 = static_cast<uint8_t>(m.at(1));
    const int d2 = kind->length > 2 ? static_cast<uint8_t>(m.at(2)) : 0;
    QString text;
    switch (status & 0xF0) {
    case 0x90:
        text = d2 == 0 ? QStringLiteral("Note off ch %1 %2 (note on, velocity 0)").arg(channel).arg(FormatNoteName(d1))
                       : QStringLiteral("%1 %2 velocity %3").arg(what, FormatNoteName(d1)).arg(d2);
        break;
    case 0x80: text = QStringLiteral("%1 %2 velocity %3").arg(what, FormatNoteName(d1)).arg(d2); break;
    case 0xA0: text = QStringLiteral("%1 %2 value %3").arg(what, FormatNoteName(d1)).arg(d2); break;
    case 0xB0: text = QStringLiteral("%1 controller %2 value %3").arg(what).arg(d1).arg(d2); break;
    case 0xC0: text = QStringLiteral("%1 program %2").arg(what).arg(d1); break;
    case 0xD0: text = QStringLiteral("%1 value %2").arg(what).arg(d1); break;
    default: text = QStringLiteral("%1 %2").arg(what).arg((d1 | (d2 << 7)) - 8192); break;
    }
    return text + Extra(m, kind->length);
}

QString SystemMessage(const QByteArray &m)
{
    const auto status = static_cast<uint8_t>(m.at(0));
    for (const ShortKind &kind : SystemKinds) {
        if (kind.status != status)
            continue;
        const QString what = QLatin1String(kind.name);
        if (const QString problem = ShortProblem(m, kind, what); !problem.isEmpty())
            return problem;
        return what + Extra(m, kind.length);
    }
    return QStringLiteral("System message %1").arg(HexByte(status));
}

} // namespace

QString Describe(const QByteArray &message, Direction direction, const QByteArray &request)
{
    if (message.isEmpty())
        return QStringLiteral("Empty message");
    const auto status = static_cast<uint8_t>(message.at(0));
    if (status < 0x80)
        return QStringLiteral("Data without a status byte, ") + ByteCount(message.size());
    if (status == SysEx::Start)
        return SystemExclusive(message, direction, request);
    if (status < 0xF0)
        return ChannelMessage(message);
    return SystemMessage(message);
}

QString Hex(const QByteArray &message, int maxBytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    const bool shorten = maxBytes > 1 && message.size() > maxBytes;
    const qsizetype shown = shorten ? maxBytes - 1 : message.size();
    QString text;
    text.reserve(shown * 3 + 8);
    const auto append = [&text](char c) {
        const auto b = static_cast<uint8_t>(c);
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QLatin1Char(Digits[b >> 4]);
        text += QLatin1Char(Digits[b & 0x0F]);
    };
    for (qsizetype i = 0; i < shown; ++i)
        append(message.at(i));
    if (shorten) {
        text += QStringLiteral(" \u2026");
        append(message.back());
    }
    return text;
}

} // namespace MessageDescription
