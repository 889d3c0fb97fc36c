// What an envelope picture shows, worked out from the envelope's four values in the picture's
// design units (y grows downwards): the attack line or curve, the middle segment, the box
// marker, the release, and the mode label. Pure geometry, so it can be checked point by point.
#pragma once

#include <QColor>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

namespace EnvelopePlot {

// The drawing surface, in design units.
constexpr int DesignWidth = 320;
constexpr int DesignHeight = 130;
constexpr int Left = 10;      // where every curve starts
constexpr int Baseline = 124; // silence
constexpr int Peak = 24;      // full level
constexpr int DecayLevel = 74;
constexpr int Endless = 99;   // a decay or release that never ends
constexpr int MarkerSize = 6;

const QColor White(255, 255, 255);
const QColor TriggerColour(192, 192, 255);
const QColor GateColour(0, 192, 192);

struct Values {
    int attack = 0; // -99 to 99; negative draws the curved attack
    int sustain = 0; // 0 selects Gate Mode, 1 to 99 Trigger Mode
    int decay = 0;
    int release = 0;
};

enum class Mode { Gate, Trigger };
Mode ModeOf(int sustain);

struct Line {
    QLine line;
    QColor colour;
};

struct Drawing {
    Mode mode = Mode::Gate;
    QString label;
    QColor labelColour;
    QVector<QPoint> attackCurve; // a negative attack, point by point, in drawing order
    QVector<Line> lines;         // straight lines, in drawing order
    QRect marker;                // outline from (x - 3, y - 3), 6 wide and high
    QPoint end;                  // where the drawing point is left
};

Drawing Plot(const Values &values);

} // namespace EnvelopePlot
