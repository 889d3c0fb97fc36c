#include "editors/ZoneStrip.h"

#include "editors/ControlLists.h"

#include <algorithm>

namespace ZoneStrip {

namespace {

constexpr int OctaveWidth = 7 * WhiteStep;
// Left of each semitone's key within an octave; black keys sit across the gap of two whites.
constexpr std::array<int, 12> SemitoneLeft = {0, 150, 220, 375, 440, 660, 810, 880, 1032, 1100, 1255, 1320};

constexpr std::array<QColor, 6> Palette = {{QColor(217, 255, 217), QColor(255, 217, 217), QColor(213, 213, 255),
                                            QColor(255, 255, 217), QColor(255, 217, 255), QColor(217, 255, 255)}};

bool WhiteWithBlackBelow(int note)
{
    const int s = note % 12;
    return s == 2 || s == 4 || s == 7 || s == 9 || s == 11;
}

bool RightAtWhiteEdge(int note)
{
    const int s = note % 12;
    return s == 4 || s == 11;
}

} // namespace

bool IsBlack(int key)
{
    return ControlLists::BlackKey(key);
}

int KeyLeft(int key)
{
    return FirstLeft + OctaveWidth * (key / 12) + SemitoneLeft[static_cast<size_t>(key % 12)];
}

int KeyWidth(int key)
{
    return IsBlack(key) ? BlackWidth : WhiteWidth;
}

int KeyHeight(int key)
{
    return IsBlack(key) ? BlackHeight : WhiteHeight;
}

bool Hidden(int key, int octave)
{
    return 12 * octave + key > HighestNote;
}

int KeyAt(int x, int y, int octave)
{
    if (y < 0 || y >= WhiteHeight)
        return -1;
    int found = -1;
    for (int key = 0; key < Keys && found < 0; ++key) {
        if (IsBlack(key) && y < BlackHeight && x >= KeyLeft(key) && x < KeyLeft(key) + BlackWidth)
            found = key;
    }
    // Where two white keys overlap, the later one lies on top.
    for (int key = Keys - 1; key >= 0 && found < 0; --key) {
        if (!IsBlack(key) && x >= KeyLeft(key) && x < KeyLeft(key) + WhiteWidth)
            found = key;
    }
    return found >= 0 && !Hidden(found, octave) ? found : -1;
}

QString OctaveCaption(int index, int octave)
{
    if (octave == 0 && index == 0)
        return QStringLiteral("C-");
    return QStringLiteral("C%1").arg(index - 1 + octave);
}

QColor ZoneColour(int zone)
{
    return Palette[static_cast<size_t>(std::max(zone, 0) % 6)];
}

std::array<std::optional<QColor>, Keys> KeyColours(const std::vector<Zone> &zones, int current, int octave)
{
    std::array<std::optional<QColor>, Keys> colours{};
    for (int key = 0; key < Keys; ++key) {
        if (IsBlack(key))
            continue;
        const int note = 12 * octave + key;
        const auto holder = std::find_if(zones.begin(), zones.end(),
                                         [note](const Zone &z) { return z.low <= note && note <= z.high; });
        if (holder == zones.end()) {
            colours[static_cast<size_t>(key)] = NoZoneColour;
            continue;
        }
        const int zone = static_cast<int>(holder - zones.begin());
        colours[static_cast<size_t>(key)] = zone == current ? CurrentZoneColour : ZoneColour(zone);
    }
    return colours;
}

Drawing Draw(const std::vector<Zone> &zones, int octave)
{
    Drawing drawing;
    const int first = 12 * octave;         // the note of key 0
    const int last = first + Keys - 1;     // the note of key 71
    const auto left = [first](int note) { return KeyLeft(note - first); };
    const int keyboardLeft = KeyLeft(0);
    const int keyboardRight = KeyLeft(Keys - 1) + WhiteWidth;
    const auto tick = [&drawing](int x) { drawing.lines.append(QLine(x, BracketLine, x, StripHeight)); };

    for (int z = 0; z < static_cast<int>(zones.size()); ++z) {
        const int l = zones[static_cast<size_t>(z)].low;
        const int h = zones[static_cast<size_t>(z)].high;
        const bool lowShown = first <= l && l <= last;
        const bool highShown = first <= h && h <= last;
        const bool spansAll = l < first && h > last;
        if (!(lowShown || highShown || spansAll))
            continue; // wholly outside the keys shown
        int x1 = keyboardLeft;
        int x2 = keyboardRight;
        if (lowShown)
            x1 = WhiteWithBlackBelow(l) ? left(l - 1) + BlackWidth : left(l);
        if (highShown) {
            if (RightAtWhiteEdge(h) || h >= HighestNote)
                x2 = left(h) + WhiteWidth;
            else if (IsBlack(h))
                x2 = left(h) + BlackWidth;
            else
                x2 = left(h + 1);
        }
        drawing.lines.append(QLine(x1, BracketLine, x2, BracketLine));
        // Touching the previous zone, the left end is that zone's right tick already.
        const bool touchesPrevious = z > 0 && l == zones[static_cast<size_t>(z - 1)].high + 1;
        if (lowShown && !touchesPrevious)
            tick(x1);
        if (highShown)
            tick(x2);
        if (h - l > 0) {
            const int width = z <= 9 ? NarrowLabel : WideLabel;
            drawing.labels.append({z, QRect(x1 + (x2 - x1) / 2 - width / 2, BracketLine - LabelHeight / 2, width,
                                            LabelHeight)});
        }
    }
    return drawing;
}

} // namespace ZoneStrip
