#include "device/NibbleCodec.h"

#include "device/SysExFrame.h"

namespace NibbleCodec {

std::optional<QByteArray> EncodeNumber(int64_t value, int width, int bits)
{
    if (value < 0) {
        // Only values that the field's two's complement can hold wrap; the rest must not.
        if (value < -(int64_t(1) << (bits - 1)))
            return std::nullopt;
        value += int64_t(1) << bits;
    }
    QByteArray digits;
    do {
        digits.prepend(static_cast<char>(value & 0x0F));
        value >>= 4;
    } while (value > 0);
    if (digits.size() > width)
        return std::nullopt;
    return QByteArray(width - digits.size(), '\0') + digits;
}

QByteArray EncodeName(const QString &name)
{
    QByteArray nibbles;
    for (QChar c : name) {
        const int code = c.unicode() <= 0x7F ? c.unicode() : '?';
        nibbles.append(static_cast<char>(code / 16));
        nibbles.append(static_cast<char>(code % 16));
    }
    while (nibbles.size() < NameWidth)
        nibbles.append("\x02\x00", 2);
    return nibbles;
}

std::optional<uint32_t> Read(const QByteArray &message, int position, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        const auto nibble = SysEx::ByteAt(message, position + i);
        if (!nibble || *nibble > 15)
            return std::nullopt;
        value = (value << 4) | *nibble;
    }
    return value;
}

std::optional<int16_t> ReadSigned16(const QByteArray &message, int position)
{
    const auto value = Read(message, position, 4);
    if (!value)
        return std::nullopt;
    return static_cast<int16_t>(*value >= 0x8000 ? static_cast<int>(*value) - 65536 : static_cast<int>(*value));
}

std::optional<int> ReadSignedByte(const QByteArray &message, int position)
{
    const auto value = Read(message, position, 2);
    if (!value)
        return std::nullopt;
    return SignedByte(static_cast<int>(*value));
}

QString ReadName(const QByteArray &message, int position, int characters)
{
    QString name;
    for (int i = 0; i < characters; ++i) {
        const auto code = Read(message, position + 2 * i, 2);
        if (!code)
            break;
        if (*code != 0)
            name.append(QChar(static_cast<char16_t>(*code)));
    }
    return name;
}

void Overwrite(QByteArray &message, int position, const QByteArray &nibbles, int width)
{
    const int count = std::min<int>(width, static_cast<int>(nibbles.size()));
    for (int i = 0; i < count; ++i) {
        const int at = position - 1 + i;
        if (at < 0 || at >= message.size())
            break;
        message[at] = nibbles.at(i);
    }
}

} // namespace NibbleCodec
