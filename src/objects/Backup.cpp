#include "objects/Backup.h"

#include "device/SysExFrame.h"
#include "objects/DumpCheck.h"
#include "objects/MapDump.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectIO.h"

#include <algorithm>

namespace Backup {

namespace {

using SysEx::Bytes;

using SysEx::DeviceIdPosition;
constexpr int MessageTypePosition = 8;
constexpr uint8_t DataMessage = 0x02;

// The body each Global answer starts with, and its whole length, F0 to F7.
struct GlobalForm {
    QByteArray head;
    int length;
};

const GlobalForm &Form(int index)
{
    static const GlobalForm forms[GlobalAnswers] = {
        {Bytes({0x11, 0x02, 0x0F, 0x01}), 7 + 4 + 14 + 1},
        {Bytes({0x11, 0x03, 0x03, 0x01, 0x01}), 7 + 6 + 1},
        {Bytes({0x11, 0x03, 0x03, 0x02, 0x01}), 7 + 6 + 1},
        {Bytes({0x11, 0x03, 0x03, 0x03, 0x01}), 7 + 6 + 1},
        {Bytes({0x11, 0x03, 0x03, 0x04, 0x01}), 7 + 6 + 1},
        {Bytes({0x11, 0x03, 0x03, 0x05, 0x01}), 7 + 6 + 1},
        {Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01}), 7 + 10 + 4 + 1},
    };
    return forms[index];
}

QString Ordinal(int index)
{
    return QStringLiteral("Message %1").arg(index + 1);
}

} // namespace

const Object *Contents::find(int kind, int number) const
{
    for (const Object &object : objects) {
        if (object.kind == kind && object.number == number)
            return &object;
    }
    return nullptr;
}

std::optional<GlobalValues> Contents::globalValues() const
{
    if (global.size() != GlobalAnswers)
        return std::nullopt;
    GlobalValues values;
    values.BankName = QString::fromLatin1(global[0].mid(11, 14));
    int16_t *const parameters[] = {&values.PlaybackMode, &values.ReceiveMode, &values.OmniPolyChannel,
                                   &values.OmniPolyVolume, &values.ProgChange};
    for (int p = 1; p <= 5; ++p)
        *parameters[p - 1] = SysEx::ByteAt(global[p], 13).value_or(0);
    values.MasterTune = NibbleCodec::ReadSigned16(global[6], 18).value_or(0);
    return values;
}

QString ObjectLabel(int kind, int number, const QString &name)
{
    QString label = QLatin1String(Kind(kind).prefix) + QLatin1Char(' ') + QString::number(number);
    if (!name.trimmed().isEmpty())
        label += QLatin1Char(' ') + name.trimmed();
    return label;
}

int GlobalAnswerIndex(const QByteArray &message)
{
    if (!message.startsWith(SysEx::Header()) || static_cast<uint8_t>(message.back()) != SysEx::End)
        return -1;
    const QByteArray body = message.mid(DeviceIdPosition, message.size() - DeviceIdPosition - 1);
    for (int index = 0; index < GlobalAnswers; ++index) {
        const GlobalForm &form = Form(index);
        if (message.size() != form.length || !body.startsWith(form.head))
            continue;
        const QByteArray rest = body.mid(form.head.size());
        if (index == 0)
            return DumpCheck::PrintableName(rest) ? index : -1;
        if (index == GlobalAnswers - 1)
            return NibbleCodec::Read(message, 18, 4) ? index : -1;
        return static_cast<uint8_t>(rest.at(0)) <= 0x7F ? index : -1;
    }
    return -1;
}

std::optional<Object> ReadDump(const QByteArray &message)
{
    const auto kind = SysEx::ByteAt(message, 9);
    if (!kind || *kind >= NumberedKinds)
        return std::nullopt;
    int length = Kind(*kind).dumpLength;
    if (*kind == KindMap) {
        const auto lastZone = NibbleCodec::Read(message, ObjectDumps::MapLastZonePosition, 2);
        if (!lastZone)
            return std::nullopt;
        length = ObjectDumps::MapZonesPosition + ObjectDumps::ZoneCharacters * (static_cast<int>(*lastZone) + 1);
    }
    if (!DumpCheck::WellFormed(message, *kind, DumpCheck::AnyNumber, length))
        return std::nullopt;
    Object object;
    object.kind = *kind;
    object.number = static_cast<int>(NibbleCodec::Read(message, ObjectIO::NumberPosition, 4).value_or(0));
    object.name = NibbleCodec::ReadName(message, ObjectIO::NamePosition).trimmed();
    object.dump = message;
    return object;
}

ReadResult Parse(const QByteArray &file)
{
    const auto refuse = [](const QString &why) { return ReadResult{std::nullopt, why}; };
    Contents contents;
    qsizetype at = 0;
    int index = 0;
    while (at < file.size()) {
        if (static_cast<uint8_t>(file.at(at)) != SysEx::Start)
            return refuse(QStringLiteral("The file holds bytes that are not SysEx messages (at byte %1).").arg(at + 1));
        const qsizetype end = file.indexOf(static_cast<char>(SysEx::End), at);
        // A message ends at F7; a status byte before it means the message was cut short.
        qsizetype stray = -1;
        for (qsizetype i = at + 1; i < (end < 0 ? file.size() : end); ++i) {
            if (static_cast<uint8_t>(file.at(i)) >= 0x80) {
                stray = i;
                break;
            }
        }
        if (end < 0 || stray >= 0)
            return refuse(QStringLiteral("%1 is cut short: the file is truncated or damaged.").arg(Ordinal(index)));
        const QByteArray message = file.mid(at, end - at + 1);
        at = end + 1;
        if (!message.startsWith(SysEx::Header()))
            return refuse(QStringLiteral("%1 is not from the SP (its header is another device's).").arg(Ordinal(index)));
        const auto type = SysEx::ByteAt(message, MessageTypePosition);
        if (type == DataMessage) {
            const auto object = ReadDump(message);
            if (!object)
                return refuse(QStringLiteral("%1 is a damaged dump.").arg(Ordinal(index)));
            if (!contents.global.isEmpty())
                return refuse(QStringLiteral("%1 (%2) comes after the Global settings.")
                                  .arg(Ordinal(index), ObjectLabel(object->kind, object->number, object->name)));
            if (contents.find(object->kind, object->number))
                return refuse(QStringLiteral("%1 holds %2 a second time.")
                                  .arg(Ordinal(index), ObjectLabel(object->kind, object->number, object->name)));
            contents.objects.append(*object);
        } else {
            const int global = GlobalAnswerIndex(message);
            if (global != contents.global.size())
                return refuse(QStringLiteral("%1 is not an SP dump nor the expected Global setting.").arg(Ordinal(index)));
            contents.global.append(message);
        }
        ++index;
    }
    if (index == 0)
        return refuse(QStringLiteral("The file holds no SP messages."));
    if (contents.global.size() != GlobalAnswers)
        return refuse(QStringLiteral("The file ends before all the Global settings: it is truncated."));
    // Uploads go kind by kind, so the order the file came in need not be trusted.
    std::stable_sort(contents.objects.begin(), contents.objects.end(), [](const Object &a, const Object &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    return {contents, QString()};
}

QByteArray Write(const Contents &contents)
{
    QByteArray file;
    for (const Object &object : contents.objects)
        file += object.dump;
    for (const QByteArray &answer : contents.global)
        file += answer;
    return file;
}

bool SameMessage(const QByteArray &a, const QByteArray &b)
{
    return a.size() == b.size() && a.size() > DeviceIdPosition && a.left(DeviceIdPosition - 1) == b.left(DeviceIdPosition - 1)
           && a.mid(DeviceIdPosition) == b.mid(DeviceIdPosition);
}

} // namespace Backup
