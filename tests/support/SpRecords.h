// Small builders of the SP's object records for tests, so each test states the memory it needs.
#pragma once

#include "vsp/SpLayout.h"
#include "vsp/SpMemory.h"

#include <initializer_list>
#include <utility>

namespace SpRecords {

inline QByteArray Record(int bytes, const char *name)
{
    QByteArray r(bytes, '\0');
    Vsp::SetName(r, name);
    return r;
}

inline QByteArray Wave(const char *name, int length, bool stereo = false)
{
    using namespace Vsp;
    QByteArray w = Record(WaveRecordBytes, name);
    w[WaveField::Mode] = static_cast<char>(stereo ? WaveField::Stereo : 0);
    Write(w, WaveField::Address, 4, 0x1400);
    Write(w, WaveField::Size, 2, static_cast<uint32_t>((length + 1023) / 1024 * (stereo ? 2 : 1)));
    Write(w, WaveField::PlayEnd, 4, static_cast<uint32_t>(length - 1));
    Write(w, WaveField::Length, 4, static_cast<uint32_t>(length));
    Write(w, WaveField::Pitch, 2, 6000);
    return w;
}

// The record byte whose high nibble travels at a message position of a Preset or Multi dump.
constexpr int RecordByteAt(int position)
{
    return (position - 18) / 2;
}
inline void SetAt(QByteArray &record, int position, int value)
{
    record[RecordByteAt(position)] = static_cast<char>(value & 0xFF);
}
inline int ByteAt(const QByteArray &record, int position)
{
    return static_cast<uint8_t>(record.at(RecordByteAt(position)));
}

inline QByteArray Tone(const char *name) { return Record(Vsp::ToneRecordBytes, name); }
inline QByteArray Preset(const char *name) { return Record(Vsp::PresetRecordBytes, name); }
inline QByteArray Multi(const char *name) { return Record(Vsp::MultiRecordBytes, name); }

// A Map whose zones cover the given (low, high) ranges.
inline QByteArray Map(const char *name, std::initializer_list<std::pair<int, int>> zones)
{
    using namespace Vsp;
    QByteArray m = Record(RecordBytes(Vsp::Map, static_cast<int>(zones.size())), name);
    m[MapLastZoneOffset] = static_cast<char>(zones.size() - 1);
    int base = MapZonesOffset;
    for (const auto &[low, high] : zones) {
        m[base + ZoneField::LowNote] = static_cast<char>(low);
        m[base + ZoneField::HighNote] = static_cast<char>(high);
        m[base + ZoneField::Volume] = 80;
        base += MapZoneBytes;
    }
    return m;
}

} // namespace SpRecords
