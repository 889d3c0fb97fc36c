// Small set-up shared by the device-layer and object-layer tests: canned answers of a scripted
// SP and the request messages the program sends, written out independently of its own code.
#pragma once

#include "Bytes.h"
#include "ScriptedBackend.h"

// Answers every request with the same message.
inline ScriptedBackend::Reply Always(const QByteArray &answer)
{
    return [answer](const QByteArray &) { return QList<QByteArray>{answer}; };
}

// The dump request for object `number` of `kind`.
inline QByteArray ObjectRequest(int kind, int number, int deviceId = 127)
{
    return SpMessage({0x01, kind, 0, 0, 0, 2, 0, 0, number / 16, number % 16}, deviceId);
}

// The directory status request (`list` false) or the directory request (`list` true) of `kind`.
inline QByteArray DirectoryRequest(int kind, bool list = false, int deviceId = 127)
{
    return SpMessage({0x12, list ? 0x02 : 0x01, 0x01, kind}, deviceId);
}

// A directory status answer, 64 characters, with its figures in their nibble fields.
inline QByteArray StatusAnswer(int highestAllowed, int loaded, int lowest, int highest, int used, int free,
                               int freeParm = 30000, int installed = 1024, int freeSample = 700)
{
    return SpMessage(Bytes({0x02, 0x03, 0, 0, 1, 8, 0, 0, 0, 0, 0, 0, 0, 0}) + Nibbles(highestAllowed, 4)
                     + Nibbles(loaded, 4) + Nibbles(lowest, 4) + Nibbles(highest, 4) + Nibbles(used, 6)
                     + Nibbles(free, 6) + Nibbles(freeParm, 6) + Nibbles(installed, 4) + Nibbles(freeSample, 4));
}
