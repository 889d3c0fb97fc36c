// The Multi described once: where its eight allocation groups and sixteen MIDI channels sit in
// its dump, their ranges, and the captions of the Global tab's Multi frame, which also name the
// Multi's parameters in Compare and the undo history.
#pragma once

#include "device/ObjectKinds.h"

#include <QString>

#include <array>

namespace MultiDescription {

constexpr int DumpLength = DumpLengths[KindMulti];
constexpr int FirstPosition = 20;
constexpr int Channels = 16;
constexpr int Groups = 8;
constexpr int ByteWidth = 2;
constexpr int OfflineWidth = 4;              // four nibble characters, bit ch = off-line
constexpr int OfflinePosition = 52;
constexpr int PolyphonyPosition = 56;        // + 2 * group
constexpr int PriorityPosition = 72;         // + 2 * group
constexpr int PresetPosition = 88;           // + 2 * channel
constexpr int VolumePosition = 120;          // + 2 * channel
constexpr int OverflowPosition = 152;        // bit g = overflow on

// The frame's boxes txtGlobal(index): what each selects or edits, its spin limits, whether
// typed values are uploaded.
enum Box { GroupBox = 0, PolyphonyBox = 1, ChannelBox = 2, PresetBox = 3, PresetNameBox = 4, VolumeBox = 5 };
struct BoxRow {
    int index;
    const char *caption;
    int low;
    int high;
    bool typed;
};
constexpr std::array<BoxRow, 5> BoxRows = {{
    {GroupBox, "Allocation Group", 0, Groups - 1, false},
    {PolyphonyBox, "Max Polyphony", 0, 255, false},
    {ChannelBox, "Channel Number", 0, Channels - 1, false},
    {PresetBox, "Preset (p#)", 0, 127, true},
    {VolumeBox, "Volume", 0, 127, true},
}};

// The options optGlobal(index): priority 0 to 3, overflow 4 and 5, multi enable 6 and 7.
constexpr std::array<const char *, 8> OptionCaptions = {"low", "medium", "high", "absolute",
                                                        "off", "on",     "Active", "Off-Line"};
constexpr int FirstOverflowOption = 4;
constexpr int FirstEnableOption = 6;

// The box's row; BoxRows.end() for an index no box edits.
const BoxRow *FindBox(int index);
// The captions, which also name the Multi's parameters outside the tab; empty for an index the
// frame lacks.
QString BoxCaption(int index);
QString OptionCaption(int index);

} // namespace MultiDescription
