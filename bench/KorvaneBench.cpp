// Measures the program's own costs: one request/response exchange against a device that
// answers at once, and the time from starting the program to its main window being shown.
#include "InstantBackend.h"
#include "app/BackupCommand.h"
#include "app/Korvane.h"
#include "editors/Session.h"
#include "app/frmMain.h"
#include "objects/Backup.h"
#include "editors/Compare.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpBackupFile.h"
#include "vsp/SpLayout.h"
#include "vsp/VirtualSpBackend.h"
#include "midi/Notifier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
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

void StartupTime(QTextStream &out)
{
    constexpr int Runs = 10;
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QTemporaryDir home;
        QProcess korvane;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        korvane.setProcessEnvironment(env);
        korvane.setWorkingDirectory(home.path());
        QElapsedTimer timer;
        timer.start();
        korvane.start(QStringLiteral(KORVANE_EXE), {QStringLiteral("--quit-when-shown")});
        while (!korvane.readAllStandardOutput().contains("Main window shown")) {
            if (!korvane.waitForReadyRead(10000))
                qFatal("korvane did not show its main window");
        }
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        korvane.waitForFinished(10000);
    }
    out << QStringLiteral("start to main window shown (Virtual SP, no MIDI hardware): median %1 ms, best %2 ms "
                          "over %3 runs\n")
               .arg(Median(times), 0, 'f', 1)
               .arg(*std::min_element(times.begin(), times.end()), 0, 'f', 1)
               .arg(Runs);
}

// The bytes both ways of the traffic recorded, as the MIDI wire carries them.
qint64 WireNanoseconds(const VirtualSpBackend &vsp)
{
    qint64 bytes = 0;
    for (const auto &t : vsp.traffic())
        bytes += t.message.size();
    return VirtualSpBackend::WireNanoseconds(bytes);
}

struct BenchApp {
    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat};
    SilentNotifier notifier;
    VirtualSpBackend *vsp = nullptr;
    std::unique_ptr<Korvane> korvane;

    explicit BenchApp(bool wireTiming)
    {
        VirtualSpBackend::Options options;
        options.wireTiming = wireTiming;
        auto backend = std::make_unique<VirtualSpBackend>(options);
        vsp = backend.get();
        KorvaneOptions k;
        k.currentDirectory = dir.path();
        k.store = &store;
        k.notifier = &notifier;
        k.backends.push_back(std::move(backend));
        korvane = std::make_unique<Korvane>(std::move(k));
        if (korvane->start() != LinkStartup::Outcome::Online)
            qFatal("the Virtual SP did not answer");
    }
};

void RetrievalTimes(QTextStream &out)
{
    {
        BenchApp app(true);
        std::vector<double> ratios;
        for (int round = 0; round < 3; ++round) {
            app.vsp->clearTraffic();
            QElapsedTimer timer;
            timer.start();
            app.korvane->mainWindow()->retrieval().AllObjectsDump();
            const double elapsed = static_cast<double>(timer.nsecsElapsed());
            ratios.push_back(elapsed / static_cast<double>(WireNanoseconds(*app.vsp)));
        }
        out << QStringLiteral("full retrieval at 31250 baud (factory bank, %1 messages): time / wire time = %2 "
                              "(median of 3; %3 ms of wire time)\n")
                   .arg(app.vsp->traffic().size())
                   .arg(Median(ratios), 0, 'f', 4)
                   .arg(static_cast<double>(WireNanoseconds(*app.vsp)) / 1e6, 0, 'f', 1);
    }
    BenchApp app(false);
    frmMain *main = app.korvane->mainWindow();
    constexpr int Rounds = 50;
    std::vector<double> retrieval;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        main->retrieval().AllObjectsDump();
        retrieval.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    out << QStringLiteral("full retrieval with instant answers (program's own time): median %1 ms over %2 runs\n")
               .arg(Median(retrieval), 0, 'f', 2)
               .arg(Rounds);
    // After an accepted edit the kind is read back (status, directory, dump) and its tab redrawn.
    for (const auto &[kind, tab] : {std::pair{KindTone, "Tone1"}, std::pair{KindWave, "Wave"}}) {
        main->ShowTab(QLatin1String(tab));
        constexpr int ReadBacks = 300;
        std::vector<double> times;
        for (int i = 0; i < ReadBacks; ++i) {
            QElapsedTimer readBack;
            readBack.start();
            main->retrieval().ObjectDownload(kind);
            times.push_back(static_cast<double>(readBack.nsecsElapsed()) / 1e6);
        }
        out << QStringLiteral("read back and redisplay after an edit, %1 tab: median %2 ms (%3 runs)\n")
                   .arg(QLatin1String(tab))
                   .arg(Median(times), 0, 'f', 3)
                   .arg(ReadBacks);
        const auto &display = main->retrieval().routines(kind).display;
        QElapsedTimer redraw;
        redraw.start();
        for (int i = 0; i < ReadBacks; ++i)
            display();
        out << QStringLiteral("  of which the %1 tab's redisplay alone: %2 ms\n")
                   .arg(QLatin1String(tab))
                   .arg(static_cast<double>(redraw.nsecsElapsed()) / 1e6 / ReadBacks, 0, 'f', 3);
        // The same with the whole window painted at once, envelope pictures included.
        QElapsedTimer painted;
        painted.start();
        for (int i = 0; i < ReadBacks; ++i) {
            display();
            main->repaint();
        }
        out << QStringLiteral("  redisplay and paint of the whole window: %1 ms\n")
                   .arg(static_cast<double>(painted.nsecsElapsed()) / 1e6 / ReadBacks, 0, 'f', 3);
    }
    constexpr int Redisplays = 2000;
    main->ShowTab(QStringLiteral("Global"));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Redisplays; ++i)
        main->retrieval().routines(KindGlobal).display();
    out << QStringLiteral("Global tab redisplay: %1 ms each (mean of %2)\n")
               .arg(static_cast<double>(timer.nsecsElapsed()) / 1e6 / Redisplays, 0, 'f', 4)
               .arg(Redisplays);
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
// The Preset tabs and the Global tab with its Multi frame, redisplayed from their working images
// and painted, as after every read-back: the tab's page alone, and the whole window.
void PresetAndMultiRedisplay(QTextStream &out)
{
    BenchApp app(false);
    frmMain *main = app.korvane->mainWindow();
    main->show();
    QApplication::processEvents();
    auto *tabs = main->findChild<QTabWidget *>(QStringLiteral("SPFEtab"));
    constexpr int Redisplays = 300;
    const struct { const char *tab; std::vector<int> kinds; } shown[] = {
        {"Preset1", {KindPreset}}, {"Preset2", {KindPreset}}, {"Global", {KindMulti, KindGlobal}}};
    for (const auto &t : shown) {
        main->ShowTab(QLatin1String(t.tab));
        QApplication::processEvents();
        const auto redisplay = [&] {
            for (int kind : t.kinds)
                main->retrieval().routines(kind).display();
        };
        // Wall time, and the processor time the program itself spent: on a machine shared with
        // other work the two differ by the waits for a core.
        const auto measure = [&](QWidget *painted) {
            std::vector<double> wall;
            std::vector<double> cpu;
            for (int i = 0; i < Redisplays; ++i) {
                QElapsedTimer timer;
                timer.start();
                const std::clock_t started = std::clock();
                redisplay();
                painted->repaint();
                cpu.push_back(static_cast<double>(std::clock() - started) * 1000.0 / CLOCKS_PER_SEC);
                wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            }
            return std::pair{Median(wall), Median(cpu)};
        };
        const auto [pageWall, pageCpu] = measure(tabs->currentWidget());
        const auto [windowWall, windowCpu] = measure(main);
        out << QStringLiteral("%1 tab redisplayed and its page painted: median %2 ms (processor %3 ms); with the whole "
                              "window painted: median %4 ms (processor %5 ms) (%6 runs each)\n")
                   .arg(QLatin1String(t.tab))
                   .arg(pageWall, 0, 'f', 3)
                   .arg(pageCpu, 0, 'f', 3)
                   .arg(windowWall, 0, 'f', 3)
                   .arg(windowCpu, 0, 'f', 3)
                   .arg(Redisplays);
    }
}

// A whole backup through the program at 31250 baud against the wire time of its traffic, and
// the compare of two backups of a full memory.
void BackupTimes(QTextStream &out)
{
    BenchApp app(true);
    std::vector<double> ratios;
    for (int round = 0; round < 3; ++round) {
        app.vsp->clearTraffic();
        QElapsedTimer timer;
        timer.start();
        const auto outcome = BackupCommand::Backup(*app.korvane->mainWindow(), app.korvane->session(),
                                                   app.dir.filePath(QStringLiteral("bench.syx")));
        const double elapsed = static_cast<double>(timer.nsecsElapsed());
        if (outcome.result != BackupCommand::Result::Done)
            qFatal("the backup failed: %s", qPrintable(outcome.text));
        ratios.push_back(elapsed / static_cast<double>(WireNanoseconds(*app.vsp)));
    }
    out << QStringLiteral("backup at 31250 baud (factory bank, %1 messages): time / wire time = %2 "
                          "(median of 3; %3 ms of wire time)\n")
               .arg(app.vsp->traffic().size())
               .arg(Median(ratios), 0, 'f', 4)
               .arg(static_cast<double>(WireNanoseconds(*app.vsp)) / 1e6, 0, 'f', 1);

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
    out << QStringLiteral("compare of two backups of a full memory (%1 objects, %2 differences): median %3 ms (%4 runs)\n")
               .arg(first->objects.size())
               .arg(differences)
               .arg(Median(times), 0, 'f', 3)
               .arg(Compares);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTextStream out(stdout);
    ExchangeOverhead(out);
    out.flush();
    WholeProgramExchange(out);
    RetrievalTimes(out);
    out.flush();
    BackupTimes(out);
    out.flush();
    MapTabTimes(out);
    PresetAndMultiRedisplay(out);
    out.flush();
    StartupTime(out);
    return 0;
}
