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
        for (const auto &[index, text] : {std::pair{0, "polypres"}, {4, "sample/hold"}, {7, "random"}, {3, "auxctl3"}})
            QCOMPARE(app.cbo(index)->currentText(), QLatin1String(text));
        QCOMPARE(app.txt("txtTone(0)")->text(), QStringLiteral("5"));
        QCOMPARE(app.txt("txtTone(1)")->text(), QStringLiteral("Snare"));
        QVERIFY(app.requests().isEmpty());

        // The wave start group's words.
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

    // An edit sends one upload of the Tone as read with only its field's nibbles changed (two,
    // or one for the phase nibble, whose byte's high nibble must travel unchanged), and the SP
    // holds the byte; an option or source already shown sends nothing.
    void eachEditSendsTheWholeToneOnceWithTheFieldInPlace()
    {
        const struct { const char *control; const char *input; int position; int width; int byte; const char *shown;
                       Field also = {124, 3}; bool refused = false; } cases[] = {
            {"txtDCF(4)", "40", 80, 2, 40, "40"},
            {"txtDCA(0)", "-5", 72, 2, 251, "-5"},
            {"txtPan(3)", "99", 136, 2, 99, "99"},
            {"txtLFO(1)", "7", 110, 2, 7, "7"},
            {"txtDCO(2)", "-99", 104, 2, 157, "-99"},
            {"txtLFO(4)", "-12", 122, 2, 244, "-12"},
            {"txtLFO(5)", "16", 142, 2, 15, "16"},
            // Above the limit: clamped before sending.
            {"txtDCF(0)", "150", 86, 2, 99, "99"},
            {"txtDCA(0)", "-150", 72, 2, 157, "-99"},
            {"txtLFO(0)", "300", 106, 2, 99, "99"},
            {"txtLFO(5)", "200", 142, 2, 127, "128"},
            // The quantize box shows one more than the SP stores: 1 is the lowest, 0 below it.
            {"txtLFO(5)", "0", 142, 2, 0, "none"},
            {"txtLFO(5)", "1", 142, 2, 0, "none"},
            {"txtLFO(4)", "qnt", 122, 2, 0, "qnt", {122, 25}},
            // Refused by the SP, the box stays red, showing what the SP holds as read back.
            {"txtDCF(4)", "50", 80, 2, 50, "40", {80, 40}, true},
            // A slider sends once, when let go; the LFO rate's box shows its value only then.
            {"sldDCA(1)", "-30", 74, 2, 226, "-30"},
            {"sldLFO(0)", "30", 106, 2, 30, "0"},
            {"optToneModMode(5)", "", 120, 2, 0x21, nullptr},  // DCO LFO phase inverted
            {"optToneModMode(6)", "", 120, 2, 0x00, nullptr},  // DCO envelope summed
            {"optToneModMode(4)", "", 120, 0, 0x01, nullptr},  // already normal
            {"optToneModMode(7)", "", 120, 0, 0x01, nullptr},  // already scaled
            {"optToneModMode(30)", "", 138, 2, 0x00, nullptr}, // pan auxiliary unipolar
            {"optToneModMode(31)", "", 138, 0, 0x40, nullptr},
            {"optToneModMode(25)", "", 138, 2, 0x50, nullptr}, // pan LFO unipolar
            {"optToneModMode(3)", "", 141, 1, 0xA3, nullptr},  // DCF LFO phase inverted
            {"optToneModMode(0)", "", 141, 1, 0xA2, nullptr, {140, 0xA3}}, // DCA LFO phase normal
            {"optToneModMode(1)", "", 141, 0, 0xA1, nullptr},
            {"optToneEnvSel(3)", "", 82, 0, 0, nullptr}, // already "none"
            {"optToneEnvSel(5)", "", 82, 2, 2, nullptr},
            {"cboTone(0)", "2", 76, 2, 2, nullptr},  {"cboTone(1)", "6", 90, 2, 6, nullptr},  {"cboTone(2)", "1", 102, 2, 1, nullptr},
            {"cboTone(3)", "4", 134, 2, 4, nullptr}, {"cboTone(4)", "7", 108, 2, 7, nullptr}, {"cboTone(5)", "3", 112, 2, 3, nullptr},
            {"cboTone(6)", "5", 116, 2, 5, nullptr}, {"cboTone(7)", "8", 124, 2, 8, nullptr}, {"cboTone(7)", "3", 124, 0, 3, nullptr},
        };
        for (const auto &c : cases) {
            ToneApp app({{124, 3}, {120, 0x01}, {138, 0x40}, {140, 0xA1}, {142, 5}, c.also});
            const QByteArray before = app.image();
            const QString control = QLatin1String(c.control);
            if (c.refused)
                app.vsp->injectFault({VirtualSpBackend::Fault::Status, 11});
            if (auto *combo = app.find<QComboBox>(control)) {
                combo->setCurrentIndex(QByteArray(c.input).toInt());
                QVERIFY2(app.requests().isEmpty(), c.control); // a program write sends nothing
                emit combo->activated(combo->currentIndex());
            } else if (auto *option = app.find<QRadioButton>(control)) {
                option->click();
                QVERIFY2(option->isChecked(), c.control);
            } else if (auto *slider = app.find<QSlider>(control)) {
                QLineEdit *box = app.txt(QString(control).replace(0, 3, QStringLiteral("txt")));
                slider->setSliderDown(true);
                slider->setSliderPosition(QByteArray(c.input).toInt());
                QCOMPARE(box->text(), QLatin1String(c.shown)); // while dragged
                QVERIFY2(app.requests().isEmpty(), c.control);
                slider->setSliderDown(false);
                QCOMPARE(box->text(), QLatin1String(c.input));
            } else {
                app.clearAndType(app.txt(control), QLatin1String(c.input));
                QCOMPARE(app.txt(control)->text(), QLatin1String(c.shown));
                QCOMPARE(KeyInput::IsPending(app.txt(control)), c.refused);
                QVERIFY2(!KeyInput::IsPending(app.txt("txtDCA(1)")), c.control);
            }
            QList<QByteArray> sent;
            if (c.width == 2)
                sent << WithNibbles(before, c.position, {c.byte >> 4, c.byte & 15});
            else if (c.width == 1)
                sent << WithNibbles(before, c.position, {c.byte & 15});
            QCOMPARE(app.uploads(), sent);
            QCOMPARE(app.heldByte(c.position), c.refused ? c.also.value : c.byte);
            QCOMPARE(app.notifier.messages.isEmpty(), !c.refused);
        }
    }

    // A box drops the keys it does not take and stays red until Enter; part of an LFO word is
    // completed on Enter, and nothing is sent.
    void eachBoxTakesOnlyItsKeysAndCompletesItsWords()
    {
        ToneApp app({{124, 3}});
        const struct { const char *box; const char *typed; bool enter; const char *shown; } cases[] = {
            {"txtLFO(4)", "q", true, "qnt"},
            {"txtLFO(4)", "nt", true, "qnt"},
            {"txtLFO(4)", "t", true, "qnt"},
            {"txtLFO(5)", "e", true, "none"},
            {"txtLFO(5)", "no", true, "none"},
            {"txtLFO(5)", "one", true, "none"},
            {"txtDCF(4)", "-5x", false, "5"}, // the cutoff is unsigned
            {"txtLFO(0)", "-3", false, "3"},  // of the LFO boxes only the wave start amount is signed
            {"txtLFO(4)", "qxt", false, "qt"},
            {"txtTone(0)", "-7q", false, "7"},
        };
        for (const auto &c : cases) {
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed), c.enter);
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.shown));
            QCOMPARE(KeyInput::IsPending(app.txt(c.box)), !c.enter);
        }
        QVERIFY(app.requests().isEmpty());
    }

    // Waves 2, 5 and 9 are loaded: a typed number moves up to one of them, the spin button steps
    // onto them; without Waves the boxes are disabled and the spin button says so.
    void aWaveTypedOrSpunIsOneTheSpHolds()
    {
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
        ToneApp app({{50, 2}});
        auto *spin = app.find<SpinButton>("spnTone(0)");
        const struct { bool up; int wave; bool sends; } steps[] = {
            {true, 5, true}, {true, 9, true}, {true, 9, false}, {false, 5, true}, {false, 2, true}, {false, 2, false}};
        for (const auto &s : steps) {
            app.vsp->clearTraffic();
            QTest::mouseClick(spin->findChild<QToolButton *>(s.up ? "up" : "down"), Qt::LeftButton);
            QCOMPARE(app.txt("txtTone(0)")->text(), QString::number(s.wave));
            QCOMPARE(app.uploads().size(), s.sends ? 1 : 0);
            QCOMPARE(app.heldByte(50), s.wave);
        }

        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Wave).clear();
        ToneApp none({{50, 2}}, memory);
        QCOMPARE(none.txt("txtTone(1)")->text(), QStringLiteral("No Waves Avail"));
        QVERIFY(!none.txt("txtTone(0)")->isEnabled());
        QVERIFY(!none.txt("txtTone(1)")->isEnabled());
        QTest::mouseClick(none.find<SpinButton>("spnTone(0)")->findChild<QToolButton *>("up"), Qt::LeftButton);
        QCOMPARE(none.notifier.shown(), QStringList{"Load Wave Object: There are no Wave Objects loaded into the SP"});
        QVERIFY(none.uploads().isEmpty());
    }
};

QTEST_MAIN(ToneTabTest)
#include "ToneTabTest.moc"
