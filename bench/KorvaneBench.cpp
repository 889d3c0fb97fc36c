// Measures the program's own costs: one request/response exchange against a device that
// answers at once, and the time from starting the program to its main window being shown.
#include "InstantBackend.h"
#include "app/Session.h"
#include "midi/Notifier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
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

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTextStream out(stdout);
    ExchangeOverhead(out);
    out.flush();
    StartupTime(out);
    return 0;
}
