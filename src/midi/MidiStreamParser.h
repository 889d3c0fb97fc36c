// Turns a raw MIDI byte stream into whole messages: each SysEx joined up to its F7, each
// other message padded to three bytes. Holds no Qt Widgets so it can be fuzzed alone.
#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <functional>

class MidiStreamParser {
public:
    // Longer SysEx messages are dropped whole; nothing the SP sends comes near this.
    static constexpr int MaxSysExLength = 256 * 1024;

    using Sink = std::function<void(const QByteArray &message)>;

    // A filtered status byte (real-time bytes such as F8, F9, FE) is dropped wherever it appears.
    void setFiltered(uint8_t status, bool filtered);
    bool isFiltered(uint8_t status) const;

    void feed(const QByteArray &bytes, const Sink &sink);
    // The bytes a short message really has on the wire, its status included.
    static int WireLength(uint8_t status);
    void reset();

    // Messages thrown away because they were malformed or too long, for diagnostics.
    int droppedCount() const { return dropped; }

private:
    void feedByte(uint8_t byte, const Sink &sink);
    void startStatus(uint8_t status, const Sink &sink);
    void emitShort(const Sink &sink);

    std::array<bool, 256> filters{};
    QByteArray sysex;
    bool inSysEx = false;
    bool discardingSysEx = false;
    uint8_t runningStatus = 0;
    std::array<uint8_t, 3> shortMessage{};
    int shortLength = 0;
    int shortExpected = 0;
    int dropped = 0;
};
