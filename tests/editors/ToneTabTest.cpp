// The Tone tabs: a Tone shown as the SP holds it, and each edit of its boxes, sliders, options,
// combos and Wave sent as one upload of the whole Tone with the field in place.
#include "ToneApp.h"
#include "widgets/SpinButton.h"

#include <QToolButton>

using namespace ToneTest;

class ToneTabTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryFieldAsTheSpHoldsIt()
    {
        ToneApp app({{72, -5}, {80, 40}, {84, 99}, {96, -99}, {132, 7}, {106, 12}, {118, 99}, {136, -1},
                     {70, 2}, {94, 1}, {126, 0}, {82, 1}, {76, 3}, {108, 5}, {124, 2}, {134, 6},
                     {120, 32 | 1}, {138, 64}, {140, 0x02}, {50, 5}});
        const struct { const char *box; const char *text; const char *slider; int value; } boxes[] = {
            {"txtDCA(0)", "-5", "sldDCA(0)", -5},  {"txtDCF(4)", "40", "sldDCF(4)", 40},
            {"txtDCF(3)", "99", "sldDCF(3)", 99},  {"txtDCO(3)", "-99", "sldDCO(3)", -99},
            {"txtPan(2)", "7", "sldPan(2)", 7},    {"txtPan(3)", "-1", "sldPan(3)", -1},
            {"txtLFO(0)", "12", "sldLFO(0)", 12},  {"txtLFO(3)", "99", "sldLFO(3)", 99},
            {"txtDCA(1)", "0", "sldDCA(1)", 0},
        };
        for (const auto &b : boxes) {
            QCOMPARE(app.txt(b.box)->text(), QLatin1String(b.text));
            QCOMPARE(app.sld(b.slider)->value(), b.value);
            QVERIFY2(!KeyInput::IsPending(app.txt(b.box)) && app.txt(b.box)->isEnabled(), b.box);
        }
        for (int checked : {2, 4, 7, 9})
            QVERIFY2(app.opt("optToneEnvSel", checked)->isChecked(), qPrintable(QString::number(checked)));
        // Mode byte 120 holds bits 32 and 1, 138 bit 64; the phase nibble at 141 bit 2.
        for (int checked : {0, 3, 5, 7, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 31})
            QVERIFY2(app.opt("optToneModMode", checked)->isChecked(), qPrintable(QString::number(checked)));
        QCOMPARE(app.cbo(0)->currentText(), QStringLiteral("polypres"));
        QCOMPARE(app.cbo(4)->currentText(), QStringLiteral("sample/hold"));
        QCOMPARE(app.cbo(7)->currentText(), QStringLiteral("random"));
        QCOMPARE(app.cbo(3)->currentText(), QStringLiteral("auxctl3"));
        QCOMPARE(app.txt("txtTone(0)")->text(), QStringLiteral("5"));
        QCOMPARE(app.txt("txtTone(1)")->text(), QStringLiteral("Snare"));
        QVERIFY(app.requests().isEmpty());
    }

    void theWaveStartGroupShowsItsWords()
    {
        ToneApp app;
        const struct { int amount, source, quantize; const char *amountText, *quantizeText; int slider; bool editable; } cases[] = {
            {0, 0, 0, "qnt", "kbd", 1, false},
            {0, 3, 0, "qnt", "none", 1, true},
            {0, 3, 15, "qnt", "16", 16, true},
            {-10, 3, 15, "-10", "amt", 16, false},
            {20, 0, 0, "20", "amt", 1, false},
        };
        for (const auto &c : cases) {
            app.Reload({{122, c.amount}, {124, c.source}, {142, c.quantize}});
            QCOMPARE(app.txt("txtLFO(4)")->text(), QLatin1String(c.amountText));
            QCOMPARE(app.txt("txtLFO(5)")->text(), QLatin1String(c.quantizeText));
            QCOMPARE(app.sld("sldLFO(5)")->value(), c.slider);
            QCOMPARE(app.txt("txtLFO(5)")->isEnabled(), c.editable);
            QCOMPARE(app.sld("sldLFO(5)")->isEnabled(), c.editable);
            QVERIFY(app.txt("txtLFO(4)")->isEnabled());
        }
    }

    void enterSendsTheWholeToneOnceWithTheFieldInPlace()
    {
        const struct { const char *box; const char *typed; int position; int high, low; int held; const char *shown; } cases[] = {
            {"txtDCF(4)", "40", 80, 2, 8, 40, "40"},
            {"txtDCA(0)", "-5", 72, 15, 11, 251, "-5"},
            {"txtPan(3)", "99", 136, 6, 3, 99, "99"},
            {"txtLFO(1)", "7", 110, 0, 7, 7, "7"},
            {"txtDCO(2)", "-99", 104, 9, 13, 157, "-99"},
            {"txtLFO(4)", "-12", 122, 15, 4, 244, "-12"},
            {"txtLFO(5)", "16", 142, 0, 15, 15, "16"},
            // Above the limit: clamped before sending.
            {"txtDCF(0)", "150", 86, 6, 3, 99, "99"},
            {"txtDCA(0)", "-150", 72, 9, 13, 157, "-99"},
            {"txtLFO(0)", "300", 106, 6, 3, 99, "99"},
            {"txtLFO(5)", "200", 142, 7, 15, 127, "128"},
        };
        for (const auto &c : cases) {
            ToneApp app({{124, 3}});
            const QByteArray before = app.image();
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, c.position, {c.high, c.low})});
            QCOMPARE(app.heldByte(c.position), c.held);
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.shown));
            QVERIFY2(!KeyInput::IsPending(app.txt(c.box)), c.box);
        }
    }

    void aQuantizeOfZeroOrOneIsStoredAsNoneAndShownAsNone()
    {
        // The box shows one more than the SP stores: 1 is the lowest quantize, 0 is below it.
        for (const char *typed : {"0", "1"}) {
            ToneApp app({{124, 3}, {142, 5}});
            QCOMPARE(app.txt("txtLFO(5)")->text(), QStringLiteral("6"));
            const QByteArray before = app.image();
            app.clearAndType(app.txt("txtLFO(5)"), QLatin1String(typed));
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 142, {0, 0})});
            QCOMPARE(app.heldByte(142), 0);
            QCOMPARE(app.txt("txtLFO(5)")->text(), QStringLiteral("none"));
            QVERIFY2(!KeyInput::IsPending(app.txt("txtLFO(5)")), typed);
        }
    }

    void aSliderSendsOnceWhenLetGo()
    {
        // The LFO rate's box shows its slider's value only when the slider is let go.
        const struct { const char *slider, *box; int value; const char *whileDragged; int position, high, low; } cases[] = {
            {"sldDCA(1)", "txtDCA(1)", -30, "-30", 74, 14, 2},
            {"sldLFO(0)", "txtLFO(0)", 30, "0", 106, 1, 14},
        };
        for (const auto &c : cases) {
            ToneApp app;
            const QByteArray before = app.image();
            QSlider *slider = app.sld(c.slider);
            slider->setSliderDown(true);
            slider->setSliderPosition(c.value);
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.whileDragged));
            QVERIFY(app.requests().isEmpty());
            slider->setSliderDown(false);
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, c.position, {c.high, c.low})});
            QCOMPARE(app.txt(c.box)->text(), QString::number(c.value));
        }
    }

    void eachBoxTakesOnlyItsKeys()
    {
        ToneApp app;
        const struct { const char *box; const char *typed; const char *shown; } cases[] = {
            {"txtDCF(4)", "-5x", "5"}, // the cutoff is unsigned
            {"txtLFO(0)", "-3", "3"},  // of the LFO boxes only the wave start amount is signed
            {"txtLFO(4)", "qxt", "qt"},
            {"txtTone(0)", "-7q", "7"},
        };
        for (const auto &c : cases) {
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed), false);
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.shown));
            QVERIFY(KeyInput::IsPending(app.txt(c.box)));
        }
        QVERIFY(app.requests().isEmpty());
    }

    void partOfAnLfoWordIsCompletedAndNothingSent()
    {
        ToneApp app({{124, 3}});
        const struct { const char *box; const char *typed; const char *word; } cases[] = {
            {"txtLFO(4)", "q", "qnt"}, {"txtLFO(4)", "nt", "qnt"}, {"txtLFO(4)", "t", "qnt"},
            {"txtLFO(5)", "e", "none"}, {"txtLFO(5)", "no", "none"}, {"txtLFO(5)", "one", "none"},
        };
        for (const auto &c : cases) {
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.word));
            QVERIFY(!KeyInput::IsPending(app.txt(c.box)));
        }
        QVERIFY(app.requests().isEmpty());
    }

    void theQuantizeWordTypedInFullSendsNoAmount()
    {
        ToneApp app({{122, 25}, {124, 3}});
        QCOMPARE(app.txt("txtLFO(5)")->text(), QStringLiteral("amt"));
        const QByteArray before = app.image();
        app.clearAndType(app.txt("txtLFO(4)"), QStringLiteral("qnt"));
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 122, {0, 0})});
        QCOMPARE(app.heldByte(122), 0);
        QCOMPARE(app.txt("txtLFO(4)")->text(), QStringLiteral("qnt"));
        QCOMPARE(app.txt("txtLFO(5)")->text(), QStringLiteral("none"));
    }

    void aModeOptionSendsItsWholeModeByteOnlyWhenTheBitChanges()
    {
        const struct { int option; int position; int initial; int width; int sent; } cases[] = {
            {5, 120, 0x01, 2, 0x21},   // DCO LFO phase inverted
            {6, 120, 0x01, 2, 0x00},   // DCO envelope summed
            {4, 120, 0x01, 0, 0},      // already normal: nothing
            {7, 120, 0x01, 0, 0},      // already scaled: nothing
            {30, 138, 0x40, 2, 0x00},  // pan auxiliary unipolar
            {31, 138, 0x40, 0, 0},
            {25, 138, 0x40, 2, 0x50},  // pan LFO unipolar
            {3, 141, 0x01, 1, 0x03},   // DCF LFO phase inverted: the nibble character alone
            {0, 141, 0x03, 1, 0x02},   // DCA LFO phase normal
            {1, 141, 0x01, 0, 0},
        };
        for (const auto &c : cases) {
            // The phase nibble shares its byte with a high nibble that must travel unchanged.
            const int stored = c.position == 141 ? 0xA0 | c.initial : c.initial;
            ToneApp app({{c.position == 141 ? 140 : c.position, stored}, {142, 0x5C}});
            const QByteArray before = app.image();
            app.opt("optToneModMode", c.option)->click();
            const QString which = QStringLiteral("option %1").arg(c.option);
            if (c.width == 0) {
                QVERIFY2(app.requests().isEmpty(), qPrintable(which));
                QVERIFY2(app.opt("optToneModMode", c.option)->isChecked(), qPrintable(which));
                continue;
            }
            const QByteArray expected = c.width == 1 ? WithNibbles(before, 141, {c.sent})
                                                     : WithNibbles(before, c.position, {c.sent >> 4, c.sent & 15});
            QCOMPARE(app.uploads(), QList<QByteArray>{expected});
            QCOMPARE(app.heldByte(c.position == 141 ? 140 : c.position), c.position == 141 ? 0xA0 | c.sent : c.sent);
            QCOMPARE(app.heldByte(142), 0x5C);
            QVERIFY2(app.opt("optToneModMode", c.option)->isChecked(), qPrintable(which));
        }
    }

    void anEnvelopeSelectSendsItsPlace()
    {
        ToneApp app({{82, 0}});
        const QByteArray before = app.image();
        app.opt("optToneEnvSel", 3)->click(); // already "none": nothing
        QVERIFY(app.requests().isEmpty());
        app.opt("optToneEnvSel", 5)->click();
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 82, {0, 2})});
        QCOMPARE(app.heldByte(82), 2);
        QVERIFY(app.opt("optToneEnvSel", 5)->isChecked());
    }

    void aSourceIsSentWhenTheUserChoosesIt()
    {
        const struct { int combo; int choice; int position; } cases[] = {
            {0, 2, 76}, {1, 6, 90}, {2, 1, 102}, {3, 4, 134}, {4, 7, 108}, {5, 3, 112}, {6, 5, 116}, {7, 8, 124}};
        for (const auto &c : cases) {
            ToneApp app;
            const QByteArray before = app.image();
            app.cbo(c.combo)->setCurrentIndex(c.choice); // a program write sends nothing
            QVERIFY(app.requests().isEmpty());
            emit app.cbo(c.combo)->activated(c.choice);
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, c.position, {0, c.choice})});
            QCOMPARE(app.heldByte(c.position), c.choice);
            emit app.cbo(c.combo)->activated(c.choice); // the source already shown
            QCOMPARE(app.uploads().size(), 1);
        }
    }

    void anEditTheSpRefusesStaysRed()
    {
        ToneApp app({{80, 40}});
        app.vsp->injectFault({VirtualSpBackend::Fault::Status, 11});
        app.clearAndType(app.txt("txtDCF(4)"), QStringLiteral("50"));
        QCOMPARE(app.uploads().size(), 1);
        QVERIFY(KeyInput::IsPending(app.txt("txtDCF(4)")));
        QCOMPARE(app.heldByte(80), 40);
        QVERIFY(!app.notifier.messages.isEmpty());
        // The Tone is read back all the same: the box shows what the SP holds.
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("40"));
        QVERIFY(!KeyInput::IsPending(app.txt("txtDCA(0)")));
    }

    void aTypedWaveNumberBecomesAWaveTheSpHolds()
    {
        // Waves 2, 5 and 9 are loaded.
        const struct { const char *typed; int wave; const char *name; } cases[] = {
            {"5", 5, "Snare"}, {"3", 5, "Snare"}, {"0", 2, "Kick"}, {"6", 9, "Hat"}, {"50", 9, "Hat"}};
        for (const auto &c : cases) {
            ToneApp app({{50, 2}});
            const QByteArray before = app.image();
            app.clearAndType(app.txt("txtTone(0)"), QLatin1String(c.typed));
            QCOMPARE(app.txt("txtTone(0)")->text(), QString::number(c.wave));
            QCOMPARE(app.txt("txtTone(1)")->text(), QLatin1String(c.name));
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 50, {0, c.wave})});
            QCOMPARE(app.heldByte(50), c.wave);
        }
    }

    void theWaveSpinButtonStepsThroughTheWavesTheSpHolds()
    {
        ToneApp app({{50, 2}});
        auto *spin = app.find<SpinButton>("spnTone(0)");
        auto *up = spin->findChild<QToolButton *>("up");
        auto *down = spin->findChild<QToolButton *>("down");
        const struct { QToolButton *button; int wave; bool sends; } steps[] = {
            {up, 5, true}, {up, 9, true}, {up, 9, false}, {down, 5, true}, {down, 2, true}, {down, 2, false}};
        for (const auto &s : steps) {
            app.vsp->clearTraffic();
            QTest::mouseClick(s.button, Qt::LeftButton);
            QCOMPARE(app.txt("txtTone(0)")->text(), QString::number(s.wave));
            QCOMPARE(app.uploads().size(), s.sends ? 1 : 0);
            QCOMPARE(app.heldByte(50), s.wave);
        }
    }

    void withoutWavesTheWaveBoxesAreDisabledAndTheSpinSaysSo()
    {
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Wave).clear();
        ToneApp app({{50, 2}}, memory);
        QCOMPARE(app.txt("txtTone(1)")->text(), QStringLiteral("No Waves Avail"));
        QVERIFY(!app.txt("txtTone(0)")->isEnabled());
        QVERIFY(!app.txt("txtTone(1)")->isEnabled());
        auto *up = app.find<SpinButton>("spnTone(0)")->findChild<QToolButton *>("up");
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(app.notifier.shown(), QStringList{"Load Wave Object: There are no Wave Objects loaded into the SP"});
        QVERIFY(app.uploads().isEmpty());
    }
};

QTEST_MAIN(ToneTabTest)
#include "ToneTabTest.moc"
