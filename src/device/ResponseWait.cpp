#include "device/ResponseWait.h"

#include "device/LinkState.h"
#include "device/StatusCodes.h"
#include "midi/ExchangeState.h"
#include "midi/MidiComms.h"

#include <QEventLoop>

ResponseWait::ResponseWait(MidiComms &comms, ExchangeState &exchange, LinkState &link, QObject *parent)
    : QObject(parent), comms(comms), exchange(exchange), link(link)
{
    tmrSPrespond.setObjectName(QStringLiteral("tmrSPrespond"));
    tmrSPrespond.setSingleShot(true);
    connect(&tmrSPrespond, &QTimer::timeout, this, [this] {
        ResponseTimedOut = true;
        if (loop)
            loop->quit();
    });
}

void ResponseWait::abort()
{
    if (loop)
        loop->quit();
}

QByteArray ResponseWait::GetSpResponse(int timeoutMs, ResponseKind kind)
{
    if (loop) {
        // Waits never nest: the outer one would never see its own answer or time-out.
        qWarning("A second exchange was started while one was waiting; it was dropped.");
        return {};
    }
    ResponseTimedOut = false;
    if (!exchange.hasResponse()) {
        QEventLoop wait;
        loop = &wait;
        exchange.setWaiting(true);
        const auto arrived = connect(&exchange, &ExchangeState::responseBufferFilled, &wait, &QEventLoop::quit);
        if (timeoutMs != Forever) {
            tmrSPrespond.setInterval(timeoutCap > 0 ? std::min(timeoutMs, timeoutCap) : timeoutMs);
            tmrSPrespond.start();
        }
        wait.exec();
        tmrSPrespond.stop();
        disconnect(arrived);
        loop = nullptr;
        exchange.setWaiting(false);
    }
    // The flag wins over a response that arrived in the same pass, as the device always did.
    if (ResponseTimedOut)
        return TimedOut();
    if (!exchange.hasResponse()) {
        // Aborted: the program is closing or the wait was cancelled; nothing to report.
        exchange.clearFlags();
        return {};
    }
    if (kind == StatusResponse)
        return DecodeStatus();
    return exchange.takeResponse();
}

QByteArray ResponseWait::TimedOut()
{
    ResponseTimedOut = false;
    emit failing();
    exchange.clearFlags();
    comms.ShowError(-1, QString(), QStringLiteral("The specified SP Device is not responding"));
    exchange.discardResponses();
    comms.input().discardHead();
    link.setStatus(LinkState::Offline);
    return QByteArray::number(SpStatus::TimedOut);
}

QByteArray ResponseWait::DecodeStatus()
{
    const QByteArray response = exchange.takeResponse();
    const auto code = SpStatus::CodeOf(response);
    if (!code) {
        // Too short to hold a status: report it and drop it, so the next wait cannot take it.
        comms.ReportError(QStringLiteral("GetSpResponse()"), QStringLiteral("SP response error"));
        return {};
    }
    if (*code != 0) {
        emit failing();
        comms.ShowError(-1, QStringLiteral("SP Error"), SpStatus::SPErrorText(*code));
        exchange.clearFlags();
    }
    return QByteArray::number(*code);
}
