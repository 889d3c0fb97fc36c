// The Preset tabs: a Preset shown as the SP holds it, one layer at a time, and each edit of its
// boxes, sliders, spin buttons, options and combos sent as one upload of the whole Preset with
// the field in place, then read back.
#include "ObjectApp.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "device/ObjectKinds.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSlider>

namespace {

constexpr int ShownPreset = 0;
constexpr int DumpLength = 532;

struct PresetApp : ObjectApp {
    explicit PresetApp(std::initializer_list<Field> fields = {}, Vsp::SpMemory memory = StandardMemory())
        : ObjectApp(KindPreset, ShownPreset, DumpLength, fields, std::move(memory))
    {
        settleOn("Preset1");
    }

    QLineEdit *txt(int index) { return box(qPrintable(QStringLiteral("txtPreset(%1)").arg(index))); }
    QSlider *sld(int index) { return find<QSlider>(QStringLiteral("sldPreset(%1)").arg(index)); }
    SpinButton *spn(int index) { return find<SpinButton>(QStringLiteral("spnPreset(%1)").arg(index)); }
    QRadioButton *opt(int index) { return find<QRadioButton>(QStringLiteral("optPreset(%1)").arg(index)); }
    QComboBox *cbo(int index) { return find<QComboBox>(QStringLiteral("cboPreset(%1)").arg(index)); }

    void choose(QComboBox *combo, int listIndex)
    {
        combo->setCurrentIndex(listIndex);
        emit combo->activated(listIndex);
    }
    void chooseLayerB() { opt(10)->click(); }
    // The layer tab, without the front-panel key its switch presses.
    void showLayerTab()
    {
        showTab("Preset2");
        vsp->clearTraffic();
    }
};

} // namespace

class PresetTabTest : public QObject {
    Q_OBJECT

private slots:
    // The auxiliary controller lists name their numbers; the choice already shown sends nothing.
    void showsBothTabsAsTheSpHoldsThePreset()
    {
        PresetApp app({{50, 3}, {90, -12}, {94, 40}, {92, 4}, {96, 6}, {98, 60}, {100, 200}, {84, 255}, {86, 7},
                       {88, 64}, {52, 16}, {68, 2}, {102, 0}, {150, 3}, {152, 4}, {160, 40}, {162, 40}, {164, 90},
                       {166, -7}, {168, 12}, {170, 2}, {172, 0}, {174, 80}, {176, -20}, {178, 5}, {180, 6}, {182, 7},
                       {184, 99}, {186, 72}, {188, -3}, {190, 9}});
        const struct { int index; const char *text; } boxes[] = {
            {0, "-12"}, {1, "40"}, {2, "60"}, {3, "C4"}, {4, "200"}, {5, "0"}, {6, "16"}, {7, "1"}, {8, "4"},
            {25, "Drum Map"}, {9, ">>>"}, {10, "40"}, {11, "90"}, {12, "-7"}, {13, "12"}, {14, "72"}, {15, "C5"},
            {16, "Map"}, {17, "-3"}, {18, "80"}, {19, "-20"}, {20, "9"}, {21, "5"}, {22, "6"}, {23, "7"}, {24, "99"}};
        for (const auto &b : boxes) {
            QCOMPARE(app.txt(b.index)->text(), QLatin1String(b.text));
            QVERIFY2(app.txt(b.index)->isEnabled() && !KeyInput::IsPending(app.txt(b.index)), b.text);
        }
        QCOMPARE(app.sld(0)->value(), -12);
        QCOMPARE(app.sld(4)->value(), 200);
        const struct { int index; const char *text; } combos[] = {
            {0, "layer a/b switch"}, {4, "chanpres"}, {5, "auxctl1"}, {1, "Off"}, {2, "7     (volume)"},
            {3, "64   (sustain ped)"}};
        for (const auto &c : combos)
            QCOMPARE(app.cbo(c.index)->currentText(), QLatin1String(c.text));
        for (int option : {2, 4, 9})
            QVERIFY2(app.opt(option)->isChecked(), qPrintable(QString::number(option)));
        QComboBox *aux = app.cbo(1);
        QCOMPARE(aux->count(), 122);
        const struct { int index; const char *text; } entries[] = {
            {0, "Off"}, {1, "0"}, {2, "1     (mod wheel)"}, {8, "7     (volume)"}, {65, "64   (sustain ped)"},
            {101, "100 (reg prm ls)"}, {121, "120"}};
        for (const auto &e : entries)
            QCOMPARE(aux->itemText(e.index), QLatin1String(e.text));
        app.choose(aux, 0); // the choice already shown
        QVERIFY(app.requests().isEmpty());
        app.showLayerTab();
        QCOMPARE(app.find<QGroupBox>("fraLayer")->title(), QStringLiteral("Layer A"));
        QCOMPARE(app.cbo(6)->currentText(), QStringLiteral("modwheel"));
        QVERIFY(app.opt(8)->isChecked());
        QCOMPARE(app.find<QSlider>("hsldPreset(16)")->value(), 0);
        QCOMPARE(app.sld(18)->value(), 80);
        QVERIFY(app.requests().isEmpty());
    }

    // Switch points show their words; words partly erased come back whole and send nothing.
    void switchPointWordsAreShownAndComeBackWhole()
    {
        const struct { int a, b, c; const char *shown[3]; } points[] = {
            {128, 0, 0, {"<<<", ">>>", ">>>"}},
            {10, 20, 30, {"10", "20", "30"}},
            {128, 128, 5, {"<<<", "<<<", "5"}},
            {60, 70, 70, {"60", ">>>", "70"}},
        };
        for (const auto &p : points) {
            PresetApp shown({{160, p.a}, {162, p.b}, {164, p.c}});
            for (int i = 0; i < 3; ++i)
                QCOMPARE(shown.txt(9 + i)->text(), QLatin1String(p.shown[i]));
        }

        PresetApp app({{172, 0}, {160, 128}, {162, 0}, {164, 0}});
        app.showLayerTab();
        const struct { int index; QList<Qt::Key> keys; const char *word; } cases[] = {
            {16, {Qt::Key_End, Qt::Key_Backspace}, "Map"},                      // "Ma"
            {16, {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Backspace}, "Map"},   // "M"
            {16, {Qt::Key_Home, Qt::Key_Delete}, "Map"},                        // "ap"
            {16, {Qt::Key_End, Qt::Key_Left, Qt::Key_Backspace}, "Map"},        // "Mp"
            {9, {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Backspace}, "<<<"},    // "<"
            {10, {Qt::Key_End, Qt::Key_Backspace}, ">>>"},                      // ">>"
        };
        for (const auto &c : cases) {
            QLineEdit *line = app.txt(c.index);
            line->setFocus();
            for (Qt::Key key : c.keys)
                QTest::keyClick(line, key);
            QVERIFY(line->text() != QLatin1String(c.word));
            QTest::keyClick(line, Qt::Key_Return);
            QCOMPARE(line->text(), QLatin1String(c.word));
            QVERIFY(!KeyInput::IsPending(line));
        }
        // Emptied and committed, the pan shows its word again.
        app.clear(app.txt(16));
        QTest::keyClick(app.txt(16), Qt::Key_Return);
        QCOMPARE(app.txt(16)->text(), QStringLiteral("Map"));
        QVERIFY(app.uploads().isEmpty());
    }

    // Typed values are clamped to each field's range; a switch point showing a word spins from
    // the value stored; a list entry sends its controller number, "Off" 255.
    void eachEditSendsTheWholePresetOnceAndReadsItBack()
    {
        const struct { const char *control; const char *input; int position; int sent; const char *shown;
                       Field also = {84, 10}; bool refused = false; } cases[] = {
            {"txtPreset(0)", "150", 90, 99, "99"},       {"txtPreset(1)", "-150", 94, -99 + 256, "-99"},
            {"txtPreset(2)", "200", 98, 127, "127"},     {"txtPreset(4)", "300", 100, 255, "255"},
            {"txtPreset(13)", "30", 168, 24, "24"},      {"txtPreset(13)", "-30", 168, -24 + 256, "-24"},
            {"txtPreset(9)", "200", 160, 128, "<<<"},    {"txtPreset(24)", "200", 184, 127, "127"},
            {"txtPreset(14)", "130", 186, 127, "127"},   {"txtPreset(12)", "120", 166, 99, "99"},
            {"txtPreset(18)", "100", 174, 99, "99"},     {"spnPreset(9)", "down", 160, 127, "127", {160, 128}},
            {"spnPreset(10)", "up", 162, 1, "1"},        {"spnPreset(13)", "down", 168, 255, "-1"},
            {"cboPreset(1)", "0", 84, 255, nullptr},     {"cboPreset(1)", "8", 84, 7, nullptr},
            {"cboPreset(1)", "1", 84, 0, nullptr},       {"cboPreset(1)", "121", 84, 120, nullptr},
            {"cboPreset(3)", "2", 88, 1, nullptr},       {"cboPreset(0)", "4", 50, 4, nullptr},
            {"cboPreset(5)", "8", 96, 8, nullptr},
            // Refused by the SP, the box stays red, showing the SP's own copy read back.
            {"txtPreset(1)", "30", 94, 30, "12", {94, 12}, true},
        };
        for (const auto &c : cases) {
            PresetApp app({c.also});
            const QByteArray before = app.image();
            const QString control = QLatin1String(c.control);
            const QString input = QLatin1String(c.input);
            if (c.refused)
                app.vsp->injectFault({VirtualSpBackend::Fault::Status, 5});
            if (auto *combo = app.find<QComboBox>(control)) {
                app.choose(combo, input.toInt());
                QCOMPARE(combo->currentIndex(), input.toInt());
            } else if (auto *spin = app.find<SpinButton>(control)) {
                emit input == QLatin1String("up") ? spin->SpinUp() : spin->SpinDown();
            } else {
                app.clearAndType(app.find<QLineEdit>(control), input);
            }
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, c.position, {c.sent >> 4, c.sent & 15})});
            QCOMPARE(app.heldByte(c.position), c.refused ? c.also.value : c.sent);
            QVERIFY(app.requests().contains(DumpRequest(KindPreset, ShownPreset))); // read back
            if (c.shown) {
                QLineEdit *box = app.find<QLineEdit>(QString(control).replace(0, 3, QStringLiteral("txt")));
                QCOMPARE(box->text(), QLatin1String(c.shown));
                QCOMPARE(KeyInput::IsPending(box), c.refused);
            }
        }
    }

    void theGroupChosenShowsAndChangesOnlyItsOwn()
    {
        PresetApp app({{52 + 6, 12}, {68 + 6, 3}, {102, 0b1010'0001}, {52, 4}});
        QCOMPARE(app.txt(6)->text(), QStringLiteral("4"));
        for (int step = 0; step < 3; ++step)
            emit app.spn(5)->SpinUp();
        QCOMPARE(app.txt(5)->text(), QStringLiteral("3"));
        QCOMPARE(app.txt(6)->text(), QStringLiteral("12"));
        QVERIFY(app.opt(3)->isChecked());
        QVERIFY(app.opt(4)->isChecked()); // bit 3 clear
        QVERIFY(app.requests().isEmpty());

        const QByteArray before = app.image();
        app.opt(5)->click();
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 102, {0b1010, 0b1001})});
        QCOMPARE(app.heldByte(102), 0b1010'1001);
        QVERIFY(app.opt(5)->isChecked());
        QCOMPARE(app.txt(5)->text(), QStringLiteral("3")); // the group stays chosen after the read-back
        app.vsp->clearTraffic();
        app.opt(4)->click();
        QCOMPARE(app.heldByte(102), 0b1010'0001);
        app.opt(1)->click();
        QCOMPARE(app.heldByte(68 + 6), 1);
        QCOMPARE(app.heldByte(68), 0);
        emit app.spn(6)->SpinUp();
        QCOMPARE(app.heldByte(52 + 6), 13);
        QCOMPARE(app.heldByte(52), 4);
        QCOMPARE(app.txt(6)->text(), QStringLiteral("13"));
    }

    void layerBAndEachLevelAreEditedAtTheirOwnPositions()
    {
        PresetApp app({{174, 10}, {174 + 192, 55}, {150 + 192, 2}, {170 + 192, 1}});
        app.showLayerTab();
        app.chooseLayerB();
        QCOMPARE(app.find<QGroupBox>("fraLayer")->title(), QStringLiteral("Layer B"));
        QCOMPARE(app.txt(18)->text(), QStringLiteral("55"));
        QCOMPARE(app.cbo(6)->currentText(), QStringLiteral("random"));
        QVERIFY(app.opt(7)->isChecked());
        QVERIFY(app.requests().isEmpty());

        const QByteArray before = app.image();
        app.clearAndType(app.txt(18), QStringLiteral("60"));
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 366, {3, 12})});
        QCOMPARE(app.heldByte(366), 60);
        QCOMPARE(app.heldByte(174), 10);
        QCOMPARE(app.find<QGroupBox>("fraLayer")->title(), QStringLiteral("Layer B")); // still after the read-back

        app.opt(8)->click();
        QCOMPARE(app.heldByte(362), 2);
        app.opt(6)->click();
        QCOMPARE(app.heldByte(362), 0);
        app.choose(app.cbo(6), 5);
        QCOMPARE(app.heldByte(342), 5);
        // The Map of each level goes to its own position.
        app.vsp->clearTraffic();
        app.clearAndType(app.txt(7), QStringLiteral("4"));
        QVERIFY(app.requests().isEmpty()); // choosing a level sends nothing
        app.clearAndType(app.txt(8), QStringLiteral("4"));
        QCOMPARE(app.heldByte(350), 4);
        QCOMPARE(app.txt(25)->text(), QStringLiteral("Drum Map"));
        QCOMPARE(app.txt(7)->text(), QStringLiteral("4"));

        app.opt(9)->click();
        QCOMPARE(app.find<QGroupBox>("fraLayer")->title(), QStringLiteral("Layer A"));
        QCOMPARE(app.txt(18)->text(), QStringLiteral("10"));
        app.clearAndType(app.txt(7), QStringLiteral("4"));
        app.clearAndType(app.txt(8), QStringLiteral("4"));
        QCOMPARE(app.heldByte(158), 4);
        QCOMPARE(app.heldByte(350), 4);
    }

    // A Map the SP does not hold is shown without a name; the spin button steps through those it
    // holds, and says so when it holds none.
    void theMapSpinStepsThroughTheMapsTheSpHolds()
    {
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Map)[9] = SpRecords::Map("Bass Map", {{0, 127}});
        memory.of(Vsp::Map)[20] = SpRecords::Map("Pad Map", {{0, 127}});
        PresetApp app({{152, 77}}, memory);
        app.showLayerTab();
        QCOMPARE(app.txt(8)->text(), QStringLiteral("77"));
        QCOMPARE(app.txt(25)->text(), QString());
        emit app.spn(8)->SpinDown();
        QCOMPARE(app.heldByte(152), 20);
        QCOMPARE(app.txt(25)->text(), QStringLiteral("Pad Map"));
        emit app.spn(8)->SpinDown();
        QCOMPARE(app.heldByte(152), 9);
        emit app.spn(8)->SpinUp();
        QCOMPARE(app.heldByte(152), 20);
        app.vsp->clearTraffic();
        emit app.spn(8)->SpinUp(); // the highest: nothing further
        QVERIFY(app.uploads().isEmpty());

        memory.of(Vsp::Map).clear();
        PresetApp none({{152, 4}}, memory);
        none.showLayerTab();
        QCOMPARE(none.txt(25)->text(), QStringLiteral("No Maps Loaded"));
        emit none.spn(8)->SpinUp();
        QCOMPARE(none.notifier.shown(), QStringList{"[Load map Object] There are no Map Objects loaded into the SP"});
        QCOMPARE(none.heldByte(152), 4);
        QVERIFY(none.uploads().isEmpty());
    }
};

QTEST_MAIN(PresetTabTest)
#include "PresetTabTest.moc"
