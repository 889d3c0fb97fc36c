// The twelve front-panel keys on the wire, and the press that brings the link back.
#include "Bytes.h"
#include "TestSession.h"
#include "device/FrontPanel.h"

#include <gtest/gtest.h>

TEST(FrontPanel, EachButtonSendsItsKeyCodeUnderTheDeviceIdFromTheSettings)
{
    // Button index and the key code the SP expects: the four object keys are reversed.
    const int expected[FrontPanel::KeyCount] = {3, 2, 1, 0, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int id : {127, 16}) {
        OpenSession t;
        t.session->settings.sp.SysExDeviceID = static_cast<int16_t>(id);
        t.backend->reply = ScriptedBackend::StatusReply(0);
        for (int index = 0; index < FrontPanel::KeyCount; ++index) {
            EXPECT_EQ(t.session->frontPanel.Press(index), "0");
            ASSERT_EQ(t.backend->sent.size(), index + 1);
            EXPECT_EQ(t.backend->sent.last(), SpKey(expected[index], id)) << "button " << index << ", device " << id;
        }
    }
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
