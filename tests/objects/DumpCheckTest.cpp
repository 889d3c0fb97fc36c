// What the program accepts as a dump: anything damaged on the way is refused before it can be
// stored, shown or sent back to the SP.
#include "Bytes.h"
#include "objects/DumpCheck.h"

#include <gtest/gtest.h>

namespace {

// A Tone dump of object 37 as the SP sends it: 180 characters, nibbles from byte 10 on.
QByteArray ToneDump()
{
    QByteArray dump = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x01, 0x0, 0x0, 0x4, 0xD, 0x0, 0x0, 0x2, 0x5});
    while (dump.size() < 179)
        dump.append(static_cast<char>(dump.size() % 16));
    dump.append('\xF7');
    return dump;
}

} // namespace

TEST(DumpCheck, OnlyAWholeUndamagedDumpOfTheObjectAskedForPasses)
{
    const QByteArray good = ToneDump();
    EXPECT_TRUE(DumpCheck::WellFormed(good, 1, 37, 180));
    EXPECT_TRUE(DumpCheck::WellFormed(good, 1, DumpCheck::AnyNumber, DumpCheck::AnyLength));

    const struct { const char *what; QByteArray dump; int kind, number, length; } refused[] = {
        {"one character short", good.left(178) + "\xF7", 1, 37, 180},
        {"another kind", good, 2, 37, 180},
        {"another object", good, 1, 36, 180},
        {"another maker", With(good, 4, Bytes({0x41})), 1, 37, 180},
        {"header byte 6", With(good, 6, Bytes({0x06})), 1, 37, 180},
        {"first nibble above 15", With(good, 10, Bytes({0x10})), 1, 37, 180},
        {"a name nibble above 15", With(good, 33, Bytes({0x4F})), 1, 37, 180},
        {"last nibble above 15", With(good, 179, Bytes({0x7F})), 1, DumpCheck::AnyNumber, DumpCheck::AnyLength},
        {"no F7 at the end", With(good, 180, Bytes({0x00})), 1, 37, 180},
        {"too short for a number", good.left(16) + "\xF7", 1, DumpCheck::AnyNumber, DumpCheck::AnyLength},
        {"empty", QByteArray(), 1, DumpCheck::AnyNumber, DumpCheck::AnyLength},
    };
    for (const auto &row : refused)
        EXPECT_FALSE(DumpCheck::WellFormed(row.dump, row.kind, row.number, row.length)) << row.what;
}

TEST(DumpCheck, NamesArePrintableCharactersOnly)
{
    EXPECT_TRUE(DumpCheck::PrintableName("Test Bank  ~ 1"));
    EXPECT_FALSE(DumpCheck::PrintableName(QByteArray("Test\x0F""Bank", 9)));
    EXPECT_FALSE(DumpCheck::PrintableName("Test\x7F"));
    EXPECT_FALSE(DumpCheck::PrintableName(QByteArray("Te\0st", 5)));
}
