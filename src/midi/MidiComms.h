// MidiComms: the two ports as the program uses them. Opens and closes them, sends one SysEx
// at a time, hands each arriving SysEx to the response buffer, forwards short messages when
// MIDI Thru is on, and reports every error through ShowError.
#pragma once

#include "midi/ExchangeState.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class DebugLog;
class Notifier;
struct PortSettings;

class MidiComms : public QObject {
    Q_OBJECT
public:
    MidiComms(const MidiDeviceList &devices, PortSettings &ports, ExchangeState &exchange, Notifier &notifier,
              DebugLog &log, MidiTrace &trace, QObject *parent = nullptr);

    MidiInput &input() { return ctlMIDIin; }
    MidiOutput &output() { return ctlMIDIout; }

    bool OpenInputDevice();
    bool OpenOutputDevice();
    // Why the last OpenInputDevice or OpenOutputDevice failed, as the MIDI system said it.
    const QString &LastOpenError() const { return lastOpenError; }
    void ClosePorts();

    // Sends a whole SysEx and marks the exchange as awaiting the SP's answer; `stricter`
    // narrows which message may answer it. When an earlier answer may still be on its way, the
    // link is first brought back in step; if that fails nothing is sent and false returned.
    bool MidiOutLongMsg(const QByteArray &message, ExchangeState::Acceptor stricter = {});
    // How the link is brought back in step after a request was given up (set by the wait).
    void setResync(std::function<bool()> step) { resync = std::move(step); }
    void MidiOutShortMsg(uint8_t status, uint8_t data1, uint8_t data2);

    // Code -1: a critical box "heading / text"; 0: nothing; 65: nothing (a time-out already
    // reported); anything else: a MIDI driver error, shown as "heading:" over the driver's text.
    bool ShowError(int code, const QString &heading, const QString &text);
    // ShowError(-1, ...) followed by the common tail of every error path.
    void ReportError(const QString &heading, const QString &text);

    // Delay after the last forwarded short message before the output light goes off.
    static constexpr int ThruLedMs = 100;

private:
    QString lastOpenError;
    void onMessagesArrived();
    // Waits, with the window still running, until the pause after the last SysEx has passed.
    void KeepPause();
    void onPortError(int code, const QString &text);

    PortSettings &ports;
    ExchangeState &exchange;
    Notifier &notifier;
    DebugLog &log;
    MidiInput ctlMIDIin;
    MidiOutput ctlMIDIout;
    QTimer thruLedTimer;
    std::function<bool()> resync;
    bool resyncing = false;
    QElapsedTimer lastLongSent; // invalid until the first SysEx goes out
};
