// The state of the one exchange with the SP that may be in flight: the two activity flags
// with their lights, and the response buffer the input fills and the response wait empties.
#pragma once

#include <QByteArray>
#include <QObject>

#include <deque>

class ExchangeState : public QObject {
    Q_OBJECT
public:
    // SysEx messages that arrive while the buffer is full wait here, in order, up to this many.
    static constexpr int MaxWaiting = 64;

    using QObject::QObject;

    bool AwaitingResponse() const { return awaiting; }
    bool ResponseArrived() const { return arrived; }
    // Edit controls and dialogs drop keys while the SP is busy with an exchange. A wait in
    // progress counts too: a note arriving meanwhile clears the flags, but one exchange at a
    // time must still hold.
    bool busy() const { return awaiting || arrived || inWait; }
    void setWaiting(bool on) { inWait = on; }

    // Each flag goes with its light: awaiting with ledMIDIout, arrived with ledMIDIin.
    void setAwaitingResponse(bool on);
    void setResponseArrived(bool on);
    // MIDI Thru lights the output LED without raising the flag.
    void setOutLed(bool on);
    void setInLed(bool on);
    bool outLed() const { return outLit; }
    bool inLed() const { return inLit; }

    // The common tail of every error path: both flags down, both lights off.
    void clearFlags();

    bool hasResponse() const { return !buffer.isEmpty(); }
    const QByteArray &ResponseBuffer() const { return buffer; }
    // Empties the buffer and moves the next waiting message, if any, into it.
    QByteArray takeResponse();
    void offerResponse(const QByteArray &message);
    void discardResponses();

signals:
    void outLedChanged(bool lit);
    void inLedChanged(bool lit);
    void responseBufferFilled();

private:
    bool awaiting = false;
    bool arrived = false;
    bool outLit = false;
    bool inLit = false;
    bool inWait = false;
    QByteArray buffer;
    std::deque<QByteArray> waiting;
};
