// The device side of start-up: settings, both ports, and the probe that tells whether the SP
// answers. The main window adds the displays around it.
#pragma once

#include <QObject>

#include <functional>

class DebugLog;
class ExchangeState;
class LinkState;
class MidiComms;
class Notifier;
class QSettings;
class ResponseWait;
struct Settings;

class LinkStartup {
public:
    enum class Outcome { Online, Offline, Fatal };

    LinkStartup(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, LinkState &link, Settings &settings,
                QSettings &store, Notifier &notifier, DebugLog &log);

    // Steps of Initialise up to the probe's answer. buildTables runs where the control lists
    // are built, between opening the ports and probing.
    Outcome Initialise(const std::function<void()> &buildTables);

    static QByteArray ProdMessage(uint8_t deviceId);

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
};
