// The Tone's parameters as its edit controls address them: where each field sits in the Tone
// dump, whether it is signed, its slider's range, the combo lists and the option bits. Every
// Tone control is built and driven from these tables.
#pragma once

#include "device/ObjectKinds.h"

#include <QString>

#include <array>
#include <cstddef>
#include <span>

namespace ToneDescription {

constexpr int DumpLength = DumpLengths[KindTone];
constexpr int FirstPosition = 18; // the first data byte's high nibble
constexpr int Width = 2;          // every Tone field is one byte on the wire

// A text box with its slider: txt<family>(index) and sld<family>(index).
struct Box {
    const char *family;
    int index;
    int position;
    bool isSigned;
    int sliderLow;
    int sliderHigh;
    const char *name; // as the box's tooltip and the Edit menu name it
};

constexpr int AmountLow = -99;
constexpr int AmountHigh = 99;
constexpr int LevelHigh = 99;
constexpr int QuantizeHigh = 128; // shown one above what is stored
constexpr const char *NoQuantizeWord = "none"; // a stored quantize of 0
// A stored quantize amount as the Tone tab shows it.
QString QuantizeText(int stored);

constexpr std::array<Box, 22> Boxes = {{
    {"DCA", 0, 72, true, AmountLow, AmountHigh, "DCA Vel Sens"},
    {"DCA", 1, 74, true, AmountLow, AmountHigh, "DCA LFO Amt"},
    {"DCA", 2, 78, true, AmountLow, AmountHigh, "DCA Aux Amt"},
    {"DCF", 0, 86, true, AmountLow, AmountHigh, "DCF Vel Sens"},
    {"DCF", 1, 88, true, AmountLow, AmountHigh, "DCF LFO Amt"},
    {"DCF", 2, 92, true, AmountLow, AmountHigh, "DCF Aux Amt"},
    {"DCF", 3, 84, true, AmountLow, AmountHigh, "DCF Env Amt"},
    {"DCF", 4, 80, false, 0, LevelHigh, "DCF Cutoff"},
    {"DCO", 0, 98, true, AmountLow, AmountHigh, "DCO Velocity amount"},
    {"DCO", 1, 100, true, AmountLow, AmountHigh, "DCO LFO amount"},
    {"DCO", 2, 104, true, AmountLow, AmountHigh, "DCO Auxiliary amount"},
    {"DCO", 3, 96, true, AmountLow, AmountHigh, "DCO Envelope amount"},
    {"Pan", 0, 128, true, AmountLow, AmountHigh, "Pan Envelope amount"},
    {"Pan", 1, 130, true, AmountLow, AmountHigh, "Pan Velocity amount"},
    {"Pan", 2, 132, true, AmountLow, AmountHigh, "Pan LFO amount"},
    {"Pan", 3, 136, true, AmountLow, AmountHigh, "Pan Auxiliary amount"},
    {"LFO", 0, 106, false, 0, LevelHigh, "LFO Speed"},
    {"LFO", 1, 110, false, 0, LevelHigh, "LFO Amount"},
    {"LFO", 2, 114, false, 0, LevelHigh, "LFO Speed Modulation amount"},
    {"LFO", 3, 118, false, 0, LevelHigh, "LFO Amount Modulation amount"},
    {"LFO", 4, 122, true, AmountLow, AmountHigh, "LFO Wave Start Modulation amount"},
    {"LFO", 5, 142, false, 1, QuantizeHigh, "LFO Quantize"},
}};

// The wave start modulation group, whose boxes show words as well as numbers.
constexpr int WaveStartAmountIndex = 4;   // txtLFO(4): "qnt" for an amount of 0
constexpr int WaveStartQuantizeIndex = 5; // txtLFO(5): "none", "kbd" or "amt"
constexpr int WaveStartAmountPosition = 122;
constexpr int WaveStartQuantizePosition = 142;
constexpr int WaveStartSourceCombo = 7;
constexpr int KeyboardPositionSource = 0; // "keybdpos"

// Combo boxes cboTone(index): the list index is the value.
struct Combo {
    int index;
    int position;
    std::span<const char *const> entries;
    const char *name;
};

constexpr std::array<const char *, 7> Sources = {"none", "modwheel", "chanpres", "polypres",
                                                 "auxctl1", "auxctl2", "auxctl3"};
constexpr std::array<const char *, 8> Waveshapes = {"triangle", "square", "sawtooth (ramp)", "sine",
                                                    "clipped sine", "sample/hold", "random square", "grunge"};
constexpr std::array<const char *, 9> WaveStartSources = {"keybdpos", "velocity", "random", "modwheel", "chanpres",
                                                          "polypres", "auxctl1", "auxctl2", "auxctl3"};

constexpr std::array<Combo, 8> Combos = {{
    {0, 76, Sources, "DCA Aux Source"},
    {1, 90, Sources, "DCF Aux Source"},
    {2, 102, Sources, "DCO Auxiliary Source"},
    {3, 134, Sources, "Pan Auxiliary Source"},
    {4, 108, Waveshapes, "LFO Waveshape"},
    {5, 112, Sources, "LFO Speed Modulation Source"},
    {6, 116, Sources, "LFO Amount Modulation Source"},
    {7, 124, WaveStartSources, "LFO Wave Start Modulation Source"},
}};

// Envelope select options optToneEnvSel(3 * group + place): the place is the value.
struct EnvelopeSelect {
    int group;
    int position;
    std::array<const char *, 3> captions;
    const char *name;
};
constexpr std::array<EnvelopeSelect, 4> EnvelopeSelects = {{
    {0, 70, {"none", "env1", "env2"}, "DCA Envelope"},
    {1, 82, {"none", "env1", "env2"}, "DCF Envelope"},
    {2, 94, {"none", "env 1", "env 2"}, "DCO Envelope"},
    {3, 126, {"none", "env1", "env2"}, "Pan Envelope"},
}};

// Mode options in pairs: optToneModMode(even) clears the bit, optToneModMode(even + 1) sets it.
struct ModeBit {
    int even;
    int position; // the mode byte; 141 is a single nibble character
    int bit;
    const char *clearCaption;
    const char *setCaption;
    const char *name;
};
constexpr int PhaseNibblePosition = 141; // the low nibble of the byte at 140
constexpr std::array<ModeBit, 16> ModeBits = {{
    {0, 141, 1, "Normal", "Inverted", "DCA LFO Phase"},
    {2, 141, 2, "Normal", "Inverted", "DCF LFO Phase"},
    {4, 120, 32, "Normal", "Inverted", "DCO LFO Phase"},
    {6, 120, 1, "summed", "scaled", "DCO Envelope Mode"},
    {8, 120, 2, "summed", "scaled", "DCO Velocity Mode"},
    {10, 120, 8, "summed", "scaled", "DCO LFO Mode"},
    {12, 120, 16, "bipolar", "unipolar", "DCO LFO Polarity"},
    {14, 120, 4, "summed", "scaled", "DCO Auxiliary Mode"},
    {16, 120, 64, "unipolar", "bipolar", "DCO Auxiliary Polarity"},
    {18, 138, 1, "summed", "scaled", "Pan Envelope Mode"},
    {20, 138, 2, "summed", "scaled", "Pan Velocity Mode"},
    {22, 138, 8, "summed", "scaled", "Pan LFO Mode"},
    {24, 138, 16, "bipolar", "unipolar", "Pan LFO Polarity"},
    {26, 138, 32, "Normal", "Inverted", "Pan LFO Phase"},
    {28, 138, 4, "summed", "scaled", "Pan Auxiliary Mode"},
    {30, 138, 64, "unipolar", "bipolar", "Pan Auxiliary Polarity"},
}};

// The Wave the Tone plays.
constexpr int WavePosition = 50;

// The two envelopes: attack, sustain, decay, release of envelope 1, then of envelope 2.
enum Stage { Attack, Sustain, Decay, Release };
constexpr std::array<const char *, 4> StageNames = {"Att", "Sus", "Dec", "Rel"};
constexpr std::array<const char *, 4> StageCaptions = {"Attack", "Sustain", "Decay", "Release"};
// "Envelope 2 Decay": envelope and stage from 0, as the tooltips and the Edit menu name them.
QString EnvelopeStageName(size_t envelope, size_t stage);
constexpr std::array<std::array<int, 4>, 2> EnvelopePositions = {{{54, 56, 58, 60}, {62, 64, 66, 68}}};

// The row of txt<family>(index) in Boxes.
size_t RowOf(const char *family, int index);
const ModeBit &ModeBitOf(int option);

} // namespace ToneDescription
