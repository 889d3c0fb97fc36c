// The state of the one exchange with the SP that may be in flight: the two activity flags
// with their lights, the request outstanding, and the one-slot response buffer that the input
// fills and the response wait empties.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>

class ExchangeState : public QObject {
    Q_OBJECT
public:
    // Which arriving SysEx messages may be taken as the answer to the request outstanding.
    using Acceptor = std::function<bool(const QByteArray &message)>;

    using QObject::QObject;

    bool AwaitingResponse() const { return awaiting; }
    bool ResponseArrived() const { return arrived; }
    // Edit controls and dialogs drop keys while the SP is busy with an exchange. A wait in
    // progress counts too: a note arriving meanwhile clears the flags, but one exchange at a
    // time must still hold.
    bool busy() const { return awaiting || arrived || inWait; }
    void setWaiting(bool on) { inWait = on; }
    // For user actions: true while busy, and then tells whoever shows it that the action was
    // refused, so that nothing is ever ignored in silence.
    bool refuseIfBusy();

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

    // The rule every answer must meet (the SP's header); set once by the response wait.
    void setAnswerRule(Acceptor rule) { answerRule = std::move(rule); }
    // A request has been sent: from now until its answer is taken or given up, the first
    // message that meets the rule (and `stricter`, when given) fills the buffer.
    void beginRequest(const QByteArray &request, Acceptor stricter = {});
    bool requestOutstanding() const { return outstanding; }
    // The answer will not be waited for any longer (time-out, cancel): it may still come, so
    // the next request must first make sure it is not mistaken for its own.
    void giveUp();
    bool resyncNeeded() const { return !givenUp.isEmpty(); }
    // The requests given up since the link was last known to be in step.
    const QList<QByteArray> &requestsGivenUp() const { return givenUp; }
    void resynced() { givenUp.clear(); }

    bool hasResponse() const { return !buffer.isEmpty(); }
    const QByteArray &ResponseBuffer() const { return buffer; }
    // Empties the buffer; the request is answered.
    QByteArray takeResponse();
    // True when the message was taken as the answer. Anything else (nothing outstanding, the
    // answer already in, another device's message) is left to the monitor and dropped here.
    bool offerResponse(const QByteArray &message);
    void discardResponses() { buffer.clear(); }
    // Messages that arrived with no request to answer, or that could not be its answer.
    int strayCount() const { return strays; }

signals:
    void outLedChanged(bool lit);
    void inLedChanged(bool lit);
    void responseBufferFilled();
    void refusedWhileBusy();

private:
    bool awaiting = false;
    bool arrived = false;
    bool outLit = false;
    bool inLit = false;
    bool inWait = false;
    bool outstanding = false;
    QByteArray request;
    QList<QByteArray> givenUp;
    int strays = 0;
    Acceptor answerRule;
    Acceptor stricterRule;
    QByteArray buffer;
};
