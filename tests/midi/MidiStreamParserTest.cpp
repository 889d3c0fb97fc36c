// The receive path's joining of bytes into messages: how real interfaces deliver SysEx in
// pieces, mixed with clock and sensing bytes, or broken.
#include "Bytes.h"
#include "QtPrinters.h"
#include "midi/MidiStreamParser.h"

#include <gtest/gtest.h>

#include <vector>

namespace {


struct Collector {
    MidiStreamParser parser;
    std::vector<QByteArray> messages;

    Collector()
    {
        for (uint8_t status : {0xF8, 0xF9, 0xFE})
            parser.setFiltered(status, true);
    }
    void feed(const QByteArray &bytes)
    {
        parser.feed(bytes, [this](const QByteArray &m) { messages.push_back(m); });
    }
};

const QByteArray Status0 = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x00, 0x00, 0xF7});

} // namespace

TEST(MidiStreamParser, JoinsSysExDeliveredInPiecesOfAnySize)
{
    for (int piece : {1, 2, 3, 7, 256}) {
        Collector c;
        QByteArray big = Bytes({0xF0});
        for (int i = 0; i < 1000; ++i)
            big.append(static_cast<char>(i % 16));
        big.append('\xF7');
        for (qsizetype at = 0; at < big.size(); at += piece)
            c.feed(big.mid(at, piece));
        ASSERT_EQ(c.messages.size(), 1u) << "piece size " << piece;
        EXPECT_EQ(c.messages[0], big) << "piece size " << piece;
    }
}

TEST(MidiStreamParser, RealTimeBytesInsideSysExAreFilteredWithoutBreakingIt)
{
    Collector c;
    c.feed(Bytes({0xF0, 0x00, 0xF8, 0x00, 0x1B, 0xFE, 0x02, 0x05, 0xF9, 0x7F, 0x00, 0x00, 0xF8, 0xF7}));
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], Status0);
}

TEST(MidiStreamParser, UnfilteredRealTimeBytesArriveAsThreeByteMessagesInOrder)
{
    Collector c;
    c.parser.setFiltered(0xF8, false);
    c.feed(Bytes({0xF0, 0x01, 0xF8, 0x02, 0xF7, 0xFA}));
    ASSERT_EQ(c.messages.size(), 3u);
    EXPECT_EQ(c.messages[0], Bytes({0xF8, 0, 0}));
    EXPECT_EQ(c.messages[1], Bytes({0xF0, 0x01, 0x02, 0xF7}));
    EXPECT_EQ(c.messages[2], Bytes({0xFA, 0, 0}));
}

TEST(MidiStreamParser, ShortMessagesArePaddedAndFollowRunningStatus)
{
    Collector c;
    c.feed(Bytes({0x90, 0x3C, 0x40, 0x3E, 0x41, 0xC2, 0x05, 0x07, 0xF2, 0x01, 0x02}));
    const std::vector<QByteArray> expected = {Bytes({0x90, 0x3C, 0x40}), Bytes({0x90, 0x3E, 0x41}),
                                              Bytes({0xC2, 0x05, 0x00}), Bytes({0xC2, 0x07, 0x00}),
                                              Bytes({0xF2, 0x01, 0x02})};
    EXPECT_EQ(c.messages, expected);
}

TEST(MidiStreamParser, StrayAndBrokenBytesAreDroppedAndTheStreamRecovers)
{
    Collector c;
    // Data with no status, an F7 with no F0, a SysEx cut off by a note, a note cut off by a SysEx.
    c.feed(Bytes({0x12, 0x34, 0xF7, 0xF0, 0x01, 0x02, 0x80, 0x3C, 0x00, 0x90, 0x3C}));
    c.feed(Status0);
    ASSERT_EQ(c.messages.size(), 2u);
    EXPECT_EQ(c.messages[0], Bytes({0x80, 0x3C, 0x00}));
    EXPECT_EQ(c.messages[1], Status0);
    EXPECT_GE(c.parser.droppedCount(), 3);
}

TEST(MidiStreamParser, EndlessSysExKeepsMemoryBoundedAndTheNextMessageStillArrives)
{
    Collector c;
    c.feed(Bytes({0xF0}));
    const QByteArray filler(64 * 1024, '\x11');
    for (int i = 0; i < 64; ++i) // 4 MiB without an F7
        c.feed(filler);
    EXPECT_TRUE(c.messages.empty());
    c.feed(Status0);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], Status0);
}

TEST(MidiStreamParser, OneMebibyteSysExIsDroppedWhole)
{
    Collector c;
    QByteArray huge(1024 * 1024, '\x22');
    huge[0] = '\xF0';
    huge.append('\xF7');
    c.feed(huge);
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.parser.droppedCount(), 1);

    // A message of the largest allowed size still passes.
    QByteArray largest(MidiStreamParser::MaxSysExLength - 1, '\x01');
    largest[0] = '\xF0';
    largest.append('\xF7');
    c.feed(largest);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].size(), MidiStreamParser::MaxSysExLength);
}
