// The twelve front-panel keys on the wire, and the press that brings the link back.
#include "TestSession.h"
#include "device/FrontPanel.h"

#include <gtest/gtest.h>

TEST(FrontPanel, EachButtonSendsItsKeyCode)
{
    // Button index and the key code the SP expects: the four object keys are reversed.
    const int expected[FrontPanel::KeyCount] = {3, 2, 1, 0, 4, 5, 6, 7, 8, 9, 10, 11};
    OpenSession t;
    t.backend->reply = ScriptedBackend::StatusReply(0);
    for (int index = 0; index < FrontPanel::KeyCount; ++index) {
        EXPECT_EQ(t.session->frontPanel.Press(index), "0");
        QByteArray wire("\xF0\x00\x00\x1B\x02\x05\x7F\x11\x01\x01", 10);
        wire.append(static_cast<char>(expected[index]));
        wire.append('\xF7');
        ASSERT_EQ(t.backend->sent.size(), index + 1);
        EXPECT_EQ(t.backend->sent.last(), wire) << "button " << index;
    }
}

TEST(FrontPanel, DeviceIdFromTheSettingsIsSent)
{
    OpenSession t;
    t.session->settings.sp.SysExDeviceID = 16;
    t.backend->reply = ScriptedBackend::StatusReply(0);
    t.session->frontPanel.Press(0);
    ASSERT_EQ(t.backend->sent.size(), 1);
    EXPECT_EQ(static_cast<uint8_t>(t.backend->sent[0].at(6)), 16);
}

TEST(FrontPanel, PressWhileAnExchangeIsOutstandingSendsNothing)
{
    OpenSession t;
    t.session->exchange.setAwaitingResponse(true);
    EXPECT_EQ(t.session->frontPanel.Press(3), "");
    t.session->exchange.setAwaitingResponse(false);
    t.session->exchange.setResponseArrived(true);
    EXPECT_EQ(t.session->frontPanel.Press(3), "");
    EXPECT_TRUE(t.backend->sent.isEmpty());
}

TEST(FrontPanel, AnsweredPressBringsTheLinkOnlineAndAnErrorDoesNot)
{
    OpenSession t;
    t.backend->reply = ScriptedBackend::StatusReply(9);
    t.session->frontPanel.Press(5);
    EXPECT_EQ(t.session->link.SPStatus(), LinkState::Offline);
    EXPECT_EQ(t.notifier.texts(), QStringList{"SP device is busy"});

    t.backend->reply = ScriptedBackend::StatusReply(0);
    t.session->frontPanel.Press(5);
    EXPECT_EQ(t.session->link.SPStatus(), LinkState::Online);
    EXPECT_FALSE(t.session->exchange.busy());
    EXPECT_FALSE(t.session->exchange.inLed());
}

TEST(FrontPanel, ExecWaitsBeyondTheOrdinaryTimeOut)
{
    OpenSession t;
    t.shortTimeouts();
    // The scripted device answers Exec only after several ordinary time-outs would have passed.
    t.backend->reply = [&t](const QByteArray &) {
        QTimer::singleShot(TestSession::ShortTimeoutMs * 4, t.backend, [&t] { t.backend->deliver(ScriptedBackend::Status(0)); });
        return QList<QByteArray>{};
    };
    EXPECT_EQ(t.session->frontPanel.Press(FrontPanel::ExecKey), "0");
    EXPECT_TRUE(t.notifier.messages.isEmpty());
}
