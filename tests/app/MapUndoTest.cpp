// Undo of Map Zone edits: the zone is found again by a note the edit left inside it, whichever
// zone is shown by then, and sent with the zone rules of an edit.
#include "../editors/MapApp.h"

#include <QAction>
#include <QTest>

using namespace MapTest;

class MapUndoTest : public QObject {
    Q_OBJECT

private slots:
    void aZoneEditIsUndoneOnItsZoneWhicheverZoneIsShown()
    {
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

QTEST_MAIN(MapUndoTest)
#include "MapUndoTest.moc"
