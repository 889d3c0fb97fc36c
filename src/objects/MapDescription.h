// The Map tab's zone parameters as its controls address them: which zone byte each box edits,
// where that byte goes in the Map Zone upload, its range and sign, and the option pairs that
// flip a bit of the zone inside the whole Map. Every Map control is built and driven from here.
#pragma once

#include <array>

namespace MapDescription {

constexpr int Width = 2; // every zone field is one byte on the wire
constexpr int ZoneUploadFirst = 20; // zone byte 0's first nibble character in a Map Zone upload

constexpr int ZoneUploadPosition(int zoneByte)
{
    return ZoneUploadFirst + 2 * zoneByte;
}

// txtMap(index) boxes.
enum Index {
    ZoneIndex = 0,
    ToneIndex = 1,
    ToneNameIndex = 2,
    LowIndex = 3,
    HighIndex = 4,
    LowNameIndex = 5,
    HighNameIndex = 6,
    VolumeIndex = 7,
    TransposeIndex = 8,
    PanIndex = 9,
    GroupIndex = 10,
};
constexpr int Boxes = 11;

// Zone bytes.
enum ZoneByte { ToneByte = 1, LowByte = 2, HighByte = 3, TransposeByte = 4, VolumeByte = 5, PanByte = 6,
                OutputByte = 7, TuningByte = 8, AllocationByte = 9 };

struct Parameter {
    int index;    // txtMap(index)
    int zoneByte; // -1: the zone number, which selects and sends nothing
    bool isSigned;
    int low;      // typed values beyond these are clamped, spins stop here
    int high;
    const char *name; // as the box's tooltip and the Edit menu name it
};

constexpr int GroupBits = 0x0F;
constexpr int ExclusiveBit = 0x10;
constexpr int SubOutputBit = 0x01;
constexpr int FixedTuning = 0x80;

// The edited boxes. The zone's and Tone's limits come from the Map and the SP's Tones.
constexpr std::array<Parameter, 8> Edited = {{
    {ZoneIndex, -1, false, 0, 0, "Zone (z#)"},
    {ToneIndex, ToneByte, false, 0, 255, "Tone (t#)"},
    {LowIndex, LowByte, false, 0, 127, "Low note"},
    {HighIndex, HighByte, false, 0, 127, "High note"},
    {VolumeIndex, VolumeByte, false, 0, 99, "Volume"},
    {TransposeIndex, TransposeByte, true, -127, 127, "Transpose"},
    {PanIndex, PanByte, true, -99, 99, "Pan"},
    {GroupIndex, AllocationByte, false, 0, 7, "Allocation group"},
}};

// optMap(clear) and optMap(set): one bit of a zone byte, sent inside the whole Map.
struct OptionPair {
    int clear;
    int set;
    int zoneByte;
    int bit;
    const char *frame;
    const char *clearCaption;
    const char *setCaption;
};
constexpr std::array<OptionPair, 3> Options = {{
    {0, 1, OutputByte, SubOutputBit, "Output", "Main", "Sub"},
    {2, 3, TuningByte, FixedTuning, "Tuning", "Note Number", "Fixed"},
    {5, 4, AllocationByte, ExclusiveBit, "Allocation", "Normal", "Exclusive"},
}};

} // namespace MapDescription
