#include "midi/MidiComms.h"

#include "midi/DebugLog.h"
#include "midi/ExchangeState.h"
#include "midi/Notifier.h"
#include "midi/PortSettings.h"

#include <QEventLoop>

namespace {
constexpr uint8_t TimingClock = 0xF8;
constexpr uint8_t Undefined9 = 0xF9;
constexpr uint8_t ActiveSensing = 0xFE;
} // namespace

MidiComms::MidiComms(const MidiDeviceList &devices, PortSettings &ports, ExchangeState &exchange,
                     Notifier &notifier, DebugLog &log, MidiTrace &trace, QObject *parent)
    : QObject(parent), ports(ports), exchange(exchange), notifier(notifier), log(log),
      ctlMIDIin(devices, trace), ctlMIDIout(devices, trace)
{
    thruLedTimer.setSingleShot(true);
    thruLedTimer.setInterval(ThruLedMs);
    connect(&thruLedTimer, &QTimer::timeout, this, [this] { this->exchange.setOutLed(false); });
    connect(&ctlMIDIin, &MidiInput::messagesArrived, this, &MidiComms::onMessagesArrived);
    connect(&ctlMIDIin, &MidiInput::errorEvent, this, &MidiComms::onPortError);
    connect(&ctlMIDIout, &MidiOutput::errorEvent, this, &MidiComms::onPortError);
}

bool MidiComms::OpenInputDevice()
{
    const QString &name = ports.InputDeviceName;
    log.write(QStringLiteral("OpenInputDevice()"));
    if (ctlMIDIin.state() >= MidiInput::Open) {
        log.write(QStringLiteral("OpenInputDevice(): ") + name + QStringLiteral(" Device already open."));
        log.write(QStringLiteral("OpenInputDevice(): MIDIIN_STOP."));
        ctlMIDIin.stop();
        log.write(QStringLiteral("OpenInputDevice(): MIDIIN_CLOSE ") + name);
        ctlMIDIin.close();
        log.write(QStringLiteral("OpenInputDevice(): FILTER_F9 False"));
        ctlMIDIin.setFilter(Undefined9, false);
        log.write(QStringLiteral("OpenInputDevice(): FILTER_ACTIVE_SENSE False"));
        ctlMIDIin.setFilter(ActiveSensing, false);
        log.write(QStringLiteral("OpenInputDevice(): FILTER_CLOCK False"));
        ctlMIDIin.setFilter(TimingClock, false);
    }
    ctlMIDIin.setDeviceNumber(ports.InputDeviceNum);
    log.write(QStringLiteral("OpenInputDevice(): MIDIIN_OPEN ") + name);
    QString error;
    if (!ctlMIDIin.open(&error)) {
        qWarning("MIDI input: %s", qPrintable(error));
        lastOpenError = error;
        ReportError(QStringLiteral("OpenInputDevice()"), QStringLiteral("Error opening MIDI input device"));
        return false;
    }
    log.write(QStringLiteral("OpenInputDevice(): MIDIIN_START ") + name);
    ctlMIDIin.start();
    log.write(QStringLiteral("OpenInputDevice(): FILTER_F9 True ") + name);
    ctlMIDIin.setFilter(Undefined9, true);
    log.write(QStringLiteral("OpenInputDevice(): FILTER_ACTIVE_SENSE True ") + name);
    ctlMIDIin.setFilter(ActiveSensing, true);
    log.write(QStringLiteral("OpenInputDevice(): FILTER_CLOCK True ") + name);
    ctlMIDIin.setFilter(TimingClock, true);
    return true;
}

bool MidiComms::OpenOutputDevice()
{
    const QString &name = ports.OutputDeviceName;
    log.write(QStringLiteral("OpenOutputDevice()"));
    if (ctlMIDIout.deviceNumber() == -1 || ctlMIDIout.state() >= 1) {
        log.write(QStringLiteral("OpenOutputDevice(): ") + name + QStringLiteral(" Device already open."));
        log.write(QStringLiteral("OpenOutputDevice(): MIDIOUT_STOP ") + name);
        ctlMIDIout.stop();
        ctlMIDIout.close();
    }
    ctlMIDIout.setDeviceNumber(ports.OutputDeviceNum);
    log.write(QStringLiteral("OpenOutputDevice(): MIDIOUT_OPEN ") + name);
    QString error;
    if (!ctlMIDIout.open(&error)) {
        qWarning("MIDI output: %s", qPrintable(error));
        lastOpenError = error;
        ReportError(QStringLiteral("OpenOutputDevice()"), QStringLiteral("Error opening MIDI output device"));
        return false;
    }
    return true;
}

void MidiComms::ClosePorts()
{
    if (ctlMIDIin.state() > 0) {
        ctlMIDIin.stop();
        ctlMIDIin.close();
    }
    if (ctlMIDIout.state() != 0) {
        ctlMIDIout.stop();
        ctlMIDIout.close();
    }
}

bool MidiComms::MidiOutLongMsg(const QByteArray &message, ExchangeState::Acceptor stricter)
{
    if (exchange.resyncNeeded() && resync && !resyncing) {
        resyncing = true;
        const bool inStep = resync();
        resyncing = false;
        if (!inStep)
            return false;
    }
    exchange.beginRequest(message, std::move(stricter));
    exchange.setAwaitingResponse(true);
    // Counted as busy from here, so no edit slips in while the pause runs.
    KeepPause();
    QString error;
    const bool sent = ctlMIDIout.sendLong(message, &error);
    lastLongSent.start();
    if (!sent) {
        qWarning("MIDI send: %s", qPrintable(error));
        ReportError(QStringLiteral("MidiOutLongMsg()"), QStringLiteral("Error transmitting MIDI data to SP"));
        return false;
    }
    return true;
}

void MidiComms::KeepPause()
{
    const int pause = ports.MessagePause;
    if (pause <= 0 || !lastLongSent.isValid())
        return;
    // A timer may wake a millisecond early: wait again for what is left.
    for (qint64 left = pause - lastLongSent.elapsed(); left > 0; left = pause - lastLongSent.elapsed()) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void MidiComms::MidiOutShortMsg(uint8_t status, uint8_t data1, uint8_t data2)
{
    exchange.setOutLed(true);
    thruLedTimer.start();
    QString error;
    if (!ctlMIDIout.sendShort(status, data1, data2, &error))
        qWarning("MIDI send: %s", qPrintable(error));
}

bool MidiComms::ShowError(int code, const QString &heading, const QString &text)
{
    switch (code) {
    case -1:
        notifier.message(Notifier::Icon::Critical, heading, text);
        return true;
    case 0:
        return false;
    case 65:
        return true;
    default:
        notifier.message(Notifier::Icon::None, heading + QLatin1Char(':'),
                         text.isEmpty() ? QStringLiteral("MIDI Communications Error") : text);
        return true;
    }
}

void MidiComms::ReportError(const QString &heading, const QString &text)
{
    ShowError(-1, heading, text);
    exchange.clearFlags();
}

void MidiComms::onMessagesArrived()
{
    while (ctlMIDIin.queuedCount() > 0) {
        const QByteArray message = ctlMIDIin.head();
        ctlMIDIin.discardHead();
        if (static_cast<uint8_t>(message.at(0)) == 0xF0) {
            // Only the answer to the request outstanding touches the exchange. Other devices'
            // messages, late answers and SysEx nobody asked for are left to the monitor: taken
            // into the slot, they would keep the program busy or answer the wrong request.
            if (exchange.offerResponse(message)) {
                exchange.setAwaitingResponse(false);
                exchange.setResponseArrived(true);
            }
            continue;
        }
        exchange.setAwaitingResponse(false);
        exchange.setResponseArrived(false);
        // Short messages always come from the input as three bytes.
        if (ports.MidiThru == 1 && message.size() >= 3)
            MidiOutShortMsg(static_cast<uint8_t>(message.at(0)), static_cast<uint8_t>(message.at(1)),
                            static_cast<uint8_t>(message.at(2)));
    }
}

void MidiComms::onPortError(int code, const QString &text)
{
    if (code == 0 || code == 8)
        return;
    notifier.message(Notifier::Icon::None, QString(), text);
}
