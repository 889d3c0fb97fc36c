#include "objects/ObjectIO.h"

#include "device/ResponseWait.h"
#include "device/StatusCodes.h"
#include "device/SysExFrame.h"
#include "midi/ExchangeState.h"
#include "midi/MidiComms.h"
#include "objects/GlobalObject.h"
#include "device/NibbleCodec.h"
#include "settings/Settings.h"

namespace {

using SysEx::Bytes;

// A Map Zone upload carries the zone's image after the frame's head and the zone selector.
constexpr int ZoneImageOffset = 19;

std::optional<QByteArray> Nibbles(const ObjectIO::Value &value, int position, int width)
{
    if (position == ObjectIO::NamePosition)
        return NibbleCodec::EncodeName(std::holds_alternative<QString>(value) ? std::get<QString>(value)
                                                                               : QString::number(std::get<int64_t>(value)));
    if (!std::holds_alternative<int64_t>(value))
        return std::nullopt;
    return NibbleCodec::EncodeNumber(std::get<int64_t>(value), width, width > 4 ? 32 : 16);
}

} // namespace

ObjectIO::ObjectIO(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, const SpConfig &sp,
                   ObjectStore &store)
    : comms(comms), wait(wait), exchange(exchange), sp(sp), objects(store)
{
}

uint8_t ObjectIO::deviceId() const
{
    return static_cast<uint8_t>(sp.SysExDeviceID);
}

void ObjectIO::ReportError(const QString &heading, const QString &text)
{
    comms.ReportError(heading, text);
}

void ObjectIO::Consumed()
{
    exchange.setResponseArrived(false);
}

QByteArray ObjectIO::ReqObjectDump(uint8_t formatCode, const QByteArray &body, const QByteArray &tail)
{
    const QByteArray message = SysEx::Frame(deviceId(), formatCode == GlobalFormat ? body : body + tail);
    comms.MidiOutLongMsg(message);
    const QByteArray response = wait.GetSpResponse(ResponseWait::DefaultTimeout, ResponseWait::DataResponse);
    // The answer is handed over whole; the SP is free again once it is taken.
    Consumed();
    return response;
}

QByteArray ObjectIO::RequestObject(int kind, int number)
{
    return ReqObjectDump(static_cast<uint8_t>(kind), Bytes({0x01, kind, 0, 0, 0, 2}),
                         Bytes({0, 0, (number / 16) & 0x7F, number % 16}));
}

std::optional<QByteArray> ObjectIO::UploadMessage(int kind, int16_t objectNumber, const Value &value, int position,
                                                  int width) const
{
    const auto nibbles = Nibbles(value, position, width);
    if (!nibbles)
        return std::nullopt;
    QByteArray message;
    if (kind == KindMapZone) {
        // The SP finds the zone by a note inside it; while the low note itself changes, by the
        // high note, which stays put.
        const int key = objects.CurrentZoneNote(position == 24 ? 3 : 2);
        if (key < 0 || objects.CurrentZone >= objects.ZoneImages.size())
            return std::nullopt;
        message = SysEx::Header();
        message.append(static_cast<char>(deviceId()));
        message.append(Bytes({0x02, 0x06, 0x00, 0x00, 0x01, 0x03, key / 16, key % 16, (objectNumber / 16) & 0x0F,
                              objectNumber % 16, 0, 0}));
        message.append(objects.ZoneImages[objects.CurrentZone]);
        message.append('\xF7');
        NibbleCodec::Overwrite(message, position, *nibbles, width);
        return message;
    }
    message = kind == KindMapHeader ? objects.MapHeaderImage : objects.of(kind).Image;
    if (message.size() < NumberPosition + 4)
        return std::nullopt;
    NibbleCodec::Overwrite(message, position, *nibbles, width);
    NibbleCodec::Overwrite(message, NumberPosition, Bytes({0, 0, (objectNumber / 16) & 0x0F, objectNumber % 16}), 4);
    return message;
}

bool ObjectIO::ObjectUpload(int kind, int16_t objectNumber, const Value &value, int position, int width, bool send,
                            Source source)
{
    const auto fail = [&] {
        comms.ReportError(QStringLiteral("ObjectUpload() Upload ") + UploadKindName(kind) + QStringLiteral(" Object"),
                          QStringLiteral("Error uploading data object to SP"));
        return false;
    };
    if (!send) {
        // Written into the working image only; it reaches the SP with the next upload.
        const auto nibbles = Nibbles(value, position, width);
        if (!nibbles || kind < 0 || kind >= NumberedKinds)
            return fail();
        const auto before = ImageValue(kind, position, width);
        NibbleCodec::Overwrite(objects.of(kind).Image, position, *nibbles, width);
        if (before)
            pendingEdits.append({kind, objectNumber, position, width, *before, value});
        return true;
    }
    // Taken before the image changes: the value the SP holds now, and a note of the zone
    // that this edit does not move (the one UploadMessage addresses it by).
    const auto before = ImageValue(kind, position, width);
    const int zoneNote = kind == KindMapZone ? objects.CurrentZoneNote(position == 24 ? 3 : 2) : -1;
    QList<ParameterEdit> edits = std::exchange(pendingEdits, {});
    // Only writes into this very image travel with this upload.
    edits.removeIf([&](const ParameterEdit &e) { return e.kind != kind || e.number != objectNumber; });
    const auto message = UploadMessage(kind, objectNumber, value, position, width);
    if (!message)
        return fail();
    comms.MidiOutLongMsg(*message);
    const QByteArray status = wait.GetSpResponse(ResponseWait::DefaultTimeout, ResponseWait::StatusResponse);
    Consumed();
    if (status != "0")
        return false;
    if (before) {
        edits.append({kind, objectNumber, position, width, *before, value, zoneNote});
        Record(std::move(edits), source);
    }
    return true;
}

void ObjectIO::Record(QList<ParameterEdit> edits, Source source)
{
    if (source == Source::Edit && recorder && !edits.isEmpty())
        recorder(edits);
}

std::optional<ObjectIO::Value> ObjectIO::ImageValue(int kind, int position, int width) const
{
    QByteArray image;
    int at = position;
    if (kind == KindMapZone) {
        if (objects.CurrentZone < 0 || objects.CurrentZone >= objects.ZoneImages.size())
            return std::nullopt;
        image = objects.ZoneImages[objects.CurrentZone];
        at = position - ZoneImageOffset;
    } else if (kind == KindMapHeader) {
        image = objects.MapHeaderImage;
    } else if (kind >= 0 && kind < NumberedKinds) {
        image = objects.of(kind).Image;
    } else {
        return std::nullopt;
    }
    if (at < 1)
        return std::nullopt;
    if (position == NamePosition && kind != KindMapZone) {
        if (at + NibbleCodec::NameWidth - 1 > image.size())
            return std::nullopt;
        return NibbleCodec::ReadName(image, at).leftJustified(NibbleCodec::NameCharacters, QLatin1Char(' '));
    }
    const auto number = NibbleCodec::Read(image, at, width);
    if (!number)
        return std::nullopt;
    return int64_t{*number};
}

bool ObjectIO::GlobalUpload(int parameter, const Value &before, const Value &after, Source source)
{
    const auto body = GlobalObject::EditBody(parameter, after);
    if (!body) {
        comms.ReportError(QStringLiteral("Change_GlobalParm()"), QStringLiteral("Error updating Global Parameter"));
        return false;
    }
    if (!SendCommand(*body))
        return false;
    Record({{KindGlobal, 0, parameter, 0, before, after}}, source);
    return true;
}

int ObjectIO::SendWhole(QByteArray message, Refusals refusals, int number)
{
    using SysEx::DeviceIdPosition;
    const bool tell = refusals == Refusals::Tell;
    const bool renumber = number != KeepNumber;
    if (message.size() < (renumber ? NumberPosition + 4 + 1 : DeviceIdPosition + 1)
        || (renumber && (number < 0 || number > 0xFF))) {
        if (tell)
            comms.ReportError(QStringLiteral("ObjectUpload() Upload Object"), QStringLiteral("Error uploading data object to SP"));
        return -1;
    }
    message[DeviceIdPosition - 1] = static_cast<char>(deviceId());
    if (renumber)
        NibbleCodec::Overwrite(message, NumberPosition, Bytes({0, 0, (number / 16) & 0x0F, number % 16}), 4);
    // A send that fails is reported there and waited out as a time-out, as every exchange.
    comms.MidiOutLongMsg(message);
    if (tell) {
        // A refusal is shown by the wait, as for every upload.
        const QByteArray status = wait.GetSpResponse(ResponseWait::DefaultTimeout, ResponseWait::StatusResponse);
        Consumed();
        bool read = false;
        const int code = status.toInt(&read);
        return read ? code : -1;
    }
    // Taken whole, so that a refusal is not shown here but handed to the caller's report.
    const QByteArray answer = wait.GetSpResponse(ResponseWait::DefaultTimeout, ResponseWait::DataResponse);
    Consumed();
    if (answer == QByteArray::number(SpStatus::TimedOut))
        return SpStatus::TimedOut;
    const auto code = SpStatus::CodeOf(answer);
    return code ? *code : -1;
}

bool ObjectIO::SendCommand(const QByteArray &body, int timeoutMs)
{
    comms.MidiOutLongMsg(SysEx::Frame(deviceId(), body));
    const QByteArray status = wait.GetSpResponse(timeoutMs, ResponseWait::StatusResponse);
    Consumed();
    return status == "0";
}

ObjDirStatus ObjectIO::GetObjDirStatus(int kind)
{
    const QByteArray response = ReqObjectDump(StatusFormat, Bytes({0x12, 0x01, 0x01}), Bytes({kind}));
    const ObjDirStatus status = ObjDirStatus::Parse(response);
    if (kind >= 0 && kind < NumberedKinds)
        objects.of(kind).Have = status.valid && status.Loaded > 0;
    if (status.valid)
        objects.FreeRAM = status.FreeSampleRAM;
    return status;
}

ObjDir ObjectIO::GetObjDir(int kind)
{
    const QByteArray response = ReqObjectDump(DirectoryFormat, Bytes({0x12, 0x02, 0x01}), Bytes({kind}));
    return ObjDir::Parse(response);
}
