// The device side of start-up: settings, both ports, and the probe that tells whether the SP
// answers. The main window adds the displays around it.
#pragma once

#include <QObject>

#include <functional>

class DebugLog;
class ExchangeState;
class LinkState;
class MidiComms;
class MidiDeviceList;
class Notifier;
class QSettings;
class ResponseWait;
struct PortSettings;
struct Settings;

class LinkStartup {
public:
    enum class Outcome { Online, Offline, Fatal };

    LinkStartup(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, LinkState &link, Settings &settings,
                QSettings &store, Notifier &notifier, DebugLog &log);

    // Steps of Initialise up to the probe's answer. buildTables runs where the control lists
    // are built, between opening the ports and probing.
    Outcome Initialise(const std::function<void()> &buildTables);

    // The devices offered, to tell real interfaces from the Virtual SP.
    void setDevices(const MidiDeviceList *list) { devices = list; }

    static QByteArray ProdMessage(uint8_t deviceId);
    // Where a user whose SP did not answer on the first start chooses the ports and device ID.
    static QString FirstStartHint();
    // Says that the Virtual SP is in use because no MIDI interface was found; else empty.
    static QString VirtualSpNote(const MidiDeviceList &devices, const PortSettings &ports);

private:
    Outcome Fatal();

    MidiComms &comms;
    ResponseWait &wait;
    ExchangeState &exchange;
    LinkState &link;
    Settings &settings;
    QSettings &store;
    Notifier &notifier;
    DebugLog &log;
    const MidiDeviceList *devices = nullptr;
};
