// Bursts over JACK MIDI (dummy driver, 64 frames at 48 kHz): requests sent back to back by a
// client of the test's own to korvane-vsp --ports, and Korvane's RtMidi backend sending to such
// a client. One JACK period carries about 2 KB of MIDI and RtMidi drops the rest without a
// word; every answer and every message must still arrive, whole and in order.
#include "Bytes.h"
#include "JackClient.h"
#include "JackRig.h"
#include "QtPrinters.h"
#include "midi/MidiWirePacer.h"
#include "midi/RtMidiBackend.h"
#include "vsp/FactoryBank.h"
#include "vsp/VirtualSp.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace {

qint64 TotalBytes(const QList<QByteArray> &messages)
{
    qint64 bytes = 0;
    for (const QByteArray &message : messages)
        bytes += message.size();
    return bytes;
}

// Generous beside the wire time, which is added to it: the count is the pass condition.
int WaitLimitFor(const QList<QByteArray> &messages)
{
    return 30000 + static_cast<int>(MidiWirePacer::WireNanoseconds(TotalBytes(messages)) / 1'000'000);
}

class JackBursts : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QString why;
        if (!rig.startServer(&why))
            GTEST_SKIP() << "no JACK server could be started here: " << why.toStdString();
    }

    JackRig rig; // declared first, so everything on the server goes before it
};

struct RequestBurst {
    const char *what;
    QList<QByteArray> requests;
};

std::vector<RequestBurst> RequestBursts()
{
    RequestBurst statuses{"60 directory status requests, the five kinds in turn", {}};
    for (int i = 0; i < 60; ++i)
        statuses.requests << SpMessage({0x12, 0x01, 0x01, i % 5});
    const Vsp::SpMemory factory = Vsp::FactoryBank();
    RequestBurst everything{"a dump of every object of the factory bank", {}};
    for (int kind = Vsp::Wave; kind <= Vsp::Multi; ++kind) {
        for (const auto &[number, record] : factory.of(kind))
            everything.requests << SpMessage({0x01, kind, 0, 0, 0, 2, 0, 0, number / 16, number % 16});
    }
    return {statuses, everything};
}

} // namespace

TEST_F(JackBursts, KorvaneVspAnswersEveryRequestOfABurstInOrder)
{
    QString why;
    ASSERT_TRUE(rig.startVsp(QStringLiteral(KORVANE_VSP_EXE), {QStringLiteral("--hex")}, &why)) << why.toStdString();
    VirtualSp reference(VirtualSp::BroadcastId);
    reference.setMemory(Vsp::FactoryBank());

    int client = 0;
    for (const RequestBurst &burst : RequestBursts()) {
        SCOPED_TRACE(burst.what);
        QList<QByteArray> expected;
        for (const QByteArray &request : burst.requests) {
            for (const QByteArray &answer : reference.Receive(request))
                expected << answer;
        }
        ASSERT_EQ(expected.size(), burst.requests.size());
        ASSERT_GT(TotalBytes(expected), 3000) << "more answers than one JACK period carries";
        // The requests of a burst together fit in one JACK period, so this client can send them
        // all at once and still have them arrive.
        ASSERT_LT(TotalBytes(burst.requests), 1500);

        JackClient tool(("Korvane burst tool " + std::to_string(client++)).c_str());
        ASSERT_TRUE(tool.connectOutput("Korvane Virtual SP In:"));
        ASSERT_TRUE(tool.connectInput("Korvane Virtual SP Out:"));
        for (const QByteArray &request : burst.requests)
            tool.send(request);

        EXPECT_TRUE(QTest::qWaitFor([&] { return tool.received().size() >= expected.size(); }, WaitLimitFor(expected)))
            << tool.received().size() << " of " << expected.size() << " answers arrived";
        EXPECT_EQ(tool.received(), expected);
        // --hex shows every answer, as it is made.
        const QByteArray traffic = rig.vspTraffic();
        for (const QByteArray &answer : expected)
            ASSERT_TRUE(traffic.contains("out " + answer.toHex(' ').toUpper() + '\n')) << answer.toHex(' ').toStdString();
    }
    EXPECT_EQ(rig.stopVsp(), 0) << rig.vspMessages().toStdString();
}

namespace {

// Messages of `length` bytes, each different: a non-commercial SysEx with its number in it.
QList<QByteArray> Numbered(int count, int length)
{
    QList<QByteArray> messages;
    for (int i = 0; i < count; ++i) {
        QByteArray message(length, '\0');
        message[0] = '\xF0';
        message[1] = 0x7D;
        message[2] = static_cast<char>(i / 128);
        message[3] = static_cast<char>(i % 128);
        for (int at = 4; at < length - 1; ++at)
            message[at] = static_cast<char>((i + at) & 0x7F);
        message[length - 1] = '\xF7';
        messages << message;
    }
    return messages;
}

// The port the counting client offers, among the backend's outputs.
const QRegularExpression CounterPort(QStringLiteral(".*Korvane burst counter:sink"));

} // namespace

TEST_F(JackBursts, KorvanesOwnBurstsArriveWholeAndInOrderUnlessThePortCloses)
{
    JackClient counter("Korvane burst counter");
    counter.offerInput("sink");
    RtMidiBackend backend;
    int errors = 0;
    QObject::connect(&backend, &MidiBackend::errorOccurred, [&errors](int, const QString &) { ++errors; });
    const int port = backend.outputPorts().indexOf(CounterPort);
    ASSERT_GE(port, 0) << backend.outputPorts().join(QStringLiteral(", ")).toStdString();
    QString error;
    ASSERT_TRUE(backend.openOutput(port, &error)) << error.toStdString();

    const struct {
        const char *what;
        QList<QByteArray> messages;
    } bursts[] = {
        {"60 messages of 64 bytes", Numbered(60, 64)},
        {"32 messages of 532 bytes, more than RtMidi's own buffer holds", Numbered(32, 532)},
    };
    for (const auto &burst : bursts) {
        SCOPED_TRACE(burst.what);
        const qsizetype before = counter.received().size();
        for (const QByteArray &message : burst.messages)
            ASSERT_TRUE(backend.send(message, &error)) << error.toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter.received().size() - before >= burst.messages.size(); },
                                    WaitLimitFor(burst.messages)))
            << counter.received().size() - before << " of " << burst.messages.size() << " arrived";
        EXPECT_EQ(counter.received().mid(before), burst.messages);
    }
    EXPECT_EQ(errors, 0);

    // What waits when the port closes never reaches the port opened next: without a turn of the
    // event loop at most the first message leaves before the close.
    const qsizetype before = counter.received().size();
    const QList<QByteArray> burst = Numbered(30, 64);
    for (const QByteArray &message : burst)
        ASSERT_TRUE(backend.send(message, &error)) << error.toStdString();
    backend.closeOutput();
    EXPECT_FALSE(backend.send(burst.front(), &error));
    ASSERT_TRUE(backend.openOutput(port, &error)) << error.toStdString();
    const QByteArray marker = Numbered(31, 12).back();
    ASSERT_TRUE(backend.send(marker, &error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.received().contains(marker); }, WaitLimitFor({})));
    QList<QByteArray> after = counter.received().mid(before);
    ASSERT_EQ(after.takeLast(), marker);
    EXPECT_LE(after.size(), 1);
    EXPECT_EQ(after, burst.first(after.size()));
}
