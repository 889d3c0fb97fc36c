// The pacing of sent messages at the MIDI cable's rate: order, departure times on a clock of the
// test's own, and what happens to waiting messages when a send fails or the port closes.
#include "QtPrinters.h"
#include "midi/MidiWirePacer.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Departure {
    qint64 atNs;
    QByteArray message;
};

QByteArray Message(int number, int length)
{
    QByteArray message(length, static_cast<char>(number & 0x7F));
    message[0] = '\xF0';
    message[length - 1] = '\xF7';
    return message;
}

// A pacer on a clock that moves only when the test moves it, recording what leaves and when.
struct SteppedPacer {
    qint64 now = 0;
    QList<Departure> departures;
    int refuseNumber = -1; // the departure (counted from 0) the MIDI system refuses
    int attempts = 0;
    MidiWirePacer pacer{[this](const QByteArray &message, QString *error) {
                            if (attempts++ == refuseNumber) {
                                *error = QStringLiteral("the port went away");
                                return false;
                            }
                            departures.append({now, message});
                            return true;
                        },
                        [this] { return now; }};

    // Moves the clock to just before the cable is free (nothing may leave), then to the moment
    // it is (exactly one leaves). False when either goes wrong.
    bool stepToNext()
    {
        const qsizetype before = departures.size();
        now = pacer.cableFreeAt() - 1;
        pacer.sendDue();
        if (departures.size() != before)
            return false;
        now = pacer.cableFreeAt();
        pacer.sendDue();
        return departures.size() == before + 1;
    }
};

} // namespace

TEST(MidiWirePacer, TheWireTimeIsTenBitsABitAt31250Baud)
{
    const struct { qint64 bytes, nanoseconds; } cases[] = {
        {1, 320'000}, {12, 3'840'000}, {64, 20'480'000}, {532, 170'240'000}, {262144, 83'886'080'000}};
    for (const auto &c : cases)
        EXPECT_EQ(MidiWirePacer::WireNanoseconds(c.bytes), c.nanoseconds) << c.bytes << " bytes";
}

TEST(MidiWirePacer, ABurstLeavesInOrderEachMessageOnceTheOneBeforeHasLeftTheCable)
{
    const struct { const char *what; std::vector<int> lengths; } bursts[] = {
        {"60 directory answers", std::vector<int>(60, 64)},
        {"dumps of every length", {532, 12, 180, 148, 212, 10, 532}},
    };
    for (const auto &burst : bursts) {
        SCOPED_TRACE(burst.what);
        SteppedPacer stepped;
        stepped.now = 5'000'000'000;
        QList<QByteArray> handed;
        for (size_t i = 0; i < burst.lengths.size(); ++i) {
            handed << Message(static_cast<int>(i), burst.lengths[i]);
            QString error;
            ASSERT_TRUE(stepped.pacer.send(handed.back(), &error));
        }
        // The cable was free: the first left at once, the rest wait.
        ASSERT_EQ(stepped.departures.size(), 1);
        EXPECT_EQ(stepped.departures.front().atNs, 5'000'000'000);
        EXPECT_EQ(stepped.pacer.waiting(), handed.size() - 1);
        while (stepped.pacer.waiting() > 0)
            ASSERT_TRUE(stepped.stepToNext()) << "after " << stepped.departures.size() << " departures";

        ASSERT_EQ(stepped.departures.size(), handed.size());
        for (qsizetype i = 0; i < handed.size(); ++i) {
            EXPECT_EQ(stepped.departures[i].message, handed[i]) << "departure " << i;
            if (i > 0) {
                EXPECT_EQ(stepped.departures[i].atNs - stepped.departures[i - 1].atNs,
                          MidiWirePacer::WireNanoseconds(handed[i - 1].size()))
                    << "departure " << i;
            }
        }
    }
}

TEST(MidiWirePacer, ALateTimerLetsOutOneMessageNotTheWholeBacklogAndClearedOnesNeverLeave)
{
    SteppedPacer stepped;
    QString error;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(stepped.pacer.send(Message(i, 64), &error));
    stepped.now = 10'000'000'000; // the event loop was held up for ten seconds
    stepped.pacer.sendDue();
    ASSERT_EQ(stepped.departures.size(), 2);
    EXPECT_EQ(stepped.departures.back().atNs, 10'000'000'000);
    EXPECT_EQ(stepped.pacer.cableFreeAt(), 10'000'000'000 + MidiWirePacer::WireNanoseconds(64));
    EXPECT_EQ(stepped.pacer.waiting(), 3);

    EXPECT_EQ(stepped.pacer.clear(), 3);
    EXPECT_EQ(stepped.pacer.waiting(), 0);
    stepped.now = 60'000'000'000;
    stepped.pacer.sendDue();
    QTest::qWait(50); // a timer that was armed before the clear has no message left to send
    ASSERT_EQ(stepped.departures.size(), 2);
    ASSERT_TRUE(stepped.pacer.send(Message(9, 64), &error));
    ASSERT_EQ(stepped.departures.size(), 3);
    EXPECT_EQ(stepped.departures.back().message, Message(9, 64));
}

TEST(MidiWirePacer, AMessageForAFreeCableLeavesAtOnceAndItsRefusalComesBackToTheSender)
{
    SteppedPacer stepped;
    stepped.refuseNumber = 0;
    stepped.now = 1'000;
    QString error;
    EXPECT_FALSE(stepped.pacer.send(Message(0, 12), &error));
    EXPECT_EQ(error, QStringLiteral("the port went away"));
    EXPECT_TRUE(stepped.departures.isEmpty());
    EXPECT_EQ(stepped.pacer.waiting(), 0);
    // Nothing went onto the cable, so the next message need not wait.
    EXPECT_TRUE(stepped.pacer.send(Message(1, 12), &error));
    ASSERT_EQ(stepped.departures.size(), 1);
    EXPECT_EQ(stepped.departures.front().atNs, 1'000);
}

TEST(MidiWirePacer, AWaitingMessageRefusedIsReportedAndTakesTheOnesBehindItAlong)
{
    SteppedPacer stepped;
    stepped.refuseNumber = 2;
    QList<std::pair<QString, int>> failures;
    QObject::connect(&stepped.pacer, &MidiWirePacer::failed,
                     [&failures](const QString &error, int dropped) { failures.append({error, dropped}); });
    QString error;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(stepped.pacer.send(Message(i, 20), &error));
    ASSERT_TRUE(stepped.stepToNext());
    stepped.now = stepped.pacer.cableFreeAt();
    stepped.pacer.sendDue();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.front().first, QStringLiteral("the port went away"));
    EXPECT_EQ(failures.front().second, 2);
    EXPECT_EQ(stepped.pacer.waiting(), 0);
    ASSERT_EQ(stepped.departures.size(), 2);
    EXPECT_EQ(stepped.departures[0].message, Message(0, 20));
    EXPECT_EQ(stepped.departures[1].message, Message(1, 20));
}

TEST(MidiWirePacer, ItsOwnTimerSendsTheRestWithoutTheCallerWaiting)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QList<Departure> departures;
    MidiWirePacer pacer(
        [&](const QByteArray &message, QString *) {
            departures.append({elapsed.nsecsElapsed(), message});
            return true;
        },
        [&elapsed] { return elapsed.nsecsElapsed(); });
    QList<QByteArray> handed;
    QString error;
    for (int i = 0; i < 10; ++i) {
        handed << Message(i, 64);
        ASSERT_TRUE(pacer.send(handed.back(), &error));
    }
    // Handing over never waits for the cable: the rest go from the event loop.
    EXPECT_EQ(departures.size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return departures.size() == handed.size(); }, 30000))
        << departures.size() << " of " << handed.size() << " sent";
    for (qsizetype i = 0; i < handed.size(); ++i) {
        EXPECT_EQ(departures[i].message, handed[i]) << "departure " << i;
        // However late the timer, never sooner than the cable allows.
        if (i > 0) {
            EXPECT_GE(departures[i].atNs - departures[i - 1].atNs, MidiWirePacer::WireNanoseconds(64))
                << "departure " << i;
        }
    }
}
