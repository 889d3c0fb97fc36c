// The Virtual SP as a MIDI backend: delivery through the event loop, the traffic record, the
// injected faults byte for byte, the simulated wire's timing, and the saved memory.
#include "Bytes.h"
#include "QtPrinters.h"
#include "vsp/FactoryBank.h"
#include "vsp/VirtualSpBackend.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using Fault = VirtualSpBackend::Fault;
using Traffic = VirtualSpBackend::Traffic;

namespace {

constexpr qint64 NsPerByte = 320'000; // 10 bits at 31250 baud
constexpr int PatienceMs = 10000;     // only a failing test waits this long

// Opens both ports and keeps every answer the program would receive.
class Harness {
public:
    explicit Harness(const VirtualSpBackend::Options &options = {}) : backend(options)
    {
        backend.openInput(0, nullptr);
        backend.openOutput(0, nullptr);
        QObject::connect(&backend, &MidiBackend::bytesReceived, &receiver,
                         [this](const QByteArray &bytes) { answers.append(bytes); });
    }

    void send(const QByteArray &message)
    {
        QString error;
        ASSERT_TRUE(backend.send(message, &error)) << error.toStdString();
    }

    bool drain()
    {
        return QTest::qWaitFor([this] { return backend.answersPending() == 0; }, PatienceMs);
    }

    VirtualSpBackend backend;
    QObject receiver;
    QList<QByteArray> answers;
};

} // namespace

TEST(VspBackend, AnswersArriveThroughTheEventLoopInOrderAndEveryMessageIsRecordedWhilePortsAreOpen)
{
    Harness h;
    const QByteArray noteOn("\x90\x3C\x40", 3), otherMaker = With(SpKey(2), 4, Bytes({0x1C}));
    const QList<QByteArray> sent = {SpKey(0), SpKey(VirtualSp::FrontPanelKeys), SpKey(3, 16), noteOn, otherMaker,
                                    SpMessage({0x7E, 0x7E})};
    for (const QByteArray &message : sent) // no such key; another device's; a note; another maker's; no such command
        h.send(message);
    EXPECT_TRUE(h.answers.isEmpty()) << "answered inside send()";
    ASSERT_TRUE(h.drain());
    const QList<QByteArray> answers = {SpStatusAnswer(0), SpStatusAnswer(VirtualSp::IllegalValue),
                                       SpStatusAnswer(VirtualSp::UnknownCommand)};
    EXPECT_EQ(h.answers, answers);
    QList<Traffic> traffic;
    for (const QByteArray &message : sent)
        traffic.append({Traffic::In, message});
    for (const QByteArray &answer : answers)
        traffic.append({Traffic::Out, answer});
    EXPECT_EQ(h.backend.traffic(), traffic);
    EXPECT_FALSE(h.backend.wireTiming());
    EXPECT_EQ(h.backend.simulatedWireNanoseconds(), 0) << "no wire time counted unless asked for";

    // A closed input hears nothing, but the output must be open.
    h.answers.clear();
    h.backend.closeInput();
    h.send(SpKey(1));
    ASSERT_TRUE(h.drain());
    EXPECT_TRUE(h.answers.isEmpty());
    h.backend.closeOutput();
    QString error;
    EXPECT_FALSE(h.backend.send(SpKey(1), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(h.backend.device().keyPresses(), 2) << "keys 0 and 1, and none after the output closed";
}

TEST(VspBackend, EachFaultChangesOneAnswerAsItSays)
{
    const QByteArray header("\xF0\x00\x00\x1B\x02\x05\x7F", 7);
    const struct { const char *name; Fault fault; QList<QByteArray> answers; int pressesCarriedOut; } cases[] = {
        {"none", {Fault::None, 0}, {SpStatusAnswer(0)}, 1},
        {"no answer", {Fault::NoAnswer, 0}, {}, 1},
        {"busy", {Fault::Busy, 0}, {SpStatusAnswer(VirtualSp::Busy)}, 0},
        {"status 6", {Fault::Status, 6}, {SpStatusAnswer(6)}, 0},
        {"truncate to 8", {Fault::Truncate, 8}, {header + '\xF7'}, 1},
        {"truncate to 1", {Fault::Truncate, 1}, {QByteArray("\xF7", 1)}, 1},
        {"truncate past the end", {Fault::Truncate, 50}, {SpStatusAnswer(0)}, 1},
        {"corrupt the last data byte", {Fault::Corrupt, 0}, {header + QByteArray("\x00\x40\xF7", 3)}, 1},
        {"corrupt byte 7", {Fault::Corrupt, 7}, {header + QByteArray("\x40\x00\xF7", 3)}, 1},
        {"corrupt past the end", {Fault::Corrupt, 99}, {header + QByteArray("\x00\x40\xF7", 3)}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.backend.injectFault(c.fault);
        h.send(SpKey(5));
        ASSERT_TRUE(h.drain());
        EXPECT_EQ(h.answers, c.answers);
        EXPECT_EQ(h.backend.device().keyPresses(), c.pressesCarriedOut);

        // The fault was for that request only.
        h.answers.clear();
        h.send(SpKey(6));
        ASSERT_TRUE(h.drain());
        EXPECT_EQ(h.answers, QList<QByteArray>{SpStatusAnswer(0)});
    }
}

TEST(VspBackend, DelayedAnswerComesNoSoonerAndKeepsItsPlace)
{
    Harness h;
    constexpr int DelayMs = 40;
    QElapsedTimer timer;
    timer.start();
    h.backend.injectFault({Fault::Delay, DelayMs});
    h.send(SpKey(1));
    h.send(SpKey(VirtualSp::FrontPanelKeys)); // undelayed, but must not overtake
    QObject::connect(&h.backend, &MidiBackend::bytesReceived, &h.receiver, [&](const QByteArray &) {
        EXPECT_GE(timer.elapsed(), DelayMs);
    });
    ASSERT_TRUE(h.drain());
    EXPECT_EQ(h.answers, (QList<QByteArray>{SpStatusAnswer(0), SpStatusAnswer(VirtualSp::IllegalValue)}));
}

TEST(VspBackend, FaultPlanChoosesByRequestAndBusyNeedsAnAddressee)
{
    Harness h;
    h.backend.setFaultPlan([](const QByteArray &request) {
        return request == SpKey(5) || request == SpKey(5, 16) ? Fault{Fault::Busy, 0} : Fault{};
    });
    h.send(SpKey(4));
    h.send(SpKey(5));
    h.send(SpKey(5, 16)); // not ours: a busy SP says nothing to it either
    h.send(SpKey(6));
    ASSERT_TRUE(h.drain());
    EXPECT_EQ(h.answers, (QList<QByteArray>{SpStatusAnswer(0), SpStatusAnswer(VirtualSp::Busy), SpStatusAnswer(0)}));

    // A queued fault goes before the plan.
    h.answers.clear();
    h.backend.injectFault({Fault::Status, 11});
    h.send(SpKey(5));
    h.send(SpKey(5));
    ASSERT_TRUE(h.drain());
    EXPECT_EQ(h.answers, (QList<QByteArray>{SpStatusAnswer(11), SpStatusAnswer(VirtualSp::Busy)}));
}

// Each answer waits for its request and itself to cross the wire, and requests wait for answers.
TEST(VspBackend, TimedRequestsShareTheWireWithAnswers)
{
    Harness h({.wireTiming = true});
    constexpr int DelayMs = 5;
    const qint64 oneExchangeNs = (SpKey(0).size() + SpStatusAnswer(0).size()) * NsPerByte;

    QElapsedTimer timer;
    timer.start();
    const qint64 sentAt = h.backend.clockNanoseconds();
    h.send(SpKey(0));
    EXPECT_EQ(h.backend.simulatedWireNanoseconds(), oneExchangeNs) << "the request and its answer";
    EXPECT_GE(h.backend.lastAnswerDueNanoseconds() - sentAt, oneExchangeNs);
    EXPECT_TRUE(h.answers.isEmpty());
    h.backend.injectFault({Fault::Delay, DelayMs});
    h.send(SpKey(1)); // goes out only after the first answer
    const qint64 dueNs = h.backend.lastAnswerDueNanoseconds() - sentAt;
    EXPECT_GE(dueNs, 2 * oneExchangeNs + DelayMs * 1'000'000LL);
    EXPECT_EQ(h.backend.simulatedWireNanoseconds(), 2 * oneExchangeNs);

    QList<qint64> arrivals;
    QObject::connect(&h.backend, &MidiBackend::bytesReceived, &h.receiver,
                     [&](const QByteArray &) { arrivals.append(timer.nsecsElapsed()); });
    ASSERT_TRUE(h.drain());
    ASSERT_EQ(arrivals.size(), 2);
    EXPECT_GE(arrivals[0], oneExchangeNs);
    EXPECT_GE(arrivals[1], dueNs);
}

TEST(VspBackend, DefaultBackendHoldsTheFactoryBankAndSavesNothingButUserOptionsKeepBoth)
{
    VirtualSpBackend backend;
    EXPECT_EQ(backend.device().memory(), Vsp::FactoryBank());
    EXPECT_FALSE(backend.device().onChanged);
    EXPECT_FALSE(backend.device().loadBank);
    EXPECT_TRUE(backend.startupWarning().isEmpty());

    const VirtualSpBackend::Options options = VirtualSpBackend::UserOptions();
    EXPECT_TRUE(options.memoryFile.endsWith(QStringLiteral("/virtual-sp-memory.json")));
    EXPECT_EQ(options.diskRoot, QFileInfo(options.memoryFile).path() + QStringLiteral("/disks"));
    EXPECT_FALSE(options.wireTiming);
}

TEST(VspBackend, MemoryFileIsSavedAfterAChangeAndLoadedByTheNextBackendIfItCan)
{
    const Vsp::SpMemory factory = Vsp::FactoryBank();
    const int tone = factory.of(Vsp::Tone).begin()->first;
    QTemporaryDir dir;
    const VirtualSpBackend::Options options{.memoryFile = dir.filePath(QStringLiteral("memory/vsp.json"))};
    {
        Harness h(options);
        EXPECT_EQ(h.backend.device().memory(), factory);
        h.send(SpKey(3));
        ASSERT_TRUE(h.drain());
        EXPECT_FALSE(QFileInfo::exists(options.memoryFile)) << "a key press changes no memory";

        h.send(SpMessage(Bytes({0x03, 0x01, 0x00, 0x00, 0x00, 0x02}) + Nibbles(tone, 4))); // delete the Tone
        ASSERT_TRUE(h.drain());
        EXPECT_EQ(h.answers.last(), SpStatusAnswer(0));
        EXPECT_EQ(h.backend.device().memory().find(Vsp::Tone, tone), nullptr);
        EXPECT_TRUE(QFileInfo::exists(options.memoryFile));
    }
    VirtualSpBackend next(options);
    EXPECT_TRUE(next.startupWarning().isEmpty()) << next.startupWarning().toStdString();
    EXPECT_EQ(next.device().memory().find(Vsp::Tone, tone), nullptr);
    EXPECT_EQ(next.device().memory().of(Vsp::Tone).size(), factory.of(Vsp::Tone).size() - 1);
    EXPECT_EQ(next.device().memory().of(Vsp::Wave), factory.of(Vsp::Wave));

    // One it cannot read is warned of, and the factory bank is used.
    ASSERT_TRUE(WriteBytes(options.memoryFile, "{ not a memory"));
    VirtualSpBackend unreadable(options);
    EXPECT_FALSE(unreadable.startupWarning().isEmpty());
    EXPECT_EQ(unreadable.device().memory(), factory);
}

// Shipped banks are written at the first bank load, not at the start.
TEST(VspBackend, DiskRootLetsTheSpLoadBanksAndShippedOnesAreWrittenAtTheFirstLoad)
{
    QTemporaryDir dir;
    const VirtualSpBackend::Options options{.diskRoot = dir.filePath(QStringLiteral("disks")), .shipBanks = true};
    Harness h(options);
    EXPECT_FALSE(QFileInfo::exists(options.diskRoot)) << "nothing written before a bank is loaded";
    h.send(SpMessage({0x30, 0x01, 0, 0, 0, 3, 7, 15, 0, 0, 0, 1})); // floppy bank 1
    ASSERT_TRUE(h.drain());
    EXPECT_EQ(h.answers, QList<QByteArray>{SpStatusAnswer(0)});
    EXPECT_EQ(h.backend.device().memory().of(Vsp::Tone), Vsp::DemoBank(1).of(Vsp::Tone));
}
