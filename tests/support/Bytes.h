// Bytes written out as numbers, so a test states the exact message it expects; the few shapes
// every SP message test builds: the frame, status answers, key presses, nibble fields; and files
// read and written whole. Written here independently of the program's own message code.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <initializer_list>

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// The SP's frame around a body: F0 00 00 1B 02 05, the device id, the body, F7.
inline QByteArray SpMessage(const QByteArray &body, int deviceId = 127)
{
    return Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, deviceId}) + body + Bytes({0xF7});
}
inline QByteArray SpMessage(std::initializer_list<int> body, int deviceId = 127)
{
    return SpMessage(Bytes(body), deviceId);
}

// A status answer with its code.
inline QByteArray SpStatusAnswer(int code, int deviceId = 127)
{
    return SpMessage({0x00, code}, deviceId);
}

// A press of a front-panel key.
inline QByteArray SpKey(int code, int deviceId = 127)
{
    return SpMessage({0x11, 0x01, 0x01, code}, deviceId);
}

// `value` as `width` nibble characters, high first.
inline QByteArray Nibbles(int64_t value, int width)
{
    QByteArray n;
    for (int i = width - 1; i >= 0; --i)
        n.append(static_cast<char>((value >> (4 * i)) & 0x0F));
    return n;
}

// The number held in `width` nibble characters from a 1-based message position.
inline int64_t NibblesAt(const QByteArray &message, int position, int width)
{
    int64_t value = 0;
    for (int i = 0; i < width; ++i)
        value = value * 16 + static_cast<uint8_t>(message.at(position - 1 + i));
    return value;
}

// Spaces as nibble pairs, as names are padded.
inline QByteArray Pads(int pairs)
{
    return Bytes({2, 0}).repeated(pairs);
}

// `message` with `characters` written from a 1-based position on.
inline QByteArray With(QByteArray message, int position, const QByteArray &characters)
{
    message.replace(position - 1, characters.size(), characters);
    return message;
}

// A file's bytes, or none when it cannot be read.
inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
