// Undo and redo as a user works with them: the Edit menu's items and their texts, each edit
// sent back to the SP with the bytes an edit sends, the object read back and shown, another
// Tone or Map zone shown when the edit was made on it, and an undo the SP refuses.
#include "../editors/MapApp.h"
#include "../editors/ToneApp.h"

#include "AppKit.h"
#include "app/EditHistory.h"
#include "app/MemoryCommand.h"
#include "objects/ObjectDelete.h"
#include "widgets/SpinButton.h"

#include <QAction>
#include <QToolButton>

using namespace ToneTest;

namespace {

constexpr int CutoffPosition = 80;
constexpr int SpeedPosition = 106;

struct UndoApp : ToneApp {
    UndoApp() : ToneApp({{CutoffPosition, 10}, {SpeedPosition, 20}}) {}
    QAction *undo() { return find<QAction>("mnuUndo"); }
    QAction *redo() { return find<QAction>("mnuRedo"); }
    QString undoText() { return undo()->text(); }
    QString redoText() { return redo()->text(); }
    void cutoffTo40() { clearAndType(txt("txtDCF(4)"), "40"); }
};

} // namespace

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void twoEditsAreUndoneInOrderAndRedone()
    {
        UndoApp app;
        QVERIFY(!app.undo()->isEnabled() && !app.redo()->isEnabled());
        QCOMPARE(app.undoText(), QStringLiteral("&Undo"));
        app.cutoffTo40();
        app.clearAndType(app.txt("txtLFO(0)"), "30");
        QCOMPARE(app.heldByte(SpeedPosition), 30);
        QCOMPARE(app.undoText(), QStringLiteral("&Undo Tone t#3 LFO Speed"));

        // Each undo sends the Tone's image with the one field as it was, newest edit first.
        const struct { int position, restored, otherPosition, otherValue; const char *undoAfter, *redoAfter; } steps[] = {
            {SpeedPosition, 20, CutoffPosition, 40, "&Undo Tone t#3 DCF Cutoff", "&Redo Tone t#3 LFO Speed"},
            {CutoffPosition, 10, SpeedPosition, 20, "&Undo", "&Redo Tone t#3 DCF Cutoff"},
        };
        for (const auto &s : steps) {
            const QByteArray image = app.image();
            app.vsp->clearTraffic();
            app.undo()->trigger();
            QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(image, s.position, {s.restored >> 4, s.restored & 0x0F})});
            QCOMPARE(app.requests().last(), DumpRequest(KindTone, ShownTone)); // read back
            QCOMPARE(app.heldByte(s.position), s.restored);
            QCOMPARE(app.heldByte(s.otherPosition), s.otherValue);
            QCOMPARE(app.undoText(), QLatin1String(s.undoAfter));
            QCOMPARE(app.redoText(), QLatin1String(s.redoAfter));
        }
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("10"));
        QCOMPARE(app.txt("txtLFO(0)")->text(), QStringLiteral("20"));
        QVERIFY(!app.undo()->isEnabled() && app.redo()->isEnabled());

        // Redo sends the edit again, oldest first; the box shows what the SP holds.
        app.redo()->trigger();
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QCOMPARE(app.heldByte(SpeedPosition), 20);
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("40"));
        QCOMPARE(app.redoText(), QStringLiteral("&Redo Tone t#3 LFO Speed"));

        // A new edit ends what could be redone.
        app.showTab("Tone2");
        app.clearAndType(app.txt("txtDCA(1)"), "5");
        QCOMPARE(app.heldByte(74), 5);
        QVERIFY(!app.redo()->isEnabled());
        QCOMPARE(app.redoText(), QStringLiteral("&Redo"));
        QCOMPARE(app.undoText(), QStringLiteral("&Undo Tone t#3 DCA LFO Amt"));
        app.undo()->trigger();
        QCOMPARE(app.heldByte(74), 0);
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QVERIFY(app.notifier.messages.isEmpty());
    }

    // Tone 3 is read before its image is sent back: never Tone 7's image under Tone 3's number.
    void undoingAnEditOfAnotherToneShowsThatTone()
    {
        UndoApp app;
        app.cutoffTo40();
        app.clearAndType(app.box("txtObjectNum"), QStringLiteral("7"));
        QCOMPARE(app.session().objects.of(KindTone).Num, 7);
        const QByteArray otherTone = app.vsp->device().memory().of(Vsp::Tone)[7];
        app.vsp->clearTraffic();
        app.undo()->trigger();
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
        UndoApp app;
        app.cutoffTo40();
        app.vsp->injectFault({VirtualSpBackend::Fault::Status, 5});
        app.undo()->trigger();
        QCOMPARE(app.heldByte(CutoffPosition), 40);
        QVERIFY(app.undo()->isEnabled() && !app.redo()->isEnabled());
        QCOMPARE(app.undoText(), QStringLiteral("&Undo Tone t#3 DCF Cutoff"));
        QVERIFY2(app.notifier.texts().contains(
                     QStringLiteral("The SP did not take the undo of Tone t#3 DCF Cutoff; it can still be undone.")),
                 qPrintable(app.notifier.texts().join(QLatin1Char('|'))));
        QCOMPARE(app.txt("txtDCF(4)")->text(), QStringLiteral("40")); // what the SP still holds

        // Once the SP takes it, the same undo goes through.
        app.undo()->trigger();
        QCOMPARE(app.heldByte(CutoffPosition), 10);
        QVERIFY(!app.undo()->isEnabled() && app.redo()->isEnabled());
    }

    // The keys work from inside an edit box, where a line edit would otherwise take them.
    void ctrlZInABoxUndoesAndCtrlShiftZRedoes()
    {
        UndoApp app;
        QVERIFY(Activate(app.main()));
        QLineEdit *box = app.txt("txtDCF(4)");
        app.cutoffTo40();
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
        const struct { const char *tab; Vsp::Kind kind; int number; const char *was, *undoText; } cases[] = {
            {"Tone1", Vsp::Tone, 3, "Kick Tone     ", "&Undo Tone t#3 Name"},
            {"Map", Vsp::Map, 4, "Drum Map      ", "&Undo Map m#4 Name"},
        };
        UndoApp app;
        for (const auto &c : cases) {
            app.showTab(c.tab);
            app.clearAndType(app.box("txtObjectName"), QStringLiteral("Bass"));
            QCOMPARE(app.vsp->device().memory().find(c.kind, c.number)->mid(1, 14), QByteArray("Bass          "));
            QCOMPARE(app.undoText(), QLatin1String(c.undoText));
            app.undo()->trigger();
            QCOMPARE(app.vsp->device().memory().find(c.kind, c.number)->mid(1, 14), QByteArray(c.was));
            QCOMPARE(app.box("txtObjectName")->text(), QLatin1String(c.was).trimmed());
        }
        QVERIFY(app.notifier.messages.isEmpty());
    }

    // The Edit menu names an edit of every kind as its tab names the parameter, options included;
    // a Preset group's priority by the group chosen.
    void editsOfEveryKindAreNamedAsTheirTabsNameThem()
    {
        const struct {
            const char *tab, *control;
            const char *typed; // nullptr: an option clicked, or a spin stepped up
            const char *undoText;
        } cases[] = {
            {"Preset1", "txtPreset(0)", "12", "&Undo Preset p#0 Layer Detune"},
            {"Preset1", "optPreset(5)", nullptr, "&Undo Preset p#0 Allocation Group 0 Overflow"},
            {"Preset1", "spnPreset(5)", nullptr, "&Undo Preset p#0 Allocation Group 0 Overflow"}, // only chooses group 1
            {"Preset1", "spnPreset(5)", nullptr, "&Undo Preset p#0 Allocation Group 0 Overflow"}, // and group 2
            {"Preset1", "optPreset(1)", nullptr, "&Undo Preset p#0 Allocation Group 2 Priority"},
            {"Preset2", "txtPreset(18)", "20", "&Undo Preset p#0 Layer A Volume"},
            {"Preset2", "optPreset(8)", nullptr, "&Undo Preset p#0 Layer A Output"},
            {"Global", "txtGlobal(5)", "30", "&Undo Multi mu#0 Channel 0 Volume"},
            {"Global", "optGlobal(7)", nullptr, "&Undo Multi mu#0 Channel 0 Multi Enable"},
            {"Map", "optMap(1)", nullptr, "&Undo Map m#4 Zone 0 Output"},
            {"Tone1", "optToneModMode(13)", nullptr, "&Undo Tone t#3 DCO LFO Polarity"},
            {"Wave", "optLoopEnb", nullptr, "&Undo Wave w#2 Loop"},
        };
        ToneApp app;
        for (const auto &c : cases) {
            app.showTab(c.tab);
            if (c.typed)
                app.clearAndType(app.txt(QLatin1String(c.control)), QLatin1String(c.typed));
            else if (auto *spin = app.find<SpinButton>(QLatin1String(c.control)))
                QTest::mouseClick(spin->findChild<QToolButton *>("up"), Qt::LeftButton);
            else
                app.find<QRadioButton>(QLatin1String(c.control))->click();
            QVERIFY2(app.notifier.messages.isEmpty(), c.control);
            QCOMPARE(app.find<QAction>("mnuUndo")->text(), QLatin1String(c.undoText));
        }
    }

    // After the memory changed under them, old edits would land on other objects.
    void aChangedMemoryForgetsTheEdits()
    {
        UndoApp app;
        app.cutoffTo40();
        QVERIFY(app.undo()->isEnabled());
        const auto outcome = MemoryCommand::Run(app.main()->services(), app.session(),
                                                {QStringLiteral("Delete Wave"), QStringLiteral("Deleting"),
                                                 *ObjectDelete::Command(ObjectDelete::Scope::Current, KindWave, 9)});
        QCOMPARE(outcome, MemoryCommand::Outcome::Done);
        QVERIFY(!app.undo()->isEnabled());
        QCOMPARE(app.undoText(), QStringLiteral("&Undo"));
        QCOMPARE(app.heldByte(CutoffPosition), 40);
    }

    void globalEditsAreUndoneByTheirOwnAddress()
    {
        UndoApp app;
        app.showTab("Global");
        auto *volume = app.box("txtGlobal(7)");
        auto *tune = app.box("txtGlobal(9)");
        app.clearAndType(volume, QStringLiteral("90"));
        app.clearAndType(tune, QStringLiteral("1.5"));
        const auto &global = app.vsp->device().memory().global;
        QCOMPARE(global.omniPolyVolume, 90);
        QCOMPARE(global.masterTune, 150);
        QCOMPARE(app.undoText(), QStringLiteral("&Undo Global Master Tune"));
        app.undo()->trigger();
        QCOMPARE(global.masterTune, -250);
        QCOMPARE(tune->text(), QStringLiteral("-2.5"));
        QCOMPARE(app.undoText(), QStringLiteral("&Undo Global Omni/Poly Volume"));
        app.vsp->clearTraffic();
        app.undo()->trigger();
        QCOMPARE(app.requests().first(), Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03, 0x04, 0x01, 100, 0xF7}));
        QCOMPARE(global.omniPolyVolume, 100);
        QCOMPARE(volume->text(), QStringLiteral("100"));
        app.redo()->trigger();
        QCOMPARE(global.omniPolyVolume, 90);
        QVERIFY(app.notifier.messages.isEmpty());
    }

    // A Map zone's edit is undone on the zone found again by a note the edit left inside it,
    // whichever zone is shown by then, and sent with the zone rules of an edit.
    void aZoneEditIsUndoneOnItsZoneWhicheverZoneIsShown()
    {
        using namespace MapTest;
        struct Case {
            const char *what;
            int box;
            const char *typed;
            int field;
            int edited;
            int original;
            int note; // the note the zone is found by: the low note unless the low note changes
            int position;
            const char *undoText;
        };
        const Case cases[] = {
            {"low note", 3, "45", Vsp::ZoneField::LowNote, 45, 50, 60, 24, "&Undo Map m#4 Zone Low note"},
            {"volume", 7, "33", Vsp::ZoneField::Volume, 33, 80, 50, 30, "&Undo Map m#4 Zone Volume"},
        };
        for (const Case &c : cases) {
            MapApp app;
            app.selectZone(2);
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            QCOMPARE(app.heldByte(2, c.field), c.edited);
            auto *undo = app.find<QAction>("mnuUndo");
            QCOMPARE(undo->text(), QLatin1String(c.undoText));
            const QByteArray zoneAfterEdit = app.zoneImage(2);
            app.selectZone(0);

            undo->trigger();
            QList<QByteArray> uploads;
            for (const QByteArray &m : app.requests()) {
                if (m.size() == ZoneUploadLength)
                    uploads << m;
            }
            QVERIFY2(uploads.size() == 1, c.what);
            QCOMPARE(uploads.first(), ZoneUpload(c.note, zoneAfterEdit, c.position, c.original));
            QCOMPARE(app.heldByte(2, c.field), c.original);
            QCOMPARE(app.heldByte(0, Vsp::ZoneField::LowNote), 10); // the zone shown was not touched
            QCOMPARE(app.heldByte(0, c.field), FourZones[0].*(c.field == Vsp::ZoneField::LowNote ? &ZoneSetting::low : &ZoneSetting::volume));
            QCOMPARE(app.txt(c.box)->text(), QString::number(c.original)); // the undone zone is shown
            QVERIFY2(app.notifier.messages.isEmpty(), c.what);

            app.find<QAction>("mnuRedo")->trigger();
            QCOMPARE(app.heldByte(2, c.field), c.edited);
        }
    }
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
