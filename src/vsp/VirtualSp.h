// The Virtual SP: an emulated SP module that answers the program's SysEx messages as the
// hardware does, holding real state and enforcing the device's rules with its status codes.
// It reads messages its own way (SpMessages), never through the program's client code.
#pragma once

#include "vsp/SpMemory.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <vector>

class VirtualSp {
public:
    static constexpr uint8_t BroadcastId = 127; // every SP answers this device ID
    static constexpr int FrontPanelKeys = 12;
    static constexpr int FloppyDiskCode = 127;

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

    explicit VirtualSp(uint8_t deviceId = BroadcastId);

    // Everything the SP sends back for one incoming message; nothing for messages that are not
    // for it (another maker, another device ID, or a short message).
    std::vector<QByteArray> Receive(const QByteArray &message);

    uint8_t deviceId() const { return ownId; }
    Vsp::SpMemory &memory() { return mem; }
    const Vsp::SpMemory &memory() const { return mem; }
    void setMemory(Vsp::SpMemory memory) { mem = std::move(memory); }

    // Called after every command that changed the memory, so it can be saved.
    std::function<void(const Vsp::SpMemory &)> onChanged;
    // Reads bank `bank` of the disk with `diskCode` (127 the floppy, 0 to 6 a SCSI ID) into
    // `into`; false when the disk or the bank does not exist. Without it no disk answers.
    std::function<bool(int diskCode, int bank, Vsp::SpMemory &into)> loadBank;

    // The front-panel key pressed last, or -1, and how many presses there were.
    int lastKeyPressed() const { return lastKey; }
    int keyPresses() const { return presses; }

    QByteArray StatusMessage(uint8_t code) const;

private:
    std::vector<QByteArray> Dispatch(const QByteArray &body);
    QByteArray ObjectDump(int kind, int number, Status &status) const;
    QByteArray ZoneDump(int note, int mapNumber, Status &status) const;
    QByteArray DirectoryStatus(int kind) const;
    QByteArray Directory(int kind) const;
    uint8_t Upload(int kind, const QByteArray &selector, const QByteArray &data);
    uint8_t UploadZone(int note, int mapNumber, const QByteArray &zone);
    uint8_t UploadMapHeader(int number, const QByteArray &header);
    uint8_t Delete(int kind, int number);
    uint8_t Merge(int left, int right);
    uint8_t LoadBank(int diskCode, int bank);
    uint8_t FrontPanel(const QByteArray &body);
    std::vector<QByteArray> Global(const QByteArray &body);
    void Changed();

    uint8_t ownId;
    Vsp::SpMemory mem;
    int lastKey = -1;
    int presses = 0;
};
