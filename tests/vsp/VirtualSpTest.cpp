// The Virtual SP's reading of a message: whom it answers, and with which status.
#include "QtPrinters.h"
#include "vsp/VirtualSp.h"

#include <gtest/gtest.h>

namespace {

QByteArray Message(const QByteArray &body, uint8_t id = 127, const QByteArray &maker = QByteArray("\x00\x00\x1B", 3))
{
    QByteArray m("\xF0", 1);
    m.append(maker);
    m.append("\x02\x05", 2);
    m.append(static_cast<char>(id));
    m.append(body);
    m.append('\xF7');
    return m;
}

QByteArray Status(uint8_t code, uint8_t id = 127)
{
    QByteArray s("\xF0\x00\x00\x1B\x02\x05", 6);
    s.append(static_cast<char>(id));
    s.append('\0');
    s.append(static_cast<char>(code));
    s.append('\xF7');
    return s;
}

using Answers = std::vector<QByteArray>;

} // namespace

TEST(VirtualSp, FrontPanelPressIsAnsweredWithStatusZero)
{
    VirtualSp sp;
    EXPECT_EQ(sp.Receive(Message(QByteArray("\x11\x01\x01\x00", 4))), Answers{Status(0)});
    EXPECT_EQ(sp.lastKeyPressed(), 0);
    EXPECT_EQ(sp.Receive(Message(QByteArray("\x11\x01\x01\x0B", 4))), Answers{Status(0)});
    EXPECT_EQ(sp.lastKeyPressed(), 11);
    EXPECT_EQ(sp.keyPresses(), 2);
}

TEST(VirtualSp, AnswersOnlyItsOwnDeviceIdOr127)
{
    VirtualSp sp(16);
    const QByteArray press("\x11\x01\x01\x03", 4);
    EXPECT_EQ(sp.Receive(Message(press, 16)), Answers{Status(0, 16)});
    EXPECT_EQ(sp.Receive(Message(press, 127)), Answers{Status(0, 16)});
    EXPECT_TRUE(sp.Receive(Message(press, 17)).empty());
    EXPECT_TRUE(sp.Receive(Message(press, 16, QByteArray("\x00\x00\x1C", 3))).empty());
    EXPECT_TRUE(sp.Receive(QByteArray("\x90\x3C\x40", 3)).empty());
    EXPECT_TRUE(sp.Receive(QByteArray()).empty());
}

TEST(VirtualSp, BrokenMessagesGetTheirStatusCodes)
{
    VirtualSp sp;
    QByteArray noEnd = Message(QByteArray("\x11\x01\x01\x00", 4));
    noEnd.chop(1);
    EXPECT_EQ(sp.Receive(noEnd), Answers{Status(2)});
    EXPECT_EQ(sp.Receive(Message(QByteArray())), Answers{Status(2)});
    EXPECT_EQ(sp.Receive(Message(QByteArray("\x11\x01\x01", 3))), Answers{Status(2)});
    EXPECT_EQ(sp.Receive(Message(QByteArray("\x7E\x01", 2))), Answers{Status(1)});
    EXPECT_EQ(sp.Receive(Message(QByteArray("\x11\x01\x01\x0C", 4))), Answers{Status(11)});
    EXPECT_EQ(sp.Receive(Message(QByteArray("\x11\x01\x01\x80", 4))), Answers{Status(3)});
    EXPECT_EQ(sp.keyPresses(), 0);
}
