// The Tone's envelope boxes: the sustain that chooses Gate or Trigger Mode, "gt", "--" and the
// infinity sign, and each envelope edit sent as one upload with the picture redrawn after it.
#include "ToneApp.h"
#include "editors/EnvelopePicture.h"
#include "editors/EnvelopePlot.h"

#include <QSignalSpy>

using namespace ToneTest;

namespace {

const QString Infinity = QStringLiteral("\u221E");
const char *const Stages[] = {"Att", "Sus", "Dec", "Rel"};

// Envelope 1 at 54, 56, 58, 60; envelope 2 at 62, 64, 66, 68.
int Position(int envelope, int stage)
{
    return 54 + 8 * (envelope - 1) + 2 * stage;
}

QString Name(const char *type, int envelope, const char *stage)
{
    return QStringLiteral("%1Env%2%3").arg(QLatin1String(type)).arg(envelope).arg(QLatin1String(stage));
}

} // namespace

class EnvelopeEditorTest : public QObject {
    Q_OBJECT

private slots:
    void theSustainChoosesTheMode()
    {
        const struct { int attack, sustain, decay, release; const char *shown[4]; bool decayOn; const char *mode;
                       QColor colour; } cases[] = {
            {-20, 0, 50, 30, {"-20", "gt", "50", "30"}, true, "Gate Mode", QColor(0, 192, 192)},
            {10, 1, 50, 99, {"10", "1", "--", "\u221E"}, false, "Trigger Mode", QColor(192, 192, 255)},
            {0, 0, 99, 99, {"0", "gt", "\u221E", "\u221E"}, true, "Gate Mode", QColor(0, 192, 192)},
            {99, 99, 0, 0, {"99", "99", "--", "0"}, false, "Trigger Mode", QColor(192, 192, 255)},
        };
        for (int envelope : {1, 2}) {
            for (const auto &c : cases) {
                ToneApp app({{Position(envelope, 0), c.attack}, {Position(envelope, 1), c.sustain},
                             {Position(envelope, 2), c.decay}, {Position(envelope, 3), c.release}});
                for (int stage = 0; stage < 4; ++stage)
                    QCOMPARE(app.txt(Name("txt", envelope, Stages[stage]))->text(), QString::fromUtf8(c.shown[stage]));
                QCOMPARE(app.txt(Name("txt", envelope, "Dec"))->isEnabled(), c.decayOn);
                QCOMPARE(app.sld(Name("sld", envelope, "Dec"))->isEnabled(), c.decayOn);
                QCOMPARE(app.sld(Name("sld", envelope, "Att"))->value(), c.attack);
                auto *label = app.find<QLabel>(QStringLiteral("lblEnv%1Mode").arg(envelope));
                QCOMPARE(label->text(), QLatin1String(c.mode));
                QCOMPARE(label->palette().color(QPalette::WindowText), c.colour);
                const auto *picture = app.find<EnvelopePicture>(QStringLiteral("picEnv%1").arg(envelope));
                QVERIFY(picture->drawing().has_value());
                const auto expected = EnvelopePlot::Plot({c.attack, c.sustain, c.decay, c.release});
                QCOMPARE(picture->drawing()->lines.size(), expected.lines.size());
                QCOMPARE(picture->drawing()->marker, expected.marker);
            }
        }
    }

    // Envelope 1 in Trigger Mode, envelope 2 in Gate Mode; a sustain typed switches the mode.
    void sustainsTimesAndAttacksFollowTheirRules()
    {
        const struct { const char *box; const char *typed; int position; int held; const char *shown; bool sends;
                       const char *decay = nullptr; const char *mode = nullptr; } cases[] = {
            {"txtEnv1Sus", "g", 56, 0, "gt", true, "50", "Gate Mode"}, // a letter of the word stands for it
            {"txtEnv1Sus", "G", 56, 0, "gt", true, "50", "Gate Mode"},
            {"txtEnv1Sus", "0", 56, 0, "gt", true, "50", "Gate Mode"}, // 0 is shown as the word
            {"txtEnv1Sus", "5", 56, 5, "5", true, "--", "Trigger Mode"},
            {"txtEnv1Sus", "150", 56, 99, "99", true, "--", "Trigger Mode"},
            {"txtEnv2Dec", "5", 66, 5, "5", true},
            {"txtEnv2Dec", "150", 66, 99, "\u221E", true},
            {"txtEnv2Rel", "99", 68, 99, "\u221E", true},
            {"txtEnv1Att", "-30", 54, 226, "-30", true},
            {"txtEnv2Att", "150", 62, 99, "99", true},
            {"txtEnv1Att", "-0", 54, 12, "12", false},
            {"txtEnv1Att", "-", 54, 12, "12", false},
        };
        for (const auto &c : cases) {
            ToneApp app({{54, 12}, {56, 30}, {58, 50}, {68, 20}});
            const QByteArray before = app.image();
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            const QList<QByteArray> expected =
                c.sends ? QList<QByteArray>{WithNibbles(before, c.position, {c.held >> 4, c.held & 15})} : QList<QByteArray>{};
            QCOMPARE(app.uploads(), expected);
            QCOMPARE(app.heldByte(c.position), c.held);
            QCOMPARE(app.txt(c.box)->text(), QString::fromUtf8(c.shown));
            QVERIFY(!KeyInput::IsPending(app.txt(c.box)));
            if (c.decay) {
                QCOMPARE(app.txt("txtEnv1Dec")->text(), QLatin1String(c.decay));
                QCOMPARE(app.txt("txtEnv1Dec")->isEnabled(), QLatin1String(c.decay) != QLatin1String("--"));
                QCOMPARE(app.find<QLabel>("lblEnv1Mode")->text(), QLatin1String(c.mode));
            }
        }
    }

    // Enter on the gate word or the infinity sign sends nothing. Moved off the sign, the decay
    // slider shows 99 first; the sustain slider leaves the word alone until it is dragged.
    void theWordAndTheSignStandUntilAValueReplacesThem()
    {
        ToneApp app({{56, 0}, {58, 99}, {68, 99}});
        for (const char *box : {"txtEnv1Sus", "txtEnv1Dec", "txtEnv2Rel"}) {
            app.txt(box)->setFocus();
            QTest::keyClick(app.txt(box), Qt::Key_Return);
        }
        QVERIFY(app.requests().isEmpty());
        QCOMPARE(app.txt("txtEnv1Sus")->text(), QStringLiteral("gt"));
        QCOMPARE(app.txt("txtEnv1Dec")->text(), Infinity);

        QByteArray before = app.image();
        QSignalSpy texts(app.txt("txtEnv1Dec"), &QLineEdit::textChanged);
        app.sld("sldEnv1Dec")->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QVERIFY(texts.size() >= 2);
        QCOMPARE(texts.at(0).at(0).toString(), QStringLiteral("99"));
        QCOMPARE(texts.at(1).at(0).toString(), QStringLiteral("98"));
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 58, {6, 2})});
        QCOMPARE(app.txt("txtEnv1Dec")->text(), QStringLiteral("98"));

        app.vsp->clearTraffic();
        before = app.image();
        QSlider *slider = app.sld("sldEnv1Sus");
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(app.requests().isEmpty());
        QCOMPARE(app.txt("txtEnv1Sus")->text(), QStringLiteral("gt"));
        slider->setSliderDown(true);
        slider->setSliderPosition(20);
        QCOMPARE(app.txt("txtEnv1Sus")->text(), QStringLiteral("20"));
        slider->setSliderDown(false);
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 56, {1, 4})});
        QCOMPARE(app.find<QLabel>("lblEnv1Mode")->text(), QStringLiteral("Trigger Mode"));

        // Clearing the Tone empties the pictures and the mode labels.
        app.main()->ClearObjDisplay(KindTone);
        for (int envelope : {1, 2}) {
            QVERIFY(!app.find<EnvelopePicture>(QStringLiteral("picEnv%1").arg(envelope))->drawing().has_value());
            QCOMPARE(app.find<QLabel>(QStringLiteral("lblEnv%1Mode").arg(envelope))->text(), QString());
        }
    }
};

QTEST_MAIN(EnvelopeEditorTest)
#include "EnvelopeEditorTest.moc"
