#include "vsp/SpLayout.h"

namespace Vsp {

int RecordBytes(int kind, int zones)
{
    switch (kind) {
    case Wave:
        return WaveRecordBytes;
    case Tone:
        return ToneRecordBytes;
    case Map:
        return MapZonesOffset + MapZoneBytes * zones;
    case Preset:
        return PresetRecordBytes;
    case Multi:
        return MultiRecordBytes;
    default:
        return -1;
    }
}

int HighestAllowed(int kind)
{
    switch (kind) {
    case Wave:
    case Tone:
    case Map:
        return 255;
    case Preset:
        return 127;
    case Multi:
        return 63;
    default:
        return -1;
    }
}

int ZoneCount(const QByteArray &mapRecord)
{
    if (mapRecord.size() <= MapLastZoneOffset)
        return 0;
    return static_cast<uint8_t>(mapRecord.at(MapLastZoneOffset)) + 1;
}

const std::vector<FieldRule> &Rules(int kind)
{
    static const std::vector<FieldRule> none;
    static const std::vector<FieldRule> wave = {
        {WaveField::FineTune, -99, 99, true},
    };
    static const std::vector<FieldRule> tone = [] {
        std::vector<FieldRule> r;
        for (int envelope : {18, 22}) {
            r.push_back({envelope, -99, 99, true});
            for (int stage = 1; stage <= 3; ++stage)
                r.push_back({envelope + stage, 0, 99, false});
        }
        for (int select : {26, 32, 38, 54})
            r.push_back({select, 0, 2, false});
        for (int amount : {27, 28, 30, 33, 34, 35, 37, 39, 40, 41, 43, 52, 55, 56, 57, 59})
            r.push_back({amount, -99, 99, true});
        for (int source : {29, 36, 42, 47, 49, 58})
            r.push_back({source, 0, 6, false});
        for (int unsignedAmount : {31, 44, 46, 48, 50})
            r.push_back({unsignedAmount, 0, 99, false});
        r.push_back({45, 0, 7, false});   // LFO waveshape
        r.push_back({53, 0, 8, false});   // wave start modulation source
        r.push_back({62, 0, 127, false}); // wave start quantize
        return r;
    }();
    static const std::vector<FieldRule> zone = {
        {ZoneField::LowNote, 0, 127, false},  {ZoneField::HighNote, 0, 127, false},
        {ZoneField::Transpose, -127, 127, true}, {ZoneField::Volume, 0, 99, false},
        {ZoneField::Pan, -99, 99, true},      {ZoneField::Output, 0, 1, false},
    };
    static const std::vector<FieldRule> preset = [] {
        std::vector<FieldRule> r;
        r.push_back({1 + 15, 0, 4, false}); // preset mode
        for (int g = 0; g < 8; ++g)
            r.push_back({1 + 24 + g, 0, 3, false}); // group priority
        r.push_back({1 + 35, -99, 99, true});       // layer detune
        r.push_back({1 + 36, 0, 8, false});         // modulation source
        r.push_back({1 + 37, -99, 99, true});       // modulation
        r.push_back({1 + 38, 0, 8, false});         // switch/crossfade controller
        r.push_back({1 + 39, 0, 127, false});       // pivot note
        for (int layer : {65, 161}) {
            r.push_back({layer + 1, 0, 8, false}); // map switch controller
            for (int point = 6; point <= 8; ++point)
                r.push_back({layer + point, 0, 128, false});
            r.push_back({layer + 9, -127, 127, true}); // transpose
            r.push_back({layer + 10, -24, 24, true});  // pitch bend range
            r.push_back({layer + 11, 0, 2, false});    // output
            for (int s : {12, 13, 14, 15, 16, 17, 20, 21})
                r.push_back({layer + s, -99, 99, true});
            r.push_back({layer + 19, 0, 127, false}); // keyboard track centre
        }
        return r;
    }();
    static const std::vector<FieldRule> multi = [] {
        std::vector<FieldRule> r;
        for (int g = 0; g < 8; ++g)
            r.push_back({1 + 26 + g, 0, 3, false});
        for (int ch = 0; ch < 16; ++ch) {
            r.push_back({1 + 34 + ch, 0, 127, false});
            r.push_back({1 + 50 + ch, 0, 127, false});
        }
        return r;
    }();
    switch (kind) {
    case Wave:
        return wave;
    case Tone:
        return tone;
    case MapZone:
        return zone;
    case Preset:
        return preset;
    case Multi:
        return multi;
    default:
        return none;
    }
}

uint32_t Read(const QByteArray &record, int offset, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int at = offset + i;
        value = (value << 8) | (at >= 0 && at < record.size() ? static_cast<uint8_t>(record.at(at)) : 0u);
    }
    return value;
}

void Write(QByteArray &record, int offset, int bytes, uint32_t value)
{
    for (int i = bytes - 1; i >= 0; --i) {
        const int at = offset + i;
        if (at >= 0 && at < record.size())
            record[at] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
}

int SignedByte(uint8_t byte)
{
    return byte > 128 ? byte - 256 : byte;
}

QByteArray Name(const QByteArray &record)
{
    return record.mid(NameOffset, NameLength);
}

void SetName(QByteArray &record, const QByteArray &name)
{
    const QByteArray padded = name.left(NameLength).leftJustified(NameLength, ' ');
    for (int i = 0; i < NameLength && NameOffset + i < record.size(); ++i)
        record[NameOffset + i] = padded.at(i);
}

} // namespace Vsp
