// Nibble characters: how numbers and names are written into and read back from messages.
#include "Bytes.h"
#include "QtPrinters.h"
#include "device/NibbleCodec.h"

#include <gtest/gtest.h>

#include <optional>

// Hex digits most significant first, left-padded; negatives as two's complement; nothing when
// the digits do not fit, and a negative below the field's range must not wrap round to a
// positive number (-32769 would otherwise go out as 7FFF, -65535 as 0001).
TEST(NibbleCodec, EncodeNumberWritesHexDigitsOrNothing)
{
    const struct { const char *what; int64_t value; int width, bits; std::optional<QByteArray> expected; } cases[] = {
        {"5 in two", 5, 2, 16, Bytes({0, 5})},
        {"largest in two", 255, 2, 16, Bytes({15, 15})},
        {"every digit", 0x1234, 4, 16, Bytes({1, 2, 3, 4})},
        {"padded in four", 0xA, 4, 16, Bytes({0, 0, 0, 10})},
        {"six digits", 0xABCDEF, 6, 32, Bytes({10, 11, 12, 13, 14, 15})},
        {"largest in eight", 0xFFFFFFFFLL, 8, 32, Bytes({15, 15, 15, 15, 15, 15, 15, 15})},
        {"-200 in four", -200, 4, 16, Bytes({15, 15, 3, 8})},
        {"most negative 16-bit", -32768, 4, 16, Bytes({8, 0, 0, 0})},
        {"-2 in eight", -2, 8, 32, Bytes({15, 15, 15, 15, 15, 15, 15, 14})},
        {"most negative 32-bit", -2147483648LL, 8, 32, Bytes({8, 0, 0, 0, 0, 0, 0, 0})},
        {"-1 as 16-bit in two", -1, 2, 16, std::nullopt},
        {"65536 in four", 65536, 4, 16, std::nullopt},
        {"nine digits in eight", 0x100000000LL, 8, 32, std::nullopt},
        {"-32769 as 16-bit", -32769, 4, 16, std::nullopt},
        {"-65535 as 16-bit", -65535, 4, 16, std::nullopt},
        {"-(2^31 + 1) as 32-bit", -2147483649LL, 8, 32, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NibbleCodec::EncodeNumber(c.value, c.width, c.bits), c.expected) << c.what;
}

TEST(NibbleCodec, EncodeNameWritesEachCharacterAsTwoNibblesPaddedWithSpacePairs)
{
    const struct { const char *what; QString name; QByteArray expected; } cases[] = {
        {"short name", QStringLiteral("Bass"), Bytes({4, 2, 6, 1, 7, 3, 7, 3}) + Pads(10)},
        {"empty", QString(), Pads(14)},
        {"leading space kept", QStringLiteral(" A"), Bytes({2, 0, 4, 1}) + Pads(12)},
        {"full fourteen, no padding", QStringLiteral("ABCDEFGHIJKLMN"),
         Bytes({4, 1, 4, 2, 4, 3, 4, 4, 4, 5, 4, 6, 4, 7, 4, 8, 4, 9, 4, 10, 4, 11, 4, 12, 4, 13, 4, 14})},
        {"digits and punctuation", QStringLiteral("P-1~"), Bytes({5, 0, 2, 13, 3, 1, 7, 14}) + Pads(10)},
        {"outside 7 bits becomes ?", QString::fromUtf8("\xC3\xA9t"), Bytes({3, 15, 7, 4}) + Pads(12)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NibbleCodec::EncodeName(c.name), c.expected) << c.what;
}

TEST(NibbleCodec, ReadTakesNibblesAtOneBasedPositionsAndRefusesWhatIsNotThere)
{
    const QByteArray message = Bytes({1, 2, 3, 4, 0x0F, 0xF7});
    const struct { const char *what; QByteArray message; int position, width; std::optional<uint32_t> expected; } cases[] = {
        {"four from the start", message, 1, 4, 0x1234u},
        {"two from position 2", message, 2, 2, 0x23u},
        {"one at position 5", message, 5, 1, 0xFu},
        {"runs into F7", message, 4, 3, std::nullopt},
        {"position 0", message, 0, 1, std::nullopt},
        {"past the end", message, 7, 1, std::nullopt},
        {"ends exactly past the end", Bytes({1, 2}), 1, 3, std::nullopt},
        {"character 16", Bytes({0, 0x10}), 1, 2, std::nullopt},
        {"character 7F", Bytes({0x7F, 0}), 1, 2, std::nullopt},
        {"eight fifteens", Bytes({15, 15, 15, 15, 15, 15, 15, 15}), 1, 8, 0xFFFFFFFFu},
        {"empty message", QByteArray(), 1, 2, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NibbleCodec::Read(c.message, c.position, c.width), c.expected) << c.what;
}

// Four characters from hex 8000 on are negative; two are negative only from 81 on.
TEST(NibbleCodec, ReadSigned16TakesHex8000AndAboveAsNegativeAndReadSignedByteAbove128)
{
    const struct { QByteArray nibbles; std::optional<int> expected; } cases[] = {
        {Bytes({0, 0, 0, 0}), 0},       {Bytes({0, 0, 2, 5}), 37},       {Bytes({7, 15, 15, 15}), 32767},
        {Bytes({8, 0, 0, 0}), -32768},  {Bytes({15, 15, 3, 8}), -200},   {Bytes({15, 15, 15, 15}), -1},
        {Bytes({0, 0, 0}), std::nullopt}, {Bytes({0, 0, 0x10, 0}), std::nullopt},
        {Bytes({0, 0}), 0},    {Bytes({7, 15}), 127}, {Bytes({8, 0}), 128},
        {Bytes({8, 1}), -127}, {Bytes({15, 15}), -1}, {Bytes({15}), std::nullopt},
    };
    for (const auto &c : cases) {
        // Behind a frame start, so the field's position is not 1.
        const QByteArray message = Bytes({0xF0, 0x7F}) + c.nibbles;
        const bool word = c.nibbles.size() >= 3;
        const std::optional<int> read = word ? std::optional<int>(NibbleCodec::ReadSigned16(message, 3))
                                             : NibbleCodec::ReadSignedByte(message, 3);
        EXPECT_EQ(read, c.expected) << c.nibbles.toHex().toStdString();
    }
}

TEST(NibbleCodec, ReadNameLeavesOutZeroBytesKeepsSpacesAndStopsAtTheEnd)
{
    const struct { const char *what; QByteArray message; int characters; QString expected; } cases[] = {
        {"spaces kept", Bytes({4, 2, 6, 1, 7, 3, 7, 3}) + Pads(10), 14, QStringLiteral("Bass          ")},
        {"zero bytes left out", Bytes({4, 1, 0, 0, 4, 2, 0, 0, 0, 0, 2, 0}) + Bytes({0, 0}).repeated(8), 14,
         QStringLiteral("AB ")},
        {"cut short by F7", Bytes({5, 0, 6, 9, 0xF7}), 14, QStringLiteral("Pi")},
        {"cut short by the end", Bytes({5, 0, 6, 9, 6}), 14, QStringLiteral("Pi")},
        {"only the characters asked", Bytes({4, 1, 4, 2, 4, 3}), 2, QStringLiteral("AB")},
        {"high byte kept as Latin-1", Bytes({14, 9, 2, 0}), 2, QString::fromUtf8("\xC3\xA9 ")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NibbleCodec::ReadName(c.message, 1, c.characters), c.expected) << c.what;

    // At a position other than 1, with a header in front.
    EXPECT_EQ(NibbleCodec::ReadName(Bytes({0xF0, 0, 0}) + Bytes({4, 2, 6, 1, 7, 3, 7, 3}), 4, 4), QStringLiteral("Bass"));
}

TEST(NibbleCodec, OverwriteWritesAtOneBasedPositionsUpToWidthAndNeverPastTheEnd)
{
    const QByteArray message = Bytes({0xF0, 9, 9, 9, 9, 0xF7});
    const struct { const char *what; int position; QByteArray nibbles; int width; QByteArray expected; } cases[] = {
        {"two at position 2", 2, Bytes({0, 5}), 2, Bytes({0xF0, 0, 5, 9, 9, 0xF7})},
        {"width shorter than the nibbles", 3, Bytes({1, 2, 3, 4}), 2, Bytes({0xF0, 9, 1, 2, 9, 0xF7})},
        {"nibbles shorter than the width", 4, Bytes({7}), 3, Bytes({0xF0, 9, 9, 7, 9, 0xF7})},
        {"stops at the end", 5, Bytes({1, 2, 3, 4}), 4, Bytes({0xF0, 9, 9, 9, 1, 2})},
        {"past the end", 7, Bytes({1, 2}), 2, message},
        {"position 0", 0, Bytes({1, 2}), 2, message},
    };
    for (const auto &c : cases) {
        QByteArray written = message;
        NibbleCodec::Overwrite(written, c.position, c.nibbles, c.width);
        EXPECT_EQ(written, c.expected) << c.what;
    }
}
