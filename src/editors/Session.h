// The long-lived objects of one run of the program, built once and shared by the windows:
// settings, the device list, the ports, the exchange state, the link and the front panel.
#pragma once

#include "midi/DebugLog.h"
#include "device/FrontPanel.h"
#include "device/LinkState.h"
#include "device/ResponseWait.h"
#include "midi/ExchangeState.h"
#include "midi/MidiComms.h"
#include "midi/MidiDeviceList.h"
#include "midi/MidiTrace.h"
#include "objects/ObjectIO.h"
#include "objects/ObjectStore.h"
#include "editors/EditState.h"
#include "settings/Settings.h"

#include <memory>
#include <vector>

class Notifier;
class QSettings;

class Session {
public:
    // tracePath names the MIDI trace file; empty for none.
    Session(QSettings &store, Notifier &notifier, std::vector<std::unique_ptr<MidiBackend>> backends,
            const QString &tracePath = QString());
    ~Session();

    QSettings &store;
    Notifier &notifier;
    Settings settings;
    DebugLog log;
    MidiTrace trace;
    ExchangeState exchange;
    LinkState link;
    EditState edit;
    MidiDeviceList devices;
    MidiComms comms;
    ResponseWait wait;
    FrontPanel frontPanel;
    ObjectStore objects;
    ObjectIO io;
};
