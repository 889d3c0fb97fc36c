// The korvane-vsp command-line tool: its reading of hexadecimal lines and raw bytes, its
// answers on standard output, its errors, and the memory file kept between runs.
#include "QtPrinters.h"
#include "midi/MidiStreamParser.h"
#include "vsp/VirtualSp.h"
#include "vsp/DiskDrives.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

ToolRun RunTool(const QStringList &arguments, const QByteArray &input,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(KORVANE_VSP_EXE), arguments);
    if (!tool.waitForStarted(30000))
        return {};
    tool.write(input);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(60000)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    ToolRun run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.output = tool.readAllStandardOutput();
    run.errors = tool.readAllStandardError();
    return run;
}

const QByteArray PressLine = "F0 00 00 1B 02 05 7F 11 01 01 00 F7\n";
const QByteArray OkLine = "F0 00 00 1B 02 05 7F 00 00 F7\n";
const QByteArray IllegalValueLine = "F0 00 00 1B 02 05 7F 00 0B F7\n";

// The hex line deleting one Tone.
QByteArray DeleteToneLine(int number)
{
    return QStringLiteral("F0 00 00 1B 02 05 7F 03 01 00 00 00 02 %1 %2 %3 %4 F7\n")
        .arg((number >> 12) & 15, 2, 16, QLatin1Char('0'))
        .arg((number >> 8) & 15, 2, 16, QLatin1Char('0'))
        .arg((number >> 4) & 15, 2, 16, QLatin1Char('0'))
        .arg(number & 15, 2, 16, QLatin1Char('0'))
        .toLatin1();
}

QByteArray Raw(const char *hex)
{
    return QByteArray::fromHex(hex);
}

} // namespace

TEST(VspTool, HexLineIsAnsweredWithAHexLine)
{
    const ToolRun run = RunTool({QStringLiteral("--hex")}, PressLine);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, OkLine);
    EXPECT_EQ(run.errors, QByteArray());
}

TEST(VspTool, HexReadingAcceptsAnySpacingAndCase)
{
    const struct {
        const char *name;
        QByteArray input;
        QByteArray output;
    } cases[] = {
        {"no spaces, lower case", "f000001b02057f11010100f7\n", OkLine},
        {"tabs, CR LF and mixed case", "F0 00 00 1b\t02 05 7f 11 01 01 00 f7\r\n", OkLine},
        {"no final newline", "F000001B02057F1101010CF7", IllegalValueLine},
        {"blank lines between", "\n" + PressLine + "   \n\n" + PressLine, OkLine + OkLine},
        {"another device's message", "F0 00 00 1B 02 05 10 11 01 01 00 F7\n", QByteArray()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool({QStringLiteral("--hex")}, c.input);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, c.output);
        EXPECT_EQ(run.errors, QByteArray());
    }
}

TEST(VspTool, BadHexLineIsReportedAndSkipped)
{
    const struct {
        const char *name;
        QByteArray line;
    } cases[] = {
        {"words", "hello there\n"},
        {"odd number of digits", "F0 00 00 1B 02 05 7F 11 01 01 0 F7\n"},
        {"a note, not a SysEx", "90 3C 40\n"},
        {"no end byte", "F0 00 00 1B 02 05 7F 11 01 01 00\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool({QStringLiteral("--hex")}, PressLine + c.line + "F000001B02057F1101010CF7\n");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, OkLine + IllegalValueLine);
        EXPECT_TRUE(run.errors.contains("line 2")) << run.errors.toStdString();
    }
}

TEST(VspTool, RawBytesAreSplitIntoMessagesAndAnsweredRaw)
{
    // A note before, stray bytes between, and an unfinished message cut short by a new start.
    const QByteArray input = Raw("903C40") + Raw("F000001B02057F11010100F7") + Raw("0102FE") +
                             Raw("F000001B02057F1101") + Raw("F000001B02057F1101010CF7") + Raw("05");
    const ToolRun run = RunTool({}, input);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, Raw("F000001B02057F0000F7") + Raw("F000001B02057F000BF7"));
    EXPECT_EQ(run.errors, "korvane-vsp: dropped a SysEx message that was unfinished or longer than 262144 bytes\n");
}

TEST(VspTool, DeviceIdChoosesWhichMessagesAreAnswered)
{
    const ToolRun run = RunTool({QStringLiteral("--hex"), QStringLiteral("--device-id"), QStringLiteral("5")},
                            "F0 00 00 1B 02 05 05 11 01 01 00 F7\n"
                            "F0 00 00 1B 02 05 06 11 01 01 00 F7\n"
                            "F0 00 00 1B 02 05 7F 11 01 01 00 F7\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "F0 00 00 1B 02 05 05 00 00 F7\nF0 00 00 1B 02 05 05 00 00 F7\n");
}

TEST(VspTool, BadOptionsFailAndHelpDescribesThem)
{
    EXPECT_NE(RunTool({QStringLiteral("--device-id"), QStringLiteral("128")}, {}).exitCode, 0);
    EXPECT_NE(RunTool({QStringLiteral("--device-id"), QStringLiteral("five")}, {}).exitCode, 0);
    EXPECT_NE(RunTool({QStringLiteral("--no-such-option")}, {}).exitCode, 0);
    const ToolRun help = RunTool({QStringLiteral("--help")}, {});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *option : {"--hex", "--memory", "--disks", "--device-id", "--ports", "--midi-system"})
        EXPECT_TRUE(help.output.contains(option)) << option;
}

TEST(VspTool, MemoryFileCarriesChangesToTheNextRun)
{
    QTemporaryDir dir;
    const QString memory = dir.filePath(QStringLiteral("vsp.json"));
    ASSERT_FALSE(Vsp::FactoryBank().of(Vsp::Tone).empty());
    const QByteArray deleteTone = DeleteToneLine(Vsp::FactoryBank().of(Vsp::Tone).begin()->first);
    const QByteArray toneDirectoryStatus = "F0 00 00 1B 02 05 7F 12 01 01 01 F7\n";

    // What the directory says with the factory bank, and right after the deletion.
    const QList<QByteArray> fresh = RunTool({QStringLiteral("--hex")}, toneDirectoryStatus + deleteTone +
                                                                          toneDirectoryStatus)
                                        .output.split('\n');
    ASSERT_GE(fresh.size(), 3);
    ASSERT_NE(fresh[0], fresh[2]) << "the deletion changed nothing the directory shows";
    EXPECT_EQ(fresh[1], OkLine.trimmed());

    const ToolRun first = RunTool({QStringLiteral("--hex"), QStringLiteral("--memory"), memory}, deleteTone);
    EXPECT_EQ(first.output, OkLine);
    EXPECT_TRUE(QFileInfo::exists(memory));
    const ToolRun second = RunTool({QStringLiteral("--hex"), QStringLiteral("--memory"), memory}, toneDirectoryStatus);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.output, fresh[2] + '\n');

    const ToolRun withoutMemory = RunTool({QStringLiteral("--hex")}, toneDirectoryStatus);
    EXPECT_EQ(withoutMemory.output, fresh[0] + '\n');
}

TEST(VspTool, DisksFolderHoldsTheBanksItLoads)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("disks"));
    const Vsp::DiskDrives drives(root);
    ASSERT_TRUE(QDir().mkpath(drives.folder(127)));
    // A bank is a memory file: make floppy bank 0 one Tone short of the factory bank.
    const QByteArray deleteTone = DeleteToneLine(Vsp::FactoryBank().of(Vsp::Tone).begin()->first);
    RunTool({QStringLiteral("--hex"), QStringLiteral("--memory"), drives.bankPath(127, 0)}, deleteTone);
    ASSERT_TRUE(QFileInfo::exists(drives.bankPath(127, 0)));

    const QByteArray toneDirectoryStatus = "F0 00 00 1B 02 05 7F 12 01 01 01 F7\n";
    const QByteArray loadFloppyBank0 = "F0 00 00 1B 02 05 7F 30 01 00 00 00 03 07 0F 00 00 00 00 F7\n";
    const QList<QByteArray> expected =
        RunTool({QStringLiteral("--hex")}, deleteTone + toneDirectoryStatus).output.split('\n');
    ASSERT_GE(expected.size(), 2);

    const QList<QByteArray> loaded =
        RunTool({QStringLiteral("--hex"), QStringLiteral("--disks"), root}, loadFloppyBank0 + toneDirectoryStatus)
            .output.split('\n');
    ASSERT_GE(loaded.size(), 2);
    EXPECT_EQ(loaded[0], OkLine.trimmed());
    EXPECT_EQ(loaded[1], expected[1]);

    const ToolRun noDisks = RunTool({QStringLiteral("--hex")}, loadFloppyBank0);
    EXPECT_NE(noDisks.output, OkLine);
}

TEST(VspTool, ASysExThatNeverEndsIsCappedAsTheProgramCapsIt)
{
    // A key press swollen past the cap, then an ordinary one: only the ordinary one is answered.
    const QByteArray swollenHead = Raw("F000001B02057F110101");
    const struct {
        const char *name;
        int padding;
        int answers;
    } cases[] = {
        {"just under the cap", static_cast<int>(MidiStreamParser::MaxSysExLength - swollenHead.size() - 2), 2},
        {"just over the cap", static_cast<int>(MidiStreamParser::MaxSysExLength - swollenHead.size() + 1), 1},
        {"four times the cap", 4 * MidiStreamParser::MaxSysExLength, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray swollen = swollenHead + QByteArray(c.padding, '\x00') + Raw("F7");
        const QByteArray press = Raw("F000001B02057F11010100F7");
        QByteArray expected;
        VirtualSp reference;
        if (c.answers == 2) {
            for (const QByteArray &answer : reference.Receive(swollen))
                expected += answer;
            ASSERT_FALSE(expected.isEmpty()) << "the SP would not answer the swollen press anyway";
        }
        expected += Raw("F000001B02057F0000F7");
        const ToolRun run = RunTool({}, swollen + press);
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
    const ToolRun plain = RunTool({QStringLiteral("--ports")}, {}, environment);
    EXPECT_EQ(plain.exitCode, 3);
    EXPECT_TRUE(plain.errors.contains("this platform's MIDI system has no virtual ports")) << plain.errors.toStdString();
    EXPECT_EQ(plain.output, QByteArray());
#else
    // A JACK server name nobody runs, and no ALSA sequencer asked for.
    environment.insert(QStringLiteral("JACK_DEFAULT_SERVER"), QStringLiteral("korvane-nobody-%1").arg(QCoreApplication::applicationPid()));
    const ToolRun jack = RunTool({QStringLiteral("--ports"), QStringLiteral("--midi-system"), QStringLiteral("jack")}, {}, environment);
    EXPECT_EQ(jack.exitCode, 3);
    EXPECT_TRUE(jack.errors.contains("cannot open MIDI ports: no MIDI system works here")) << jack.errors.toStdString();
    EXPECT_EQ(jack.output, QByteArray());
#endif

    const ToolRun unknown = RunTool({QStringLiteral("--ports"), QStringLiteral("--midi-system"), QStringLiteral("winmm")}, {}, environment);
    EXPECT_EQ(unknown.exitCode, 3);
    EXPECT_TRUE(unknown.errors.contains("no MIDI system named \"winmm\" with virtual ports")) << unknown.errors.toStdString();
}
