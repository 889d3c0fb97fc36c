#include "editors/EnvelopePlot.h"

#include <cmath>
#include <cstdlib>

namespace EnvelopePlot {

namespace {

// A negative attack is a slow swell: a quarter ellipse that leaves the baseline flat and meets
// the peak steeply, traced by a discrete oscillator over a quarter turn of steps.
constexpr int QuarterTurnSteps = 1608; // integer part of 1024 * pi / 2
constexpr double StepScale = 1024.0;
constexpr int CurveTop = 25;
constexpr int CurveHeight = 100;

QVector<QPoint> AttackCurve(int a)
{
    QVector<QPoint> points;
    double x = a;
    double y = 0;
    double vx = 0;
    double vy = CurveHeight;
    for (int count = QuarterTurnSteps; count >= 0; --count) {
        const QPoint point(static_cast<int>(std::lround(x + Left)), static_cast<int>(std::lround(y + CurveTop)));
        if (points.isEmpty() || points.last() != point)
            points.append(point);
        vx -= x / StepScale;
        vy -= y / StepScale;
        x += vx / StepScale;
        y += vy / StepScale;
    }
    return points;
}

} // namespace

Mode ModeOf(int sustain)
{
    return sustain == 0 ? Mode::Gate : Mode::Trigger;
}

Drawing Plot(const Values &v)
{
    Drawing d;
    d.mode = ModeOf(v.sustain);
    const bool trigger = d.mode == Mode::Trigger;
    d.label = trigger ? QStringLiteral("Trigger Mode") : QStringLiteral("Gate Mode");
    d.labelColour = trigger ? TriggerColour : GateColour;

    const int a = std::abs(v.attack);
    const QPoint top(Left + a, Peak);
    if (v.attack >= 0)
        d.lines.append({QLine(QPoint(Left, Baseline), top), White});
    else
        d.attackCurve = AttackCurve(a);

    QPoint middle;
    if (trigger)
        middle = QPoint(Left + a + v.sustain, Peak);
    else if (v.decay == Endless)
        middle = QPoint(Left + a + Endless, Peak);
    else
        middle = QPoint(Left + a + v.decay, DecayLevel);
    d.lines.append({QLine(top, middle), trigger ? TriggerColour : GateColour});
    d.marker = QRect(middle.x() - MarkerSize / 2, middle.y() - MarkerSize / 2, MarkerSize, MarkerSize);

    const int held = trigger ? v.sustain : v.decay;
    if (v.release == Endless)
        d.end = QPoint(Left + a + held + Endless, middle.y());
    else
        d.end = QPoint(Left + a + held + v.release, Baseline);
    d.lines.append({QLine(middle, d.end), White});
    return d;
}

} // namespace EnvelopePlot
