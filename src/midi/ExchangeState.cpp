#include "midi/ExchangeState.h"

void ExchangeState::setAwaitingResponse(bool on)
{
    awaiting = on;
    setOutLed(on);
}

void ExchangeState::setResponseArrived(bool on)
{
    arrived = on;
    setInLed(on);
}

void ExchangeState::setOutLed(bool on)
{
    if (outLit == on)
        return;
    outLit = on;
    emit outLedChanged(on);
}

void ExchangeState::setInLed(bool on)
{
    if (inLit == on)
        return;
    inLit = on;
    emit inLedChanged(on);
}

void ExchangeState::clearFlags()
{
    setAwaitingResponse(false);
    setResponseArrived(false);
}

QByteArray ExchangeState::takeResponse()
{
    QByteArray taken;
    taken.swap(buffer);
    if (!waiting.empty()) {
        buffer = std::move(waiting.front());
        waiting.pop_front();
        emit responseBufferFilled();
    }
    return taken;
}

void ExchangeState::offerResponse(const QByteArray &message)
{
    if (message.isEmpty())
        return;
    if (buffer.isEmpty()) {
        buffer = message;
        emit responseBufferFilled();
    } else if (waiting.size() < static_cast<size_t>(MaxWaiting)) {
        waiting.push_back(message);
    }
}

void ExchangeState::discardResponses()
{
    buffer.clear();
    waiting.clear();
}
