// Which real ports are offered, and under which names.
#include "QtPrinters.h"
#include "midi/MidiStreamParser.h"
#include "midi/RtMidiBackend.h"

#include <QTest>

#include <gtest/gtest.h>

// Software loopbacks and synthesisers are not offered; names outlive the numbers ALSA gives a plugging.
TEST(RtMidiBackend, SoftwarePortsAreNotOfferedAndNamesOutliveTheNumbersAlsaGives)
{
    const struct { const char *name; bool software; const char *stable; } ports[] = {
        {"Midi Through:Midi Through Port-0 14:0", true, nullptr}, {"Microsoft GS Wavetable Synth", true, nullptr},
        {"UM-ONE:UM-ONE MIDI 1 20:0", false, "UM-ONE:UM-ONE MIDI 1"},
        {"UM-ONE:UM-ONE MIDI 1 24:0", false, "UM-ONE:UM-ONE MIDI 1"},
        {"USB MIDI Interface", false, "USB MIDI Interface"}, {"Port 2", false, "Port 2"},
    };
    for (const auto &port : ports) {
        EXPECT_EQ(RtMidiBackend::IsSoftwarePort(port.name), port.software) << port.name;
        if (port.stable)
            EXPECT_EQ(RtMidiBackend::StableName(port.name), port.stable) << port.name;
    }
}

TEST(RtMidiBackend, OnlyTheFirstMidiSystemsNamesGoUnmarked)
{
    const struct { const char *system; const char *name; const char *offered; } cases[] = {
        {"", "UM-ONE:UM-ONE MIDI 1 20:0", "UM-ONE:UM-ONE MIDI 1"},
        {"", "USB MIDI Interface", "USB MIDI Interface"},
        {"JACK", "Korvane Virtual SP Out:Korvane Virtual SP", "JACK: Korvane Virtual SP Out:Korvane Virtual SP"},
        {"JACK", "a2j:UM-ONE [20] (capture): UM-ONE MIDI 1", "JACK: a2j:UM-ONE [20] (capture): UM-ONE MIDI 1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RtMidiBackend::OfferedName(c.system, c.name), c.offered) << c.name;
}

TEST(RtMidiBackend, AMachineWithoutAMidiSystemListsNoPortsAndRefusesToOpen)
{
    RtMidiBackend backend;
    if (!backend.inputPorts().isEmpty())
        GTEST_SKIP() << "this machine has MIDI ports";
    QString error;
    EXPECT_FALSE(backend.openInput(0, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(backend.send(QByteArray("\x90\x3C\x40", 3), &error));
}

// WinMM hands a SysEx longer than one of its buffers over buffer by buffer, ALSA in 256-byte
// events: whatever the pieces, the receive path gets the message whole, in the order sent.
TEST(RtMidiBackend, ALongSysExHandedOverInPiecesArrivesWhole)
{
    RtMidiBackend backend;
    MidiStreamParser parser;
    QList<QByteArray> received;
    QObject::connect(&backend, &MidiBackend::bytesReceived, [&](const QByteArray &bytes) {
        parser.feed(bytes, [&](const QByteArray &message) { received << message; });
    });
    // A Map dump of 64 zones, the longest the SP sends, then a short status after it.
    QByteArray dump(2164, '\x05');
    dump[0] = '\xF0';
    dump[dump.size() - 1] = '\xF7';
    const QByteArray status = QByteArray::fromHex("F000001B02057F000000F7");
    for (const qsizetype piece : {qsizetype{256}, qsizetype{RtMidiBackend::SysExBufferBytes}, qsizetype{1}}) {
        received.clear();
        for (const QByteArray &message : {dump, status}) {
            for (qsizetype at = 0; at < message.size(); at += piece) {
                const QByteArray part = message.mid(at, piece);
                std::vector<unsigned char> bytes(part.begin(), part.end());
                RtMidiBackend::DriverInput()(0, &bytes, &backend);
            }
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() >= 2; })) << "pieces of " << piece;
        ASSERT_EQ(received.size(), 2);
        EXPECT_EQ(received[0], dump) << "pieces of " << piece;
        EXPECT_EQ(received[1], status) << "pieces of " << piece;
    }
}
