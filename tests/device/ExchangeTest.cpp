// One request, one answer: how the program waits for the SP, decodes its status codes and
// copes with answers that never come, come short, come twice or come in pieces.
#include "TestSession.h"
#include "device/FrontPanel.h"
#include "device/StatusCodes.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QByteArray KeyPress = FrontPanel::KeyMessage(127, 0);

QByteArray Data(int marker)
{
    QByteArray data("\xF0\x00\x00\x1B\x02\x05\x7F\x01", 8);
    data.append(static_cast<char>(marker));
    data.append("\x01\x02\x03\xF7", 4);
    return data;
}

} // namespace

TEST(Exchange, StatusZeroReturnsZeroAndShowsNothing)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.backend->reply = ScriptedBackend::StatusReply(0);
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "0");
    EXPECT_TRUE(t.notifier.messages.isEmpty());
    ASSERT_EQ(t.backend->sent.size(), 1);
    EXPECT_EQ(t.backend->sent[0], KeyPress);
}

TEST(Exchange, EveryStatusCodeShowsItsMessageUnderSpErrorAndReturnsTheCode)
{
    const QStringList expected = {
        "Unrecognised SP message",
        "Truncated SP message",
        "Error in SP message string",
        "Specified SP data object is empty/nonexistent",
        "Specified SP data object number is out of range",
        "Insufficient SP memory to perform this operation",
        "Unrecognised SP data object dump format code",
        "Illegal SP request",
        "SP device is busy",
        "Requested SP operation failed",
        "SP illegal data value encountered",
        "Unknown SP Error",
    };
    for (int code = 1; code <= 12; ++code) {
        TestSession t;
        ASSERT_TRUE(t.openPorts());
        t.backend->reply = ScriptedBackend::StatusReply(code);
        EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), QByteArray::number(code));
        ASSERT_EQ(t.notifier.messages.size(), 1) << code;
        EXPECT_EQ(t.notifier.messages[0].icon, Notifier::Icon::Critical);
        EXPECT_EQ(t.notifier.messages[0].heading, "SP Error");
        EXPECT_EQ(t.notifier.messages[0].text, expected[code - 1]) << code;
        EXPECT_FALSE(t.session->exchange.busy()) << "flags cleared after code " << code;
        EXPECT_FALSE(t.session->exchange.inLed());
        EXPECT_FALSE(t.session->exchange.outLed());
    }
    EXPECT_EQ(SpStatus::SPErrorText(127), "Unknown SP Error");
}

TEST(Exchange, NoAnswerTimesOutDropsTheLinkAndReturns65)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.session->link.setStatus(LinkState::Online);
    QSignalSpy failing(&t.session->wait, &ResponseWait::failing);

    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    ASSERT_EQ(t.notifier.messages.size(), 1);
    EXPECT_EQ(t.notifier.messages[0].heading, "");
    EXPECT_EQ(t.notifier.messages[0].text, "The specified SP Device is not responding");
    EXPECT_EQ(t.session->link.SPStatus(), LinkState::Offline);
    EXPECT_FALSE(t.session->exchange.busy());
    EXPECT_EQ(failing.count(), 1);

    // A data request that times out gets the same short text, never mistaken for data.
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), "65");
}

TEST(Exchange, TimeOutWhileOfflineLeavesTheLinkAlone)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    QSignalSpy changes(&t.session->link, &LinkState::statusChanged);
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    EXPECT_EQ(changes.count(), 0);
}

TEST(Exchange, ShortStatusTakesTheErrorPathAndIsNotTakenByTheNextWait)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    int calls = 0;
    t.backend->reply = [&calls](const QByteArray &) {
        return QList<QByteArray>{++calls == 1 ? QByteArray("\xF0\x00\x00\x1B\x02\xF7", 6) : ScriptedBackend::Status(0)};
    };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "");
    ASSERT_EQ(t.notifier.messages.size(), 1);
    EXPECT_EQ(t.notifier.messages[0].heading, "GetSpResponse()");
    EXPECT_EQ(t.notifier.messages[0].text, "SP response error");
    EXPECT_FALSE(t.session->exchange.busy());

    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "0");
    EXPECT_EQ(t.notifier.messages.size(), 1);
}

TEST(Exchange, SecondSysExArrivingBeforeTheFirstIsConsumedIsKeptInOrder)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.backend->reply = [](const QByteArray &) { return QList<QByteArray>{Data(1) + Data(2)}; };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), Data(1));
    // The second is already waiting: the next wait takes it without asking again.
    EXPECT_EQ(t.session->wait.GetSpResponse(5000, ResponseWait::DataResponse), Data(2));
    EXPECT_EQ(t.backend->sent.size(), 1);
}

TEST(Exchange, AnswerSplitAcrossCallbacksAndMixedWithClockAndSensingArrivesWhole)
{
    for (int piece : {1, 3, 5}) {
        TestSession t;
        ASSERT_TRUE(t.openPorts());
        t.backend->pieceSize = piece;
        QByteArray noisy = Data(7);
        noisy.insert(3, '\xF8');
        noisy.insert(8, '\xFE');
        noisy.prepend('\xF8');
        t.backend->reply = [noisy](const QByteArray &) { return QList<QByteArray>{noisy}; };
        EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), Data(7)) << "piece " << piece;
    }
}

TEST(Exchange, GarbageFromTheDeviceNeverCrashesAndEndsInATimeOut)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    QByteArray endless("\xF0", 1);
    endless.append(QByteArray(1024 * 1024, '\x33'));
    t.backend->reply = [endless](const QByteArray &) { return QList<QByteArray>{endless}; };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
}

TEST(Exchange, WaitingForeverEndsWithAnySysEx)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.session->comms.MidiOutLongMsg(KeyPress);
    t.backend->deliver(Data(3));
    // Byte 9 of this answer is 3: whatever arrives is decoded as the status.
    EXPECT_EQ(t.session->wait.GetSpResponse(ResponseWait::Forever, ResponseWait::StatusResponse), "3");
    ASSERT_EQ(t.notifier.messages.size(), 1);
    EXPECT_EQ(t.notifier.messages[0].text, "Error in SP message string");
}

TEST(Exchange, FlagsAndLightsFollowTheExchange)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    ExchangeState &ex = t.session->exchange;
    t.session->comms.MidiOutLongMsg(KeyPress);
    EXPECT_TRUE(ex.AwaitingResponse());
    EXPECT_TRUE(ex.outLed());
    t.backend->deliver(ScriptedBackend::Status(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ex.hasResponse(); }));
    EXPECT_FALSE(ex.AwaitingResponse());
    EXPECT_FALSE(ex.outLed());
    EXPECT_TRUE(ex.ResponseArrived());
    EXPECT_TRUE(ex.inLed());
}

TEST(Exchange, SendFailureIsReportedAndNoticedAsATimeOut)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.backend->failSend = true;
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    ASSERT_EQ(t.notifier.messages.size(), 2);
    EXPECT_EQ(t.notifier.messages[0].heading, "MidiOutLongMsg()");
    EXPECT_EQ(t.notifier.messages[0].text, "Error transmitting MIDI data to SP");
}

TEST(MidiThru, ShortMessagesAreForwardedUnchangedOnlyWhenOn)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    ExchangeState &ex = t.session->exchange;

    QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
    t.session->settings.ports.MidiThru = 0;
    t.backend->deliver(QByteArray("\x90\x3C\x64", 3));
    ASSERT_TRUE(arrived.wait(5000));
    EXPECT_TRUE(t.backend->sent.isEmpty());
    EXPECT_FALSE(ex.inLed());

    t.session->settings.ports.MidiThru = 1;
    t.backend->deliver(QByteArray("\x90\x3C\x64\xC1\x05", 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.backend->sent.size() == 2; }));
    EXPECT_EQ(t.backend->sent[0], QByteArray("\x90\x3C\x64", 3));
    EXPECT_EQ(t.backend->sent[1], QByteArray("\xC1\x05", 2));
    EXPECT_TRUE(ex.outLed());
    EXPECT_FALSE(ex.AwaitingResponse()) << "forwarding lights the LED without the flag";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ex.outLed(); }, 5000)) << "output LED goes off after the last one";
}

TEST(MidiThru, ClockSensingAndF9NeverReachTheProgram)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.session->settings.ports.MidiThru = 1;
    QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
    t.backend->deliver(QByteArray("\xF8\xF9\xFE\xF8", 4));
    t.backend->deliver(QByteArray("\x80\x3C\x00", 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.backend->sent.size() == 1; }));
    EXPECT_EQ(arrived.count(), 1);
    EXPECT_EQ(t.backend->sent[0], QByteArray("\x80\x3C\x00", 3));
}

TEST(MidiTrace, EveryMessageInAndOutIsOneHexLine)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    t.backend->reply = ScriptedBackend::StatusReply(0);
    t.exchange(KeyPress, ResponseWait::StatusResponse);
    QFile trace(t.dir.filePath(QStringLiteral("trace.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll(), "OUT F0 00 00 1B 02 05 7F 11 01 01 00 F7\n"
                               "IN F0 00 00 1B 02 05 7F 00 00 F7\n");
}

TEST(PortErrors, DriverErrorsShowTheirTextExceptCodesZeroAndEight)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    emit t.backend->errorOccurred(0, QStringLiteral("nothing"));
    emit t.backend->errorOccurred(8, QStringLiteral("buffer notice"));
    EXPECT_TRUE(t.notifier.messages.isEmpty());
    emit t.backend->errorOccurred(5, QStringLiteral("The MIDI interface was unplugged"));
    ASSERT_EQ(t.notifier.messages.size(), 2) << "the input and the output both report it";
    EXPECT_EQ(t.notifier.messages[0].text, "The MIDI interface was unplugged");
    EXPECT_EQ(t.notifier.messages[0].icon, Notifier::Icon::None);
}

TEST(Exchange, NoSecondExchangeStartsWhileOneIsWaitingEvenWhenANoteArrives)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    // The SP stays silent; a keyboard's note comes in meanwhile, which clears the busy flags.
    t.backend->reply = [&t](const QByteArray &) {
        t.backend->deliver(QByteArray("\x90\x3C\x40", 3));
        return QList<QByteArray>{};
    };
    QByteArray nested = "not tried";
    qsizetype sentDuringWait = -1;
    QTimer::singleShot(TestSession::TimeoutMs / 3, [&] {
        nested = t.session->frontPanel.Press(5);
        sentDuringWait = t.backend->sent.size();
    });
    EXPECT_EQ(t.session->frontPanel.Press(3), "65");
    EXPECT_EQ(nested, "") << "the second press must not go out";
    EXPECT_EQ(sentDuringWait, 1);
}

TEST(MidiTrace, ShortMessagesAreTracedAsTheyCameWithoutPadding)
{
    TestSession t;
    ASSERT_TRUE(t.openPorts());
    QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
    t.backend->deliver(QByteArray("\xC1\x05\xF8\x90\x3C\x40", 6));
    ASSERT_TRUE(arrived.wait(5000));
    QFile trace(t.dir.filePath(QStringLiteral("trace.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll(), "IN C1 05\nIN 90 3C 40\n");
}
