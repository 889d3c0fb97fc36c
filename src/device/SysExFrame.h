// The SP's System Exclusive frame: header, device ID, body, F7; and the one checked way to
// read a byte of a received message by its 1-based position.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <optional>

namespace SysEx {

constexpr uint8_t Start = 0xF0;
constexpr uint8_t End = 0xF7;
// Every message names the device it is for, or 7F for any, here.
constexpr int DeviceIdPosition = 7;
// Status responses carry their code here (byte 8 is 0x00).
constexpr int StatusCodePosition = 9;

// F0, the maker's ID 00 00 1B, then the fixed 02 05.
QByteArray Header();
QByteArray Frame(uint8_t deviceId, const QByteArray &body);

// Bytes written out as numbers, for message bodies.
QByteArray Bytes(std::initializer_list<int> values);

// The byte at a 1-based position, or nothing when the message is too short.
std::optional<uint8_t> ByteAt(const QByteArray &message, int position);

} // namespace SysEx
