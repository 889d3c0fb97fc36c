// Starting the program as a user does: on the Virtual SP, on a silent SP, with no MIDI at all;
// the debug log, the status bar, the front-panel buttons, and closing.
#include "Bytes.h"
#include "TestApp.h"
#include "device/LinkStartup.h"
#include "midi/RtMidiBackend.h"
#include "vsp/VirtualSpBackend.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

namespace {

QString ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A test that starts the user's own Virtual SP must not touch the user's data folder.
        QStandardPaths::setTestModeEnabled(true);
    }

    void startsOnlineOnTheVirtualSp()
    {
        TestApp app;
        auto vsp = std::make_unique<VirtualSpBackend>();
        VirtualSp &device = vsp->device();
        QCOMPARE(app.start(std::move(vsp)), LinkStartup::Outcome::Online);
        QVERIFY(app.main()->isVisible());
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QVERIFY(app.find<QPushButton>("cmdLoadBank")->isEnabled());
        // The probe is the Preset key; then the first tab's key follows the SP to the Preset page.
        QCOMPARE(device.keyPresses(), 2);
        const QStringList trace = ReadAll(app.file("trace.txt")).split('\n', Qt::SkipEmptyParts);
        QVERIFY(trace.size() > 4);
        QCOMPARE(trace[0], QStringLiteral("OUT F0 00 00 1B 02 05 7F 11 01 01 00 F7"));
        QCOMPARE(trace[1], QStringLiteral("IN F0 00 00 1B 02 05 7F 00 00 F7"));
        // The Waves' status comes first.
        QCOMPARE(trace[2], QStringLiteral("OUT F0 00 00 1B 02 05 7F 12 01 01 00 F7"));
        QCOMPARE(trace[trace.size() - 2], QStringLiteral("OUT F0 00 00 1B 02 05 7F 11 01 01 00 F7"));
        QVERIFY(app.notifier.messages.isEmpty());
    }

    void statusBarHasItsNinePanels()
    {
        TestApp app;
        app.shortTimeouts(); // the scripted SP stays silent: the window starts OFFLINE
        app.start(std::make_unique<ScriptedBackend>());
        const QStringList texts = {"p#", "m#", "t#", "w#", "mu#", "Free Mem:", "Current Bank:", "OFFLINE", "Midi IO"};
        const QStringList tips = {"Current Preset", "Current Map", "Current Tone", "Current Wave", "Current Multi",
                                  "Free Sample RAM", "", "SP Status", "MIDI Data Flow"};
        for (int panel = 1; panel <= 9; ++panel) {
            QLabel *label = app.find<QLabel>(QStringLiteral("stbPanel(%1)").arg(panel));
            QVERIFY(label);
            QCOMPARE(label->text(), texts[panel - 1]);
            QCOMPARE(label->toolTip(), tips[panel - 1]);
        }
        QVERIFY(app.find<QWidget>("ledMIDIin") && app.find<QWidget>("ledMIDIout"));
        QVERIFY(app.find<QWidget>("stbMainForm"));
    }

    void debugLogHoldsExactlyTheStartupLines()
    {
        TestApp app;
        app.start(std::make_unique<VirtualSpBackend>(), {"/b"});
        const QString port = QStringLiteral("Korvane Virtual SP");
        const QStringList lines = {
            "frmSplash_load(): Debug initiated.",
            "frmSplash_load(): CP",
            "frmSplash_load(): Displaying Splash.",
            "frmSplash_load(): Loading main form.",
            "frmMain_load()",
            "Initialise()",
            "GetRegistry()",
            "OpenInputDevice()",
            "OpenInputDevice(): MIDIIN_OPEN " + port,
            "OpenInputDevice(): MIDIIN_START " + port,
            "OpenInputDevice(): FILTER_F9 True " + port,
            "OpenInputDevice(): FILTER_ACTIVE_SENSE True " + port,
            "OpenInputDevice(): FILTER_CLOCK True " + port,
            "OpenOutputDevice()",
            "OpenOutputDevice(): MIDIOUT_OPEN " + port,
            "Initialise(): Initialising arrays.",
            "Initialise(): Prodding SP",
            "Initialise(): SP responded to prod.",
            "AllObjectsDump()",
            "AllObjectsDump(): Downloading Wave data.",
            "AllObjectsDump(): Downloading Tone data.",
            "AllObjectsDump(): Downloading Map data.",
            "AllObjectsDump(): Downloading Preset data.",
            "AllObjectsDump(): Downloading Multi data.",
            "AllObjectsDump(): Downloading Global data.",
            "frmMain_load(): Loading Main Screen.",
        };
        QCOMPARE(ReadAll(app.file("krvn.dbg")), lines.join("\r\n") + "\r\n");
        QVERIFY(!app.session().log.isOn());
    }

    void debugLogOnlyForTheExactSwitch()
    {
        const QList<QStringList> withLog = {{"/b"}, {"/B"}};
        const QList<QStringList> without = {{}, {"/b "}, {"-b"}, {"/b", "x"}, {"/bb"}, {"--no-virtual-sp"}};
        for (const QStringList &args : withLog) {
            TestApp app;
            app.start(std::make_unique<VirtualSpBackend>(), args);
            QVERIFY2(QFile::exists(app.file("krvn.dbg")), qPrintable(args.join(' ')));
        }
        for (const QStringList &args : without) {
            TestApp app;
            app.start(std::make_unique<VirtualSpBackend>(), args);
            QVERIFY2(!QFile::exists(app.file("krvn.dbg")), qPrintable(args.join('|')));
        }
    }

    void secondStartReplacesTheLog()
    {
        TestApp app;
        QFile old(app.file("krvn.dbg"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an old log that is much longer than nothing\r\n");
        old.close();
        app.start(std::make_unique<VirtualSpBackend>(), {"/B"});
        QVERIFY(ReadAll(app.file("krvn.dbg")).startsWith("frmSplash_load(): Debug initiated.\r\n"));
    }

    void silentSpStartsOfflineAndAnAnsweredPressBringsItBack()
    {
        TestApp app;
        app.shortTimeouts();
        auto backend = std::make_unique<ScriptedBackend>();
        ScriptedBackend *sp = backend.get();
        QCOMPARE(app.start(std::move(backend), {"/b"}), LinkStartup::Outcome::Offline);
        QVERIFY(app.main()->isVisible());
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));
        // On a first start the user is also told where the ports are chosen.
        QCOMPARE(app.notifier.texts(),
                 (QStringList{"The specified SP Device is not responding", LinkStartup::FirstStartHint()}));
        QVERIFY(ReadAll(app.file("krvn.dbg")).contains("Initialise(): SP Not responding to prod.\r\n"));
        for (const char *name : {"cmdDeleteObject", "cmdStereoMerge", "cmdLoadBank"})
            QVERIFY2(!app.find<QPushButton>(name)->isEnabled(), name);
        QVERIFY(!app.find<QAction>("mnuDelete")->isEnabled());
        QVERIFY(!app.find<QAction>("mnuStereoMerge")->isEnabled());
        QCOMPARE(sp->sent, QList<QByteArray>{SpKey(0)});

        sp->reply = ScriptedBackend::StatusReplyInStep(0);
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
        QCOMPARE(sp->sent.last(), SpKey(5));
        QCOMPARE(sp->sent.size(), 3); // the press follows the request that brings the link back in step
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QVERIFY(app.find<QPushButton>("cmdLoadBank")->isEnabled());
        QVERIFY(!app.find<QPushButton>("cmdDeleteObject")->isEnabled());
        QVERIFY(!app.find<QPushButton>("cmdStereoMerge")->isEnabled());
    }

    void spErrorOnTheProbeStartsOffline()
    {
        TestApp app;
        auto backend = std::make_unique<ScriptedBackend>();
        backend->reply = ScriptedBackend::StatusReply(9);
        QCOMPARE(app.start(std::move(backend)), LinkStartup::Outcome::Offline);
        QCOMPARE(app.notifier.texts(), QStringList{"SP device is busy"});
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));
    }

    void noMidiDeviceEndsTheProgramWithoutSavingAnything()
    {
        TestApp app;
        QCOMPARE(app.start(std::make_unique<ScriptedBackend>(QStringList{}, QStringList{}), {"/b"}),
                 LinkStartup::Outcome::Fatal);
        QVERIFY(!ReadAll(app.file("krvn.dbg")).contains("Loading Main Screen"));
        QCOMPARE(app.notifier.messages.size(), 1);
        QCOMPARE(app.notifier.messages[0].icon, Notifier::Icon::Critical);
        QCOMPARE(app.notifier.messages[0].text, QStringLiteral("Cannot initialise MIDI interface(s)...Exiting"));
        QVERIFY(!app.main()->isVisible());
        app.korvane.reset();
        app.store.sync();
        QVERIFY(app.store.allKeys().isEmpty());
    }

    void portThatCannotOpenIsReportedThenFatal()
    {
        TestApp app;
        auto backend = std::make_unique<ScriptedBackend>();
        backend->failInputOpen = true;
        ScriptedBackend *sp = backend.get();
        QCOMPARE(app.start(std::move(backend)), LinkStartup::Outcome::Fatal);
        QCOMPARE(app.notifier.texts(),
                 (QStringList{"Error opening MIDI input device", "Cannot initialise MIDI interface(s)...Exiting"}));
        QCOMPARE(app.notifier.messages[0].heading, QStringLiteral("OpenInputDevice()"));
        QVERIFY(!sp->outputOpen);
        QVERIFY(sp->sent.isEmpty());

        TestApp second;
        auto failingOut = std::make_unique<ScriptedBackend>();
        failingOut->failOutputOpen = true;
        QCOMPARE(second.start(std::move(failingOut)), LinkStartup::Outcome::Fatal);
        QCOMPARE(second.notifier.texts(),
                 (QStringList{"Error opening MIDI output device", "Cannot initialise MIDI interface(s)...Exiting"}));
    }

    void virtualSpCanBeSwitchedOff()
    {
        const QTemporaryDir dir; // outlives the settings kept in it
        QSettings store(dir.filePath("x.ini"), QSettings::IniFormat);
        QVERIFY(Korvane::WantsVirtualSp({}, store));
        QVERIFY(!Korvane::WantsVirtualSp({"--no-virtual-sp"}, store));
        store.setValue("Application/Virtual SP", "0");
        QVERIFY(!Korvane::WantsVirtualSp({}, store));

        // On a machine without MIDI hardware nothing is left, and the program says so.
        if (!RtMidiBackend().inputPorts().isEmpty())
            QSKIP("this machine has real MIDI ports");
        TestApp app;
        QCOMPARE(app.start(nullptr, {"--no-virtual-sp"}), LinkStartup::Outcome::Fatal);
        QCOMPARE(app.notifier.texts(), QStringList{"Cannot initialise MIDI interface(s)...Exiting"});
    }

    void switchingTheVirtualSpOffOnTheCommandLineHoldsForOneRunOnly()
    {
        TestApp app;
        app.shortTimeouts(); // the scripted SP stays silent
        app.start(std::make_unique<ScriptedBackend>(), {"--no-virtual-sp"});
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("Application/Virtual SP").toString(), QStringLiteral("1"));
    }

    void frontPanelButtonsSendTheirKeysFromTheWindow()
    {
        TestApp app;
        auto backend = std::make_unique<ScriptedBackend>();
        backend->reply = ScriptedBackend::StatusReply(0);
        ScriptedBackend *sp = backend.get();
        app.start(std::move(backend));
        const QList<QPair<QString, int>> buttons = {{"Wave", 3}, {"Preset", 0}, {"-/Dec", 9}, {"+/Inc", 8},
                                                    {"Exec", 7}, {"->", 11}};
        for (const auto &[caption, code] : buttons) {
            QPushButton *button = nullptr;
            for (QPushButton *b : app.main()->findChildren<QPushButton *>()) {
                if (b->objectName().startsWith("cmdPushButton(") && b->text() == caption)
                    button = b;
            }
            QVERIFY2(button, qPrintable(caption));
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(sp->sent.last(), SpKey(code));
        }
    }

    void tabSwitchFollowsTheHeaderAndPressesTheTabsKey()
    {
        TestApp app;
        auto backend = std::make_unique<ScriptedBackend>();
        backend->reply = ScriptedBackend::StatusReply(0);
        ScriptedBackend *sp = backend.get();
        app.start(std::move(backend));
        auto *tabs = app.find<QTabWidget>("SPFEtab");
        QCOMPARE(tabs->count(), 8);
        const QStringList captions = {"Preset1", "Preset2", "Map", "Tone1", "Tone2", "Tone3", "Wave", "Global"};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(tabs->tabText(i), captions[i]);

        tabs->setCurrentIndex(7);
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("mu#"));
        QCOMPARE(app.find<QGroupBox>("pnlObjNum")->title(), QStringLiteral("Multi Num"));
        QCOMPARE(app.find<QGroupBox>("pnlObjName")->title(), QStringLiteral("Multi Name"));
        QCOMPARE(app.find<QAction>("mnuDLobject")->text(), QStringLiteral("&Current Multi"));
        QCOMPARE(app.find<QLineEdit>("txtObjectName")->text(), QStringLiteral("None Loaded"));
        QCOMPARE(sp->sent.last(), SpKey(5));

        tabs->setCurrentIndex(6);
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("w#"));
        QCOMPARE(sp->sent.last(), SpKey(3));

        // Offline, switching tabs sends nothing.
        app.session().link.setStatus(LinkState::Offline);
        const qsizetype before = sp->sent.size();
        tabs->setCurrentIndex(2);
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("m#"));
        QCOMPARE(sp->sent.size(), before);
    }

    void closingSavesTheSettingsAndClosesPortsAndWindows()
    {
        TestApp app;
        auto backend = std::make_unique<ScriptedBackend>(QStringList{"Interface A"}, QStringList{"Interface B"});
        backend->reply = ScriptedBackend::StatusReply(0);
        ScriptedBackend *sp = backend.get();
        app.start(std::move(backend));
        app.find<QAction>("mnuAbout")->trigger();
        QWidget *about = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "frmAbout" && w->isVisible())
                about = w;
        }
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("About Korvane"));
        QPointer<QWidget> aboutAlive(about);

        app.main()->close();
        QVERIFY(aboutAlive.isNull() || !aboutAlive->isVisible());
        QVERIFY(!sp->inputOpen);
        QVERIFY(!sp->outputOpen);
        app.store.sync();
        QCOMPARE(app.store.value("MIDI Interface/Input").toString(), QStringLiteral("Interface A"));
        QCOMPARE(app.store.value("MIDI Interface/Output").toString(), QStringLiteral("Interface B"));
        QCOMPARE(app.store.value("SP Config/SysEx Device ID").toString(), QStringLiteral("127"));
        QCOMPARE(app.store.value("Disk Devices/Dev0_VolName").toString(), QStringLiteral("Floppy Disk"));
        QCOMPARE(app.store.value("Application/Home Directory").toString(), app.dir.path());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
