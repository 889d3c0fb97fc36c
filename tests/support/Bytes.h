// Bytes written out as numbers, so a test states the exact message it expects.
#pragma once

#include <QByteArray>

#include <initializer_list>

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}
