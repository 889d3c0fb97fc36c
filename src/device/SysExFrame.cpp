#include "device/SysExFrame.h"

namespace SysEx {

QByteArray Header()
{
    static const QByteArray header("\xF0\x00\x00\x1B\x02\x05", 6);
    return header;
}

QByteArray Frame(uint8_t deviceId, const QByteArray &body)
{
    QByteArray message = Header();
    message.reserve(message.size() + body.size() + 2);
    message.append(static_cast<char>(deviceId & 0x7F));
    message.append(body);
    message.append(static_cast<char>(End));
    return message;
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(values.size()));
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

std::optional<uint8_t> ByteAt(const QByteArray &message, int position)
{
    if (position < 1 || position > message.size())
        return std::nullopt;
    return static_cast<uint8_t>(message.at(position - 1));
}

} // namespace SysEx
