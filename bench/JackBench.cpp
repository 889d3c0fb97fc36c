// The time per request/response exchange over a real MIDI system: JACK MIDI on the dummy driver
// (64 frames at 48 kHz) to korvane-vsp --ports, beside the same exchange on the built-in Virtual
// SP in process. The exchange is a front-panel key press, answered by a status message.
#include "JackRig.h"
#include "app/Korvane.h"
#include "editors/Session.h"
#include "midi/Notifier.h"
#include "vsp/VirtualSpBackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int Warmup = 50;
constexpr int Rounds = 5;
constexpr int Exchanges = 500;
constexpr int Key = 8; // "+/Inc" on the Preset page at start: harmless

class SilentNotifier : public Notifier {
public:
    void message(Icon, const QString &, const QString &text) override { qWarning("%s", qPrintable(text)); }
    bool question(const QString &, const QString &) override { return false; }
};

struct Figures {
    double median = 0;
    double best = 0;
};

// Microseconds per exchange, over Rounds rounds of Exchanges presses.
Figures TimePresses(Session &session)
{
    for (int i = 0; i < Warmup; ++i) {
        if (session.frontPanel.Press(Key) != "0")
            qFatal("the SP did not answer a key press");
    }
    std::vector<double> perExchange;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Exchanges; ++i) {
            if (session.frontPanel.Press(Key) != "0")
                qFatal("the SP did not answer a key press");
        }
        perExchange.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0 / Exchanges);
    }
    std::sort(perExchange.begin(), perExchange.end());
    return {perExchange[perExchange.size() / 2], perExchange.front()};
}

std::unique_ptr<Korvane> Start(QSettings &store, Notifier &notifier, const QString &folder,
                               std::vector<std::unique_ptr<MidiBackend>> backends, const QStringList &arguments)
{
    KorvaneOptions options;
    options.arguments = arguments;
    options.currentDirectory = folder;
    options.store = &store;
    options.notifier = &notifier;
    options.backends = std::move(backends);
    auto korvane = std::make_unique<Korvane>(std::move(options));
    if (korvane->start() != LinkStartup::Outcome::Online)
        qFatal("the SP did not answer at start-up");
    return korvane;
}

QString Line(const char *what, const Figures &f)
{
    return QStringLiteral("%1: median %2 us, best %3 us per exchange over %4 rounds of %5\n")
        .arg(QLatin1String(what))
        .arg(f.median, 0, 'f', 1)
        .arg(f.best, 0, 'f', 1)
        .arg(Rounds)
        .arg(Exchanges);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream out(stdout);
    SilentNotifier notifier;

    {
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat);
        std::vector<std::unique_ptr<MidiBackend>> backends;
        backends.push_back(std::make_unique<VirtualSpBackend>());
        auto korvane = Start(store, notifier, dir.path(), std::move(backends), {});
        out << Line("key press, built-in Virtual SP in process", TimePresses(korvane->session()));
        out.flush();
    }

    JackRig rig;
    QString why;
    if (!rig.startServer(&why)) {
        out << "key press over JACK MIDI: not measured, " << why << '\n';
        return 0;
    }
    if (!rig.startVsp(QStringLiteral(KORVANE_VSP_EXE), {}, &why)) {
        out << "key press over JACK MIDI: not measured, " << why << '\n';
        return 1;
    }
    {
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat);
        store.setValue(QStringLiteral("MIDI Interface/Input"), QLatin1String(JackRig::VspOutputPort));
        store.setValue(QStringLiteral("MIDI Interface/Output"), QLatin1String(JackRig::VspInputPort));
        auto korvane = Start(store, notifier, dir.path(), {}, {QStringLiteral("--no-virtual-sp")});
        if (korvane->session().settings.ports.OutputDeviceName != QLatin1String(JackRig::VspInputPort))
            qFatal("korvane-vsp's JACK ports were not chosen");
        out << Line("key press over JACK MIDI (dummy driver, 64 frames at 48 kHz) to korvane-vsp --ports",
                    TimePresses(korvane->session()));
    }
    rig.stop();
    return 0;
}
