// Measures the Virtual SP: how many object dumps it answers a second in process, and how
// closely its simulated MIDI wire keeps to 31250 baud when answers go through the event loop.
#include "vsp/FactoryBank.h"
#include "vsp/SpLayout.h"
#include "vsp/VirtualSp.h"
#include "vsp/VirtualSpBackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

QByteArray DumpRequest(int kind, int number)
{
    QByteArray request("\xF0\x00\x00\x1B\x02\x05\x7F\x01", 8);
    request.append(static_cast<char>(kind));
    request.append(QByteArray("\x00\x00\x00\x02\x00\x00", 6));
    request.append(static_cast<char>(number / 16));
    request.append(static_cast<char>(number % 16));
    request.append('\xF7');
    return request;
}

// Dump requests for the Waves, Tones and Presets of the factory bank, the kinds interleaved
// so every run mixes short and long answers.
std::vector<QByteArray> FactoryDumpRequests()
{
    VirtualSp sp;
    sp.setMemory(Vsp::FactoryBank());
    std::vector<std::vector<QByteArray>> byKind;
    for (int kind : {Vsp::Wave, Vsp::Tone, Vsp::Preset}) {
        std::vector<QByteArray> requests;
        for (const auto &[number, record] : sp.memory().of(kind)) {
            if (number > 255)
                continue;
            const QByteArray request = DumpRequest(kind, number);
            const std::vector<QByteArray> answers = sp.Receive(request);
            // A status message is 10 bytes; anything that short means no dump came back.
            if (answers.empty() || answers.front().size() <= 10)
                qFatal("The Virtual SP did not dump %d of kind %d", number, kind);
            requests.push_back(request);
        }
        byKind.push_back(std::move(requests));
    }
    std::vector<QByteArray> mixed;
    for (size_t i = 0;; ++i) {
        bool any = false;
        for (const auto &requests : byKind) {
            if (i < requests.size()) {
                mixed.push_back(requests[i]);
                any = true;
            }
        }
        if (!any)
            break;
    }
    if (mixed.empty())
        qFatal("The factory bank holds no Wave, Tone or Preset");
    return mixed;
}

void InProcessRate(QTextStream &out, const std::vector<QByteArray> &requests)
{
    VirtualSp sp;
    sp.setMemory(Vsp::FactoryBank());
    constexpr int Rounds = 5;
    constexpr int PerRound = 100000;
    for (int i = 0; i < PerRound / 10; ++i)
        sp.Receive(requests[static_cast<size_t>(i) % requests.size()]);

    std::vector<double> rates;
    qint64 answerBytes = 0;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < PerRound; ++i) {
            for (const QByteArray &answer : sp.Receive(requests[static_cast<size_t>(i) % requests.size()]))
                answerBytes += answer.size();
        }
        rates.push_back(PerRound * 1e9 / static_cast<double>(timer.nsecsElapsed()));
    }
    std::sort(rates.begin(), rates.end());
    out << QStringLiteral("in process: %1 dump requests answered a second (median of %2 rounds of %3, "
                          "best %4; %5 Waves, Tones and Presets, %6 answer bytes in all)\n")
               .arg(rates[rates.size() / 2], 0, 'f', 0)
               .arg(Rounds)
               .arg(PerRound)
               .arg(rates.back(), 0, 'f', 0)
               .arg(requests.size())
               .arg(answerBytes);
}

void WireTiming(QTextStream &out, const std::vector<QByteArray> &requests)
{
    constexpr int Exchanges = 50;
    VirtualSpBackend::Options options;
    options.wireTiming = true;
    VirtualSpBackend backend(options);
    backend.openInput(0, nullptr);
    backend.openOutput(0, nullptr);

    // Each request waits for all the answers of the one before, as the program does.
    VirtualSp counter;
    counter.setMemory(Vsp::FactoryBank());
    std::vector<size_t> answersExpected;
    for (int i = 0; i < Exchanges; ++i)
        answersExpected.push_back(counter.Receive(requests[static_cast<size_t>(i) % requests.size()]).size());

    QEventLoop loop;
    int exchange = 0;
    size_t answersSeen = 0;
    QElapsedTimer timer;
    qint64 elapsedNs = 0;
    QObject::connect(&backend, &MidiBackend::bytesReceived, &loop, [&](const QByteArray &) {
        if (++answersSeen < answersExpected[static_cast<size_t>(exchange)])
            return;
        answersSeen = 0;
        if (++exchange == Exchanges) {
            elapsedNs = timer.nsecsElapsed();
            loop.quit();
            return;
        }
        backend.send(requests[static_cast<size_t>(exchange) % requests.size()], nullptr);
    });
    QTimer::singleShot(120000, &loop, [&] { loop.exit(1); });
    timer.start();
    backend.send(requests.front(), nullptr);
    if (loop.exec() != 0)
        qFatal("The Virtual SP stopped answering after %d exchanges", exchange);

    qint64 bytes = 0;
    for (const VirtualSpBackend::Traffic &t : backend.traffic())
        bytes += t.message.size();
    const qint64 theoreticalNs = VirtualSpBackend::WireNanoseconds(bytes);
    const double differencePercent = 100.0 * static_cast<double>(elapsedNs - theoreticalNs) / theoreticalNs;
    out << QStringLiteral("wire timing: %1 exchanges, %2 bytes both ways: measured %3 ms, at 31250 baud %4 ms "
                          "(simulated %5 ms): %6%7 %\n")
               .arg(Exchanges)
               .arg(bytes)
               .arg(elapsedNs / 1e6, 0, 'f', 2)
               .arg(theoreticalNs / 1e6, 0, 'f', 2)
               .arg(backend.simulatedWireNanoseconds() / 1e6, 0, 'f', 2)
               .arg(differencePercent >= 0 ? QStringLiteral("+") : QString())
               .arg(differencePercent, 0, 'f', 3);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const std::vector<QByteArray> requests = FactoryDumpRequests();
    InProcessRate(out, requests);
    out.flush();
    WireTiming(out, requests);
    return 0;
}
