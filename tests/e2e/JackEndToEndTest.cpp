// The whole program over a real MIDI system: a JACK server on the dummy driver, korvane-vsp
// answering on its "Korvane Virtual SP" ports, and Korvane on its RtMidi backend with those
// ports chosen in its settings and its own Virtual SP switched off.
#include "../editors/ToneApp.h"
#include "JackClient.h"
#include "JackRig.h"
#include "QtPrinters.h"
#include "TestApp.h"
#include "VspApp.h"
#include "midi/RtMidiBackend.h"
#include "device/ObjectKinds.h"
#include "vsp/SpMemoryFile.h"
#include "vsp/VirtualSp.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int WaitLimitMs = 30000;

QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// The trace's lines of one direction ("OUT" or "IN") as messages.
struct TraceLine {
    bool out;
    QByteArray message;
};

QList<TraceLine> ReadTrace(const QString &path)
{
    QFile file(path);
    QList<TraceLine> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (space < 0)
            continue;
        lines.append({line.left(space) == "OUT", QByteArray::fromHex(line.mid(space + 1))});
    }
    return lines;
}

// The memory korvane-vsp starts with: the standard one, its Tone 3 with the second filter's
// controls in use.
Vsp::SpMemory StartMemory()
{
    Vsp::SpMemory memory = VspApp::StandardMemory();
    SpRecords::SetAt(memory.of(Vsp::Tone)[ToneTest::ShownTone], 124, 3);
    return memory;
}

class JackEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QString why;
        if (!rig.startServer(&why))
            GTEST_SKIP() << "no JACK server could be started here: " << why.toStdString();
        memoryFile = dir.filePath(QStringLiteral("sp.json"));
        QString error;
        ASSERT_TRUE(Vsp::SaveMemory(StartMemory(), memoryFile, &error)) << error.toStdString();
        ASSERT_TRUE(rig.startVsp(QStringLiteral(KORVANE_VSP_EXE),
                                 {QStringLiteral("--hex"), QStringLiteral("--memory"), memoryFile}, &why))
            << why.toStdString();
    }

    Vsp::SpMemory held()
    {
        Vsp::SpMemory memory;
        QString error;
        EXPECT_EQ(Vsp::LoadMemory(memoryFile, memory, &error), Vsp::LoadResult::Loaded) << error.toStdString();
        return memory;
    }

    // korvane-vsp's traffic shows this message coming in (bounded wait).
    bool vspReceived(const QByteArray &message)
    {
        const QByteArray line = "in  " + message.toHex(' ').toUpper() + '\n';
        return QTest::qWaitFor([&] { return rig.vspTraffic().contains(line); }, WaitLimitMs);
    }

    JackRig rig; // declared first, so everything on the server goes before it
    QTemporaryDir dir;
    QString memoryFile;
};

} // namespace

TEST_F(JackEndToEnd, KorvaneOffersTheVspPortsUnderStableJackNames)
{
    for (int start = 0; start < 2; ++start) {
        RtMidiBackend backend;
        EXPECT_TRUE(backend.inputPorts().contains(QLatin1String(JackRig::VspOutputPort))) << backend.inputPorts().join(", ").toStdString();
        EXPECT_TRUE(backend.outputPorts().contains(QLatin1String(JackRig::VspInputPort))) << backend.outputPorts().join(", ").toStdString();
    }
}

TEST_F(JackEndToEnd, AThirdProgramGetsTheAnswersOfTheBuiltInVirtualSp)
{
    JackClient client("Korvane test client");
    ASSERT_TRUE(client.connectOutput("Korvane Virtual SP In:"));
    ASSERT_TRUE(client.connectInput("Korvane Virtual SP Out:"));
    const QByteArray requests[] = {
        Hex("F000001B02057F11010100F7"), // the Preset key
        Hex("F000001B02057F12010101F7"), // the Tones' status
        Hex("F000001B02057F12010104F7"), // the Multis' status
        Hex("F000001B02057F1101010CF7"), // a key that does not exist
        Hex("F000001B02050511010100F7"), // another SP's key: no answer
    };
    VirtualSp reference;
    reference.setMemory(StartMemory());
    QList<QByteArray> expected;
    for (const QByteArray &request : requests) {
        for (const QByteArray &answer : reference.Receive(request))
            expected << answer;
    }
    ASSERT_EQ(expected.size(), 4);
    for (const QByteArray &request : requests) {
        client.send(request);
        ASSERT_TRUE(vspReceived(request)) << request.toHex(' ').toStdString();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.received().size() >= expected.size(); }, WaitLimitMs));
    EXPECT_EQ(client.received(), expected);
}

TEST_F(JackEndToEnd, TheWholeProgramWorksThroughTheVspOnJack)
{
    using namespace ToneTest;
    // Korvane comes second: it leaves the server before the server goes.
    TestApp app;
    app.responseTimeoutCap = 0;
    app.store.setValue(QStringLiteral("MIDI Interface/Input"), QLatin1String(JackRig::VspOutputPort));
    app.store.setValue(QStringLiteral("MIDI Interface/Output"), QLatin1String(JackRig::VspInputPort));

    // Start-up: ONLINE, and one object of every kind read and shown.
    ASSERT_EQ(app.start(nullptr, {QStringLiteral("--no-virtual-sp")}), LinkStartup::Outcome::Online)
        << rig.vspMessages().toStdString();
    EXPECT_EQ(app.session().settings.ports.InputDeviceName, QLatin1String(JackRig::VspOutputPort));
    EXPECT_EQ(app.session().settings.ports.OutputDeviceName, QLatin1String(JackRig::VspInputPort));
    const QStringList panels = {"p# 0", "m# 4", "t# 3", "w# 2", "mu# 0", "", "Current Bank: Test Bank     ", "ONLINE"};
    for (int panel = 1; panel <= panels.size(); ++panel) {
        if (!panels[panel - 1].isEmpty()) {
            EXPECT_EQ(app.main()->statusPanel(panel)->text(), panels[panel - 1]) << "panel " << panel;
        }
    }
    EXPECT_EQ(app.find<QLineEdit>("txtObjectName")->text(), QStringLiteral("Drum Kit"));

    // A third program's SysEx arrives unasked: a Tone dump that is not what the SP holds, and
    // a status. Nothing changes, in the window or on the SP.
    app.find<QTabWidget>("SPFEtab")->setCurrentIndex(Tone1Tab);
    const QByteArray shownTone = app.session().objects.of(KindTone).Image;
    ASSERT_EQ(shownTone.size(), DumpLength);
    const QString shownName = app.find<QLineEdit>("txtObjectName")->text();
    QByteArray stray = shownTone;
    stray[80 - 1] = 0x0F; // a different filter value, still a well-formed dump
    {
        JackClient stranger("Korvane test stranger");
        ASSERT_TRUE(stranger.connectOutput(":Korvane In"));
        stranger.send(stray);
        stranger.send(Hex("F000001B02057F0009F7"));
        const QString traced = app.file(QStringLiteral("trace.txt"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const QList<TraceLine> trace = ReadTrace(traced);
                return !trace.isEmpty() && !trace.last().out && trace.last().message == Hex("F000001B02057F0009F7");
            },
            WaitLimitMs));
    }
    EXPECT_EQ(app.session().objects.of(KindTone).Image, shownTone);
    EXPECT_EQ(app.find<QLineEdit>("txtObjectName")->text(), shownName);
    EXPECT_EQ(held().of(Vsp::Tone)[ShownTone], StartMemory().of(Vsp::Tone)[ShownTone]);

    // A Tone edit: uploaded, held by the SP, read back and shown.
    auto *filter = app.find<QLineEdit>("txtDCF(4)");
    ASSERT_TRUE(filter);
    filter->setFocus();
    filter->selectAll();
    QTest::keyClick(filter, Qt::Key_Backspace);
    QTest::keyClicks(filter, QStringLiteral("40"));
    QTest::keyClick(filter, Qt::Key_Return);
    const QByteArray upload = WithNibbles(shownTone, 80, {2, 8});
    ASSERT_TRUE(vspReceived(upload)) << rig.vspTraffic().right(1500).toStdString() << "\nexpected " << upload.toHex(' ').toUpper().toStdString();
    EXPECT_EQ(static_cast<uint8_t>(held().of(Vsp::Tone)[ShownTone].at(SpRecords::RecordByteAt(80))), 40);
    EXPECT_EQ(app.session().objects.of(KindTone).Image, upload);
    EXPECT_EQ(filter->text(), QStringLiteral("40"));

    // A front-panel key: pressed on the SP, and its answer brings no complaint.
    auto *right = app.find<QPushButton>("cmdPushButton(11)");
    ASSERT_TRUE(right);
    QTest::mouseClick(right, Qt::LeftButton);
    ASSERT_TRUE(vspReceived(Hex("F000001B02057F1101010BF7")));
    EXPECT_EQ(app.panel(8), QStringLiteral("ONLINE"));
    EXPECT_TRUE(app.notifier.messages.isEmpty()) << app.notifier.messages.size() << " messages shown";

    // Every request the program sent was answered as the built-in Virtual SP answers it.
    const QList<TraceLine> trace = ReadTrace(app.file(QStringLiteral("trace.txt")));
    VirtualSp reference;
    reference.setMemory(StartMemory());
    QList<QByteArray> answered;
    QList<QByteArray> expected;
    int requests = 0;
    for (const TraceLine &line : trace) {
        if (line.out) {
            ++requests;
            for (const QByteArray &answer : reference.Receive(line.message))
                expected << answer;
        } else if (line.message != stray && line.message != Hex("F000001B02057F0009F7")) {
            answered << line.message;
        }
    }
    EXPECT_GT(requests, 10);
    EXPECT_EQ(answered, expected);

    app.korvane.reset();
    EXPECT_EQ(rig.stopVsp(), 0) << rig.vspMessages().toStdString();
}
