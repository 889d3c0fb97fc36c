// Measures the program's own costs, through the whole program as a user runs it (main window
// shown, lights, status bar): an exchange against a device that answers at once, retrieval and
// backup of a large memory against the MIDI wire time, every tab's redisplay and paint, and the
// start to the main window beside a minimal Qt program. Each figure is printed with its target.
//
//   korvane-bench [exchange|retrieval|tabs|map|backup|library|start ...]   (default: all)
#include "InstantBackend.h"
#include "app/BackupCommand.h"
#include "app/Korvane.h"
#include "app/LibraryMenus.h"
#include "app/frmLibrary.h"
#include "library/Library.h"
#include "library/LibraryImport.h"
#include "editors/Session.h"
#include "app/PageBuilder.h"
#include "app/frmMain.h"
#include "objects/Backup.h"
#include "editors/Compare.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpBackupFile.h"
#include "vsp/SpLayout.h"
#include "vsp/VirtualSpBackend.h"
#include "midi/Notifier.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace {

class SilentNotifier : public Notifier {
public:
    void message(Icon, const QString &, const QString &text) override { qWarning("%s", qPrintable(text)); }
    bool question(const QString &, const QString &) override { return false; }
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void ExchangeOverhead(QTextStream &out)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat);
    SilentNotifier notifier;
    std::vector<std::unique_ptr<MidiBackend>> backends;
    backends.push_back(std::make_unique<InstantBackend>());
    Session session(store, notifier, std::move(backends));
    session.comms.OpenInputDevice();
    session.comms.OpenOutputDevice();

    constexpr int Warmup = 2000;
    constexpr int Rounds = 5;
    constexpr int Exchanges = 20000;
    for (int i = 0; i < Warmup; ++i)
        session.frontPanel.Press(8);
    std::vector<double> perExchange;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Exchanges; ++i) {
            if (session.frontPanel.Press(8) != "0")
                qFatal("exchange failed");
        }
        perExchange.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0 / Exchanges);
    }
    out << QStringLiteral("exchange overhead (front-panel press, instant device): median %1 us, best %2 us "
                          "over %3 rounds of %4\n")
               .arg(Median(perExchange), 0, 'f', 2)
               .arg(*std::min_element(perExchange.begin(), perExchange.end()), 0, 'f', 2)
               .arg(Rounds)
               .arg(Exchanges);
}

// The same exchange through the whole program as a user has it: the main window shown with its
// lights and status bar, the key pressed through its button, and (when asked) the MIDI monitor
// open. Run under a real X server to count the repaints a display costs.
void WholeProgramExchange(QTextStream &out)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat);
    SilentNotifier notifier;
    KorvaneOptions options;
    options.currentDirectory = dir.path();
    options.store = &store;
    options.notifier = &notifier;
    options.backends.push_back(std::make_unique<InstantBackend>());
    Korvane korvane(std::move(options));
    if (korvane.start() != LinkStartup::Outcome::Online)
        qFatal("the instant device did not answer");
    frmMain *main = korvane.mainWindow();
    auto *button = main->findChild<QPushButton *>(QStringLiteral("cmdPushButton(8)"));
    if (!button)
        qFatal("no +/Inc button");
    QApplication::processEvents();

    const auto measure = [&](const QString &what) {
        constexpr int Warmup = 2000;
        constexpr int Rounds = 5;
        constexpr int Exchanges = 10000;
        for (int i = 0; i < Warmup; ++i)
            button->click();
        std::vector<double> perExchange;
        for (int round = 0; round < Rounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < Exchanges; ++i)
                button->click();
            // What the exchanges left for later (paints, monitor rows) is their cost too.
            QApplication::processEvents();
            perExchange.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0 / Exchanges);
        }
        out << QStringLiteral("exchange through the whole program (%1, %2): median %3 us, best %4 us over %5 rounds "
                              "of %6\n")
                   .arg(what, QGuiApplication::platformName())
                   .arg(Median(perExchange), 0, 'f', 2)
                   .arg(*std::min_element(perExchange.begin(), perExchange.end()), 0, 'f', 2)
                   .arg(Rounds)
                   .arg(Exchanges);
        out.flush();
    };
    measure(QStringLiteral("main window, lights, status bar"));
    main->ShowMonitor();
    QApplication::processEvents();
    measure(QStringLiteral("main window, lights, status bar, MIDI monitor open"));
}

// Milliseconds from starting exe to its "Main window shown" line, in a fresh home folder.
double StartMilliseconds(const QString &exe, const QStringList &arguments)
{
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home.path());
    QElapsedTimer timer;
    timer.start();
    process.start(exe, arguments);
    QByteArray printed;
    while (!printed.contains("Main window shown")) {
        if (!process.waitForReadyRead(10000))
            qFatal("%s did not show its main window", qPrintable(exe));
        printed += process.readAllStandardOutput();
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished(10000);
    return ms;
}

// Korvane (on the Virtual SP, no MIDI hardware) and the minimal program, started in turn so that
// both see the same machine.
void StartupTime(QTextStream &out)
{
    constexpr int Runs = 15;
    std::vector<double> korvane;
    std::vector<double> minimal;
    for (int run = 0; run < Runs; ++run) {
        minimal.push_back(StartMilliseconds(QStringLiteral(MINIMAL_WINDOW_EXE), {}));
        korvane.push_back(StartMilliseconds(QStringLiteral(KORVANE_EXE), {QStringLiteral("--quit-when-shown")}));
    }
    out << QStringLiteral("start to main window shown (%1): Korvane on the Virtual SP median %2 ms, best %3 ms; "
                          "a QMainWindow with a QTabWidget median %4 ms, best %5 ms; ratio of medians %6 "
                          "(target at most 1.3), of bests %7 (%8 runs each, alternating)\n")
               .arg(qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")))
               .arg(Median(korvane), 0, 'f', 1)
               .arg(*std::min_element(korvane.begin(), korvane.end()), 0, 'f', 1)
               .arg(Median(minimal), 0, 'f', 1)
               .arg(*std::min_element(minimal.begin(), minimal.end()), 0, 'f', 1)
               .arg(Median(korvane) / Median(minimal), 0, 'f', 3)
               .arg(*std::min_element(korvane.begin(), korvane.end()) / *std::min_element(minimal.begin(), minimal.end()),
                    0, 'f', 3)
               .arg(Runs);
    out.flush();
}


// The bytes both ways of the traffic recorded, as the MIDI wire carries them.
qint64 WireNanoseconds(const VirtualSpBackend &vsp)
{
    qint64 bytes = 0;
    for (const auto &t : vsp.traffic())
        bytes += t.message.size();
    return VirtualSpBackend::WireNanoseconds(bytes);
}

// A large memory: the factory bank with every Wave, Tone, Map and Preset number up to the counts
// given filled with copies of its first object of that kind, renamed.
Vsp::SpMemory LargeMemory()
{
    Vsp::SpMemory memory = Vsp::FactoryBank();
    for (const auto &[kind, count] : {std::pair{Vsp::Wave, 100}, std::pair{Vsp::Tone, 100}, std::pair{Vsp::Map, 40},
                                      std::pair{Vsp::Preset, 40}}) {
        auto &objects = memory.of(kind);
        if (objects.empty())
            qFatal("the factory bank has no object of kind %d", kind);
        const QByteArray first = objects.begin()->second;
        for (int n = 0; n < count; ++n) {
            QByteArray record = first;
            Vsp::SetName(record, QByteArrayLiteral("Bench ") + QByteArray::number(n));
            objects[n] = record;
        }
    }
    if (memory.parameterBytesFree() < 0)
        qFatal("the large memory does not fit the parameter memory");
    return memory;
}

QString Counts(const Vsp::SpMemory &memory)
{
    return QStringLiteral("%1 Waves, %2 Tones, %3 Maps, %4 Presets, %5 Multis")
        .arg(memory.of(Vsp::Wave).size())
        .arg(memory.of(Vsp::Tone).size())
        .arg(memory.of(Vsp::Map).size())
        .arg(memory.of(Vsp::Preset).size())
        .arg(memory.of(Vsp::Multi).size());
}

// The whole program on the Virtual SP, its main window shown as a user has it.
struct BenchApp {
    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat};
    SilentNotifier notifier;
    VirtualSpBackend *vsp = nullptr;
    std::unique_ptr<Korvane> korvane;
    frmMain *main = nullptr;

    explicit BenchApp(bool wireTiming, const std::optional<Vsp::SpMemory> &memory = std::nullopt,
                      bool pagesWhenShown = false)
    {
        VirtualSpBackend::Options options;
        options.wireTiming = wireTiming;
        auto backend = std::make_unique<VirtualSpBackend>(options);
        vsp = backend.get();
        if (memory)
            vsp->device().setMemory(*memory);
        KorvaneOptions k;
        k.currentDirectory = dir.path();
        k.store = &store;
        k.notifier = &notifier;
        k.backends.push_back(std::move(backend));
        k.pagesWhenShown = pagesWhenShown;
        k.libraryPath = dir.filePath(QStringLiteral("library.sqlite"));
        korvane = std::make_unique<Korvane>(std::move(k));
        if (korvane->start() != LinkStartup::Outcome::Online)
            qFatal("the Virtual SP did not answer");
        main = korvane->mainWindow();
        main->show();
        QApplication::processEvents();
    }
};

// The pages the window does not show at start are made afterwards, one editor's pages per turn
// of the event loop: each step is a moment the window does not answer.
void LatePageSteps(QTextStream &out)
{
    constexpr int Rounds = 7;
    const QStringList captions = frmMain::TabCaptions();
    std::map<int, std::vector<double>> steps; // by the first tab of the step
    for (int round = 0; round < Rounds; ++round) {
        BenchApp app(false, std::nullopt, true);
        for (int tab = 0; tab < frmMain::Tabs; ++tab) {
            if (app.main->pages().Unbuilt() == 0)
                break;
            const int before = app.main->pages().Unbuilt();
            QElapsedTimer timer;
            timer.start();
            app.main->pages().BuildTab(tab);
            QApplication::processEvents(); // the display and paint that follow
            if (app.main->pages().Unbuilt() < before)
                steps[tab].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    QStringList parts;
    double longest = 0;
    for (const auto &[tab, times] : steps) {
        parts << QStringLiteral("%1 %2 ms").arg(captions.value(tab)).arg(Median(times), 0, 'f', 2);
        longest = std::max(longest, Median(times));
    }
    out << QStringLiteral("pages made after the window shows, one step each (median of %1): %2; longest step "
                          "%3 ms\n")
               .arg(Rounds)
               .arg(parts.join(QStringLiteral(", ")))
               .arg(longest, 0, 'f', 2);
}

// The time of runs of `work` against the wire time of the traffic each made, median of Rounds.
template <typename Work>
double WireRatio(BenchApp &app, Work work)
{
    constexpr int Rounds = 3;
    std::vector<double> ratios;
    for (int round = 0; round < Rounds; ++round) {
        app.vsp->clearTraffic();
        QElapsedTimer timer;
        timer.start();
        work();
        const double elapsed = static_cast<double>(timer.nsecsElapsed());
        ratios.push_back(elapsed / static_cast<double>(WireNanoseconds(*app.vsp)));
    }
    return Median(ratios);
}

void RetrievalTimes(QTextStream &out)
{
    {
        const Vsp::SpMemory large = LargeMemory();
        BenchApp app(true, large);
        const double ratio = WireRatio(app, [&] {
            if (!app.main->retrieval().AllObjectsDump())
                qFatal("the retrieval failed");
        });
        out << QStringLiteral("full retrieval of a large memory (%1) at 31250 baud, window shown: time / wire time "
                              "= %2 (target at most 1.02; median of 3; %3 messages, %4 ms of wire time)\n")
                   .arg(Counts(large))
                   .arg(ratio, 0, 'f', 4)
                   .arg(app.vsp->traffic().size())
                   .arg(static_cast<double>(WireNanoseconds(*app.vsp)) / 1e6, 0, 'f', 1);
        out.flush();
    }
    BenchApp app(false);
    constexpr int Rounds = 50;
    std::vector<double> retrieval;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        app.main->retrieval().AllObjectsDump();
        retrieval.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    out << QStringLiteral("full retrieval with instant answers (program's own time): median %1 ms over %2 runs\n")
               .arg(Median(retrieval), 0, 'f', 2)
               .arg(Rounds);
    // After an accepted edit the kind is read back (status, directory, dump) and its tab redrawn.
    for (const auto &[kind, tab] : {std::pair{KindTone, "Tone1"}, std::pair{KindWave, "Wave"}}) {
        app.main->ShowTab(QLatin1String(tab));
        QApplication::processEvents();
        constexpr int ReadBacks = 300;
        std::vector<double> times;
        for (int i = 0; i < ReadBacks; ++i) {
            QElapsedTimer readBack;
            readBack.start();
            app.main->retrieval().ObjectDownload(kind);
            QApplication::processEvents();
            times.push_back(static_cast<double>(readBack.nsecsElapsed()) / 1e6);
        }
        out << QStringLiteral("read back and redisplay after an edit, %1 tab: median %2 ms (%3 runs)\n")
                   .arg(QLatin1String(tab))
                   .arg(Median(times), 0, 'f', 3)
                   .arg(ReadBacks);
    }
}

// Every tab redisplayed from its working image and painted, as after each read-back: the tab's
// page, and the whole window for comparison. Wall time, and the processor time the program spent:
// on a machine shared with other work the two differ by the waits for a core.
void TabTimes(QTextStream &out)
{
    BenchApp app(false);
    auto *tabs = app.main->findChild<QTabWidget *>(QStringLiteral("SPFEtab"));
    const std::map<QString, std::vector<int>> kinds = {
        {QStringLiteral("Preset1"), {KindPreset}}, {QStringLiteral("Preset2"), {KindPreset}},
        {QStringLiteral("Map"), {KindMap}},         {QStringLiteral("Tone1"), {KindTone}},
        {QStringLiteral("Tone2"), {KindTone}},      {QStringLiteral("Tone3"), {KindTone}},
        {QStringLiteral("Wave"), {KindWave}},       {QStringLiteral("Global"), {KindMulti, KindGlobal}}};
    constexpr int Redisplays = 300;
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        QApplication::processEvents();
        const QString caption = tabs->tabText(index);
        const auto found = kinds.find(caption);
        if (found == kinds.end())
            qFatal("no kinds known for the %s tab", qPrintable(caption));
        const auto measure = [&](QWidget *painted) {
            std::vector<double> wall;
            std::vector<double> cpu;
            for (int i = 0; i < Redisplays; ++i) {
                QElapsedTimer timer;
                timer.start();
                const std::clock_t started = std::clock();
                for (int kind : found->second)
                    app.main->retrieval().routines(kind).display();
                painted->repaint();
                cpu.push_back(static_cast<double>(std::clock() - started) * 1000.0 / CLOCKS_PER_SEC);
                wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            }
            return std::pair{Median(wall), Median(cpu)};
        };
        const auto [pageWall, pageCpu] = measure(tabs->currentWidget());
        const auto [windowWall, windowCpu] = measure(app.main);
        out << QStringLiteral("%1 tab redisplayed and painted: median %2 ms (processor %3 ms; target under 5 ms); "
                              "with the whole window painted: median %4 ms (processor %5 ms) (%6 runs each)\n")
                   .arg(caption, -7)
                   .arg(pageWall, 0, 'f', 3)
                   .arg(pageCpu, 0, 'f', 3)
                   .arg(windowWall, 0, 'f', 3)
                   .arg(windowCpu, 0, 'f', 3)
                   .arg(Redisplays);
        out.flush();
    }
}

// The Map tab with a 16-zone Map: its redisplay and paint, keyboard included, and the program's
// time from the pointer entering a key during a drag to that key's Note On being sent.
void MapTabTimes(QTextStream &out)
{
    BenchApp app(false);
    frmMain *main = app.korvane->mainWindow();
    constexpr int Zones = 16;
    QByteArray map(Vsp::RecordBytes(Vsp::Map, Zones), '\0');
    Vsp::SetName(map, "Bench Map");
    map[Vsp::MapLastZoneOffset] = static_cast<char>(Zones - 1);
    for (int z = 0; z < Zones; ++z) {
        const int base = Vsp::MapZonesOffset + Vsp::MapZoneBytes * z;
        map[base + Vsp::ZoneField::LowNote] = static_cast<char>(8 * z);
        map[base + Vsp::ZoneField::HighNote] = static_cast<char>(8 * z + 6); // a gap of one note
        map[base + Vsp::ZoneField::Volume] = 80;
    }
    constexpr int MapNumber = 99;
    app.vsp->device().memory().of(Vsp::Map)[MapNumber] = map;
    main->ShowTab(QStringLiteral("Map"));
    const Retrieval::Routines &routines = main->retrieval().routines(KindMap);
    if (!routines.dump(MapNumber))
        qFatal("the 16-zone Map was not read");
    // The tab's own page repainted after each redisplay; the whole window once more for comparison.
    QWidget *tab = main->findChild<QWidget *>(QStringLiteral("MapEditor"));
    constexpr int Redisplays = 300;
    std::vector<double> shown, painted, window;
    for (int i = 0; i < Redisplays; ++i) {
        QElapsedTimer timer;
        timer.start();
        routines.display();
        shown.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        tab->repaint();
        painted.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    for (int i = 0; i < Redisplays; ++i) {
        QElapsedTimer timer;
        timer.start();
        routines.display();
        main->repaint();
        window.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    out << QStringLiteral("Map tab, 16 zones, keyboard included: redisplay median %1 ms; redisplay and paint of the "
                          "tab median %2 ms, best %3 ms; with the whole window painted median %4 ms (%5 runs each)\n")
               .arg(Median(shown), 0, 'f', 3)
               .arg(Median(painted), 0, 'f', 3)
               .arg(*std::min_element(painted.begin(), painted.end()), 0, 'f', 3)
               .arg(Median(window), 0, 'f', 3)
               .arg(Redisplays);

    auto *panel = main->findChild<QWidget *>(QStringLiteral("pnlKey(128)"));
    const auto keyPoint = [main](int key) {
        const QRect r = main->findChild<QWidget *>(QStringLiteral("pnlKey(%1)").arg(key))->geometry();
        return QPoint(r.center().x(), r.top() + r.height() * 9 / 10);
    };
    const auto send = [panel](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, panel->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(panel, &event);
    };
    constexpr int Moves = 20000;
    constexpr int PerDrag = 500; // well within the notes one drag may hold
    std::vector<double> moves;
    for (int i = 0; i < Moves; ++i) {
        if (i % PerDrag == 0) {
            send(QEvent::MouseButtonPress, keyPoint(0), Qt::LeftButton, Qt::LeftButton);
            app.vsp->clearTraffic();
        }
        const QPoint at = keyPoint(i % 2 == 0 ? 2 : 4); // each move enters a new key
        QElapsedTimer timer;
        timer.start();
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        moves.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e3);
        if (i % PerDrag == PerDrag - 1)
            send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    std::vector<double> sorted = moves;
    std::sort(sorted.begin(), sorted.end());
    out << QStringLiteral("keyboard drag, pointer onto a new key to its Note On sent: median %1 us, 99th percentile "
                          "%2 us, worst %3 us (%4 moves)\n")
               .arg(Median(moves), 0, 'f', 2)
               .arg(sorted[sorted.size() * 99 / 100], 0, 'f', 2)
               .arg(sorted.back(), 0, 'f', 2)
               .arg(Moves);
}
// A whole backup through the program at 31250 baud against the wire time of its traffic, and
// the compare of two backups of a full memory.
void BackupTimes(QTextStream &out)
{
    const Vsp::SpMemory large = LargeMemory();
    BenchApp app(true, large);
    const double ratio = WireRatio(app, [&] {
        const auto outcome = BackupCommand::Backup(app.main->services(), app.korvane->session(),
                                                   app.dir.filePath(QStringLiteral("bench.syx")));
        if (outcome.result != BackupCommand::Result::Done)
            qFatal("the backup failed: %s", qPrintable(outcome.text));
    });
    out << QStringLiteral("backup of a large memory (%1) at 31250 baud, window shown: time / wire time = %2 "
                          "(target at most 1.02; median of 3; %3 messages, %4 ms of wire time)\n")
               .arg(Counts(large))
               .arg(ratio, 0, 'f', 4)
               .arg(app.vsp->traffic().size())
               .arg(static_cast<double>(WireNanoseconds(*app.vsp)) / 1e6, 0, 'f', 1);
    out.flush();

    // Every number each kind allows that fits the parameter memory, twice with every Preset changed.
    Vsp::SpMemory full;
    for (int n = 0; n < 256; ++n) {
        for (int kind : {Vsp::Tone, Vsp::Map, Vsp::Preset, Vsp::Multi}) {
            if (n > Vsp::HighestAllowed(kind))
                continue;
            QByteArray record(Vsp::RecordBytes(kind, 4), '\0');
            Vsp::SetName(record, "Bench");
            if (kind == Vsp::Map) {
                record[Vsp::MapLastZoneOffset] = 3;
                for (int z = 0; z < 4; ++z) {
                    record[Vsp::MapZonesOffset + z * Vsp::MapZoneBytes + Vsp::ZoneField::LowNote] = static_cast<char>(z * 32);
                    record[Vsp::MapZonesOffset + z * Vsp::MapZoneBytes + Vsp::ZoneField::HighNote] = static_cast<char>(z * 32 + 31);
                }
            }
            Vsp::SpMemory trial = full;
            trial.of(kind)[n] = record;
            if (trial.parameterBytesFree() >= 0)
                full = trial;
        }
    }
    Vsp::SpMemory changed = full;
    for (auto &[n, record] : changed.of(Vsp::Preset))
        record[40 + n % 100] = 9;
    const auto first = Backup::Parse(Vsp::BackupOf(full)).contents;
    const auto second = Backup::Parse(Vsp::BackupOf(changed)).contents;
    if (!first || !second)
        qFatal("the full backups could not be read");
    constexpr int Compares = 20;
    std::vector<double> times;
    qsizetype differences = 0;
    for (int i = 0; i < Compares; ++i) {
        QElapsedTimer timer;
        timer.start();
        differences = Compare::Differences(*first, *second).size();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    out << QStringLiteral("compare of two backups of a full memory (%1 objects, %2 differences): median %3 ms "
                          "(target under 50 ms; %4 runs)\n")
               .arg(first->objects.size())
               .arg(differences)
               .arg(Median(times), 0, 'f', 3)
               .arg(Compares);
}

} // namespace

// A library of `objects` distinct Tones over `snapshots` snapshots, each Tone's bytes and name its own.
void FillLibrary(Library &library, int objects, int snapshots)
{
    QByteArray tone;
    const Backup::Contents factory = *Backup::Parse(Vsp::BackupOf(Vsp::FactoryBank())).contents;
    for (const Backup::Object &object : factory.objects) {
        if (object.kind == KindTone && tone.isEmpty())
            tone = object.dump;
    }
    const int perSnapshot = objects / snapshots;
    for (int s = 0; s < snapshots; ++s) {
        Backup::Contents contents;
        for (int i = 0; i < perSnapshot; ++i) {
            const int serial = s * perSnapshot + i;
            Backup::Object object{KindTone, i, QStringLiteral("Bench %1").arg(serial), tone};
            // Five nibbles of the Tone's body make each one distinct.
            for (int n = 0; n < 5; ++n)
                object.dump[60 + n] = static_cast<char>((serial >> (4 * n)) & 0x0F);
            const QByteArray name = object.name.toLatin1().leftJustified(14, ' ');
            for (int c = 0; c < 14; ++c) {
                object.dump[19 + 2 * c] = static_cast<char>((name[c] >> 4) & 0x0F);
                object.dump[20 + 2 * c] = static_cast<char>(name[c] & 0x0F);
            }
            contents.objects.append(object);
        }
        QString error;
        if (!library.AddSnapshot(contents, QString(), QStringLiteral("bench"), {}, &error))
            qFatal("the bench library could not be filled: %s", qPrintable(error));
    }
}

// The library through the program: a snapshot of the large memory at 31250 baud against its
// wire time, search and the window over 100,000 stored objects, and importing 100 backups.
void LibraryTimes(QTextStream &out)
{
    {
        const Vsp::SpMemory large = LargeMemory();
        BenchApp app(true, large);
        QAction *snapshot = app.main->findChild<QAction *>(QStringLiteral("mnuSnapshot"));
        const double ratio = WireRatio(app, [&] { snapshot->trigger(); });
        out << QStringLiteral("snapshot of a large memory (%1) at 31250 baud, window shown: time / wire time = %2 "
                              "(target at most 1.02; median of 3)\n")
                   .arg(Counts(large))
                   .arg(ratio, 0, 'f', 4);
        out.flush();
    }
    constexpr int Objects = 100000;
    BenchApp app(false);
    {
        Library::Opened opened = Library::Open(app.dir.filePath(QStringLiteral("library.sqlite")));
        FillLibrary(*opened.library, Objects, 100);
        std::vector<double> one, many;
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer timer;
            timer.start();
            if (opened.library->Find(QStringLiteral("bench 4711%1").arg(i % 10)).size() != 1)
                qFatal("the search did not find its object");
            one.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            timer.start();
            opened.library->Find(QStringLiteral("Bench"));
            many.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        out << QStringLiteral("search of a library of %1 stored objects: one match median %2 ms, the first 1000 of "
                              "all median %3 ms (target under 50 ms; 20 runs)\n")
                   .arg(opened.library->StoredObjects())
                   .arg(Median(one), 0, 'f', 2)
                   .arg(Median(many), 0, 'f', 2);
        out.flush();
    }
    {
        QElapsedTimer timer;
        timer.start();
        app.main->findChild<QAction *>(QStringLiteral("mnuLibrary"))->trigger();
        frmLibrary *window = LibraryMenus::Window(*app.main, false);
        if (!window || !QTest::qWaitForWindowExposed(window))
            qFatal("the library window did not open");
        window->repaint();
        out << QStringLiteral("library window open with its timeline at %1 objects: %2 ms (target under 200 ms)\n")
                   .arg(Objects)
                   .arg(static_cast<double>(timer.nsecsElapsed()) / 1e6, 0, 'f', 1);
        out.flush();
        window->close();
    }
    {
        QTemporaryDir files;
        const Vsp::SpMemory large = LargeMemory();
        QStringList paths;
        for (int i = 0; i < 100; ++i) {
            Vsp::SpMemory memory = large;
            Vsp::SetName(memory.of(Vsp::Tone)[0], QByteArrayLiteral("Import ") + QByteArray::number(i));
            paths << files.filePath(QStringLiteral("%1.syx").arg(i));
            QString error;
            if (!Vsp::SaveBackup(memory, paths.last(), &error))
                qFatal("%s", qPrintable(error));
        }
        Library::Opened opened = Library::Open(files.filePath(QStringLiteral("import.sqlite")));
        QElapsedTimer timer;
        timer.start();
        const auto outcomes = LibraryImport::Import(*opened.library, {files.path()});
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        out << QStringLiteral("import of 100 backup files of the large memory: %1 ms for %2 snapshots (target under 10000 ms)\n")
                   .arg(ms, 0, 'f', 0)
                   .arg(opened.library->Snapshots().size());
        out.flush();
    }
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const std::vector<std::pair<QString, std::function<void(QTextStream &)>>> parts = {
        {QStringLiteral("exchange"), [](QTextStream &o) { ExchangeOverhead(o); WholeProgramExchange(o); }},
        {QStringLiteral("retrieval"), RetrievalTimes},
        {QStringLiteral("tabs"), TabTimes},
        {QStringLiteral("map"), MapTabTimes},
        {QStringLiteral("backup"), BackupTimes},
        {QStringLiteral("library"), LibraryTimes},
        {QStringLiteral("start"), [](QTextStream &o) { StartupTime(o); LatePageSteps(o); }},
    };
    QStringList chosen = QApplication::arguments().mid(1);
    QStringList known;
    for (const auto &part : parts)
        known << part.first;
    for (const QString &name : chosen) {
        if (!known.contains(name)) {
            QTextStream(stderr) << "usage: korvane-bench [" << known.join(QLatin1Char('|')) << " ...]\n";
            return 2;
        }
    }
    if (chosen.isEmpty())
        chosen = known;
    for (const auto &[name, run] : parts) {
        if (chosen.contains(name)) {
            run(out);
            out.flush();
        }
    }
    return 0;
}
