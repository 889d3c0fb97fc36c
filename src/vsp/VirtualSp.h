// The Virtual SP: an emulated SP module that answers the program's SysEx messages as the
// hardware does. It reads messages its own way, never through the program's client code.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

class VirtualSp {
public:
    static constexpr uint8_t BroadcastId = 127; // every SP answers this device ID
    static constexpr int FrontPanelKeys = 12;

    enum Status : uint8_t {
        Ok = 0,
        UnknownCommand = 1,
        Truncated = 2,
        MalformedString = 3,
        EmptyObject = 4,
        NumberOutOfRange = 5,
        OutOfMemory = 6,
        UnknownKind = 7,
        IllegalRequest = 8,
        Busy = 9,
        OperationFailed = 10,
        IllegalValue = 11,
    };

    explicit VirtualSp(uint8_t deviceId = BroadcastId) : ownId(deviceId) {}

    // Everything the SP sends back for one incoming message; nothing for messages that are not
    // for it (another maker, another device ID, or a short message).
    std::vector<QByteArray> Receive(const QByteArray &message);

    uint8_t deviceId() const { return ownId; }
    // The front-panel key pressed last, or -1.
    int lastKeyPressed() const { return lastKey; }
    int keyPresses() const { return presses; }

    QByteArray StatusMessage(uint8_t code) const;

private:
    uint8_t FrontPanel(const QByteArray &body);

    uint8_t ownId;
    int lastKey = -1;
    int presses = 0;
};
