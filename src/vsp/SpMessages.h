// The Virtual SP's own reading and writing of SysEx messages and nibble characters. Kept apart
// from the program's client code on purpose: a misunderstanding on either side fails a test.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace Vsp::Wire {

struct Incoming {
    uint8_t deviceId = 0;
    QByteArray body;         // between the device ID and F7
    bool terminated = false; // ended with F7
};

// The message's parts when it is a SysEx for an SP; nothing for anything else.
std::optional<Incoming> Open(const QByteArray &message);
QByteArray Frame(uint8_t deviceId, const QByteArray &body);

// Each byte as two characters holding its high and low nibble.
QByteArray ToNibbles(const QByteArray &bytes);
// Nothing when a character is above 15 or the count is odd.
std::optional<QByteArray> FromNibbles(const QByteArray &chars);

// A number of `count` nibble characters, most significant first.
QByteArray NumberToNibbles(uint32_t value, int count);
// Nothing when the characters run past the end or one is above 15.
std::optional<uint32_t> NibblesToNumber(const QByteArray &chars, int at, int count);

} // namespace Vsp::Wire
