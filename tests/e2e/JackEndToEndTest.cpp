// The whole program over a real MIDI system: a JACK server on the dummy driver, korvane-vsp
// answering on its "Korvane Virtual SP" ports, and Korvane on its RtMidi backend with those
// ports chosen in its settings and its own Virtual SP switched off.
#include "../editors/ToneApp.h"
#include "JackRig.h"
#include "QtPrinters.h"
#include "TestApp.h"
#include "VspApp.h"
#include "device/ObjectKinds.h"
#include "vsp/SpMemoryFile.h"
#include "vsp/VirtualSp.h"

#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int WaitLimitMs = 30000;

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
        if (!panels[panel - 1].isEmpty())
            EXPECT_EQ(app.panel(panel), panels[panel - 1]) << "panel " << panel;
    }
    EXPECT_EQ(app.find<QLineEdit>("txtObjectName")->text(), QStringLiteral("Drum Kit"));

    // A Tone edit: uploaded, held by the SP, read back and shown.
    app.find<QTabWidget>("SPFEtab")->setCurrentIndex(MainTabs::IndexOf("Tone1"));
    const QByteArray shownTone = app.session().objects.of(KindTone).Image;
    ASSERT_EQ(shownTone.size(), DumpLength);
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
    ASSERT_TRUE(vspReceived(QByteArray::fromHex("F000001B02057F1101010BF7")));
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
        } else {
            answered << line.message;
        }
    }
    EXPECT_GT(requests, 10);
    EXPECT_EQ(answered, expected);

    app.korvane.reset();
    EXPECT_EQ(rig.stopVsp(), 0) << rig.vspMessages().toStdString();
}
