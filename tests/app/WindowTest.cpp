// The main window as a user meets it: fitted to the screen, put back where it was left, every
// tab scrolling in a small window, the keyboard shortcuts, and the command line's answers.
#include "AppKit.h"
#include "UserInput.h"
#include "app/CommandLine.h"
#include "app/WindowPlacement.h"
#include "settings/Registry.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>

namespace {
const QStringList Tabs = {"Preset1", "Preset2", "Map", "Tone1", "Tone2", "Tone3", "Wave", "Global"};
const QString BusyNotice = QStringLiteral("SP busy: wait for the current exchange to finish");
const QStringList EveryOption = {"/b", "--no-virtual-sp", "--vsp-wire-timing", "--tab NAME", "--screenshot FILE",
                                 "--quit-when-shown", "--help"};

void Press(VspApp &app, QKeyCombination key)
{
    QTest::keyClick(app.main(), key.key(), key.keyboardModifiers());
}

// A started program, its window active so that its shortcuts fire.
struct ActiveApp : VspApp {
    ActiveApp(const char *tab = nullptr)
    {
        start();
        if (tab)
            showTab(tab);
        active = Activate(main());
    }
    bool active = false;
    int tab() { return find<QTabWidget>("SPFEtab")->currentIndex(); }
};

void SeedWindow(QSettings &store, const QRect &area, const QString &tab)
{
    store.setValue("Application/Window Left", QString::number(area.x()));
    store.setValue("Application/Window Top", QString::number(area.y()));
    store.setValue("Application/Window Width", QString::number(area.width()));
    store.setValue("Application/Window Height", QString::number(area.height()));
    store.setValue("Application/Last Tab", tab);
}

ProgramRun Run(const QStringList &arguments, QByteArray *settings = nullptr)
{
    QTemporaryDir home;
    const ProgramRun run = RunProgram(QStringLiteral(KORVANE_EXE), arguments, home);
    for (const QString &file : run.filesWritten) {
        if (settings && file.endsWith(QLatin1String("Korvane.conf")))
            *settings = FileBytes(file);
    }
    return run;
}
} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void fitToScreen()
    {
        const QSize designed(800, 572);
        const QRect fullHd(0, 0, 1920, 1080), small(0, 0, 700, 500);
        const struct {
            const char *what;
            QSize designed;
            QRect available, remembered;
            QMargins frame;
            QRect expected;
        } cases[] = {
            {"fits: centred", designed, fullHd, {}, {}, {560, 254, 800, 572}},
            {"frame counted in the centring", designed, fullHd, {}, {2, 30, 2, 2}, {560, 268, 800, 572}},
            {"1024x700 with a frame: never larger", designed, {0, 0, 1024, 700}, {}, {2, 24, 2, 2}, {112, 75, 800, 572}},
            {"700x500: bounded both ways", designed, small, {}, {}, small},
            {"700x500 with a frame", designed, small, {}, {4, 30, 4, 4}, {4, 30, 692, 466}},
            {"second screen under a top panel", designed, {1920, 32, 1280, 992}, {}, {}, {2160, 242, 800, 572}},
            {"remembered and shown whole: kept", designed, fullHd, {100, 80, 640, 480}, {2, 30, 2, 2}, {100, 80, 640, 480}},
            {"remembered larger than designed: kept", designed, fullHd, {0, 0, 1900, 1000}, {}, {0, 0, 1900, 1000}},
            {"remembered half off the screen: centred", designed, fullHd, {1600, 80, 640, 480}, {}, {560, 254, 800, 572}},
            {"remembered on a screen gone: centred", designed, fullHd, {2500, 100, 640, 480}, {}, {560, 254, 800, 572}},
            {"remembered larger than the screen now: fitted", designed, small, {0, 0, 1200, 900}, {}, small},
            {"nothing remembered", {640, 480}, {0, 0, 1024, 768}, {}, {}, {192, 144, 640, 480}},
        };
        for (const auto &c : cases) {
            const QRect placed = WindowPlacement::FitToScreen(c.designed, c.available, c.remembered, c.frame);
            QVERIFY2(placed == c.expected, qPrintable(QStringLiteral("%1: %2,%3 %4x%5").arg(QLatin1String(c.what)).arg(placed.x())
                                                          .arg(placed.y()).arg(placed.width()).arg(placed.height())));
        }
    }

    // The place and the tab come back; moved and closed (by Ctrl+Q too), the new ones are saved
    // as text for the next start.
    void aRememberedPlaceAndTabComeBackAndAreSavedOnClose()
    {
        VspApp app;
        SeedWindow(app.store, QRect(30, 20, 700, 500), "Wave");
        app.start();
        QCOMPARE(app.main()->geometry(), QRect(30, 20, 700, 500));
        QCOMPARE(app.find<QTabWidget>("SPFEtab")->currentIndex(), MainTabs::IndexOf("Wave"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Kick"));
        QVERIFY(app.find<QAction>(QStringLiteral("mnuTab(%1)").arg(MainTabs::IndexOf("Wave")))->isChecked());

        app.main()->setGeometry(40, 50, 720, 520);
        app.showTab("Map");
        QVERIFY(Activate(app.main()));
        Press(app, Qt::CTRL | Qt::Key_Q);
        QVERIFY(!app.main()->isVisible());
        const QRect saved = app.main()->geometry();
        app.store.sync();
        QCOMPARE(app.store.value("Application/Window Left").toString(), QString::number(saved.x()));
        QCOMPARE(app.store.value("Application/Window Top").toString(), QString::number(saved.y()));
        QCOMPARE(app.store.value("Application/Window Width").toString(), QStringLiteral("720"));
        QCOMPARE(app.store.value("Application/Window Height").toString(), QStringLiteral("520"));
        QCOMPARE(app.store.value("Application/Last Tab").toString(), QStringLiteral("Map"));

        VspApp next;
        for (const QString &key : app.store.allKeys())
            next.store.setValue(key, app.store.value(key));
        next.start();
        QCOMPARE(next.main()->geometry(), saved);
        QCOMPARE(next.find<QTabWidget>("SPFEtab")->currentIndex(), MainTabs::IndexOf("Map"));
    }

    // Which places are kept is the placement's own; here, that the window follows it on the
    // real screen: centred on it instead, the tab still coming back.
    void aPlaceNoScreenShowsIsNotRestored()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect remembered(screen.right() - 100, 40, 640, 480);
        VspApp app;
        SeedWindow(app.store, remembered, "Map");
        app.start();
        QVERIFY(app.main()->geometry() != remembered);
        QVERIFY(screen.contains(app.main()->frameGeometry()));
        QVERIFY(qAbs(app.main()->frameGeometry().center().x() - screen.center().x()) <= 4);
        QCOMPARE(app.find<QTabWidget>("SPFEtab")->currentIndex(), MainTabs::IndexOf("Map"));
    }

    void garbledPlacesAreIgnored()
    {
        const QList<QPair<QString, QString>> garbled = {
            {"Window Width", "wide"}, {"Window Height", "0"}, {"Window Left", "99999999"}, {"Window Top", ""}};
        for (const auto &[name, value] : garbled) {
            QTemporaryDir dir;
            QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
            SeedWindow(store, QRect(10, 20, 640, 480), "Tone2");
            QCOMPARE(Registry::ReadWindow(store).Geometry, QRect(10, 20, 640, 480));
            store.setValue("Application/" + name, value);
            const WindowSettings window = Registry::ReadWindow(store);
            QVERIFY2(!window.Geometry.isValid(), qPrintable(name));
            QCOMPARE(window.LastTab, QStringLiteral("Tone2"));
        }
    }

    // Every page scrolls instead of being squeezed below the room its layout asks for, and the
    // header and the front panel keep their room.
    void atSevenHundredByFiveHundredNoTabIsSqueezed()
    {
        ActiveApp app;
        app.main()->resize(700, 500);
        QVERIFY(app.active);
        QCOMPARE(app.main()->size(), QSize(700, 500));
        for (const QString &tab : Tabs) {
            app.showTab(tab.toLatin1().constData());
            QCoreApplication::processEvents();
            auto *page = app.find<QWidget>("tab" + tab);
            auto *scroll = app.find<QScrollArea>("scr" + tab);
            QVERIFY2(page && scroll && scroll->widget() == page && scroll->widgetResizable(), qPrintable(tab));
            QVERIFY2(page->width() >= page->minimumSizeHint().width(), qPrintable(tab));
            QVERIFY2(page->height() >= page->minimumSizeHint().height(), qPrintable(tab));
            for (QSlider *slider : page->findChildren<QSlider *>()) {
                const bool vertical = slider->orientation() == Qt::Vertical;
                const int length = vertical ? slider->height() : slider->width();
                const int least = vertical ? slider->minimumSizeHint().height() : slider->minimumSizeHint().width();
                QVERIFY2(!slider->isVisible() || (length >= least && length > 10), qPrintable(tab + " " + slider->objectName()));
            }
        }
        for (QPushButton *key : app.find<QGroupBox>("fraFrontPanel")->findChildren<QPushButton *>())
            QVERIFY2(key->width() >= key->fontMetrics().horizontalAdvance(key->text()) + 12, qPrintable(key->text()));
        QVERIFY(app.box("txtObjectName")->width() >= app.box("txtObjectName")->minimumSizeHint().width());
        // A click inside a page leaves the focus in the box being edited, not on its scroll area.
        app.showTab("Wave");
        app.box("txtFineTune")->setFocus();
        QTest::mouseClick(app.find<QWidget>("tabWave"), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(QApplication::focusWidget(), app.box("txtFineTune"));
    }

    // At the designed width, at 700 and at the least width: the link state and the lights stay,
    // nothing overlaps, and no panel but the bank's is cut short.
    void aNarrowStatusBarKeepsTheLinkStateAndLightsWithoutOverlap()
    {
        for (const int width : {780, 700, 0}) {
            ActiveApp app;
            app.main()->resize(std::max(width, app.main()->minimumSizeHint().width()), 500);
            QVERIFY(app.active);
            QCoreApplication::processEvents();
            QStatusBar *bar = app.main()->statusBar();
            QList<QWidget *> shown;
            for (int n = 1; n <= 9; ++n) {
                if (app.main()->statusPanel(n)->isVisible())
                    shown << app.main()->statusPanel(n);
            }
            QVERIFY(app.main()->statusPanel(8)->isVisible() && app.main()->statusPanel(7)->isVisible());
            QVERIFY(width < 780 || app.main()->statusPanel(1)->isVisible());
            for (const char *led : {"ledMIDIout", "ledMIDIin"}) {
                QVERIFY2(app.find<QWidget>(led)->isVisible(), led);
                shown << app.find<QWidget>(led);
            }
            QLabel *online = app.main()->statusPanel(8);
            QVERIFY(online->contentsRect().width() >= online->fontMetrics().horizontalAdvance("OFFLINE"));
            for (int a = 0; a < shown.size(); ++a) {
                QVERIFY2(bar->rect().contains(shown[a]->geometry()), qPrintable(shown[a]->objectName()));
                for (int b = a + 1; b < shown.size(); ++b)
                    QVERIFY2(!shown[a]->geometry().intersects(shown[b]->geometry()),
                             qPrintable(shown[a]->objectName() + " over " + shown[b]->objectName()));
            }
            for (int n : {1, 2, 3, 4, 5, 6}) {
                QLabel *panel = app.main()->statusPanel(n);
                QVERIFY2(!panel->isVisible() || panel->width() >= panel->sizeHint().width(), qPrintable(panel->objectName()));
            }
        }
    }

    // Each shortcut is shown beside its item in a menu; the keys themselves are pressed below.
    void shortcutsAreShownInTheMenus()
    {
        VspApp app;
        app.start();
        int shortcuts = 0;
        for (QAction *item : app.main()->findChildren<QAction *>()) {
            if (item->shortcut().isEmpty())
                continue;
            ++shortcuts;
            const QList<QObject *> owners = item->associatedObjects();
            QVERIFY2(std::any_of(owners.begin(), owners.end(), [](QObject *o) { return qobject_cast<QMenu *>(o); }),
                     qPrintable(item->objectName()));
        }
        QVERIFY(shortcuts >= 8 + 5); // a tab each, download, exit, help, next and previous object
        QCOMPARE(app.find<QAction>("mnuHelp")->shortcut(), QKeySequence(Qt::Key_F1));
    }

    // Text dragged from another program would skip the key rules of the box it lands on.
    void noBoxOnAnyTabTakesDroppedText()
    {
        VspApp app;
        app.start();
        app.main()->resize(1600, 1200);
        int boxes = 0;
        for (const QString &tab : Tabs) {
            app.showTab(tab.toLatin1().constData());
            QCoreApplication::processEvents();
            for (QLineEdit *box : app.main()->findChildren<QLineEdit *>()) {
                if (!box->isVisible() || box->isReadOnly() || !box->isEnabled())
                    continue;
                const QString before = box->text();
                QVERIFY2(!DropText(box, QStringLiteral("abc")), qPrintable(box->objectName()));
                QCOMPARE(box->text(), before);
                ++boxes;
            }
        }
        QVERIFY(boxes > 40);
    }

    // Each Ctrl+digit shows its tab, and the View menu follows a tab chosen with the mouse too.
    void ctrlDigitsShowTheTabs()
    {
        ActiveApp app;
        QVERIFY(app.active);
        for (int i = Tabs.size() - 1; i >= 0; --i) {
            Press(app, Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i));
            QCOMPARE(app.tab(), i);
            QVERIFY(app.find<QAction>(QStringLiteral("mnuTab(%1)").arg(i))->isChecked());
        }
        app.showTab("Map");
        QVERIFY(app.find<QAction>(QStringLiteral("mnuTab(%1)").arg(MainTabs::IndexOf("Map")))->isChecked());
        QVERIFY(!app.find<QAction>("mnuTab(0)")->isChecked());
    }

    // F5 reads the object shown again. The page keys step through Waves 2, 5 and 9: numbers not
    // in use are stepped over, the ends stay put.
    void f5AndThePageKeysDownloadAndStepThroughTheObjectsInUse()
    {
        ActiveApp app("Wave");
        QVERIFY(app.active);
        app.vsp->clearTraffic();
        Press(app, Qt::Key_F5);
        QCOMPARE(Commands(app, DumpCommand), QList<QByteArray>{DumpRequest(0, 2)});
        const struct {
            Qt::Key key;
            int number; // the Wave shown and asked for
            bool asked;
        } steps[] = {{Qt::Key_PageDown, 5, true}, {Qt::Key_PageDown, 9, true}, {Qt::Key_PageDown, 9, false},
                     {Qt::Key_PageUp, 5, true},   {Qt::Key_PageUp, 2, true},   {Qt::Key_PageUp, 2, false}};
        for (const auto &step : steps) {
            app.vsp->clearTraffic();
            Press(app, step.key);
            QCOMPARE(app.box("txtObjectNum")->text(), QString::number(step.number));
            QCOMPARE(Commands(app, DumpCommand), step.asked ? QList<QByteArray>{DumpRequest(0, step.number)} : QList<QByteArray>{});
        }
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Kick"));
        QCOMPARE(app.panel(4), QStringLiteral("w# 2"));
    }

    // Refused keys are said in the bank panel, whose own text comes back after a while, also
    // when several keys were refused in a row.
    void shortcutsWhileTheSpIsBusyAreRefusedAndSaidSo()
    {
        ActiveApp app("Wave");
        QVERIFY(app.active);
        Press(app, Qt::Key_PageDown); // at Wave 5, so that both directions could move
        const QString bank = app.panel(7);
        app.vsp->clearTraffic();
        app.session().exchange.setAwaitingResponse(true);
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_PageDown, Qt::Key_PageUp}) {
            Press(app, key);
            QCOMPARE(app.panel(7), BusyNotice);
        }
        app.session().exchange.setAwaitingResponse(false);
        QVERIFY(app.requests().isEmpty());
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("5"));
        QTRY_COMPARE_WITH_TIMEOUT(app.panel(7), bank, 15000);
    }

    void commandLineParsing()
    {
        const struct { QStringList arguments; const char *tab; bool refused; } cases[] = {
            {{}, "", false},
            {{"/b"}, "", false},
            {{"/B"}, "", false},
            {{"--tab", "global"}, "global", false}, // a tab in any case
            {{"-platform", "offscreen", "-style=fusion", "-reverse", "--tab", "Map"}, "Map", false}, // Qt's own options
            {{"--no-virtual-sp", "--vsp-wire-timing", "--screenshot", "x.png", "--quit-when-shown", "--tab", "Wave"}, "Wave", false},
            {{"--tab", "Tone4"}, "Tone4", true},
            {{"--tab"}, "", true},
            {{"--tab", "--no-virtual-sp"}, "", true},
            {{"--screenshot"}, "", true},
            {{"--fullscreen"}, "", true},
            {{"-x"}, "", true},
            {{"Map"}, "", true},
            {{"--tab", "Map", "Backup.SYX"}, "Map", false}, // a file to open
            {{"a.syx", "b.syx"}, "", true},
        };
        for (const auto &c : cases) {
            const CommandLine line = CommandLine::Parse(c.arguments, Tabs);
            QCOMPARE(line.tab, QLatin1String(c.tab));
            QVERIFY2(line.error.isEmpty() != c.refused, qPrintable(c.arguments.join(' ')));
        }
    }

    // --help and a wrong command line print every option and tab, and start nothing: no window,
    // no settings, no Virtual SP memory.
    void helpOrAWrongCommandLineListsTheChoicesAndStartsNothing()
    {
        const struct { QStringList arguments; int exitCode; const char *said; } cases[] = {
            {{"--help"}, 0, ""},
            {{"--tab", "Tone4"}, CommandLine::UsageError, "Unknown tab \"Tone4\""},
            {{"--fullscreen"}, CommandLine::UsageError, "Unknown option \"--fullscreen\""},
            {{"--quit-when-shown", "--tab"}, CommandLine::UsageError, "--tab needs a value"},
        };
        for (const auto &c : cases) {
            const ProgramRun run = Run(c.arguments);
            QCOMPARE(run.exitCode, c.exitCode);
            // Asked for, the choices go to the output; after a mistake, to the errors.
            const QByteArray &listed = c.exitCode == 0 ? run.output : run.errors;
            QVERIFY(c.exitCode != 0 || run.errors.isEmpty());
            for (const QString &word : QStringList{QLatin1String(c.said)} + EveryOption + Tabs)
                QVERIFY2(listed.contains(word.toUtf8()), qPrintable(word + ": " + listed));
            QVERIFY(!run.output.contains("Main window shown"));
            QVERIFY2(run.filesWritten.isEmpty(), qPrintable(run.filesWritten.join(", ")));
        }
    }

    void aValidTabStartsTheProgram()
    {
        QByteArray settings;
        const ProgramRun run = Run({"--tab", "global", "--quit-when-shown"}, &settings);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.output.contains("Main window shown"));
#ifndef Q_OS_WIN // there the settings go to the registry, which scripts/windows.sh reads back
        // It ends as a closed window does: the tab it showed is saved for the next start.
        QVERIFY2(settings.contains("Last%20Tab=Global"), settings.constData());
#endif
        // Without an ALSA sequencer or a JACK server only the Virtual SP is there, and one line says so.
        if (!QFile::exists("/dev/snd/seq") && !QFile::exists(QDir::tempPath() + "/jack-0"))
            QVERIFY2(run.errors.contains("No MIDI interface found: using the Korvane Virtual SP\n"), run.errors.constData());
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
