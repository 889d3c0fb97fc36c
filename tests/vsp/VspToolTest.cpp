// The korvane-vsp command-line tool: its reading of hexadecimal lines and raw bytes, its
// answers on standard output, its errors, and the memory file kept between runs.
#include "LowTool.h"
#include "QtPrinters.h"
#include "midi/MidiStreamParser.h"
#include "vsp/DiskDrives.h"
#include "vsp/FactoryBank.h"
#include "vsp/VirtualSp.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray PressLine = "F0 00 00 1B 02 05 7F 11 01 01 00 F7\n";
const QByteArray OkLine = "F0 00 00 1B 02 05 7F 00 00 F7\n";
const QByteArray IllegalValueLine = "F0 00 00 1B 02 05 7F 00 0B F7\n";
const QByteArray ToneDirectoryStatusLine = "F0 00 00 1B 02 05 7F 12 01 01 01 F7\n";
const QByteArray LoadFloppyBank0Line = "F0 00 00 1B 02 05 7F 30 01 00 00 00 03 07 0F 00 00 00 00 F7\n";

// The hex line deleting the factory bank's first Tone.
QByteArray DeleteFirstToneLine()
{
    const int number = Vsp::FactoryBank().of(Vsp::Tone).begin()->first;
    return QStringLiteral("F0 00 00 1B 02 05 7F 03 01 00 00 00 02 00 00 %1 %2 F7\n")
        .arg((number >> 4) & 15, 2, 16, QLatin1Char('0'))
        .arg(number & 15, 2, 16, QLatin1Char('0'))
        .toLatin1();
}

QByteArray Raw(const char *hex)
{
    return QByteArray::fromHex(hex);
}

} // namespace

// Bad lines are reported by their number and skipped; raw bytes are split into messages, with
// a note before, stray bytes between, and an unfinished message cut short by a new start.
TEST(VspTool, HexLinesAndRawBytesAreAnsweredInKindWhateverTheirSpacingAndCase)
{
    const QByteArray illegal = "F000001B02057F1101010CF7\n";
    const struct { const char *name; QStringList arguments; QByteArray input, output, error; } cases[] = {
        {"no spaces, lower case", {"--hex"}, "f000001b02057f11010100f7\n", OkLine, ""},
        {"tabs, CR LF and mixed case", {"--hex"}, "F0 00 00 1b\t02 05 7f 11 01 01 00 f7\r\n", OkLine, ""},
        {"no final newline", {"--hex"}, illegal.chopped(1), IllegalValueLine, ""},
        {"blank lines between", {"--hex"}, "\n" + PressLine + "   \n\n" + PressLine, OkLine + OkLine, ""},
        {"another device's message", {"--hex"}, "F0 00 00 1B 02 05 10 11 01 01 00 F7\n", "", ""},
        {"device ID 5 and 127 answered", {"--hex", "--device-id", "5"},
         "F0 00 00 1B 02 05 05 11 01 01 00 F7\nF0 00 00 1B 02 05 06 11 01 01 00 F7\n" + PressLine,
         "F0 00 00 1B 02 05 05 00 00 F7\nF0 00 00 1B 02 05 05 00 00 F7\n", ""},
        {"words", {"--hex"}, PressLine + "hello there\n" + illegal, OkLine + IllegalValueLine, "line 2"},
        {"odd number of digits", {"--hex"}, PressLine + "F0 00 00 1B 02 05 7F 11 01 01 0 F7\n" + illegal,
         OkLine + IllegalValueLine, "line 2"},
        {"a note, not a SysEx", {"--hex"}, PressLine + "90 3C 40\n" + illegal, OkLine + IllegalValueLine, "line 2"},
        {"no end byte", {"--hex"}, PressLine + "F0 00 00 1B 02 05 7F 11 01 01 00\n" + illegal,
         OkLine + IllegalValueLine, "line 2"},
        {"raw", {}, Raw("903C40F000001B02057F11010100F70102FEF000001B02057F1101F000001B02057F1101010CF705"),
         Raw("F000001B02057F0000F7F000001B02057F000BF7"),
         "korvane-vsp: dropped a SysEx message that was unfinished or longer than 262144 bytes\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool(c.arguments, c.input);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, c.output);
        if (c.error.isEmpty())
            EXPECT_EQ(run.errors, QByteArray());
        else
            EXPECT_TRUE(run.errors.contains(c.error)) << run.errors.toStdString();
    }
}

TEST(VspTool, BadOptionsFailAndHelpDescribesThem)
{
    for (const char *option : {"--device-id=128", "--device-id=-1", "--device-id=five", "--no-such-option"})
        EXPECT_NE(RunTool({QString::fromLatin1(option)}).exitCode, 0) << option;
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *option : {"--hex", "--memory", "--disks", "--device-id", "--ports", "--midi-system"})
        EXPECT_TRUE(help.output.contains(option)) << option;
}

// A bank on a disk is a memory file: here floppy bank 0, made one Tone short of the factory bank.
TEST(VspTool, MemoryFileCarriesChangesToTheNextRunAndDisksFolderHoldsTheBanksItLoads)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("disks"));
    const Vsp::DiskDrives drives(root);
    ASSERT_TRUE(QDir().mkpath(drives.folder(127)));
    // What the directory says with the factory bank, and right after the deletion.
    const QByteArray deletion = ToneDirectoryStatusLine + DeleteFirstToneLine() + ToneDirectoryStatusLine;
    const auto fresh = RunTool({"--hex"}, deletion).output.split('\n');
    ASSERT_GE(fresh.size(), 3);
    ASSERT_NE(fresh[0], fresh[2]) << "the deletion changed nothing the directory shows";
    EXPECT_EQ(fresh[1], OkLine.trimmed());

    EXPECT_EQ(RunTool({"--hex", "--memory", drives.bankPath(127, 0)}, DeleteFirstToneLine()).output, OkLine);
    const ToolRun second = RunTool({"--hex", "--memory", drives.bankPath(127, 0)}, ToneDirectoryStatusLine);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.output, fresh[2] + '\n');
    EXPECT_EQ(RunTool({"--hex"}, ToneDirectoryStatusLine).output, fresh[0] + '\n');

    const auto loaded = RunTool({"--hex", "--disks", root}, LoadFloppyBank0Line + ToneDirectoryStatusLine).output.split('\n');
    ASSERT_GE(loaded.size(), 2);
    EXPECT_EQ(loaded[0], OkLine.trimmed());
    EXPECT_EQ(loaded[1], fresh[2]);
    EXPECT_NE(RunTool({"--hex"}, LoadFloppyBank0Line).output, OkLine);
}

TEST(VspTool, ASysExThatNeverEndsIsCappedAsTheProgramCapsIt)
{
    // A key press swollen past the cap, then an ordinary one: only the ordinary one is answered.
    const QByteArray swollenHead = Raw("F000001B02057F110101");
    const int cap = MidiStreamParser::MaxSysExLength;
    const struct { const char *name; int padding; int answers; } cases[] = {
        {"just under the cap", cap - static_cast<int>(swollenHead.size()) - 2, 2},
        {"just over the cap", cap - static_cast<int>(swollenHead.size()) + 1, 1},
        {"four times the cap", 4 * cap, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray swollen = swollenHead + QByteArray(c.padding, '\x00') + Raw("F7");
        QByteArray expected;
        if (c.answers == 2) {
            for (const QByteArray &answer : VirtualSp().Receive(swollen))
                expected += answer;
            ASSERT_FALSE(expected.isEmpty()) << "the SP would not answer the swollen press anyway";
        }
        expected += Raw("F000001B02057F0000F7");
        const ToolRun run = RunTool({}, swollen + Raw("F000001B02057F11010100F7"));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, expected);
        EXPECT_EQ(run.errors.contains("dropped a SysEx message"), c.answers == 1) << run.errors.toStdString();
    }
}

TEST(VspTool, PortsWithoutAWorkingMidiSystemSaySoAndFail)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#ifdef _WIN32
    // Windows' MIDI system offers no ports of a program's own.
    const ToolRun plain = RunTool({"--ports"}, {}, environment);
    EXPECT_EQ(plain.exitCode, 3);
    EXPECT_TRUE(plain.errors.contains("this platform's MIDI system has no virtual ports")) << plain.errors.toStdString();
    EXPECT_EQ(plain.output, QByteArray());
#else
    // A JACK server name nobody runs, and no ALSA sequencer asked for.
    environment.insert("JACK_DEFAULT_SERVER", QStringLiteral("korvane-nobody-%1").arg(QCoreApplication::applicationPid()));
    const ToolRun jack = RunTool({"--ports", "--midi-system", "jack"}, {}, environment);
    EXPECT_EQ(jack.exitCode, 3);
    EXPECT_TRUE(jack.errors.contains("cannot open MIDI ports: no MIDI system works here")) << jack.errors.toStdString();
    EXPECT_EQ(jack.output, QByteArray());
#endif
    const ToolRun unknown = RunTool({"--ports", "--midi-system", "winmm"}, {}, environment);
    EXPECT_EQ(unknown.exitCode, 3);
    EXPECT_TRUE(unknown.errors.contains("no MIDI system named \"winmm\" with virtual ports")) << unknown.errors.toStdString();
}
