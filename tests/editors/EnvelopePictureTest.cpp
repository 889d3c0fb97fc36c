// The envelope picture: the lines, curve, marker and mode label worked out from an envelope's
// four values, checked against the drawing rules point by point, and the pixels it paints.
#include "editors/EnvelopePicture.h"
#include "editors/EnvelopePlot.h"

#include <QImage>
#include <QTest>

using namespace EnvelopePlot;

namespace {

const QColor Black(0, 0, 0);

struct ExpectedLine {
    QPoint from, to;
    QColor colour;
};

QImage Render(const Values &values, QSize size = {DesignWidth, DesignHeight})
{
    EnvelopePicture picture;
    picture.resize(size);
    picture.Draw(Plot(values));
    QImage image(size, QImage::Format_RGB32);
    picture.render(&image);
    return image;
}

// Whether any pixel within `radius` of `at` has the colour: for lines thickened by scaling.
bool Near(const QImage &image, QPoint at, const QColor &colour, int radius)
{
    for (int dx = -radius; dx <= radius; ++dx) {
        for (int dy = -radius; dy <= radius; ++dy) {
            if (image.pixelColor(at + QPoint(dx, dy)) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class EnvelopePictureTest : public QObject {
    Q_OBJECT

private slots:
    void linesAndCurvesFollowTheRules()
    {
        const QColor W = White, T = TriggerColour, G = GateColour;
        const struct { Values v; std::vector<ExpectedLine> lines; QPoint markerCentre; QPoint end; const char *label; } cases[] = {
            // Gate Mode: the decay falls to half level, the release to the baseline.
            {{20, 0, 50, 30}, {{{10, 124}, {30, 24}, W}, {{30, 24}, {80, 74}, G}, {{80, 74}, {110, 124}, W}}, {80, 74}, {110, 124}, "Gate Mode"},
            // Trigger Mode: the sustain holds at the peak; the decay plays no part.
            {{20, 40, 50, 30}, {{{10, 124}, {30, 24}, W}, {{30, 24}, {70, 24}, T}, {{70, 24}, {100, 124}, W}}, {70, 24}, {100, 124}, "Trigger Mode"},
            // An endless decay holds the peak for 99 units.
            {{0, 0, 99, 60}, {{{10, 124}, {10, 24}, W}, {{10, 24}, {109, 24}, G}, {{109, 24}, {169, 124}, W}}, {109, 24}, {169, 124}, "Gate Mode"},
            // An endless release stays at the height it starts from.
            {{10, 0, 40, 99}, {{{10, 124}, {20, 24}, W}, {{20, 24}, {60, 74}, G}, {{60, 74}, {159, 74}, W}}, {60, 74}, {159, 74}, "Gate Mode"},
            {{99, 99, 99, 99}, {{{10, 124}, {109, 24}, W}, {{109, 24}, {208, 24}, T}, {{208, 24}, {307, 24}, W}}, {208, 24}, {307, 24}, "Trigger Mode"},
            {{0, 0, 0, 0}, {{{10, 124}, {10, 24}, W}, {{10, 24}, {10, 74}, G}, {{10, 74}, {10, 124}, W}}, {10, 74}, {10, 124}, "Gate Mode"},
        };
        for (const auto &c : cases) {
            const Drawing d = Plot(c.v);
            QVERIFY(d.attackCurve.isEmpty());
            QCOMPARE(d.lines.size(), static_cast<qsizetype>(c.lines.size()));
            for (size_t i = 0; i < c.lines.size(); ++i) {
                QCOMPARE(d.lines[static_cast<qsizetype>(i)].line, QLine(c.lines[i].from, c.lines[i].to));
                QCOMPARE(d.lines[static_cast<qsizetype>(i)].colour, c.lines[i].colour);
            }
            QCOMPARE(d.marker, QRect(c.markerCentre - QPoint(3, 3), QSize(6, 6)));
            QCOMPARE(d.end, c.end);
            QCOMPARE(d.label, QLatin1String(c.label));
            QCOMPARE(d.labelColour, d.label == QLatin1String("Gate Mode") ? G : T);
        }

        // A negative attack is a quarter ellipse from the peak to the baseline: every 16th point
        // of the curve, as the oscillator of the rules traces it.
        const struct { int attack; int count; std::vector<QPoint> everySixteenth; } curves[] = {
            {-30, 129, {{40, 25}, {40, 41}, {39, 56}, {37, 70}, {34, 83}, {31, 96}, {27, 108}, {20, 119}, {10, 125}}},
            {-99, 198, {{109, 25}, {108, 40}, {105, 53}, {101, 65}, {95, 76}, {89, 86}, {81, 94}, {73, 102}, {63, 109},
                        {53, 115}, {42, 120}, {29, 123}, {15, 125}}},
            {-5, 106, {{15, 25}, {15, 41}, {15, 57}, {14, 72}, {14, 88}, {13, 103}, {12, 118}}},
        };
        for (const auto &c : curves) {
            const int a = -c.attack;
            const Drawing d = Plot({c.attack, 0, 20, 40});
            const QVector<QPoint> &curve = d.attackCurve;
            QCOMPARE(curve.size(), c.count);
            for (size_t i = 0; i < c.everySixteenth.size(); ++i)
                QCOMPARE(curve[static_cast<qsizetype>(16 * i)], c.everySixteenth[i]);
            QCOMPARE(curve.first(), QPoint(10 + a, 25));
            QCOMPARE(curve.last(), QPoint(10, 125));
            for (qsizetype i = 1; i < curve.size(); ++i) {
                const QPoint step = curve[i] - curve[i - 1];
                // One pixel at a time, never back, never the same point twice in a row.
                QVERIFY(step != QPoint());
                QVERIFY(step.x() <= 0 && step.x() >= -1 && step.y() >= 0 && step.y() <= 1);
            }
            // The middle segment leaves from the peak above the curve's start.
            QCOMPARE(d.lines.size(), 2);
            QCOMPARE(d.lines[0].line, QLine(QPoint(10 + a, 24), QPoint(10 + a + 20, 74)));
            QCOMPARE(d.lines[1].line, QLine(QPoint(10 + a + 20, 74), QPoint(10 + a + 20 + 40, 124)));
        }
    }

    void thePicturePaintsEachPartInItsColourAtAnySize()
    {
        const QImage gate = Render({20, 0, 50, 50});
        const struct { QPoint at; QColor colour; } pixels[] = {
            {{20, 74}, White},          // on the attack line
            {{55, 49}, GateColour},     // on the decay
            {{105, 99}, White},         // on the release
            {{77, 71}, White},          // the marker's corners
            {{83, 77}, White},
            {{77, 77}, White},
            {{82, 72}, Black},          // inside the marker
            {{200, 20}, Black},
            {{5, 124}, Black},
        };
        for (const auto &p : pixels)
            QCOMPARE(gate.pixelColor(p.at), p.colour);

        QCOMPARE(Render({20, 40, 50, 30}).pixelColor(50, 24), TriggerColour);

        const Values curved{-30, 0, 20, 40};
        const QImage swell = Render(curved);
        // The middle segment, drawn after the curve, crosses its first few points.
        for (const QPoint &point : Plot(curved).attackCurve) {
            if (point.y() > 28)
                QCOMPARE(swell.pixelColor(point), White);
        }
        QCOMPARE(swell.pixelColor(40, 26), GateColour);
        QCOMPARE(swell.pixelColor(20, 30), Black);

        // A larger picture is scaled evenly.
        const QImage image = Render({20, 0, 50, 50}, {2 * DesignWidth, 2 * DesignHeight});
        QVERIFY(Near(image, {40, 148}, White, 1));
        QVERIFY(Near(image, {110, 98}, GateColour, 1));
        QVERIFY(Near(image, {160, 148}, White, 4));
        QCOMPARE(image.pixelColor(400, 40), Black);
    }
};

QTEST_MAIN(EnvelopePictureTest)
#include "EnvelopePictureTest.moc"
