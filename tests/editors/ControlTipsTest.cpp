// Parameter controls as the user meets them: every box and slider on every tab names its
// parameter and range in a tooltip that agrees with the slider's own range, and every spin
// button is the same small pair of arrows, no taller than the box beside it.
#include "VspApp.h"
#include "widgets/SpinButton.h"

#include <QSlider>

namespace {

bool IsParameterName(const QString &name)
{
    if (name == QLatin1String("txtObjectNum") || name == QLatin1String("txtObjectName"))
        return false;
    return name.startsWith(QLatin1String("txt")) || name.startsWith(QLatin1String("sld"))
        || name.startsWith(QLatin1String("hsld"));
}

} // namespace

class ControlTipsTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlOnEveryTabHasATipWithItsRangeAndSmallArrows()
    {
        VspApp app;
        app.start();
        app.main()->show();
        auto *tabs = app.find<QTabWidget>(QStringLiteral("SPFEtab"));
        const int boxHeight = app.box("txtObjectNum")->sizeHint().height();
        int boxes = 0, sliders = 0, spins = 0;
        QSize first;
        for (int t = 0; t < tabs->count(); ++t) {
            app.showTab(t);
            QApplication::processEvents();
            QWidget *page = tabs->widget(t);
            for (QLineEdit *box : page->findChildren<QLineEdit *>()) {
                if (!IsParameterName(box->objectName()))
                    continue;
                ++boxes;
                const QString where = tabs->tabText(t) + QLatin1Char(' ') + box->objectName() + QStringLiteral(": ") + box->toolTip();
                QVERIFY2(!box->toolTip().isEmpty(), qPrintable(where));
                // A box the user types into says what may be typed.
                if (!box->isReadOnly())
                    QVERIFY2(box->toolTip().contains(QLatin1String(" to ")), qPrintable(where));
            }
            for (QSlider *slider : page->findChildren<QSlider *>()) {
                if (!IsParameterName(slider->objectName()))
                    continue;
                ++sliders;
                const QString tip = slider->toolTip();
                const QString where = slider->objectName() + QStringLiteral(": ") + tip;
                QVERIFY2(tip.contains(QLatin1String(" to ")), qPrintable(where));
                // The tip's ends are the slider's ends.
                const QString ends = tip.section(QLatin1Char(':'), 1);
                QVERIFY2(ends.contains(QString::number(slider->minimum())) && ends.contains(QString::number(slider->maximum())),
                         qPrintable(where));
                // The box of the same family tells the same.
                QString boxName = slider->objectName();
                boxName.replace(0, boxName.startsWith(QLatin1String("hsld")) ? 4 : 3, QStringLiteral("txt"));
                if (auto *box = page->findChild<QLineEdit *>(boxName))
                    QCOMPARE(box->toolTip(), tip);
            }
            for (SpinButton *spin : app.main()->findChildren<SpinButton *>()) {
                if (!spin->isVisible())
                    continue;
                ++spins;
                const QString where = spin->objectName() + QStringLiteral(" %1x%2").arg(spin->width()).arg(spin->height());
                QVERIFY2(spin->objectName().startsWith(QLatin1String("spn")), qPrintable(where));
                QVERIFY2(spin->height() <= boxHeight, qPrintable(where));
                QVERIFY2(spin->width() < spin->height(), qPrintable(where));
                if (first.isEmpty())
                    first = spin->size();
                QCOMPARE(spin->size(), first);
            }
        }
        // The tabs hold well over a hundred parameter controls: a walk that found few missed them.
        QVERIFY2(boxes > 80, qPrintable(QString::number(boxes)));
        QVERIFY2(sliders > 40, qPrintable(QString::number(sliders)));
        QVERIFY(spins > 20);

        // Tips name the parameter and its unit.
        const struct { const char *control, *tip; } tips[] = {
            {"sldMapH(9)", "Pan: -99 (left) to 99 (right)"},
            {"txtMap(8)", "Transpose: -127 to 127 semitones"},
            {"txtGlobal(9)", "Master tune: -120.00 to 120.00 (steps of 0.01)"},
            {"spnGlobal(6)", "Omni/poly MIDI channel: 1 to 16"},
            {"sldGlobal(5)", "Volume: 0 to 127"},
            {"txtEnv2Rel", "Envelope 2 Release: 0 to 99"},
            {"sldDCF(4)", "DCF Cutoff: 0 to 99"},
            {"txtDCO(1)", "DCO LFO amount: -99 to 99"},
            {"txtLFO(5)", "LFO Quantize: 1 to 128"},
            {"spnPreset(13)", "Pitch bend range: -24 to 24 semitones"},
            {"hsldPreset(16)", "Layer pan: -99 (left) to 99 (right)"},
            {"spnWavePitch", "Pitch: 0.00 to 127.99 semitones (60.00 is C4)"},
            {"hscWave(0)", "Play start: 0 to play end - 2 (sample number)"},
        };
        for (const auto &t : tips) {
            auto *widget = app.find<QWidget>(QLatin1String(t.control));
            QVERIFY2(widget, t.control);
            QCOMPARE(widget->toolTip(), QLatin1String(t.tip));
        }
    }
};

QTEST_MAIN(ControlTipsTest)
#include "ControlTipsTest.moc"
