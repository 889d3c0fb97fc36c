#include "objects/GlobalObject.h"

#include "device/SysExFrame.h"
#include "objects/DumpCheck.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectIO.h"

namespace {

using SysEx::Bytes;
using GlobalDescription::NameLength;

constexpr int MinimumAnswer = 12;
constexpr int NameAt = 12;
constexpr int ValueAt = 13;
constexpr int TuneAt = 18;

} // namespace

namespace GlobalObject {

bool GlobalObjDump(ObjectIO &io, GlobalValues &global)
{
    // Nothing damaged is shown: a short answer has been reported by the wait, anything else
    // that is not what the SP sends is reported here.
    const auto damaged = [&io] {
        io.ReportError(QStringLiteral("GlobalObjDump()"), QStringLiteral("Error downloading Global object from SP"));
        return false;
    };
    const QByteArray name = io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x11, 0x02, 0x01, 0x00}), {});
    if (name.size() < MinimumAnswer)
        return false;
    // The name arrives as plain characters, trailing spaces and all.
    const QByteArray characters = name.mid(NameAt - 1, NameLength);
    if (!name.startsWith(SysEx::Header()) || characters.size() != NameLength
        || !DumpCheck::PrintableName(characters))
        return damaged();
    GlobalValues read = global;
    read.BankName = QString::fromLatin1(characters);
    int16_t *const values[] = {&read.PlaybackMode, &read.ReceiveMode, &read.OmniPolyChannel, &read.OmniPolyVolume,
                               &read.ProgChange};
    for (int p = PlaybackMode; p <= ProgChange; ++p) {
        const QByteArray answer = io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x11, 0x03, 0x02, p, 0x00}), {});
        const auto value = SysEx::ByteAt(answer, ValueAt);
        if (answer.size() < MinimumAnswer)
            return false;
        if (!value || !answer.startsWith(SysEx::Header()))
            return damaged();
        *values[p - 1] = *value;
    }
    const QByteArray tune =
        io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}), {});
    const auto hundredths = NibbleCodec::ReadSigned16(tune, TuneAt);
    if (tune.size() < MinimumAnswer)
        return false;
    if (!hundredths || !tune.startsWith(SysEx::Header()))
        return damaged();
    read.MasterTune = *hundredths;
    global = read;
    return true;
}

QByteArray ParameterEditBody(int parameter, int value)
{
    return Bytes({0x11, 0x03, 0x03, parameter, 0x01, value & 0x7F});
}

QByteArray BankNameEditBody(const QString &name)
{
    QByteArray body = Bytes({0x11, 0x02, 0x0F, 0x01});
    QByteArray text = name.toLatin1().left(NameLength).leftJustified(NameLength, ' ');
    for (char &c : text) {
        if (static_cast<uint8_t>(c) > 0x7F)
            c = '?'; // SysEx carries 7-bit characters only
    }
    return body + text;
}

std::optional<QByteArray> MasterTuneEditBody(int hundredths)
{
    const GlobalDescription::Setting &tune = *GlobalDescription::Find(MasterTune);
    if (hundredths < tune.low || hundredths > tune.high)
        return std::nullopt;
    return Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01}) + *NibbleCodec::EncodeNumber(hundredths, 4);
}

std::optional<QByteArray> EditBody(int parameter, const std::variant<int64_t, QString> &value)
{
    if (parameter == BankName)
        return std::holds_alternative<QString>(value) ? std::optional(BankNameEditBody(std::get<QString>(value)))
                                                      : std::nullopt;
    if (!std::holds_alternative<int64_t>(value))
        return std::nullopt;
    const int64_t number = std::get<int64_t>(value);
    if (parameter == MasterTune)
        return MasterTuneEditBody(static_cast<int>(number));
    if (parameter < PlaybackMode || parameter > ProgChange || number < 0 || number > 127)
        return std::nullopt;
    return ParameterEditBody(parameter, static_cast<int>(number));
}

std::variant<int64_t, QString> Value(const GlobalValues &global, int parameter)
{
    switch (parameter) {
    case BankName: return global.BankName;
    case PlaybackMode: return int64_t{global.PlaybackMode};
    case ReceiveMode: return int64_t{global.ReceiveMode};
    case OmniPolyChannel: return int64_t{global.OmniPolyChannel};
    case OmniPolyVolume: return int64_t{global.OmniPolyVolume};
    case ProgChange: return int64_t{global.ProgChange};
    default: return int64_t{global.MasterTune};
    }
}

QString ValueText(const GlobalValues &global, int parameter)
{
    const auto value = Value(global, parameter);
    if (const auto *name = std::get_if<QString>(&value))
        return name->trimmed();
    const GlobalDescription::Setting *setting = GlobalDescription::Find(parameter);
    return setting ? GlobalDescription::NumberText(*setting, std::get<int64_t>(value)) : QString();
}

} // namespace GlobalObject
