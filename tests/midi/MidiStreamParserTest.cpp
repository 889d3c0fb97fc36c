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

const QByteArray Status0 = SpStatusAnswer(0);

} // namespace

// Filtered ones vanish without breaking the SysEx around them; the others arrive padded to
// three bytes, in order.
TEST(MidiStreamParser, RealTimeBytesInsideSysExAreFilteredOrPassedWithoutBreakingIt)
{
    Collector c;
    c.feed(Bytes({0xF0, 0x00, 0xF8, 0x00, 0x1B, 0xFE, 0x02, 0x05, 0xF9, 0x7F, 0x00, 0x00, 0xF8, 0xF7}));
    EXPECT_EQ(c.messages, std::vector<QByteArray>{Status0});

    c.messages.clear();
    c.parser.setFiltered(0xF8, false);
    c.feed(Bytes({0xF0, 0x01, 0xF8, 0x02, 0xF7, 0xFA}));
    EXPECT_EQ(c.messages, (std::vector<QByteArray>{Bytes({0xF8, 0, 0}), Bytes({0xF0, 0x01, 0x02, 0xF7}), Bytes({0xFA, 0, 0})}));
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
    EXPECT_EQ(c.messages, (std::vector<QByteArray>{Bytes({0x80, 0x3C, 0x00}), Status0}));
    EXPECT_GE(c.parser.droppedCount(), 3);
}

// A SysEx without an end, or of a mebibyte, keeps memory bounded and is dropped whole; a
// message of the largest allowed size and the next message still arrive.
TEST(MidiStreamParser, EndlessOrHugeSysExIsDroppedWhole)
{
    Collector c;
    c.feed(Bytes({0xF0}));
    const QByteArray filler(64 * 1024, '\x11');
    for (int i = 0; i < 64; ++i) // 4 MiB without an F7
        c.feed(filler);
    EXPECT_TRUE(c.messages.empty());
    c.feed(Status0);
    EXPECT_EQ(c.messages, std::vector<QByteArray>{Status0});

    c.messages.clear();
    const int droppedBefore = c.parser.droppedCount();
    QByteArray huge(1024 * 1024, '\x22');
    huge[0] = '\xF0';
    c.feed(huge + Bytes({0xF7}));
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.parser.droppedCount(), droppedBefore + 1);
    QByteArray largest(MidiStreamParser::MaxSysExLength - 1, '\x01');
    largest[0] = '\xF0';
    c.feed(largest + Bytes({0xF7}));
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].size(), MidiStreamParser::MaxSysExLength);
}
