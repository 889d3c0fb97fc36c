// Reading an object's data bytes out of its dump: only a dump of the exact length whose data
// characters are all nibbles is taken, a byte's low nibble reads alone, and nothing is read
// outside it.
#include "objects/DumpRecord.h"

#include <gtest/gtest.h>

namespace {

constexpr int Length = 28;   // header 1..19, four data bytes at 20..27, F7
constexpr int First = 20;

QByteArray Dump(std::initializer_list<int> nibbles)
{
    QByteArray d(First - 1, '\0');
    for (int n : nibbles)
        d.append(static_cast<char>(n));
    while (d.size() < Length - 1)
        d.append('\0');
    d.append('\xF7');
    return d;
}

} // namespace

TEST(DumpRecord, RefusesWrongLengthsAndCharactersThatAreNoNibbles)
{
    const QByteArray good = Dump({1, 2, 8, 1, 15, 15, 0, 7});
    ASSERT_TRUE(DumpRecord::Parse(good, Length, First));
    const struct { const char *why; QByteArray dump; } bad[] = {
        {"one short", good.left(Length - 1)},
        {"one long", good + '\xF7'},
        {"empty", QByteArray()},
        {"a nibble above 15", Dump({1, 16, 0, 0, 0, 0, 0, 0})},
        {"a last data character above 15", Dump({0, 0, 0, 0, 0, 0, 0, 0x7F})},
    };
    for (const auto &b : bad)
        EXPECT_FALSE(DumpRecord::Parse(b.dump, Length, First)) << b.why;
}

TEST(DumpRecord, ReadsBytesSignedBytesAndNumbersByPosition)
{
    DumpRecord r = *DumpRecord::Parse(Dump({1, 2, 8, 1, 15, 15, 0, 7}), Length, First);
    const struct { int position; int byte; int isSigned; } cases[] = {
        {20, 0x12, 0x12}, {22, 0x81, 0x81 - 256}, {24, 0xFF, -1}, {26, 0x07, 7},
        {21, 0x02, 0x02}, {27, 0x07, 7}, // a byte's low nibble alone
        {18, 0, 0}, {19, 0, 0}, {28, 0, 0}, // outside the data
    };
    for (const auto &c : cases) {
        EXPECT_EQ(r.Byte(c.position), c.byte) << c.position;
        EXPECT_EQ(r.Signed(c.position), c.isSigned) << c.position;
    }
    EXPECT_EQ(r.Number(20, 2), 0x1281u);
    r.SetNumber(24, 2, 0xABCD);
    EXPECT_EQ(r.Byte(24), 0xAB);
    EXPECT_EQ(r.Byte(26), 0xCD);
    r.Set(30, 5); // past the end: nothing happens
    r.Set(22, -3);
    EXPECT_EQ(r.Signed(22), -3);
    r.Set(21, 0xAF); // the low nibble only
    EXPECT_EQ(r.Byte(20), 0x1F);
}
