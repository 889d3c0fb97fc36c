// Starting the program as a user does: on the Virtual SP, on a silent SP, with no MIDI at all;
// the debug log, the status bar, the front-panel buttons, and closing.
#include "AppKit.h"
#include "app/MainTabs.h"
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

namespace {

QString ReadAll(const QString &path)
{
    return QString::fromLatin1(FileBytes(path));
}

struct AnsweredApp : TestApp {
    ScriptedBackend *sp = nullptr;
    AnsweredApp()
    {
        auto backend = AnsweringInterface(QStringLiteral("Interface"));
        sp = backend.get();
        start(std::move(backend));
    }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A test that starts the user's own Virtual SP must not touch the user's data folder.
        QStandardPaths::setTestModeEnabled(true);
    }

    // Online on the Virtual SP, with /b: the trace of the start, and the debug log's lines.
    void startsOnlineOnTheVirtualSpAndLogsTheStart()
    {
        TestApp app;
        auto vsp = std::make_unique<VirtualSpBackend>();
        VirtualSp &device = vsp->device();
        QCOMPARE(app.start(std::move(vsp), {"/b"}), LinkStartup::Outcome::Online);
        QVERIFY(app.main()->isVisible());
        // The probe is the Preset key; then the first tab's key follows the SP to the Preset page.
        QCOMPARE(device.keyPresses(), 2);
        const QStringList trace = ReadAll(app.file("trace.txt")).split('\n', Qt::SkipEmptyParts);
        QVERIFY(trace.size() > 4);
        QCOMPARE(trace[0], QStringLiteral("OUT F0 00 00 1B 02 05 7F 11 01 01 00 F7"));
        QCOMPARE(trace[1], QStringLiteral("IN F0 00 00 1B 02 05 7F 00 00 F7"));
        QCOMPARE(trace[2], QStringLiteral("OUT F0 00 00 1B 02 05 7F 12 01 01 00 F7")); // the Waves' status first
        QCOMPARE(trace[trace.size() - 2], QStringLiteral("OUT F0 00 00 1B 02 05 7F 11 01 01 00 F7"));

        const QString port = QStringLiteral("Korvane Virtual SP");
        const QStringList lines = {
            "frmSplash_load(): Debug initiated.", "frmSplash_load(): CP", "frmSplash_load(): Displaying Splash.",
            "frmSplash_load(): Loading main form.", "frmMain_load()", "Initialise()", "GetRegistry()", "OpenInputDevice()",
            "OpenInputDevice(): MIDIIN_OPEN " + port, "OpenInputDevice(): MIDIIN_START " + port,
            "OpenInputDevice(): FILTER_F9 True " + port, "OpenInputDevice(): FILTER_ACTIVE_SENSE True " + port,
            "OpenInputDevice(): FILTER_CLOCK True " + port, "OpenOutputDevice()", "OpenOutputDevice(): MIDIOUT_OPEN " + port,
            "Initialise(): Initialising arrays.", "Initialise(): Prodding SP", "Initialise(): SP responded to prod.",
            "AllObjectsDump()", "AllObjectsDump(): Downloading Wave data.", "AllObjectsDump(): Downloading Tone data.",
            "AllObjectsDump(): Downloading Map data.", "AllObjectsDump(): Downloading Preset data.",
            "AllObjectsDump(): Downloading Multi data.", "AllObjectsDump(): Downloading Global data.",
            "frmMain_load(): Loading Main Screen.",
        };
        QCOMPARE(ReadAll(app.file("krvn.dbg")), lines.join("\r\n") + "\r\n");
        QVERIFY(!app.session().log.isOn());
    }

    // Only /b or /B alone writes the log, and a new log replaces the one a run before left.
    void debugLogOnlyForTheExactSwitch()
    {
        const QList<QPair<QStringList, bool>> cases = {{{"/b"}, true},       {{"/B"}, true},  {{}, false},
                                                       {{"/b "}, false},     {{"-b"}, false}, {{"/b", "x"}, false},
                                                       {{"/bb"}, false},     {{"--no-virtual-sp"}, false}};
        for (const auto &[args, logged] : cases) {
            TestApp app;
            if (logged)
                QVERIFY(WriteBytes(app.file("krvn.dbg"), "an old log that is much longer than nothing\r\n"));
            app.start(std::make_unique<VirtualSpBackend>(), args);
            const QString log = ReadAll(app.file("krvn.dbg"));
            QVERIFY2(logged ? log.startsWith("frmSplash_load(): Debug initiated.\r\n") : !QFile::exists(app.file("krvn.dbg")),
                     qPrintable(args.join('|')));
        }
    }

    void silentSpStartsOfflineAndAnAnsweredPressBringsItBack()
    {
        TestApp app;
        app.shortTimeouts();
        auto backend = std::make_unique<ScriptedBackend>();
        ScriptedBackend *sp = backend.get();
        QCOMPARE(app.start(std::move(backend), {"/b"}), LinkStartup::Outcome::Offline);
        QVERIFY(app.main()->isVisible());
        QStringList texts;
        for (int panel = 1; panel <= 9; ++panel)
            texts << app.panel(panel);
        QCOMPARE(texts, (QStringList{"p#", "m#", "t#", "w#", "mu#", "Free Mem:", "Current Bank:", "OFFLINE", "Midi IO"}));
        // On a first start the user is also told where the ports and the device ID are chosen.
        const QStringList said = app.notifier.texts();
        QCOMPARE(said.size(), 2);
        QCOMPARE(said[0], QStringLiteral("The specified SP Device is not responding"));
        for (const char *where : {"Config > Midi", "Config > SP", "device ID"})
            QVERIFY2(said[1].contains(QLatin1String(where)), where);
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

    // An SP that answers, with an error, needs no hint about the ports.
    void spErrorOnTheProbeStartsOffline()
    {
        TestApp app;
        auto backend = std::make_unique<ScriptedBackend>();
        backend->reply = ScriptedBackend::StatusReply(9);
        QCOMPARE(app.start(std::move(backend)), LinkStartup::Outcome::Offline);
        QCOMPARE(app.notifier.texts(), QStringList{"SP device is busy"});
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));
    }

    // No ports at all, or a port that will not open: the program ends, saving nothing.
    void withoutUsablePortsTheProgramEndsWithoutSavingAnything()
    {
        const QString fatal = QStringLiteral("Cannot initialise MIDI interface(s)...Exiting");
        const struct { const char *failing; QStringList said; } cases[] = {
            {nullptr, {fatal}},
            {"input", {"Error opening MIDI input device", fatal}},
            {"output", {"Error opening MIDI output device", fatal}},
        };
        for (const auto &c : cases) {
            TestApp app;
            auto backend = c.failing ? std::make_unique<ScriptedBackend>() : std::make_unique<ScriptedBackend>(QStringList{}, QStringList{});
            backend->failInputOpen = c.failing && QByteArray(c.failing) == "input";
            backend->failOutputOpen = c.failing && QByteArray(c.failing) == "output";
            ScriptedBackend *sp = backend.get();
            QCOMPARE(app.start(std::move(backend), {"/b"}), LinkStartup::Outcome::Fatal);
            QCOMPARE(app.notifier.texts(), c.said);
            QCOMPARE(app.notifier.messages.last().icon, Notifier::Icon::Critical);
            QVERIFY(sp->sent.isEmpty());
            QVERIFY(!ReadAll(app.file("krvn.dbg")).contains("Loading Main Screen"));
            QVERIFY(!app.main()->isVisible());
            if (sp->failInputOpen) {
                QCOMPARE(app.notifier.messages[0].heading, QStringLiteral("OpenInputDevice()"));
                QVERIFY(!sp->outputOpen);
            }
            app.korvane.reset();
            app.store.sync();
            QVERIFY(app.store.allKeys().isEmpty());
        }
    }

    // By the setting or for one run by the command line; on a machine without MIDI hardware
    // nothing is then left, and the program says so.
    void virtualSpCanBeSwitchedOff()
    {
        {
            const QTemporaryDir dir; // outlives the settings kept in it
            QSettings store(dir.filePath("x.ini"), QSettings::IniFormat);
            QVERIFY(Korvane::WantsVirtualSp({}, store));
            QVERIFY(!Korvane::WantsVirtualSp({"--no-virtual-sp"}, store));
            store.setValue("Application/Virtual SP", "0");
            QVERIFY(!Korvane::WantsVirtualSp({}, store));
        }
        TestApp once;
        once.shortTimeouts(); // the scripted SP stays silent
        once.start(std::make_unique<ScriptedBackend>(), {"--no-virtual-sp"});
        once.main()->close();
        once.store.sync();
        QCOMPARE(once.store.value("Application/Virtual SP").toString(), QStringLiteral("1"));

        if (!RtMidiBackend().inputPorts().isEmpty())
            QSKIP("this machine has real MIDI ports");
        TestApp app;
        QCOMPARE(app.start(nullptr, {"--no-virtual-sp"}), LinkStartup::Outcome::Fatal);
        QCOMPARE(app.notifier.texts(), QStringList{"Cannot initialise MIDI interface(s)...Exiting"});
    }

    // Each front-panel button sends its key. The header names the kind of the tab shown and the
    // SP is taken to the same page; offline nothing is sent.
    void theButtonsAndTabsPressTheSpsKeys()
    {
        AnsweredApp app;
        const QList<QPair<QString, int>> buttons = {{"Wave", 3}, {"Preset", 0}, {"-/Dec", 9}, {"+/Inc", 8}, {"Exec", 7}, {"->", 11}};
        for (const auto &[caption, code] : buttons) {
            QPushButton *button = nullptr;
            for (QPushButton *b : app.main()->findChildren<QPushButton *>()) {
                if (b->objectName().startsWith("cmdPushButton(") && b->text() == caption)
                    button = b;
            }
            QVERIFY2(button, qPrintable(caption));
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(app.sp->sent.last(), SpKey(code));
        }
        auto *tabs = app.find<QTabWidget>("SPFEtab");
        tabs->setCurrentIndex(MainTabs::IndexOf("Global"));
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("mu#"));
        QCOMPARE(app.find<QGroupBox>("pnlObjNum")->title(), QStringLiteral("Multi Num"));
        QCOMPARE(app.find<QGroupBox>("pnlObjName")->title(), QStringLiteral("Multi Name"));
        QCOMPARE(app.find<QAction>("mnuDLobject")->text(), QStringLiteral("&Current Multi"));
        QCOMPARE(app.find<QLineEdit>("txtObjectName")->text(), QStringLiteral("None Loaded"));
        QCOMPARE(app.sp->sent.last(), SpKey(5));
        tabs->setCurrentIndex(MainTabs::IndexOf("Wave"));
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("w#"));
        QCOMPARE(app.sp->sent.last(), SpKey(3));

        app.session().link.setStatus(LinkState::Offline);
        const qsizetype before = app.sp->sent.size();
        tabs->setCurrentIndex(MainTabs::IndexOf("Map"));
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("m#"));
        QCOMPARE(app.sp->sent.size(), before);
    }

    void closingSavesTheSettingsAndClosesPortsAndWindows()
    {
        AnsweredApp app;
        app.find<QAction>("mnuAbout")->trigger();
        QWidget *about = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "frmAbout" && w->isVisible())
                about = w;
        }
        QVERIFY(about);
        QPointer<QWidget> aboutAlive(about);

        app.main()->close();
        QVERIFY(aboutAlive.isNull() || !aboutAlive->isVisible());
        QVERIFY(!app.sp->inputOpen && !app.sp->outputOpen);
        app.store.sync();
        QCOMPARE(app.store.value("MIDI Interface/Input").toString(), QStringLiteral("Interface In"));
        QCOMPARE(app.store.value("MIDI Interface/Output").toString(), QStringLiteral("Interface Out"));
        QCOMPARE(app.store.value("Application/Home Directory").toString(), app.dir.path());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
