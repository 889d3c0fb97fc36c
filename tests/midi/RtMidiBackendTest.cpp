// Which real ports are offered, and under which names.
#include "QtPrinters.h"
#include "midi/RtMidiBackend.h"

#include <gtest/gtest.h>

TEST(RtMidiBackend, SoftwareLoopbacksAndSynthesisersAreNotOffered)
{
    EXPECT_TRUE(RtMidiBackend::IsSoftwarePort("Midi Through:Midi Through Port-0 14:0"));
    EXPECT_TRUE(RtMidiBackend::IsSoftwarePort("Microsoft GS Wavetable Synth"));
    EXPECT_FALSE(RtMidiBackend::IsSoftwarePort("UM-ONE:UM-ONE MIDI 1 20:0"));
    EXPECT_FALSE(RtMidiBackend::IsSoftwarePort("USB MIDI Interface"));
}

TEST(RtMidiBackend, NamesOutliveTheNumbersAlsaGivesAPlugging)
{
    EXPECT_EQ(RtMidiBackend::StableName("UM-ONE:UM-ONE MIDI 1 20:0"), "UM-ONE:UM-ONE MIDI 1");
    EXPECT_EQ(RtMidiBackend::StableName("UM-ONE:UM-ONE MIDI 1 24:0"), "UM-ONE:UM-ONE MIDI 1");
    EXPECT_EQ(RtMidiBackend::StableName("USB MIDI Interface"), "USB MIDI Interface");
    EXPECT_EQ(RtMidiBackend::StableName("Port 2"), "Port 2");
}

TEST(RtMidiBackend, OnlyTheFirstMidiSystemsNamesGoUnmarked)
{
    const struct {
        const char *system;
        const char *name;
        const char *offered;
    } cases[] = {
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
