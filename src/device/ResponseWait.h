// GetSpResponse: waits for the SP's answer to the request just sent, keeping the window alive,
// until the answer arrives or tmrSPrespond fires; decodes status responses.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class ExchangeState;
class LinkState;
class MidiComms;
struct SpConfig;

class ResponseWait : public QObject {
    Q_OBJECT
public:
    enum ResponseKind { StatusResponse = 1, DataResponse = 2 };
    static constexpr int Forever = -1;
    static constexpr int DefaultTimeout = 5000;

    ResponseWait(MidiComms &comms, ExchangeState &exchange, LinkState &link, const SpConfig &sp,
                 QObject *parent = nullptr);

    // StatusResponse: the status code as decimal text ("0" is success). DataResponse: the whole
    // message. "65" after a time-out; empty after a response too short to decode.
    QByteArray GetSpResponse(int timeoutMs, ResponseKind kind);

    // Ends a wait in progress without an answer, for instance when the program closes or the
    // user cancels a long job; its answer, should it still come, is never taken for another.
    void abort();
    bool isWaiting() const { return loop != nullptr; }

    // Shortens every finite time-out, for tests and demonstrations; 0 leaves them as asked.
    void setTimeoutCap(int ms) { timeoutCap = ms; }

signals:
    // Emitted before a time-out or SP error is reported, so a progress window can close first.
    void failing();

public:
    // The request that brings the link back in step after an answer was given up: a
    // directory status whose answer cannot be mistaken for the late one.
    static QByteArray ResyncRequest(uint8_t deviceId, int kind);
    // The kind of directory status to ask for when these requests were given up.
    static int ResyncKind(const QList<QByteArray> &givenUp, uint8_t deviceId);

private:
    bool Resync();
    QByteArray TimedOut();
    QByteArray DecodeStatus();

    MidiComms &comms;
    ExchangeState &exchange;
    LinkState &link;
    const SpConfig &sp;
    QTimer tmrSPrespond;
    bool ResponseTimedOut = false;
    class QEventLoop *loop = nullptr;
    int timeoutCap = 0;
};
