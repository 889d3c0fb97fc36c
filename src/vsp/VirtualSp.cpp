#include "vsp/VirtualSp.h"

namespace {

constexpr uint8_t SysExStart = 0xF0;
constexpr uint8_t SysExEnd = 0xF7;
const QByteArray OurHeader("\xF0\x00\x00\x1B\x02\x05", 6);
constexpr int BodyStart = 7; // 0-based: after the header and the device ID byte

uint8_t At(const QByteArray &bytes, int index)
{
    return static_cast<uint8_t>(bytes.at(index));
}

} // namespace

QByteArray VirtualSp::StatusMessage(uint8_t code) const
{
    QByteArray reply = OurHeader;
    reply.append(static_cast<char>(ownId));
    reply.append('\0');
    reply.append(static_cast<char>(code));
    reply.append(static_cast<char>(SysExEnd));
    return reply;
}

std::vector<QByteArray> VirtualSp::Receive(const QByteArray &message)
{
    if (message.isEmpty() || At(message, 0) != SysExStart)
        return {}; // notes and other short messages play sounds, they are not answered
    if (message.size() < BodyStart || !message.startsWith(OurHeader))
        return {};
    const uint8_t id = At(message, 6);
    if (id != ownId && id != BroadcastId)
        return {};
    if (At(message, message.size() - 1) != SysExEnd)
        return {StatusMessage(Truncated)};
    const QByteArray body = message.mid(BodyStart, message.size() - BodyStart - 1);
    if (body.isEmpty())
        return {StatusMessage(Truncated)};
    for (char c : body) {
        if (static_cast<uint8_t>(c) & 0x80)
            return {StatusMessage(MalformedString)};
    }

    if (body.startsWith(QByteArray("\x11\x01\x01", 3)))
        return {StatusMessage(FrontPanel(body))};
    return {StatusMessage(UnknownCommand)};
}

uint8_t VirtualSp::FrontPanel(const QByteArray &body)
{
    if (body.size() < 4)
        return Truncated;
    if (body.size() > 4)
        return UnknownCommand;
    const int key = At(body, 3);
    if (key >= FrontPanelKeys)
        return IllegalValue;
    lastKey = key;
    ++presses;
    return Ok;
}
