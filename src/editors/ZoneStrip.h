// The keyboard's picture worked out from the Map's zones: where each of the 72 keys sits, the
// colour of each white key, and the strip above the keys with one bracket and number per zone.
// Positions are in the keyboard's design units (twips); the widgets scale them. Pure geometry,
// so each bracket, tick and colour can be checked by itself.
#pragma once

#include "editors/MapZoneRules.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>
#include <QVector>

#include <array>
#include <optional>
#include <vector>

namespace ZoneStrip {

using Zone = MapZoneRules::Range;

constexpr int Keys = 72;
constexpr int Octaves = 6;
constexpr int HighestOctave = 5;  // the scroll bar's range is 0 to this
constexpr int HighestNote = 127;  // keys above it are hidden

constexpr int FirstLeft = 45;     // key 0
constexpr int WhiteStep = 220;    // white keys overlap by 20
constexpr int WhiteWidth = 240;
constexpr int WhiteHeight = 1080;
constexpr int BlackWidth = 150;
constexpr int BlackHeight = 735;
constexpr int PanelWidth = 9345;

constexpr int StripWidth = 9330;
constexpr int StripHeight = 240;
constexpr int BracketLine = StripHeight - 150;
constexpr int LabelHeight = 180;
constexpr int NarrowLabel = 120; // zones 0 to 9
constexpr int WideLabel = 240;

bool IsBlack(int key);
int KeyLeft(int key);
int KeyWidth(int key);
int KeyHeight(int key);
// The key at a point of the key panel (y from the keys' top), black keys first as they lie on
// top; -1 between keys, below them or on a hidden key.
int KeyAt(int x, int y, int octave);
// Whether a key is hidden at this octave: its note is above 127.
bool Hidden(int key, int octave);

// lblKey(index): "C-" for the lowest octave, else "C" and the octave number.
QString OctaveCaption(int index, int octave);

const QColor CurrentZoneColour(255, 255, 255);
const QColor NoZoneColour(0xC0, 0xC0, 0xC0);
// Each zone's own colour, from six that repeat.
QColor ZoneColour(int zone);

// The colour of each white key: the first zone holding its note decides. Black keys keep
// their own colour: nothing for them.
std::array<std::optional<QColor>, Keys> KeyColours(const std::vector<Zone> &zones, int current, int octave);

struct Label {
    int zone = 0;
    QRect rect;
};

struct Drawing {
    QVector<QLine> lines; // brackets and ticks, in drawing order, all white
    QVector<Label> labels;
};

Drawing Draw(const std::vector<Zone> &zones, int octave);

} // namespace ZoneStrip
