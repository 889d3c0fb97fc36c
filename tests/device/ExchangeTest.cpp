// One request, one answer: how the program waits for the SP, decodes its status codes and
// copes with answers that never come, come short, come twice or come in pieces.
#include "Bytes.h"
#include "TestSession.h"
#include "device/FrontPanel.h"
#include "device/StatusCodes.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QByteArray KeyPress = FrontPanel::KeyMessage(127, 0);

QByteArray Data(int marker)
{
    return SpMessage({0x01, marker, 0x01, 0x02, 0x03});
}

} // namespace

TEST(Exchange, EveryStatusCodeShowsItsMessageUnderSpErrorAndReturnsTheCode)
{
    const QStringList expected = {"", // OK: nothing to say
        "Unrecognised SP message", "Truncated SP message", "Error in SP message string",
        "Specified SP data object is empty/nonexistent", "Specified SP data object number is out of range",
        "Insufficient SP memory to perform this operation", "Unrecognised SP data object dump format code",
        "Illegal SP request", "SP device is busy", "Requested SP operation failed",
        "SP illegal data value encountered", "Unknown SP Error"};
    for (int code = 0; code <= 12; ++code) {
        OpenSession t;
        t.backend->reply = ScriptedBackend::StatusReply(code);
        EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), QByteArray::number(code));
        EXPECT_EQ(t.backend->sent, QList<QByteArray>{KeyPress});
        if (code == 0) {
            EXPECT_TRUE(t.notifier.messages.isEmpty());
            continue;
        }
        EXPECT_EQ(t.notifier.shown(), QStringList{"SP Error: " + expected[code]}) << code;
        EXPECT_EQ(t.notifier.messages.value(0).icon, Notifier::Icon::Critical);
        EXPECT_FALSE(t.session->exchange.busy()) << "flags cleared after code " << code;
        EXPECT_FALSE(t.session->exchange.inLed());
        EXPECT_FALSE(t.session->exchange.outLed());
    }
    EXPECT_EQ(SpStatus::SPErrorText(127), "Unknown SP Error");
}

TEST(Exchange, NoAnswerTimesOutDropsTheLinkAndReturns65)
{
    OpenSession t;
    t.shortTimeouts();
    QSignalSpy changes(&t.session->link, &LinkState::statusChanged);
    t.session->link.setStatus(LinkState::Online);
    QSignalSpy failing(&t.session->wait, &ResponseWait::failing);

    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    EXPECT_EQ(t.notifier.shown(), QStringList{": The specified SP Device is not responding"});
    EXPECT_EQ(t.session->link.SPStatus(), LinkState::Offline);
    EXPECT_FALSE(t.session->exchange.busy());
    EXPECT_EQ(failing.count(), 1);

    // A data request that times out gets the same short text, never mistaken for data; and a
    // time-out while offline leaves the link alone.
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), "65");
    EXPECT_EQ(changes.count(), 2);
}

TEST(Exchange, ShortStatusTakesTheErrorPathAndIsNotTakenByTheNextWait)
{
    OpenSession t;
    int calls = 0;
    t.backend->reply = [&calls](const QByteArray &) {
        return QList<QByteArray>{++calls == 1 ? QByteArray("\xF0\x00\x00\x1B\x02\x05\x7F\xF7", 8)
                                              : ScriptedBackend::Status(0)};
    };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "");
    EXPECT_EQ(t.notifier.shown(), QStringList{"GetSpResponse(): SP response error"});
    EXPECT_FALSE(t.session->exchange.busy());

    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "0");
    EXPECT_EQ(t.notifier.messages.size(), 1);
}

TEST(Exchange, OneRequestTakesOneAnswerAndLeavesNothingForTheNext)
{
    OpenSession t;
    int calls = 0;
    t.backend->reply = [&calls](const QByteArray &) {
        return ++calls == 1 ? QList<QByteArray>{Data(1) + Data(2)} : QList<QByteArray>{Data(3)};
    };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), Data(1));
    EXPECT_FALSE(t.session->exchange.hasResponse()) << "the second message answers nothing";
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), Data(3));
}

TEST(Exchange, SysExNobodyAskedForNeverBlocksAndTheNextRequestStillGoesOut)
{
    OpenSession t;
    ExchangeState &ex = t.session->exchange;
    QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
    t.backend->deliver(ScriptedBackend::Status(0) + Data(4) + Bytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0xF7}));
    ASSERT_TRUE(arrived.wait(5000));
    EXPECT_FALSE(ex.busy());
    EXPECT_FALSE(ex.hasResponse());
    EXPECT_FALSE(ex.inLed());
    EXPECT_EQ(ex.strayCount(), 3);

    t.backend->reply = ScriptedBackend::StatusReply(5);
    EXPECT_EQ(t.session->frontPanel.Press(2), "5") << "the press went out and got its own answer";
    EXPECT_EQ(t.backend->sent.size(), 1);
}

TEST(Exchange, OnlyAMessageInTheSpFrameCanAnswerWhateverItsDeviceId)
{
    OpenSession t;
    // Another maker's SysEx, a universal identity reply, a message cut short before its
    // header is complete, then the SP's answer under device ID 16. Each would read as an error
    // code if it were taken for the status.
    const QList<QByteArray> chain = {
        Bytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x05, 0x41, 0xF7}),
        Bytes({0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x00, 0x00, 0x1B, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xF7}),
        Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0xF7}),
        Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x10, 0x00, 0x00, 0xF7}),
    };
    t.backend->reply = [chain](const QByteArray &) { return chain; };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "0");
    EXPECT_TRUE(t.notifier.messages.isEmpty());
}

TEST(Exchange, AnAnswerThatComesAfterItsTimeOutNeverAnswersALaterRequest)
{
    OpenSession t;
    t.shortTimeouts();
    const QByteArray tonePresses = FrontPanel::KeyMessage(127, 5);
    // The first request goes unanswered. When the program next talks to the SP, the late
    // answer arrives first, then the answers to what it asks now, in order.
    QList<QByteArray> late = {Data(1)};
    t.backend->reply = [&](const QByteArray &sent) {
        if (sent == KeyPress)
            return QList<QByteArray>{};
        if (sent == ResponseWait::ResyncRequest(127, 0))
            return late + QList<QByteArray>{ScriptedBackend::DirectoryStatus(0)};
        return QList<QByteArray>{Data(2)};
    };
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), "65");
    EXPECT_TRUE(t.session->exchange.resyncNeeded());

    EXPECT_EQ(t.exchange(tonePresses, ResponseWait::DataResponse), Data(2)) << "the retry gets its own answer";
    EXPECT_EQ(t.backend->sent, (QList<QByteArray>{KeyPress, ResponseWait::ResyncRequest(127, 0), tonePresses}));
    EXPECT_FALSE(t.session->exchange.resyncNeeded());
    EXPECT_EQ(t.notifier.messages.size(), 1) << "only the time-out was reported";

    // Once in step, requests go out alone again.
    EXPECT_EQ(t.exchange(tonePresses, ResponseWait::DataResponse), Data(2));
    EXPECT_EQ(t.backend->sent.size(), 4);
}

TEST(Exchange, WhileTheSpStaysSilentNothingButTheResyncRequestGoesOut)
{
    OpenSession t;
    t.shortTimeouts();
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    EXPECT_EQ(t.notifier.messages.size(), 2) << "one time-out each, not two for the second";
    ASSERT_EQ(t.backend->sent.size(), 2);
    EXPECT_EQ(t.backend->sent[1], ResponseWait::ResyncRequest(127, 0));
    EXPECT_FALSE(t.session->exchange.busy());

    // The next try asks a different kind, so the late answer to the first cannot pass for it.
    EXPECT_EQ(t.exchange(KeyPress, ResponseWait::StatusResponse), "65");
    EXPECT_EQ(t.backend->sent.value(2), ResponseWait::ResyncRequest(127, 1));
}

TEST(Exchange, ResyncAsksForAKindWhoseAnswerNoGivenUpRequestCanHave)
{
    const auto probe = [](int kind) { return ResponseWait::ResyncRequest(127, kind); };
    EXPECT_EQ(ResponseWait::ResyncRequest(127, 3), Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x01, 0x01, 0x03, 0xF7}));
    EXPECT_EQ(ResponseWait::ResyncKind({}, 127), 0);
    EXPECT_EQ(ResponseWait::ResyncKind({KeyPress}, 127), 0);
    EXPECT_EQ(ResponseWait::ResyncKind({probe(0)}, 127), 1);
    EXPECT_EQ(ResponseWait::ResyncKind({probe(0), probe(2), probe(1)}, 127), 3);
    EXPECT_EQ(ResponseWait::ResyncKind({probe(0), probe(1), probe(2), probe(3), probe(4)}, 127), 0);
}

TEST(Exchange, AnswerSplitAcrossCallbacksAndMixedWithClockAndSensingArrivesWhole)
{
    for (int piece : {1, 3, 5}) {
        OpenSession t;
        t.backend->pieceSize = piece;
        QByteArray noisy = Data(7);
        noisy.insert(3, '\xF8');
        noisy.insert(8, '\xFE');
        noisy.prepend('\xF8');
        t.backend->reply = [noisy](const QByteArray &) { return QList<QByteArray>{noisy}; };
        EXPECT_EQ(t.exchange(KeyPress, ResponseWait::DataResponse), Data(7)) << "piece " << piece;
    }
}

TEST(Exchange, FlagsAndLightsFollowTheExchangeAndWaitingForeverEndsWithAnySysEx)
{
    OpenSession t;
    ExchangeState &ex = t.session->exchange;
    t.session->comms.MidiOutLongMsg(KeyPress);
    EXPECT_TRUE(ex.AwaitingResponse());
    EXPECT_TRUE(ex.outLed());
    t.backend->deliver(Data(3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ex.hasResponse(); }));
    EXPECT_FALSE(ex.AwaitingResponse());
    EXPECT_FALSE(ex.outLed());
    EXPECT_TRUE(ex.ResponseArrived());
    EXPECT_TRUE(ex.inLed());
    // Byte 9 of this answer is 3: whatever arrives is decoded as the status.
    EXPECT_EQ(t.session->wait.GetSpResponse(ResponseWait::Forever, ResponseWait::StatusResponse), "3");
    EXPECT_EQ(t.notifier.texts(), QStringList{"Error in SP message string"});
}

TEST(MidiThru, ShortMessagesAreForwardedUnchangedOnlyWhenOn)
{
    OpenSession t;
    ExchangeState &ex = t.session->exchange;
    QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
    t.backend->deliver(QByteArray("\x90\x3C\x64", 3));
    ASSERT_TRUE(arrived.wait(5000));
    EXPECT_TRUE(t.backend->sent.isEmpty()) << "Thru is off";
    EXPECT_FALSE(ex.inLed());

    t.session->settings.ports.MidiThru = 1;
    t.backend->deliver(QByteArray("\xC1\x05", 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.backend->sent.size() == 1; }));
    EXPECT_EQ(t.backend->sent[0], QByteArray("\xC1\x05", 2));
    EXPECT_TRUE(ex.outLed());
    EXPECT_FALSE(ex.AwaitingResponse()) << "forwarding lights the LED without the flag";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ex.outLed(); }, 5000)) << "output LED goes off after the last one";
}

TEST(MidiThru, EveryStatusClassIsForwardedAsItCameWithRunningStatus)
{
    // What came in, and the messages Thru must send out for it, one row per status class.
    const struct { const char *what; QByteArray in; QList<QByteArray> out; } rows[] = {
        {"note off, running", Bytes({0x81, 0x3C, 0x00, 0x3E, 0x00}), {Bytes({0x81, 0x3C, 0x00}), Bytes({0x81, 0x3E, 0x00})}},
        {"note on, running", Bytes({0x92, 0x3C, 0x64, 0x40, 0x50}), {Bytes({0x92, 0x3C, 0x64}), Bytes({0x92, 0x40, 0x50})}},
        {"poly pressure", Bytes({0xA0, 0x3C, 0x10}), {Bytes({0xA0, 0x3C, 0x10})}},
        {"controller, running", Bytes({0xB3, 0x07, 0x64, 0x0A, 0x40}), {Bytes({0xB3, 0x07, 0x64}), Bytes({0xB3, 0x0A, 0x40})}},
        {"program change, running", Bytes({0xC4, 0x05, 0x06, 0x07}),
         {Bytes({0xC4, 0x05}), Bytes({0xC4, 0x06}), Bytes({0xC4, 0x07})}},
        {"channel pressure, running", Bytes({0xD5, 0x20, 0x30}), {Bytes({0xD5, 0x20}), Bytes({0xD5, 0x30})}},
        {"pitch bend, running", Bytes({0xE6, 0x00, 0x40, 0x7F, 0x7F}), {Bytes({0xE6, 0x00, 0x40}), Bytes({0xE6, 0x7F, 0x7F})}},
        {"time code quarter frame", Bytes({0xF1, 0x23}), {Bytes({0xF1, 0x23})}},
        {"song position", Bytes({0xF2, 0x10, 0x02}), {Bytes({0xF2, 0x10, 0x02})}},
        {"song select", Bytes({0xF3, 0x04}), {Bytes({0xF3, 0x04})}},
        {"tune request", Bytes({0xF6}), {Bytes({0xF6})}},
        {"system common ends running status", Bytes({0x90, 0x3C, 0x64, 0xF6, 0x3E, 0x64}), {Bytes({0x90, 0x3C, 0x64}), Bytes({0xF6})}},
        {"SysEx ends running status", Bytes({0xC0, 0x01, 0xF0, 0x41, 0xF7, 0x02}), {Bytes({0xC0, 0x01})}},
        {"start and stop pass, clock, F9 and sensing do not", Bytes({0xFA, 0xF8, 0xF9, 0xFE, 0xFC}), {Bytes({0xFA}), Bytes({0xFC})}},
        {"clock inside a running message", Bytes({0x90, 0x3C, 0xF8, 0x64}), {Bytes({0x90, 0x3C, 0x64})}},
    };
    for (const auto &row : rows) {
        OpenSession t;
        t.session->settings.ports.MidiThru = 1;
        QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
        // A last note marks the end: everything before it has been handled once it is out.
        t.backend->deliver(row.in + Bytes({0x8F, 0x01, 0x02}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !t.backend->sent.isEmpty() && t.backend->sent.last() == Bytes({0x8F, 0x01, 0x02}); }))
            << row.what;
        t.backend->sent.removeLast();
        EXPECT_EQ(t.backend->sent, row.out) << row.what;
    }
}

// Short messages as they came, without the parser's padding; clock, F9 and sensing never reach
// the program.
TEST(MidiTrace, EveryMessageInAndOutIsOneHexLine)
{
    OpenSession t;
    t.backend->reply = ScriptedBackend::StatusReply(0);
    t.exchange(KeyPress, ResponseWait::StatusResponse);
    QSignalSpy arrived(&t.session->comms.input(), &MidiInput::messagesArrived);
    t.backend->deliver(QByteArray("\xC1\x05\xF8\xF9\xFE\x90\x3C\x40", 8));
    ASSERT_TRUE(arrived.wait(5000));
    QFile trace(t.dir.filePath(QStringLiteral("trace.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll(), "OUT F0 00 00 1B 02 05 7F 11 01 01 00 F7\n"
                          "IN F0 00 00 1B 02 05 7F 00 00 F7\n"
                          "IN C1 05\nIN 90 3C 40\n");
}

TEST(PortErrors, DriverErrorsShowTheirTextExceptCodesZeroAndEight)
{
    OpenSession t;
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
    OpenSession t;
    // A keyboard's note comes in during the wait, which clears the busy flags; the user
    // presses another key then. Only after that does the SP answer.
    t.backend->reply = [&t](const QByteArray &) {
        t.backend->deliver(QByteArray("\x90\x3C\x40", 3));
        return QList<QByteArray>{};
    };
    QSignalSpy refused(&t.session->exchange, &ExchangeState::refusedWhileBusy);
    QByteArray nested = "not tried";
    qsizetype sentDuringWait = -1;
    QObject::connect(&t.session->comms.input(), &MidiInput::messagesArrived, t.backend, [&] {
        if (nested != "not tried")
            return;
        nested = t.session->frontPanel.Press(5);
        sentDuringWait = t.backend->sent.size();
        t.backend->deliver(ScriptedBackend::Status(0));
    });
    EXPECT_EQ(t.session->frontPanel.Press(3), "0");
    EXPECT_EQ(nested, "") << "the second press must not go out";
    EXPECT_EQ(sentDuringWait, 1);
    EXPECT_EQ(refused.count(), 1) << "and the refusal is told";
}

