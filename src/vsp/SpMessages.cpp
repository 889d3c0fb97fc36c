#include "vsp/SpMessages.h"

namespace Vsp::Wire {

namespace {
const QByteArray MakerAndModel("\xF0\x00\x00\x1B\x02\x05", 6);
constexpr uint8_t End = 0xF7;
} // namespace

std::optional<Incoming> Open(const QByteArray &message)
{
    if (message.size() < MakerAndModel.size() + 1 || !message.startsWith(MakerAndModel))
        return std::nullopt;
    Incoming in;
    in.deviceId = static_cast<uint8_t>(message.at(MakerAndModel.size()));
    in.terminated = static_cast<uint8_t>(message.back()) == End;
    const qsizetype bodyStart = MakerAndModel.size() + 1;
    in.body = message.mid(bodyStart, message.size() - bodyStart - (in.terminated ? 1 : 0));
    return in;
}

QByteArray Frame(uint8_t deviceId, const QByteArray &body)
{
    QByteArray message = MakerAndModel;
    message.reserve(message.size() + body.size() + 2);
    message.append(static_cast<char>(deviceId));
    message.append(body);
    message.append(static_cast<char>(End));
    return message;
}

QByteArray ToNibbles(const QByteArray &bytes)
{
    QByteArray chars(bytes.size() * 2, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<uint8_t>(bytes.at(i));
        chars[2 * i] = static_cast<char>(byte >> 4);
        chars[2 * i + 1] = static_cast<char>(byte & 0x0F);
    }
    return chars;
}

std::optional<QByteArray> FromNibbles(const QByteArray &chars)
{
    if (chars.size() % 2 != 0)
        return std::nullopt;
    QByteArray bytes(chars.size() / 2, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto high = static_cast<uint8_t>(chars.at(2 * i));
        const auto low = static_cast<uint8_t>(chars.at(2 * i + 1));
        if (high > 15 || low > 15)
            return std::nullopt;
        bytes[i] = static_cast<char>((high << 4) | low);
    }
    return bytes;
}

QByteArray NumberToNibbles(uint32_t value, int count)
{
    QByteArray chars(count, '\0');
    for (int i = count - 1; i >= 0; --i) {
        chars[i] = static_cast<char>(value & 0x0F);
        value >>= 4;
    }
    return chars;
}

std::optional<uint32_t> NibblesToNumber(const QByteArray &chars, int at, int count)
{
    if (at < 0 || count < 0 || at + count > chars.size())
        return std::nullopt;
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const auto nibble = static_cast<uint8_t>(chars.at(at + i));
        if (nibble > 15)
            return std::nullopt;
        value = (value << 4) | nibble;
    }
    return value;
}

} // namespace Vsp::Wire
