// Nibble characters: every data byte of an object travels as two message characters, high
// nibble first. Numbers are written and read here, and nowhere else on the program's side.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace NibbleCodec {

constexpr int NameCharacters = 14;
constexpr int NameWidth = 2 * NameCharacters;

// The hexadecimal digits of `value` as `width` nibble characters, left-padded with zeros. A
// negative value is written as its two's complement of `bits` (16 or 32). Nothing when the
// digits do not fit in `width`: such a value must not be sent.
std::optional<QByteArray> EncodeNumber(int64_t value, int width, int bits = 16);
// Each character as two nibble characters, then space pairs (2, 0) up to 28 characters.
QByteArray EncodeName(const QString &name);

// The number of `width` nibble characters at a 1-based message position; nothing when they run
// past the end of the message or a character is not a nibble.
std::optional<uint32_t> Read(const QByteArray &message, int position, int width);
// A 16-bit field: 8000 hexadecimal and above read as negative.
std::optional<int16_t> ReadSigned16(const QByteArray &message, int position);
// A signed byte: above 128 reads as byte - 256 (128 itself stays 128, as the SP reads it).
constexpr int SignedByte(int byte)
{
    return byte > 128 ? byte - 256 : byte;
}
// The byte a signed value travels as: a negative value as value + 256.
constexpr int ByteOfSigned(int value)
{
    return value < 0 ? value + 256 : value;
}
std::optional<int> ReadSignedByte(const QByteArray &message, int position);
// `characters` bytes from a position, each from two nibble characters; zero bytes left out.
QString ReadName(const QByteArray &message, int position, int characters = NameCharacters);

// Writes nibble characters into a message from a 1-based position, never past its end.
void Overwrite(QByteArray &message, int position, const QByteArray &nibbles, int width);

} // namespace NibbleCodec
