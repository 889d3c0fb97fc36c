// Bursts over JACK MIDI (dummy driver, 64 frames at 48 kHz): requests sent back to back by a
// client of the test's own to korvane-vsp --ports, and Korvane's RtMidi backend sending to such
// a client. One JACK period carries about 2 KB of MIDI and RtMidi drops the rest without a
// word; every answer and every message must still arrive, whole and in order.
#include "JackClient.h"
#include "JackRig.h"
#include "QtPrinters.h"
#include "midi/MidiWirePacer.h"
#include "midi/RtMidiBackend.h"
#include "vsp/FactoryBank.h"
#include "vsp/VirtualSp.h"

#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Generous beside the wire time, which is added to it: the count is the pass condition.
constexpr int WaitLimitMs = 30000;

QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A request to the SP with device ID 127: "F0 00 00 1B 02 05 7F" + body + "F7".
QByteArray Request(std::initializer_list<int> body)
{
    QByteArray message = Hex("F000001B02057F");
    for (int byte : body)
        message.append(static_cast<char>(byte));
    message.append('\xF7');
    return message;
}

QByteArray DirectoryStatusRequest(int kind)
{
    return Request({0x12, 0x01, 0x01, kind});
}

QByteArray DumpRequest(int kind, int number)
{
    return Request({0x01, kind, 0, 0, 0, 2, 0, 0, (number / 16) & 0x7F, number % 16});
}

qint64 Bytes(const QList<QByteArray> &messages)
{
    qint64 bytes = 0;
    for (const QByteArray &message : messages)
        bytes += message.size();
    return bytes;
}

int WaitLimitFor(const QList<QByteArray> &messages)
{
    return WaitLimitMs + static_cast<int>(MidiWirePacer::WireNanoseconds(Bytes(messages)) / 1'000'000);
}

QByteArray HexLine(const char *direction, const QByteArray &message)
{
    return direction + message.toHex(' ').toUpper() + '\n';
}

// How many messages of one direction ("in  " or "out ") korvane-vsp's --hex traffic shows.
// The same messages in the same order; on a difference, the first one that differs.
::testing::AssertionResult SameMessages(const QList<QByteArray> &received, const QList<QByteArray> &expected)
{
    for (qsizetype i = 0; i < std::min(received.size(), expected.size()); ++i) {
        if (received[i] != expected[i])
            return ::testing::AssertionFailure() << "message " << i << " is " << received[i].toHex(' ').toStdString()
                                                 << ", expected " << expected[i].toHex(' ').toStdString();
    }
    if (received.size() != expected.size())
        return ::testing::AssertionFailure() << received.size() << " messages, expected " << expected.size();
    return ::testing::AssertionSuccess();
}

qsizetype Shown(const QByteArray &traffic, const char *direction)
{
    qsizetype count = 0;
    for (const QByteArray &line : traffic.split('\n'))
        count += line.startsWith(direction);
    return count;
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
    int answerLength; // of every answer; 0 where the lengths differ
};

std::vector<RequestBurst> RequestBursts()
{
    RequestBurst statuses{"60 directory status requests, the five kinds in turn", {}, 64};
    for (int i = 0; i < 60; ++i)
        statuses.requests << DirectoryStatusRequest(i % 5);
    // The factory bank's Presets, the longest dumps there are.
    const Vsp::SpMemory factory = Vsp::FactoryBank();
    std::vector<int> presets;
    for (const auto &[number, record] : factory.of(Vsp::Preset))
        presets.push_back(number);
    RequestBurst presetDumps{"20 Preset dumps", {}, 532};
    for (size_t i = 0; i < 20; ++i)
        presetDumps.requests << DumpRequest(Vsp::Preset, presets[i % presets.size()]);
    RequestBurst everything{"a dump of every object of the factory bank", {}, 0};
    for (int kind = Vsp::Wave; kind <= Vsp::Multi; ++kind) {
        for (const auto &[number, record] : factory.of(kind))
            everything.requests << DumpRequest(kind, number);
    }
    return {statuses, presetDumps, everything};
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
        for (const QByteArray &answer : expected) {
            if (burst.answerLength)
                ASSERT_EQ(answer.size(), burst.answerLength);
            else
                ASSERT_GT(answer.size(), 100) << "a dump, not a status code";
        }
        // The requests of a burst together fit in one JACK period, so this client can send them
        // all at once and still have them arrive.
        ASSERT_LT(Bytes(burst.requests), 1500);

        JackClient tool(("Korvane burst tool " + std::to_string(client++)).c_str());
        ASSERT_TRUE(tool.connectOutput("Korvane Virtual SP In:"));
        ASSERT_TRUE(tool.connectInput("Korvane Virtual SP Out:"));
        for (const QByteArray &request : burst.requests)
            tool.send(request);

        const bool all = QTest::qWaitFor([&] { return tool.receivedCount() >= expected.size(); },
                                         WaitLimitFor(expected));
        const QByteArray traffic = rig.vspTraffic();
        EXPECT_TRUE(all) << tool.receivedCount() << " of " << expected.size() << " answers arrived; korvane-vsp "
                         << "shows " << Shown(traffic, "in  ") << " requests in and " << Shown(traffic, "out ")
                         << " answers out so far in all";
        EXPECT_TRUE(SameMessages(tool.received(), expected));
        // --hex shows every answer, as it is made.
        for (const QByteArray &answer : expected)
            ASSERT_TRUE(traffic.contains(HexLine("out ", answer))) << answer.toHex(' ').toStdString();
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

// The offered output port of the counting client, looked for among the backend's.
int OutputPortOf(RtMidiBackend &backend, const QString &part)
{
    const QStringList outputs = backend.outputPorts();
    for (int i = 0; i < outputs.size(); ++i) {
        if (outputs[i].contains(part))
            return i;
    }
    return -1;
}

} // namespace

TEST_F(JackBursts, KorvanesOwnBurstsArriveWholeAndInOrder)
{
    JackClient counter("Korvane burst counter");
    counter.offerInput("sink");
    RtMidiBackend backend;
    int errors = 0;
    QObject::connect(&backend, &MidiBackend::errorOccurred, [&errors](int, const QString &) { ++errors; });
    const int port = OutputPortOf(backend, QStringLiteral("Korvane burst counter:sink"));
    ASSERT_GE(port, 0) << backend.outputPorts().join(QStringLiteral(", ")).toStdString();
    QString error;
    ASSERT_TRUE(backend.openOutput(port, &error)) << error.toStdString();

    const struct {
        const char *what;
        QList<QByteArray> messages;
    } bursts[] = {
        {"60 messages of 64 bytes", Numbered(60, 64)},
        {"20 messages of 532 bytes", Numbered(20, 532)},
        {"32 messages of 532 bytes, more than RtMidi's own buffer holds", Numbered(32, 532)},
    };
    for (const auto &burst : bursts) {
        SCOPED_TRACE(burst.what);
        const qsizetype before = counter.receivedCount();
        for (const QByteArray &message : burst.messages)
            ASSERT_TRUE(backend.send(message, &error)) << error.toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter.receivedCount() - before >= burst.messages.size(); },
                                    WaitLimitFor(burst.messages)))
            << counter.receivedCount() - before << " of " << burst.messages.size() << " arrived";
        EXPECT_TRUE(SameMessages(counter.received().mid(before), burst.messages));
    }
    EXPECT_EQ(errors, 0);
}

TEST_F(JackBursts, WhatWaitsWhenTheOutputClosesNeverReachesTheNextPort)
{
    JackClient counter("Korvane burst counter");
    counter.offerInput("sink");
    RtMidiBackend backend;
    const int port = OutputPortOf(backend, QStringLiteral("Korvane burst counter:sink"));
    ASSERT_GE(port, 0) << backend.outputPorts().join(QStringLiteral(", ")).toStdString();
    QString error;
    ASSERT_TRUE(backend.openOutput(port, &error)) << error.toStdString();

    // Without a turn of the event loop at most the first leaves before the port closes.
    const QList<QByteArray> burst = Numbered(30, 64);
    for (const QByteArray &message : burst)
        ASSERT_TRUE(backend.send(message, &error)) << error.toStdString();
    backend.closeOutput();
    EXPECT_FALSE(backend.send(burst.front(), &error));
    ASSERT_TRUE(backend.openOutput(port, &error)) << error.toStdString();
    const QByteArray marker = Numbered(31, 12).back();
    ASSERT_TRUE(backend.send(marker, &error)) << error.toStdString();

    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.received().contains(marker); }, WaitLimitMs));
    QList<QByteArray> before = counter.received();
    ASSERT_EQ(before.takeLast(), marker);
    EXPECT_LE(before.size(), 1);
    EXPECT_EQ(before, burst.first(before.size()));
}
