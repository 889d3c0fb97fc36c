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
    void opensOnAFilledPreset1Tab()
    {
        PresetApp app({{50, 3}, {90, -12}, {94, 40}, {92, 4}, {96, 6}, {98, 60}, {100, 200}, {84, 255}, {86, 7},
                       {88, 64}, {52, 16}, {68, 2}, {102, 0}});
        QCOMPARE(app.find<QTabWidget>("SPFEtab")->currentIndex(), MainTabs::IndexOf("Preset1"));
        const struct { int index; const char *text; } boxes[] = {
            {0, "-12"}, {1, "40"}, {2, "60"}, {3, "C4"}, {4, "200"}, {5, "0"}, {6, "16"}};
        for (const auto &b : boxes) {
            QCOMPARE(app.txt(b.index)->text(), QLatin1String(b.text));
            QVERIFY2(app.txt(b.index)->isEnabled() && !KeyInput::IsPending(app.txt(b.index)), b.text);
        }
        QCOMPARE(app.sld(0)->value(), -12);
        QCOMPARE(app.sld(4)->value(), 200);
        QCOMPARE(app.cbo(0)->currentText(), QStringLiteral("layer a/b switch"));
        QCOMPARE(app.cbo(4)->currentText(), QStringLiteral("chanpres"));
        QCOMPARE(app.cbo(5)->currentText(), QStringLiteral("auxctl1"));
        QCOMPARE(app.cbo(1)->currentText(), QStringLiteral("Off"));
        QCOMPARE(app.cbo(2)->currentText(), QStringLiteral("7     (volume)"));
        QCOMPARE(app.cbo(3)->currentText(), QStringLiteral("64   (sustain ped)"));
        QVERIFY(app.opt(2)->isChecked());
        QVERIFY(app.opt(4)->isChecked());
        QVERIFY(app.opt(9)->isChecked());
        QVERIFY(app.requests().isEmpty());
    }

    void showsTheLayerWithItsMapsAndWords()
    {
        PresetApp app({{150, 3}, {152, 4}, {160, 40}, {162, 40}, {164, 90}, {166, -7}, {168, 12}, {170, 2},
                       {172, 0}, {174, 80}, {176, -20}, {178, 5}, {180, 6}, {182, 7}, {184, 99}, {186, 72},
                       {188, -3}, {190, 9}});
        app.showLayerTab();
        QCOMPARE(app.find<QGroupBox>("fraLayer")->title(), QStringLiteral("Layer A"));
        const struct { int index; const char *text; } boxes[] = {
            {7, "1"}, {8, "4"}, {25, "Drum Map"}, {9, ">>>"}, {10, "40"}, {11, "90"}, {12, "-7"}, {13, "12"},
            {14, "72"}, {15, "C5"}, {16, "Map"}, {17, "-3"}, {18, "80"}, {19, "-20"}, {20, "9"}, {21, "5"},
            {22, "6"}, {23, "7"}, {24, "99"}};
        for (const auto &b : boxes)
            QCOMPARE(app.txt(b.index)->text(), QLatin1String(b.text));
        QCOMPARE(app.cbo(6)->currentText(), QStringLiteral("modwheel"));
        QVERIFY(app.opt(8)->isChecked());
        QCOMPARE(app.find<QSlider>("hsldPreset(16)")->value(), 0);
        QCOMPARE(app.sld(18)->value(), 80);
        QVERIFY(app.requests().isEmpty());
    }

    void switchPointsShowTheirWords()
    {
        const struct { int a, b, c; const char *shown[3]; } cases[] = {
            {40, 40, 90, {">>>", "40", "90"}},
            {128, 0, 0, {"<<<", ">>>", ">>>"}},
            {10, 20, 30, {"10", "20", "30"}},
            {128, 128, 5, {"<<<", "<<<", "5"}},
            {60, 70, 70, {"60", ">>>", "70"}},
        };
        for (const auto &c : cases) {
            PresetApp app({{160, c.a}, {162, c.b}, {164, c.c}});
            for (int i = 0; i < 3; ++i)
                QCOMPARE(app.txt(9 + i)->text(), QLatin1String(c.shown[i]));
        }
    }

    void wordsPartlyErasedComeBackWholeAndSendNothing()
    {
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

    void typedValuesAreClampedToEachFieldsRange()
    {
        const struct { int index; const char *typed; int position; int sent; const char *shown; } cases[] = {
            {0, "150", 90, 99, "99"},     {1, "-150", 94, -99 + 256, "-99"}, {2, "200", 98, 127, "127"},
            {4, "300", 100, 255, "255"},  {13, "30", 168, 24, "24"},         {13, "-30", 168, -24 + 256, "-24"},
            {9, "200", 160, 128, "<<<"},  {24, "200", 184, 127, "127"},      {14, "130", 186, 127, "127"},
            {12, "120", 166, 99, "99"},   {18, "100", 174, 99, "99"},
        };
        for (const auto &c : cases) {
            PresetApp app;
            const QByteArray before = app.image();
            app.clearAndType(app.txt(c.index), QLatin1String(c.typed));
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, c.position, {c.sent >> 4, c.sent & 15})});
            QCOMPARE(app.heldByte(c.position), c.sent);
            QVERIFY(app.requests().contains(DumpRequest(KindPreset, ShownPreset))); // read back
            QCOMPARE(app.txt(c.index)->text(), QLatin1String(c.shown));
            QVERIFY(!KeyInput::IsPending(app.txt(c.index)));
        }
    }

    void aRefusedEditStaysRedAndThePresetIsReadBack()
    {
        PresetApp app({{94, 12}});
        app.vsp->injectFault({VirtualSpBackend::Fault::Status, 5});
        app.clearAndType(app.txt(1), QStringLiteral("30"));
        QCOMPARE(app.heldByte(94), 12);
        QVERIFY(app.requests().contains(DumpRequest(KindPreset, ShownPreset)));
        QCOMPARE(app.txt(1)->text(), QStringLiteral("12")); // the SP's own copy, shown again
        QVERIFY(KeyInput::IsPending(app.txt(1)));
        QVERIFY(!KeyInput::IsPending(app.txt(0)));
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

    void auxiliaryControllerListsSendTheirNumbers()
    {
        PresetApp app({{84, 10}});
        QComboBox *aux = app.cbo(1);
        QCOMPARE(aux->count(), 122);
        const struct { int index; const char *text; } entries[] = {
            {0, "Off"}, {1, "0"}, {2, "1     (mod wheel)"}, {8, "7     (volume)"}, {65, "64   (sustain ped)"},
            {101, "100 (reg prm ls)"}, {121, "120"}};
        for (const auto &e : entries)
            QCOMPARE(aux->itemText(e.index), QLatin1String(e.text));
        const struct { int listIndex; int sent; } choices[] = {{0, 255}, {8, 7}, {1, 0}, {121, 120}};
        for (const auto &c : choices) {
            app.vsp->clearTraffic();
            const QByteArray before = app.image();
            app.choose(aux, c.listIndex);
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 84, {c.sent >> 4, c.sent & 15})});
            QCOMPARE(app.heldByte(84), c.sent);
            QCOMPARE(aux->currentIndex(), c.listIndex);
        }
        app.vsp->clearTraffic();
        app.choose(aux, 121); // the choice already shown
        QVERIFY(app.requests().isEmpty());
        app.choose(app.cbo(3), 2);
        QCOMPARE(app.heldByte(88), 1);
        app.choose(app.cbo(0), 4);
        QCOMPARE(app.heldByte(50), 4);
        app.choose(app.cbo(5), 8);
        QCOMPARE(app.heldByte(96), 8);
    }

    void layerBIsEditedAtItsOwnPositions()
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

        const struct { int option; int position; int value; } choices[] = {{8, 362, 2}, {6, 362, 0}};
        for (const auto &c : choices) {
            app.opt(c.option)->click();
            QCOMPARE(app.heldByte(c.position), c.value);
        }
        app.choose(app.cbo(6), 5);
        QCOMPARE(app.heldByte(342), 5);

        app.opt(9)->click();
        QCOMPARE(app.find<QGroupBox>("fraLayer")->title(), QStringLiteral("Layer A"));
        QCOMPARE(app.txt(18)->text(), QStringLiteral("10"));
    }

    void theMapOfEachLevelGoesToItsPosition()
    {
        const struct { bool layerB; int position; } cases[] = {{false, 158}, {true, 350}};
        for (const auto &c : cases) {
            PresetApp app;
            app.showLayerTab();
            if (c.layerB)
                app.chooseLayerB();
            app.clearAndType(app.txt(7), QStringLiteral("4"));
            QVERIFY(app.requests().isEmpty()); // choosing a level sends nothing
            QCOMPARE(app.txt(7)->text(), QStringLiteral("4"));
            app.clearAndType(app.txt(8), QStringLiteral("4"));
            QCOMPARE(app.heldByte(c.position), 4);
            QCOMPARE(app.txt(25)->text(), QStringLiteral("Drum Map"));
            QCOMPARE(app.txt(7)->text(), QStringLiteral("4"));
        }
    }

    void theMapSpinStepsThroughTheMapsTheSpHolds()
    {
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Map)[9] = SpRecords::Map("Bass Map", {{0, 127}});
        memory.of(Vsp::Map)[20] = SpRecords::Map("Pad Map", {{0, 127}});
        PresetApp app({{152, 4}}, memory);
        app.showLayerTab();
        emit app.spn(8)->SpinUp();
        QCOMPARE(app.heldByte(152), 9);
        QCOMPARE(app.txt(25)->text(), QStringLiteral("Bass Map"));
        emit app.spn(8)->SpinUp();
        QCOMPARE(app.heldByte(152), 20);
        app.vsp->clearTraffic();
        emit app.spn(8)->SpinUp(); // the highest: nothing further
        QVERIFY(app.uploads().isEmpty());
        emit app.spn(8)->SpinDown();
        QCOMPARE(app.heldByte(152), 9);
    }

    void aMissingMapShowsNoNameAndNoMapsSaysSo()
    {
        PresetApp app({{152, 77}});
        app.showLayerTab();
        QCOMPARE(app.txt(8)->text(), QStringLiteral("77"));
        QCOMPARE(app.txt(25)->text(), QString());

        Vsp::SpMemory empty = VspApp::StandardMemory();
        empty.of(Vsp::Map).clear();
        PresetApp none({{152, 4}}, empty);
        none.showLayerTab();
        QCOMPARE(none.txt(25)->text(), QStringLiteral("No Maps Loaded"));
        emit none.spn(8)->SpinUp();
        QCOMPARE(none.notifier.shown(), QStringList{"[Load map Object] There are no Map Objects loaded into the SP"});
        QCOMPARE(none.heldByte(152), 4);
        QVERIFY(none.uploads().isEmpty());
    }

    void switchPointSpinsStepFromTheStoredValue()
    {
        PresetApp app({{160, 128}, {162, 0}, {164, 50}});
        app.showLayerTab();
        emit app.spn(9)->SpinDown();
        QCOMPARE(app.heldByte(160), 127);
        emit app.spn(10)->SpinUp();
        QCOMPARE(app.heldByte(162), 1);
        emit app.spn(13)->SpinDown();
        QCOMPARE(app.heldByte(168), 255);
    }
};

QTEST_MAIN(PresetTabTest)
#include "PresetTabTest.moc"
