// Messages handed over here leave in order and never faster than a MIDI cable carries them
// (31250 baud, ten bits a byte). A MIDI system may take a burst at once and then drop what does
// not fit in its period (RtMidi's JACK output does, without a word); at the cable's pace nothing
// is lost, and a real device never sees its messages faster anyway. The sending runs from a
// timer on the owning thread: the caller's event loop never waits for the wire.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>

class MidiWirePacer : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 BaudRate = 31250;
    static constexpr qint64 BitsPerByte = 10;
    // How long `bytes` bytes occupy the cable.
    static constexpr qint64 WireNanoseconds(qint64 bytes) { return bytes * BitsPerByte * 1'000'000'000 / BaudRate; }

    // Hands one message to the MIDI system; false, with the reason, when the system refuses it.
    using Transmit = std::function<bool(const QByteArray &message, QString *error)>;
    // Nanoseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    explicit MidiWirePacer(Transmit transmit, QObject *parent = nullptr);
    MidiWirePacer(Transmit transmit, Clock clock, QObject *parent = nullptr);

    // With the cable free and nothing waiting the message leaves now, and a refusal comes back
    // here (false, with the reason). Otherwise it waits its turn and this returns true at once.
    bool send(const QByteArray &message, QString *error);
    // Forgets the messages not yet sent, as when their port closes; returns how many.
    int clear();
    int waiting() const { return static_cast<int>(queue.size()); }
    // The earliest time, on the pacer's clock, the next message may leave: once the one sent
    // before it has left the cable.
    qint64 cableFreeAt() const { return cableFreeNs; }

    // Sends what the cable has room for now; the timer calls it, and a test with its own clock.
    void sendDue();

signals:
    // A waiting message the MIDI system refused. The ones behind it belonged after it and are
    // dropped with it: `dropped` counts them.
    void failed(const QString &error, int dropped);

private:
    bool TransmitNow(const QByteArray &message, QString *error);
    void ArmTimer();

    Transmit transmit;
    Clock clock;
    QTimer timer;
    std::deque<QByteArray> queue;
    qint64 cableFreeNs;
};
