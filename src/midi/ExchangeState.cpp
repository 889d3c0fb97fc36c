#include "midi/ExchangeState.h"

bool ExchangeState::refuseIfBusy()
{
    if (!busy())
        return false;
    emit refusedWhileBusy();
    return true;
}

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

void ExchangeState::beginRequest(const QByteArray &sent, Acceptor stricter)
{
    request = sent;
    // Whatever sat in the buffer belonged to no one: it must not answer this request.
    buffer.clear();
    stricterRule = std::move(stricter);
    outstanding = true;
}

void ExchangeState::giveUp()
{
    // A handful is plenty: the SP answers in order, so one re-synchronisation clears them all.
    if (outstanding && givenUp.size() < 16)
        givenUp.append(request);
    outstanding = false;
    stricterRule = {};
    buffer.clear();
}

QByteArray ExchangeState::takeResponse()
{
    QByteArray taken;
    taken.swap(buffer);
    outstanding = false;
    stricterRule = {};
    return taken;
}

bool ExchangeState::offerResponse(const QByteArray &message)
{
    const bool answers = outstanding && buffer.isEmpty() && !message.isEmpty()
        && (!answerRule || answerRule(message)) && (!stricterRule || stricterRule(message));
    if (!answers) {
        ++strays;
        return false;
    }
    buffer = message;
    emit responseBufferFilled();
    return true;
}
