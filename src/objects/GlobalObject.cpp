#include "objects/GlobalObject.h"

#include "device/SysExFrame.h"
#include "objects/NibbleCodec.h"
#include "objects/ObjectIO.h"

namespace {

using SysEx::Bytes;

constexpr int MinimumAnswer = 12;
constexpr int NameAt = 12;
constexpr int ValueAt = 13;
constexpr int TuneAt = 18;

} // namespace

namespace GlobalObject {

bool GlobalObjDump(ObjectIO &io, GlobalValues &global)
{
    const QByteArray name = io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x11, 0x02, 0x01, 0x00}), {});
    if (name.size() < MinimumAnswer)
        return false;
    // The name arrives as plain characters, trailing spaces and all.
    global.BankName = QString::fromLatin1(name.mid(NameAt - 1, 14));
    int16_t *const values[] = {&global.PlaybackMode, &global.ReceiveMode, &global.OmniPolyChannel,
                               &global.OmniPolyVolume, &global.ProgChange};
    for (int p = PlaybackMode; p <= ProgChange; ++p) {
        const QByteArray answer = io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x11, 0x03, 0x02, p, 0x00}), {});
        const auto value = SysEx::ByteAt(answer, ValueAt);
        if (answer.size() < MinimumAnswer || !value)
            return false;
        *values[p - 1] = *value;
    }
    const QByteArray tune =
        io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}), {});
    const auto hundredths = NibbleCodec::ReadSigned16(tune, TuneAt);
    if (tune.size() < MinimumAnswer || !hundredths)
        return false;
    global.MasterTune = *hundredths;
    return true;
}

QByteArray ParameterEditBody(int parameter, int value)
{
    return Bytes({0x11, 0x03, 0x03, parameter, 0x01, value & 0x7F});
}

QByteArray BankNameEditBody(const QString &name)
{
    QByteArray body = Bytes({0x11, 0x02, 0x0F, 0x01});
    QByteArray text = name.toLatin1().left(14).leftJustified(14, ' ');
    for (char &c : text) {
        if (static_cast<uint8_t>(c) > 0x7F)
            c = '?'; // SysEx carries 7-bit characters only
    }
    return body + text;
}

std::optional<QByteArray> MasterTuneEditBody(int hundredths)
{
    if (hundredths < -MasterTuneLimit || hundredths > MasterTuneLimit)
        return std::nullopt;
    return Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01}) + *NibbleCodec::EncodeNumber(hundredths, 4);
}

QString MasterTuneText(int hundredths)
{
    return QString::number(hundredths / 100.0, 'g', 10);
}

} // namespace GlobalObject
