#include "device/ResponseWait.h"

#include "device/LinkState.h"
#include "device/StatusCodes.h"
#include "device/SysExFrame.h"
#include "midi/ExchangeState.h"
#include "midi/MidiComms.h"
#include "settings/Settings.h"

#include <QEventLoop>

namespace {

constexpr int ObjectKinds = 5;
constexpr int DirectoryStatusLength = 64;

} // namespace

ResponseWait::ResponseWait(MidiComms &comms, ExchangeState &exchange, LinkState &link, const SpConfig &sp,
                           QObject *parent)
    : QObject(parent), comms(comms), exchange(exchange), link(link), sp(sp)
{
    // Whatever else a MIDI chain carries, only a message in the SP's frame can be its answer;
    // the device ID is not compared, as the SP may answer under its own.
    exchange.setAnswerRule([](const QByteArray &message) { return message.startsWith(SysEx::Header()); });
    comms.setResync([this] { return Resync(); });
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
    if (!exchange.requestOutstanding()) {
        // Nothing went out: the link could not be brought back in step, and the time-out that
        // showed it has been reported already.
        exchange.clearFlags();
        return QByteArray::number(SpStatus::TimedOut);
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
        exchange.giveUp();
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
    exchange.giveUp();
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

QByteArray ResponseWait::ResyncRequest(uint8_t deviceId, int kind)
{
    return SysEx::Frame(deviceId, SysEx::Bytes({0x12, 0x01, 0x01, kind}));
}

int ResponseWait::ResyncKind(const QList<QByteArray> &givenUp, uint8_t deviceId)
{
    for (int kind = 0; kind < ObjectKinds; ++kind) {
        if (!givenUp.contains(ResyncRequest(deviceId, kind)))
            return kind;
    }
    return 0;
}

bool ResponseWait::Resync()
{
    // The SP answers in order: once the answer to this request is in, nothing older can come.
    const auto id = static_cast<uint8_t>(sp.SysExDeviceID);
    const int kind = ResyncKind(exchange.requestsGivenUp(), id);
    comms.MidiOutLongMsg(ResyncRequest(id, kind), [kind](const QByteArray &message) {
        return message.size() == DirectoryStatusLength && SysEx::ByteAt(message, 9) == kind;
    });
    const QByteArray answer = GetSpResponse(DefaultTimeout, DataResponse);
    exchange.setResponseArrived(false);
    if (answer.size() != DirectoryStatusLength)
        return false;
    exchange.resynced();
    return true;
}
