// The main window as a user meets it: fitted to the screen, put back where it was left, every
// tab scrolling in a small window, the keyboard shortcuts, and the command line's answers.
#include "UserInput.h"
#include "VspApp.h"
#include "app/CommandLine.h"
#include "app/WindowPlacement.h"
#include "settings/Registry.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>

namespace {
constexpr int WaveTab = 6, MapTab = 2;
const QStringList Tabs = {"Preset1", "Preset2", "Map", "Tone1", "Tone2", "Tone3", "Wave", "Global"};
const QString BusyNotice = QStringLiteral("SP busy: wait for the current exchange to finish");

// The window must be the active one for its shortcuts to fire, as for a user.
bool Activate(VspApp &app)
{
    app.main()->show();
    app.main()->activateWindow();
    return QTest::qWaitForWindowActive(app.main());
}

void Press(VspApp &app, QKeyCombination key)
{
    QTest::keyClick(app.main(), key.key(), key.keyboardModifiers());
}

// The object dump requests among what the SP received; status and directory requests may come first.
QList<QByteArray> DumpRequests(VspApp &app)
{
    QList<QByteArray> dumps;
    for (const QByteArray &request : app.requests()) {
        if (request.size() > 7 && uint8_t(request.at(7)) == 0x01)
            dumps << request;
    }
    return dumps;
}

QTabWidget *TabWidget(VspApp &app)
{
    return app.find<QTabWidget>("SPFEtab");
}

void SeedWindow(QSettings &store, const QRect &area, const QString &tab)
{
    store.setValue("Application/Window Left", QString::number(area.x()));
    store.setValue("Application/Window Top", QString::number(area.y()));
    store.setValue("Application/Window Width", QString::number(area.width()));
    store.setValue("Application/Window Height", QString::number(area.height()));
    store.setValue("Application/Last Tab", tab);
}

struct ProgramRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
    QStringList filesWritten; // under the run's own home, settings and data folders
    QByteArray settings;      // the settings file as the run left it
};

// The built program, with a home, settings and data folder of its own.
ProgramRun RunProgram(const QStringList &arguments)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.start(QStringLiteral(KORVANE_EXE), arguments);
    if (!program.waitForStarted(30000) || !program.waitForFinished(120000)) {
        program.kill();
        program.waitForFinished();
        return {};
    }
    ProgramRun run;
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.output = program.readAllStandardOutput();
    run.errors = program.readAllStandardError();
    QDirIterator files(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        run.filesWritten << files.next();
        if (run.filesWritten.last().endsWith(QLatin1String("Korvane.conf"))) {
            QFile settings(run.filesWritten.last());
            if (settings.open(QIODevice::ReadOnly))
                run.settings = settings.readAll();
        }
    }
    return run;
}

const QStringList EveryOption = {"/b", "--no-virtual-sp", "--vsp-wire-timing", "--tab NAME", "--screenshot FILE",
                                 "--quit-when-shown", "--help"};
} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void fitToScreen_data()
    {
        QTest::addColumn<QSize>("designed");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("remembered");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("expected");
        const QSize designed(800, 572);
        const QRect fullHd(0, 0, 1920, 1080);
        QTest::newRow("fits: centred") << designed << fullHd << QRect() << QMargins() << QRect(560, 254, 800, 572);
        QTest::newRow("frame counted in the centring")
            << designed << fullHd << QRect() << QMargins(2, 30, 2, 2) << QRect(560, 268, 800, 572);
        QTest::newRow("1024x700 with a frame: never larger")
            << designed << QRect(0, 0, 1024, 700) << QRect() << QMargins(2, 24, 2, 2) << QRect(112, 75, 800, 572);
        QTest::newRow("700x500: bounded both ways")
            << designed << QRect(0, 0, 700, 500) << QRect() << QMargins() << QRect(0, 0, 700, 500);
        QTest::newRow("700x500 with a frame")
            << designed << QRect(0, 0, 700, 500) << QRect() << QMargins(4, 30, 4, 4) << QRect(4, 30, 692, 466);
        QTest::newRow("second screen under a top panel")
            << designed << QRect(1920, 32, 1280, 992) << QRect() << QMargins() << QRect(2160, 242, 800, 572);
        QTest::newRow("remembered and shown whole: kept")
            << designed << fullHd << QRect(100, 80, 640, 480) << QMargins(2, 30, 2, 2) << QRect(100, 80, 640, 480);
        QTest::newRow("remembered larger than designed: kept")
            << designed << fullHd << QRect(0, 0, 1900, 1000) << QMargins() << QRect(0, 0, 1900, 1000);
        QTest::newRow("remembered half off the screen: centred")
            << designed << fullHd << QRect(1600, 80, 640, 480) << QMargins() << QRect(560, 254, 800, 572);
        QTest::newRow("remembered on a screen gone: centred")
            << designed << fullHd << QRect(2500, 100, 640, 480) << QMargins() << QRect(560, 254, 800, 572);
        QTest::newRow("remembered larger than the screen now: fitted")
            << designed << QRect(0, 0, 700, 500) << QRect(0, 0, 1200, 900) << QMargins() << QRect(0, 0, 700, 500);
        QTest::newRow("nothing remembered")
            << QSize(640, 480) << QRect(0, 0, 1024, 768) << QRect() << QMargins() << QRect(192, 144, 640, 480);
    }

    void fitToScreen()
    {
        QFETCH(QSize, designed);
        QFETCH(QRect, available);
        QFETCH(QRect, remembered);
        QFETCH(QMargins, frame);
        QFETCH(QRect, expected);
        QCOMPARE(WindowPlacement::FitToScreen(designed, available, remembered, frame), expected);
    }

    void theWindowOpensInsideTheScreensFreeArea()
    {
        VspApp app;
        QCOMPARE(app.start(), LinkStartup::Outcome::Online);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(available.contains(app.main()->geometry()), "the window is larger than the screen's free area");
        QVERIFY(available.contains(app.main()->frameGeometry()));
        // The least usable size is small enough for a small screen.
        QVERIFY(app.main()->minimumSizeHint().width() <= 700);
        QVERIFY(app.main()->minimumSizeHint().height() <= 500);
    }

    void placeAndTabAreSavedAsTextOnClose()
    {
        VspApp app;
        app.start();
        app.main()->setGeometry(40, 50, 720, 520);
        TabWidget(app)->setCurrentIndex(MapTab);
        app.main()->close();
        const QRect saved = app.main()->geometry();
        app.store.sync();
        QCOMPARE(app.store.value("Application/Window Left").toString(), QString::number(saved.x()));
        QCOMPARE(app.store.value("Application/Window Top").toString(), QString::number(saved.y()));
        QCOMPARE(app.store.value("Application/Window Width").toString(), QStringLiteral("720"));
        QCOMPARE(app.store.value("Application/Window Height").toString(), QStringLiteral("520"));
        QCOMPARE(app.store.value("Application/Last Tab").toString(), QStringLiteral("Map"));
        // Stored as text, like every other setting.
        QCOMPARE(app.store.value("Application/Window Width").typeId(), QMetaType::QString);
    }

    void aRememberedPlaceAndTabComeBack()
    {
        VspApp app;
        SeedWindow(app.store, QRect(30, 20, 700, 500), "Wave");
        app.start();
        QCOMPARE(app.main()->geometry(), QRect(30, 20, 700, 500));
        QCOMPARE(TabWidget(app)->currentIndex(), WaveTab);
        QCOMPARE(app.find<QLabel>("lblObjNumHash")->text(), QStringLiteral("w#"));
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("2"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Kick"));
        QVERIFY(app.find<QAction>("mnuTab(6)")->isChecked());

        // Closed again, the same place and tab are kept for the next start.
        app.main()->close();
        VspApp next;
        for (const QString &key : app.store.allKeys())
            next.store.setValue(key, app.store.value(key));
        next.start();
        QCOMPARE(next.main()->geometry(), QRect(30, 20, 700, 500));
        QCOMPARE(TabWidget(next)->currentIndex(), WaveTab);
    }

    void aPlaceNoScreenShowsIsNotRestored_data()
    {
        QTest::addColumn<QRect>("remembered");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("on a screen unplugged since") << QRect(screen.right() + 200, 40, 640, 480);
        QTest::newRow("half off the screen") << QRect(screen.right() - 100, 40, 640, 480);
        QTest::newRow("larger than the screen") << QRect(0, 0, screen.width() + 300, screen.height() + 300);
    }

    void aPlaceNoScreenShowsIsNotRestored()
    {
        QFETCH(QRect, remembered);
        VspApp app;
        SeedWindow(app.store, remembered, "Map");
        app.start();
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(app.main()->geometry() != remembered);
        QVERIFY(available.contains(app.main()->frameGeometry()));
        // Centred on the primary screen.
        QVERIFY(qAbs(app.main()->frameGeometry().center().x() - available.center().x()) <= 4);
        // The tab still comes back: it does not depend on the screen.
        QCOMPARE(TabWidget(app)->currentIndex(), MapTab);
    }

    void garbledPlacesAreIgnored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("width not a number") << "Window Width" << "wide";
        QTest::newRow("height zero") << "Window Height" << "0";
        QTest::newRow("left far out") << "Window Left" << "99999999";
        QTest::newRow("top empty") << "Window Top" << "";
    }

    void garbledPlacesAreIgnored()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QTemporaryDir dir;
        QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
        SeedWindow(store, QRect(10, 20, 640, 480), "Tone2");
        QCOMPARE(Registry::ReadWindow(store).Geometry, QRect(10, 20, 640, 480));
        store.setValue("Application/" + name, value);
        const WindowSettings window = Registry::ReadWindow(store);
        QVERIFY(!window.Geometry.isValid());
        QCOMPARE(window.LastTab, QStringLiteral("Tone2"));
    }

    void atSevenHundredByFiveHundredNoTabIsSqueezed()
    {
        VspApp app;
        app.start();
        app.main()->resize(700, 500);
        QVERIFY(Activate(app));
        QCOMPARE(app.main()->size(), QSize(700, 500));
        for (int i = 0; i < Tabs.size(); ++i) {
            TabWidget(app)->setCurrentIndex(i);
            QCoreApplication::processEvents();
            auto *page = app.find<QWidget>("tab" + Tabs[i]);
            QVERIFY2(page, qPrintable(Tabs[i]));
            auto *scroll = app.find<QScrollArea>("scr" + Tabs[i]);
            QVERIFY2(scroll && scroll->widget() == page, qPrintable(Tabs[i]));
            QVERIFY(scroll->widgetResizable());
            // Clicks inside the page never move the focus to the scroll area.
            QCOMPARE(scroll->focusPolicy(), Qt::NoFocus);
            // The page keeps at least the room its layout asks for; the scroll area shows part of it.
            QVERIFY2(page->width() >= page->minimumSizeHint().width(), qPrintable(Tabs[i]));
            QVERIFY2(page->height() >= page->minimumSizeHint().height(), qPrintable(Tabs[i]));
            for (QSlider *slider : page->findChildren<QSlider *>()) {
                if (!slider->isVisible())
                    continue;
                const int length = slider->orientation() == Qt::Vertical ? slider->height() : slider->width();
                const int least = slider->orientation() == Qt::Vertical ? slider->minimumSizeHint().height()
                                                                        : slider->minimumSizeHint().width();
                QVERIFY2(length >= least && length > 10, qPrintable(Tabs[i] + " " + slider->objectName()));
            }
        }
        // The header and the front panel keep their room.
        for (QPushButton *key : app.find<QGroupBox>("fraFrontPanel")->findChildren<QPushButton *>())
            QVERIFY2(key->width() >= key->fontMetrics().horizontalAdvance(key->text()) + 12, qPrintable(key->text()));
        QVERIFY(app.box("txtObjectName")->width() >= app.box("txtObjectName")->minimumSizeHint().width());
    }

    void aClickInsideAPageLeavesTheFocusInTheBoxBeingEdited()
    {
        VspApp app;
        app.start();
        QVERIFY(Activate(app));
        app.showTab(WaveTab);
        QLineEdit *box = app.box("txtFineTune");
        box->setFocus();
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::mouseClick(app.find<QWidget>("tabWave"), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(QApplication::focusWidget(), box);
    }

    void aNarrowStatusBarKeepsTheLinkStateAndLightsWithoutOverlap_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("designed") << 780;
        QTest::newRow("700") << 700;
        QTest::newRow("least") << 0;
    }

    void aNarrowStatusBarKeepsTheLinkStateAndLightsWithoutOverlap()
    {
        QFETCH(int, width);
        VspApp app;
        app.start();
        app.main()->resize(std::max(width, app.main()->minimumSizeHint().width()), 500);
        QVERIFY(Activate(app));
        QCoreApplication::processEvents();
        QStatusBar *bar = app.main()->statusBar();
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QList<QWidget *> shown;
        for (int n = 1; n <= 9; ++n) {
            if (app.main()->statusPanel(n)->isVisible())
                shown << app.main()->statusPanel(n);
        }
        QVERIFY(app.main()->statusPanel(8)->isVisible());
        QVERIFY(app.main()->statusPanel(7)->isVisible());
        for (const char *led : {"ledMIDIout", "ledMIDIin"}) {
            auto *light = app.find<QWidget>(led);
            QVERIFY(light->isVisible());
            shown << light;
        }
        // The link state is never shortened.
        QLabel *online = app.main()->statusPanel(8);
        QVERIFY(online->contentsRect().width() >= online->fontMetrics().horizontalAdvance("OFFLINE"));
        for (int a = 0; a < shown.size(); ++a) {
            QVERIFY2(bar->rect().contains(shown[a]->geometry()), qPrintable(shown[a]->objectName()));
            for (int b = a + 1; b < shown.size(); ++b)
                QVERIFY2(!shown[a]->geometry().intersects(shown[b]->geometry()),
                         qPrintable(shown[a]->objectName() + " over " + shown[b]->objectName()));
        }
        // Each panel still shown has room for its text, except the bank panel, which shortens.
        for (int n : {1, 2, 3, 4, 5, 6}) {
            QLabel *panel = app.main()->statusPanel(n);
            if (panel->isVisible())
                QVERIFY2(panel->width() >= panel->sizeHint().width(), qPrintable(panel->objectName()));
        }
        if (width >= 780)
            QVERIFY(app.main()->statusPanel(1)->isVisible());
    }

    void shortcutsAreShownInTheMenus_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("download") << "mnuDLobject" << QKeySequence(Qt::Key_F5);
        QTest::newRow("exit") << "mnuExit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
        QTest::newRow("help for the tab") << "mnuHelp" << QKeySequence(Qt::Key_F1);
        QTest::newRow("next object") << "mnuNextObject" << QKeySequence(Qt::Key_PageDown);
        QTest::newRow("previous object") << "mnuPreviousObject" << QKeySequence(Qt::Key_PageUp);
        for (int i = 0; i < Tabs.size(); ++i)
            QTest::newRow(qPrintable(Tabs[i])) << QStringLiteral("mnuTab(%1)").arg(i)
                                               << QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i));
    }

    void shortcutsAreShownInTheMenus()
    {
        QFETCH(QString, action);
        QFETCH(QKeySequence, keys);
        VspApp app;
        app.start();
        auto *item = app.find<QAction>(action);
        QVERIFY(item);
        QCOMPARE(item->shortcut(), keys);
        QVERIFY(qobject_cast<QMenu *>(item->parent()) || !item->associatedObjects().isEmpty());
        bool inAMenu = false;
        for (QObject *owner : item->associatedObjects())
            inAMenu = inAMenu || qobject_cast<QMenu *>(owner);
        QVERIFY2(inAMenu, "the shortcut is not shown in any menu");
    }

    // Text dragged from another program would skip the key rules of the box it lands on.
    void noBoxOnAnyTabTakesDroppedText()
    {
        VspApp app;
        app.start();
        app.main()->resize(1600, 1200);
        int boxes = 0;
        for (int tab = 0; tab < Tabs.size(); ++tab) {
            app.showTab(tab);
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

    void ctrlDigitsShowTheTabs()
    {
        VspApp app;
        app.start();
        QVERIFY(Activate(app));
        for (int i = Tabs.size() - 1; i >= 0; --i) {
            Press(app, Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i));
            QCOMPARE(TabWidget(app)->currentIndex(), i);
            QVERIFY(app.find<QAction>(QStringLiteral("mnuTab(%1)").arg(i))->isChecked());
        }
        // The View menu follows a tab chosen with the mouse too.
        TabWidget(app)->setCurrentIndex(MapTab);
        QVERIFY(app.find<QAction>("mnuTab(2)")->isChecked());
        QVERIFY(!app.find<QAction>("mnuTab(0)")->isChecked());
    }

    void f5DownloadsTheCurrentObject()
    {
        VspApp app;
        app.start();
        QVERIFY(Activate(app));
        app.showTab(WaveTab);
        app.vsp->clearTraffic();
        Press(app, Qt::Key_F5);
        QCOMPARE(DumpRequests(app), QList<QByteArray>{DumpRequest(0, 2)});
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Kick"));

        app.showTab(MapTab);
        app.vsp->clearTraffic();
        Press(app, Qt::Key_F5);
        QCOMPARE(DumpRequests(app).value(0), DumpRequest(2, 4));
    }

    void pageKeysStepThroughTheObjectsInUse()
    {
        VspApp app;
        app.start();
        QVERIFY(Activate(app));
        app.showTab(WaveTab);
        struct Step {
            Qt::Key key;
            const char *number;
            const char *name;
            int request; // the Wave asked for, -1 for nothing sent
        };
        // Waves 2, 5 and 9: numbers not in use are stepped over, the ends stay put.
        const Step steps[] = {
            {Qt::Key_PageDown, "5", "Snare", 5}, {Qt::Key_PageDown, "9", "Hat", 9}, {Qt::Key_PageDown, "9", "Hat", -1},
            {Qt::Key_PageUp, "5", "Snare", 5},   {Qt::Key_PageUp, "2", "Kick", 2},  {Qt::Key_PageUp, "2", "Kick", -1},
        };
        for (const Step &step : steps) {
            app.vsp->clearTraffic();
            Press(app, step.key);
            QCOMPARE(app.box("txtObjectNum")->text(), QLatin1String(step.number));
            QCOMPARE(app.box("txtObjectName")->text(), QLatin1String(step.name));
            if (step.request < 0)
                QVERIFY(app.requests().isEmpty());
            else
                QCOMPARE(DumpRequests(app), QList<QByteArray>{DumpRequest(0, step.request)});
        }
        QCOMPARE(app.panel(4), QStringLiteral("w# 2"));
    }

    void shortcutsWhileTheSpIsBusyAreRefusedAndSaidSo_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("F5") << int(Qt::Key_F5);
        QTest::newRow("Page Down") << int(Qt::Key_PageDown);
        QTest::newRow("Page Up") << int(Qt::Key_PageUp);
    }

    void shortcutsWhileTheSpIsBusyAreRefusedAndSaidSo()
    {
        QFETCH(int, key);
        VspApp app;
        app.start();
        QVERIFY(Activate(app));
        app.showTab(WaveTab);
        Press(app, Qt::Key_PageDown); // at Wave 5, so that both directions could move
        app.vsp->clearTraffic();
        app.session().exchange.setAwaitingResponse(true);
        Press(app, static_cast<Qt::Key>(key));
        app.session().exchange.setAwaitingResponse(false);
        QVERIFY(app.requests().isEmpty());
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("5"));
        QCOMPARE(app.panel(7), BusyNotice);
    }

    void ctrlQClosesAndSavesTheSettings()
    {
        VspApp app;
        app.start();
        QVERIFY(Activate(app));
        app.showTab(MapTab);
        Press(app, Qt::CTRL | Qt::Key_Q);
        QVERIFY(!app.main()->isVisible());
        app.store.sync();
        QCOMPARE(app.store.value("Application/Last Tab").toString(), QStringLiteral("Map"));
        QVERIFY(!app.store.value("MIDI Interface/Input").toString().isEmpty());
    }

    void commandLineParsing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<bool>("refused");
        QTest::newRow("nothing") << QStringList() << QString() << false;
        QTest::newRow("debug log") << QStringList{"/b"} << QString() << false;
        QTest::newRow("debug log capital") << QStringList{"/B"} << QString() << false;
        QTest::newRow("a tab in any case") << QStringList{"--tab", "global"} << "global" << false;
        QTest::newRow("Qt's own options") << QStringList{"-platform", "offscreen", "-style=fusion", "-reverse", "--tab", "Map"}
                                          << "Map" << false;
        QTest::newRow("every option") << QStringList{"--no-virtual-sp", "--vsp-wire-timing", "--screenshot", "x.png",
                                                     "--quit-when-shown", "--tab", "Wave"}
                                      << "Wave" << false;
        QTest::newRow("unknown tab") << QStringList{"--tab", "Tone4"} << "Tone4" << true;
        QTest::newRow("tab without a name") << QStringList{"--tab"} << QString() << true;
        QTest::newRow("tab followed by an option") << QStringList{"--tab", "--no-virtual-sp"} << QString() << true;
        QTest::newRow("screenshot without a file") << QStringList{"--screenshot"} << QString() << true;
        QTest::newRow("unknown long option") << QStringList{"--fullscreen"} << QString() << true;
        QTest::newRow("unknown short option") << QStringList{"-x"} << QString() << true;
        QTest::newRow("stray word") << QStringList{"Map"} << QString() << true;
        QTest::newRow("a file to open") << QStringList{"--tab", "Map", "Backup.SYX"} << "Map" << false;
        QTest::newRow("two files to open") << QStringList{"a.syx", "b.syx"} << QString() << true;
    }

    void commandLineParsing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, tab);
        QFETCH(bool, refused);
        const CommandLine line = CommandLine::Parse(arguments, Tabs);
        QCOMPARE(line.tab, tab);
        QCOMPARE(!line.error.isEmpty(), refused);
    }

    void helpPrintsEveryOptionAndStartsNothing()
    {
        const ProgramRun run = RunProgram({"--help"});
        QCOMPARE(run.exitCode, 0);
        for (const QString &option : EveryOption)
            QVERIFY2(run.output.contains(option.toUtf8()), qPrintable(option));
        for (const QString &tab : Tabs)
            QVERIFY2(run.output.contains(tab.toUtf8()), qPrintable(tab));
        QVERIFY(run.errors.isEmpty());
        QVERIFY2(run.filesWritten.isEmpty(), qPrintable(run.filesWritten.join(", ")));
    }

    void aWrongCommandLineIsRefusedWithTheValidChoices_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("unknown tab") << QStringList{"--tab", "Tone4"} << "Unknown tab \"Tone4\"";
        QTest::newRow("unknown option") << QStringList{"--fullscreen"} << "Unknown option \"--fullscreen\"";
        QTest::newRow("missing tab name") << QStringList{"--quit-when-shown", "--tab"} << "--tab needs a value";
    }

    void aWrongCommandLineIsRefusedWithTheValidChoices()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        const ProgramRun run = RunProgram(arguments);
        QCOMPARE(run.exitCode, CommandLine::UsageError);
        QVERIFY2(run.errors.contains(said.toUtf8()), run.errors.constData());
        for (const QString &option : EveryOption)
            QVERIFY2(run.errors.contains(option.toUtf8()), qPrintable(option));
        for (const QString &tab : Tabs)
            QVERIFY2(run.errors.contains(tab.toUtf8()), qPrintable(tab));
        // Nothing was started: no window, no settings, no Virtual SP memory.
        QVERIFY(!run.output.contains("Main window shown"));
        QVERIFY2(run.filesWritten.isEmpty(), qPrintable(run.filesWritten.join(", ")));
    }

    void aValidTabStartsTheProgram()
    {
        const ProgramRun run = RunProgram({"--tab", "global", "--quit-when-shown"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.output.contains("Main window shown"));
#ifndef Q_OS_WIN // there the settings go to the registry, which scripts/windows.sh reads back
        // It ends as a closed window does: the tab it showed is saved for the next start.
        QVERIFY2(run.settings.contains("Last%20Tab=Global"), run.settings.constData());
#endif
        // Without an ALSA sequencer or a JACK server only the Virtual SP is there, and one line says so.
        if (!QFile::exists("/dev/snd/seq") && !QFile::exists(QDir::tempPath() + "/jack-0"))
            QVERIFY2(run.errors.contains("No MIDI interface found: using the Korvane Virtual SP\n"), run.errors.constData());
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
