#include "midi/MidiWirePacer.h"

#include <QElapsedTimer>

#include <limits>
#include <memory>

namespace {

MidiWirePacer::Clock MonotonicClock()
{
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    return [elapsed] { return elapsed->nsecsElapsed(); };
}

} // namespace

MidiWirePacer::MidiWirePacer(Transmit transmit, QObject *parent)
    : MidiWirePacer(std::move(transmit), MonotonicClock(), parent)
{
}

MidiWirePacer::MidiWirePacer(Transmit transmit, Clock clock, QObject *parent)
    : QObject(parent), transmit(std::move(transmit)), clock(std::move(clock)),
      cableFreeNs(std::numeric_limits<qint64>::min())
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &MidiWirePacer::sendDue);
}

bool MidiWirePacer::send(const QByteArray &message, QString *error)
{
    if (queue.empty() && clock() >= cableFreeNs)
        return TransmitNow(message, error);
    queue.push_back(message);
    if (queue.size() == 1)
        ArmTimer();
    return true;
}

int MidiWirePacer::clear()
{
    const int dropped = waiting();
    queue.clear();
    timer.stop();
    return dropped;
}

void MidiWirePacer::sendDue()
{
    // One message at a time, each timed from when it really left: a late timer never lets a
    // backlog out in one burst.
    while (!queue.empty() && clock() >= cableFreeNs) {
        const QByteArray message = std::move(queue.front());
        queue.pop_front();
        QString error;
        if (!TransmitNow(message, &error)) {
            emit failed(error, clear());
            return;
        }
    }
    ArmTimer();
}

bool MidiWirePacer::TransmitNow(const QByteArray &message, QString *error)
{
    const qint64 leaves = clock();
    if (!transmit(message, error))
        return false; // nothing went onto the cable
    cableFreeNs = leaves + WireNanoseconds(message.size());
    return true;
}

void MidiWirePacer::ArmTimer()
{
    if (queue.empty()) {
        timer.stop();
        return;
    }
    const qint64 leftNs = cableFreeNs - clock();
    // Rounded up: a message may leave a little after the cable is free, never before.
    const qint64 leftMs = leftNs <= 0 ? 0 : (leftNs + 999'999) / 1'000'000;
    timer.start(static_cast<int>(leftMs));
}
