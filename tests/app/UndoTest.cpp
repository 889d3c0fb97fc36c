// Undo and redo as a user works with them: the Edit menu's items and their texts, each edit
// sent back to the SP with the bytes an edit sends, the object read back and shown, another
// Tone shown when the edit was made on it, and an undo the SP refuses.
#include "../editors/ToneApp.h"

#include "app/EditHistory.h"
#include "objects/MapDescription.h"
#include "objects/MultiDescription.h"
#include "objects/PresetDescription.h"
#include "objects/ToneDescription.h"
#include "app/MemoryCommand.h"
#include "objects/ObjectDelete.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

using namespace ToneTest;

namespace {

constexpr int CutoffPosition = 80;
constexpr int SpeedPosition = 106;

QAction *Undo(ToneApp &app) { return app.find<QAction>("mnuUndo"); }
QAction *Redo(ToneApp &app) { return app.find<QAction>("mnuRedo"); }

} // namespace

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void twoEditsAreUndoneInOrderAndRedone()
    {
        ToneApp app({{CutoffPosition, 10}, {SpeedPosition, 20}});
        QVERIFY(!Undo(app)->isEnabled());
        QVERIFY(!Redo(app)->isEnabled());
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo"));
        QCOMPARE(Undo(app)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(Redo(app)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));

        app.clearAndType(app.txt("txtDCF(4)"), "40");
        app.clearAndType(app.txt("txtLFO(0)"), "30");
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QCOMPARE(app.heldByte(SpeedPosition), 30);
        QVERIFY(Undo(app)->isEnabled());
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo Tone t#3 LFO Speed"));

        // Each undo sends the Tone's image with the one field as it was, newest edit first.
        struct Step {
            int position;
            int restored;
            int otherPosition;
            int otherValue;
            const char *undoAfter;
            const char *redoAfter;
        };
        const Step steps[] = {
            {SpeedPosition, 20, CutoffPosition, 40, "&Undo Tone t#3 DCF Cutoff", "&Redo Tone t#3 LFO Speed"},
            {CutoffPosition, 10, SpeedPosition, 20, "&Undo", "&Redo Tone t#3 DCF Cutoff"},
        };
        for (const Step &s : steps) {
            const QByteArray image = app.image();
            app.vsp->clearTraffic();
            Undo(app)->trigger();
            QCOMPARE(app.uploads().size(), 1);
            QCOMPARE(app.uploads().first(), WithNibbles(image, s.position, {s.restored >> 4, s.restored & 0x0F}));
            QCOMPARE(app.requests().last(), DumpRequest(KindTone, ShownTone)); // read back
            QCOMPARE(app.heldByte(s.position), s.restored);
            QCOMPARE(app.heldByte(s.otherPosition), s.otherValue);
            QCOMPARE(Undo(app)->text(), QLatin1String(s.undoAfter));
            QCOMPARE(Redo(app)->text(), QLatin1String(s.redoAfter));
        }
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("10"));
        QCOMPARE(app.txt("txtLFO(0)")->text(), QStringLiteral("20"));
        QVERIFY(!Undo(app)->isEnabled());
        QVERIFY(Redo(app)->isEnabled());

        // Redo sends the edit again, oldest first; the box shows what the SP holds.
        Redo(app)->trigger();
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QCOMPARE(app.heldByte(SpeedPosition), 20);
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("40"));
        QCOMPARE(Redo(app)->text(), QStringLiteral("&Redo Tone t#3 LFO Speed"));

        // A new edit ends what could be redone.
        app.clearAndType(app.txt("txtDCA(0)"), "-5");
        QVERIFY(!Redo(app)->isEnabled());
        QCOMPARE(Redo(app)->text(), QStringLiteral("&Redo"));
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo Tone t#3 DCA Vel Sens"));
        Undo(app)->trigger();
        QCOMPARE(app.heldByte(72), 0);
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QVERIFY(app.notifier.messages.isEmpty());
    }

    void undoingAnEditOfAnotherToneShowsThatTone()
    {
        ToneApp app({{CutoffPosition, 10}});
        app.clearAndType(app.txt("txtDCF(4)"), "40");
        app.clear(app.box("txtObjectNum"));
        app.type(app.box("txtObjectNum"), QStringLiteral("7"));
        QCOMPARE(app.session().objects.of(KindTone).Num, 7);
        const QByteArray otherTone = app.vsp->device().memory().of(Vsp::Tone)[7];
        app.vsp->clearTraffic();

        Undo(app)->trigger();
        // Tone 3 is read before its image is sent back: never Tone 7's image under Tone 3's number.
        QCOMPARE(app.requests().first(), DumpRequest(KindTone, ShownTone));
        QCOMPARE(app.uploads().size(), 1);
        QCOMPARE(static_cast<int>(app.uploads().first().at(16)), ShownTone); // the number's low nibble
        QCOMPARE(app.heldByte(CutoffPosition), 10);
        QCOMPARE(app.vsp->device().memory().of(Vsp::Tone)[7], otherTone);
        QCOMPARE(app.session().objects.of(KindTone).Num, ShownTone);
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("3"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Kick Tone"));
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("10"));
    }

    void anUndoTheSpRefusesStaysToBeUndone()
    {
        ToneApp app({{CutoffPosition, 10}});
        app.clearAndType(app.txt("txtDCF(4)"), "40");
        app.notifier.messages.clear();
        app.vsp->injectFault({VirtualSpBackend::Fault::Status, 5});
        Undo(app)->trigger();
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QVERIFY(Undo(app)->isEnabled());
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo Tone t#3 DCF Cutoff"));
        QVERIFY(!Redo(app)->isEnabled());
        QVERIFY2(app.notifier.texts().contains(
                     QStringLiteral("The SP did not take the undo of Tone t#3 DCF Cutoff; it can still be undone.")),
                 qPrintable(app.notifier.texts().join(QLatin1Char('|'))));
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("40")); // what the SP still holds

        // Once the SP takes it, the same undo goes through.
        Undo(app)->trigger();
        QCOMPARE(app.heldByte(CutoffPosition), 10);
        QVERIFY(!Undo(app)->isEnabled());
        QVERIFY(Redo(app)->isEnabled());
    }

    // The keys work from inside an edit box, where a line edit would otherwise take them.
    void ctrlZInABoxUndoesAndCtrlShiftZRedoes()
    {
        ToneApp app({{CutoffPosition, 10}});
        app.main()->show();
        QApplication::setActiveWindow(app.main());
        QVERIFY(QTest::qWaitForWindowActive(app.main()));
        QLineEdit *box = app.txt("txtDCF(4)");
        app.clearAndType(box, "40");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(app.heldByte(CutoffPosition), 10);
        QCOMPARE(box->text(), QStringLiteral("10"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QCOMPARE(box->text(), QStringLiteral("40"));
    }

    // Names are undone as the whole 14 characters they were; a Map's name through its header.
    void renamesAreUndone()
    {
        struct Case {
            int tab;
            Vsp::Kind kind;
            int number;
            const char *was;
            const char *undoText;
        };
        const Case cases[] = {
            {Tone1Tab, Vsp::Tone, 3, "Kick Tone     ", "&Undo Tone t#3 Name"},
            {2, Vsp::Map, 4, "Drum Map      ", "&Undo Map m#4 Name"},
        };
        for (const Case &c : cases) {
            ToneApp app;
            app.showTab(c.tab);
            app.clear(app.box("txtObjectName"));
            app.type(app.box("txtObjectName"), QStringLiteral("Bass"));
            QCOMPARE(app.vsp->device().memory().find(c.kind, c.number)->mid(1, 14), QByteArray("Bass          "));
            QCOMPARE(Undo(app)->text(), QLatin1String(c.undoText));
            Undo(app)->trigger();
            QCOMPARE(app.vsp->device().memory().find(c.kind, c.number)->mid(1, 14), QByteArray(c.was));
            QCOMPARE(app.box("txtObjectName")->text(), QLatin1String(c.was).trimmed());
            QVERIFY(app.notifier.messages.isEmpty());
        }
    }

    // The Edit menu names an edit of every kind as its tab names the parameter, options included.
    void editsOfEveryKindAreNamedAsTheirTabsNameThem()
    {
        struct Case {
            int tab;
            const char *control;
            const char *typed; // nullptr: an option, clicked
            const char *undoText;
        };
        const Case cases[] = {
            {0, "txtPreset(0)", "12", "&Undo Preset p#0 Layer Detune"},
            {0, "optPreset(5)", nullptr, "&Undo Preset p#0 Allocation Group 0 Overflow"},
            {1, "txtPreset(18)", "20", "&Undo Preset p#0 Layer A Volume"},
            {1, "optPreset(8)", nullptr, "&Undo Preset p#0 Layer A Output"},
            {7, "txtGlobal(5)", "30", "&Undo Multi mu#0 Channel 0 Volume"},
            {7, "optGlobal(7)", nullptr, "&Undo Multi mu#0 Channel 0 Multi Enable"},
            {2, "optMap(1)", nullptr, "&Undo Map m#4 Zone 0 Output"},
            {Tone1Tab, "optToneModMode(13)", nullptr, "&Undo Tone t#3 DCO LFO Polarity"},
        };
        for (const Case &c : cases) {
            ToneApp app;
            app.showTab(c.tab);
            if (c.typed)
                app.clearAndType(app.txt(QLatin1String(c.control)), QLatin1String(c.typed));
            else
                app.find<QRadioButton>(QLatin1String(c.control))->click();
            QVERIFY2(app.notifier.messages.isEmpty(), c.control);
            QCOMPARE(Undo(app)->text(), QLatin1String(c.undoText));
        }
    }

    // The names the menu and the compare use are the ones the controls' tooltips show.
    void theParameterTablesNameWhatTheTooltipsName()
    {
        ToneApp app;
        const auto check = [&](const QString &control, const QString &name) {
            const QString tip = app.find<QWidget>(control)->toolTip();
            QVERIFY2(tip.contains(name, Qt::CaseInsensitive), qPrintable(control + ": " + tip + " / " + name));
        };
        for (const ToneDescription::Box &box : ToneDescription::Boxes)
            check(QStringLiteral("txt%1(%2)").arg(QLatin1String(box.family)).arg(box.index), QLatin1String(box.name));
        for (const MapDescription::Parameter &p : MapDescription::Edited)
            check(QStringLiteral("txtMap(%1)").arg(p.index), QLatin1String(p.name));
        // The Preset's captions are the labels beside its boxes; a few tips say more.
        QStringList labels;
        for (const QLabel *label : app.main()->findChildren<QLabel *>())
            labels << label->text();
        for (const PresetDescription::Box &box : PresetDescription::Boxes) {
            const QString control = QStringLiteral("txtPreset(%1)").arg(box.index);
            QVERIFY2(labels.contains(QLatin1String(box.caption))
                         || app.find<QWidget>(control)->toolTip().contains(QLatin1String(box.caption), Qt::CaseInsensitive),
                     box.caption);
        }
        for (int index : {0, 1, 2, 3, 5})
            check(QStringLiteral("txtGlobal(%1)").arg(index), MultiDescription::BoxCaption(index));
    }

    // After the memory changed under them, old edits would land on other objects.
    void aChangedMemoryForgetsTheEdits()
    {
        ToneApp app({{CutoffPosition, 10}});
        app.clearAndType(app.txt("txtDCF(4)"), "40");
        QVERIFY(Undo(app)->isEnabled());
        const auto outcome = MemoryCommand::Run(app.main()->services(), app.session(),
                                                {QStringLiteral("Delete Wave"), QStringLiteral("Deleting"),
                                                 *ObjectDelete::Command(ObjectDelete::Scope::Current, KindWave, 9)});
        QCOMPARE(outcome, MemoryCommand::Outcome::Done);
        QVERIFY(!Undo(app)->isEnabled());
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo"));
        QCOMPARE(app.heldByte(CutoffPosition), 40);
    }

    void globalEditsAreUndoneByTheirOwnAddress()
    {
        ToneApp app;
        app.showTab(7);
        auto *volume = app.box("txtGlobal(7)");
        app.clear(volume);
        app.type(volume, QStringLiteral("90"));
        auto *tune = app.box("txtGlobal(9)");
        app.clear(tune);
        app.type(tune, QStringLiteral("1.5"));
        const auto &global = app.vsp->device().memory().global;
        QCOMPARE(global.omniPolyVolume, 90);
        QCOMPARE(global.masterTune, 150);
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo Global Master Tune"));
        Undo(app)->trigger();
        QCOMPARE(global.masterTune, -250);
        QCOMPARE(tune->text(), QStringLiteral("-2.5"));
        QCOMPARE(Undo(app)->text(), QStringLiteral("&Undo Global Omni/Poly Volume"));
        app.vsp->clearTraffic();
        Undo(app)->trigger();
        QCOMPARE(app.requests().first(), Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03, 0x04, 0x01, 100, 0xF7}));
        QCOMPARE(global.omniPolyVolume, 100);
        QCOMPARE(volume->text(), QStringLiteral("100"));
        Redo(app)->trigger();
        QCOMPARE(global.omniPolyVolume, 90);
        QVERIFY(app.notifier.messages.isEmpty());
    }
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
