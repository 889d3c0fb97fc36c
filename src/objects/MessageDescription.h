// What a MIDI message means, in words a user reads in the MIDI monitor: the SP's requests,
// uploads and answers by kind and object number, status codes with their text, front-panel
// keys, notes and other channel messages, other makers' SysEx, identity messages and garbage.
// Pure functions of the bytes: every read is checked, so any message, however broken, gets a
// description.
#pragma once

#include <QByteArray>
#include <QString>

namespace MessageDescription {

enum class Direction { Out, In };

// `request` is the last SysEx the program sent before an incoming message, when known: an SP's
// data answer does not say which request it answers, and a directory of Maps cannot otherwise
// be told from a Map dump.
QString Describe(const QByteArray &message, Direction direction, const QByteArray &request = {});

// The bytes in hexadecimal, "F0 00 1B ...". With maxBytes > 0 a longer message is shortened to
// its first bytes, an ellipsis and its last byte.
QString Hex(const QByteArray &message, int maxBytes = 0);

} // namespace MessageDescription
