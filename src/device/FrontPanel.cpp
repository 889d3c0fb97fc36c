#include "device/FrontPanel.h"

#include "device/LinkState.h"
#include "device/ResponseWait.h"
#include "device/SysExFrame.h"
#include "midi/ExchangeState.h"
#include "midi/MidiComms.h"
#include "settings/Settings.h"

const std::array<FrontPanel::Key, FrontPanel::KeyCount> &FrontPanel::Layout()
{
    static const std::array<Key, KeyCount> keys = {{
        {3, "Preset", 1, 1},
        {2, "Map", 1, 2},
        {1, "Tone", 1, 3},
        {0, "Wave", 1, 4},
        {9, "-/Dec", 1, 5},
        {8, "+/Inc", 1, 6},
        {4, "Disk", 2, 1},
        {5, "Globl", 2, 2},
        {6, "Util", 2, 3},
        {7, "Exec", 2, 4},
        {10, "<-", 2, 5},
        {11, "->", 2, 6},
    }};
    return keys;
}

int FrontPanel::KeyCode(int index)
{
    return index <= 3 ? 3 - index : index;
}

QByteArray FrontPanel::KeyMessage(uint8_t deviceId, int keyCode)
{
    QByteArray body("\x11\x01\x01", 3);
    body.append(static_cast<char>(keyCode & 0x7F));
    return SysEx::Frame(deviceId, body);
}

FrontPanel::FrontPanel(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, LinkState &link,
                       const SpConfig &sp, QObject *parent)
    : QObject(parent), comms(comms), wait(wait), exchange(exchange), link(link), sp(sp)
{
}

QByteArray FrontPanel::Press(int index)
{
    if (index < 0 || index >= KeyCount || exchange.refuseIfBusy())
        return {};
    comms.MidiOutLongMsg(KeyMessage(static_cast<uint8_t>(sp.SysExDeviceID), KeyCode(index)));
    // Exec can start a long job on the SP, so its answer is awaited without limit.
    const int timeout = index == ExecKey ? ResponseWait::Forever : ResponseWait::DefaultTimeout;
    const QByteArray status = wait.GetSpResponse(timeout, ResponseWait::StatusResponse);
    exchange.setResponseArrived(false);
    if (status == "0")
        link.setStatus(LinkState::Online);
    return status;
}
