#include "device/LinkStartup.h"

#include "midi/DebugLog.h"
#include "device/FrontPanel.h"
#include "device/LinkState.h"
#include "device/ResponseWait.h"
#include "midi/ExchangeState.h"
#include "midi/MidiComms.h"
#include "midi/MidiDeviceList.h"
#include "midi/Notifier.h"
#include "settings/Registry.h"
#include "settings/Settings.h"

LinkStartup::LinkStartup(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, LinkState &link,
                         Settings &settings, QSettings &store, Notifier &notifier, DebugLog &log)
    : comms(comms), wait(wait), exchange(exchange), link(link), settings(settings), store(store),
      notifier(notifier), log(log)
{
}

QByteArray LinkStartup::ProdMessage(uint8_t deviceId)
{
    // The Preset key: harmless on the SP, and answered with a status when it is there.
    return FrontPanel::KeyMessage(deviceId, FrontPanel::KeyCode(FrontPanel::PresetKey));
}

LinkStartup::Outcome LinkStartup::Initialise(const std::function<void()> &buildTables)
{
    log.write(QStringLiteral("Initialise()"));
    if (comms.input().deviceCount() == 0 || comms.output().deviceCount() == 0)
        return Fatal();

    // Nothing stored yet: the ports are the first ones offered, perhaps not the SP's.
    const bool firstStart = !Registry::HasStoredPorts(store);
    Registry::GetRegistry(store, settings, comms.input(), comms.output(), log);

    if (!comms.OpenInputDevice() || !comms.OpenOutputDevice())
        return Fatal();

    log.write(QStringLiteral("Initialise(): Initialising arrays."));
    if (buildTables)
        buildTables();

    log.write(QStringLiteral("Initialise(): Prodding SP"));
    comms.MidiOutLongMsg(ProdMessage(static_cast<uint8_t>(settings.sp.SysExDeviceID)));
    const QByteArray status = wait.GetSpResponse(ResponseWait::DefaultTimeout, ResponseWait::StatusResponse);
    exchange.setResponseArrived(false);

    if (status == "0") {
        log.write(QStringLiteral("Initialise(): SP responded to prod."));
        link.setStatus(LinkState::Online);
        return Outcome::Online;
    }
    log.write(QStringLiteral("Initialise(): SP Not responding to prod."));
    link.setStatus(LinkState::Offline);
    // Only silence suggests the wrong port or ID: an SP that answered, even busy, is there.
    if (firstStart && status == "65" && devices && devices->hasInterface())
        notifier.message(Notifier::Icon::Information, QStringLiteral("Korvane"), FirstStartHint());
    return Outcome::Offline;
}

QString LinkStartup::FirstStartHint()
{
    return QStringLiteral("The SP did not answer on the first MIDI ports found. Choose the MIDI input and "
                          "output the SP is connected to under Config > Midi, and the SP's SysEx device ID "
                          "under Config > SP; then press a front-panel key to go online.");
}

QString LinkStartup::VirtualSpNote(const MidiDeviceList &devices, const PortSettings &ports)
{
    if (devices.hasInterface() || !devices.isEmulated(devices.input(ports.InputDeviceNum).backend))
        return {};
    return QStringLiteral("The Korvane Virtual SP is in use: no MIDI interface was found.");
}

LinkStartup::Outcome LinkStartup::Fatal()
{
    comms.ClosePorts();
    notifier.message(Notifier::Icon::Critical, QString(), QStringLiteral("Cannot initialise MIDI interface(s)...Exiting"));
    return Outcome::Fatal;
}
