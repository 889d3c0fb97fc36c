// The Preset's parameters as its edit controls address them: where each field sits in the
// Preset dump, whether it belongs to the preset, to an allocation group, to the shown layer or
// to a Map level, its range and partner control, and the combo lists. Every Preset control is
// built and driven from these tables.
#pragma once

#include "device/ObjectKinds.h"

#include <QString>

#include <array>
#include <cstddef>
#include <span>

namespace PresetDescription {

constexpr int DumpLength = DumpLengths[KindPreset];
constexpr int FirstPosition = 20;  // the name's first nibble character; the data bytes follow
constexpr int LayerBOffset = 192;  // layer B's fields sit this far after layer A's
constexpr int Width = 2;           // every Preset field is one byte on the wire
constexpr int NamePosition = 20;
constexpr int Groups = 8;
constexpr int Levels = 4;
constexpr int SwitchPointWord = 128; // shown "<<<"
constexpr int AuxOff = 255;          // an auxiliary controller that is off

// What a box's position is relative to.
enum class Scope {
    Preset,      // a preset header byte
    Group,       // header byte of the group chosen in txtPreset(5): position + 2 * group
    Layer,       // the shown layer's byte: position in layer A, + 192 in layer B
    Level,       // the shown layer's Map at the level in txtPreset(7): position + 2 * (level - 1)
    GroupSelect, // txtPreset(5): chooses a group, sends nothing
    LevelSelect, // txtPreset(7): chooses a level, sends nothing
};

enum class Partner { None, Slider, HorizontalSlider, Spin };

// txtPreset(index) with its partner sldPreset, hsldPreset or spnPreset of the same index.
struct Box {
    int index;
    int position; // 0 for the selection boxes
    Scope scope;
    bool isSigned;
    int low;  // the range typed values are clamped to, and the partner's range
    int high;
    Partner partner;
    const char *caption;
};

constexpr std::array<Box, 23> Boxes = {{
    {0, 90, Scope::Preset, true, -99, 99, Partner::Slider, "Layer Detune"},
    {1, 94, Scope::Preset, true, -99, 99, Partner::Slider, "Modulation"},
    {2, 98, Scope::Preset, false, 0, 127, Partner::Spin, "Switch/Xfade Pivot Point"},
    {4, 100, Scope::Preset, false, 0, 255, Partner::Slider, "Xfade Region Width"},
    {5, 0, Scope::GroupSelect, false, 0, Groups - 1, Partner::Spin, "Allocation Group"},
    {6, 52, Scope::Group, false, 0, 255, Partner::Spin, "Max Polyphony"},
    {7, 0, Scope::LevelSelect, false, 1, Levels, Partner::Spin, "Level"},
    {8, 152, Scope::Level, false, 0, 255, Partner::Spin, "Map"},
    {9, 160, Scope::Layer, false, 0, SwitchPointWord, Partner::Spin, "1"},
    {10, 162, Scope::Layer, false, 0, SwitchPointWord, Partner::Spin, "2"},
    {11, 164, Scope::Layer, false, 0, SwitchPointWord, Partner::Spin, "3"},
    {12, 166, Scope::Layer, true, -99, 99, Partner::Slider, "Transpose"},
    {13, 168, Scope::Layer, true, -24, 24, Partner::Spin, "Pitch Bend Range"},
    {14, 186, Scope::Layer, false, 0, 127, Partner::Spin, "Keyboard Track Center"},
    {16, 172, Scope::Layer, true, -99, 99, Partner::HorizontalSlider, "Layer Pan"},
    {17, 188, Scope::Layer, true, -99, 99, Partner::Slider, "Pan Keybd"},
    {18, 174, Scope::Layer, true, -99, 99, Partner::Slider, "Volume"},
    {19, 176, Scope::Layer, true, -99, 99, Partner::Slider, "Filter Cutoff"},
    {20, 190, Scope::Layer, true, -99, 99, Partner::Slider, "Filter Keybd"},
    {21, 178, Scope::Layer, true, -99, 99, Partner::Slider, "DCA Velocity"},
    {22, 180, Scope::Layer, true, -99, 99, Partner::Slider, "DCF Velocity"},
    {23, 182, Scope::Layer, true, -99, 99, Partner::Slider, "DCF Env Amt"},
    {24, 184, Scope::Layer, false, 0, 127, Partner::Slider, "DCO Mod Rge"},
}};

// Boxes that only show something: the note names and the Map's name.
constexpr int PivotNameBox = 3;
constexpr int TrackCentreNameBox = 15;
constexpr int MapNameBox = 25;
constexpr int PivotBox = 2;
constexpr int TrackCentreBox = 14;
constexpr int GroupBox = 5;
constexpr int LevelBox = 7;
constexpr int MapBox = 8;
constexpr int FirstSwitchPointBox = 9;
constexpr int LastSwitchPointBox = 11;
constexpr int PitchBendBox = 13;
constexpr int LayerPanBox = 16;

// Combo boxes cboPreset(index).
enum class ComboValues {
    ListIndex,  // the list index is the value
    Controller, // "Off" sends 255, entry n sends controller n - 1
};
struct Combo {
    int index;
    int position; // in layer A for the layer's combo
    bool layer;
    ComboValues values;
    const char *caption;
};
constexpr std::array<Combo, 7> Combos = {{
    {0, 50, false, ComboValues::ListIndex, "Preset Mode"},
    {1, 84, false, ComboValues::Controller, "Aux 1"},
    {2, 86, false, ComboValues::Controller, "Aux 2"},
    {3, 88, false, ComboValues::Controller, "Aux 3"},
    {4, 92, false, ComboValues::ListIndex, "Modulation Source"},
    {5, 96, false, ComboValues::ListIndex, "Switch/Xfade Ctlr"},
    {6, 150, true, ComboValues::ListIndex, "Map Switch Ctlr"},
}};

constexpr std::array<const char *, 5> PresetModes = {"play layer a only", "play layer b only", "play both layers",
                                                     "layer a/b switch", "layer a/b crossfade"};
constexpr std::array<const char *, 9> Controllers = {"keybdpos", "velocity", "random", "modwheel", "chanpres",
                                                     "polypres", "auxctl1", "auxctl2", "auxctl3"};
constexpr int HighestController = 120;

// Option buttons optPreset(index).
constexpr int PriorityPosition = 68; // + 2 * group; options 0 to 3 "low" to "absolute"
constexpr int OverflowPosition = 102; // bit g: options 4 "off" and 5 "on"
constexpr int OutputPosition = 170;   // layer byte; options 6 to 8 "[Map]", "Main", "Sub"
constexpr int LayerOptionA = 9;       // optPreset(9) "A", optPreset(10) "B"
constexpr std::array<const char *, 11> OptionCaptions = {"low", "medium", "high", "absolute", "off", "on",
                                                         "[Map]", "Main", "Sub", "A", "B"};

// The row of txtPreset(index) in Boxes, or Boxes.size().
size_t RowOf(int index);
// The entries of a combo's list.
QStringList ComboEntries(const Combo &combo);
// The 122 entries of the auxiliary controller lists: "Off", then controllers 0 to 120.
const QStringList &AuxiliaryControllers();
// The list index of a stored auxiliary controller, -1 for a value the list does not hold.
int AuxiliaryIndex(int value);
// The value a controller list index stands for.
int AuxiliaryValue(int listIndex);

} // namespace PresetDescription
