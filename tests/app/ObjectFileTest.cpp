// One object to and from a .syx file, as a user does it: export writes the dump the SP sent,
// import replaces the Tone shown after the user agrees (by menu routine or by dropping the
// file on the window), and files of another kind or damaged ones are refused with nothing sent.
#include "../editors/ToneApp.h"

#include "app/ObjectTransfer.h"
#include "app/frmCompare.h"
#include "objects/Backup.h"
#include "device/NibbleCodec.h"
#include "vsp/SpBackupFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace ToneTest;

constexpr int GlobalTab = 7;

namespace {

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void ShowTone(ToneApp &app, int number)
{
    app.clear(app.box("txtObjectNum"));
    app.type(app.box("txtObjectNum"), QString::number(number));
    QCOMPARE(app.session().objects.of(KindTone).Num, number);
}

// Exports Tone 7 ("Snare Tone") and comes back to Tone 3.
QString ExportSnare(ToneApp &app, const QTemporaryDir &dir)
{
    ShowTone(app, 7);
    const QString path = dir.filePath(QStringLiteral("snare.syx"));
    app.main()->transfer().ExportObject(KindTone, path);
    ShowTone(app, ShownTone);
    app.vsp->clearTraffic();
    app.notifier.messages.clear();
    return path;
}

QList<QByteArray> Uploads(ToneApp &app)
{
    return app.uploads();
}

} // namespace

class ObjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void exportWritesTheDumpAsTheSpSentIt()
    {
        ToneApp app;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kick.syx"));
        QVERIFY(app.find<QAction>("mnuExportObject"));
        QCOMPARE(app.find<QAction>("mnuExportObject")->text(), QStringLiteral("&Export Object..."));
        QCOMPARE(app.find<QAction>("mnuImportObject")->text(), QStringLiteral("&Import Object..."));
        QVERIFY(app.main()->transfer().ExportObject(KindTone, path));
        const QByteArray written = ReadFile(path);
        QCOMPARE(written, app.image());
        QCOMPARE(written.size(), DumpLength);
        QCOMPARE(NibbleCodec::ReadName(written, 20).trimmed(), QStringLiteral("Kick Tone"));
        QVERIFY(app.requests().isEmpty()); // nothing asked of the SP

        QVERIFY(!app.main()->transfer().ExportObject(KindTone, dir.filePath(QStringLiteral("no/such/dir/x.syx"))));
        QCOMPARE(app.notifier.messages.size(), 1);
        QVERIFY(app.notifier.messages.first().text.startsWith(QStringLiteral("Could not write x.syx")));
    }

    void importReplacesTheToneShownAfterAskingAndReadsItBack()
    {
        ToneApp app;
        QTemporaryDir dir;
        const QString path = ExportSnare(app, dir);
        const QByteArray snareHeld = app.vsp->device().memory().of(Vsp::Tone)[7];
        // Saved from an SP set to another device ID: it is sent with ours.
        QByteArray ours = ReadFile(path);
        QByteArray foreign = ours;
        foreign[6] = 0x10;
        QVERIFY(ours[6] != foreign[6]);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(foreign);
        }

        QVERIFY(app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.texts(),
                 QStringList{QStringLiteral("Replace Tone t#3 \"Kick Tone\" with \"Snare Tone\" from snare.syx?")});
        // The file's dump with Tone 3's number in it, then Tone 3 read back.
        QByteArray expected = ours;
        expected[16] = static_cast<char>(ShownTone);
        QCOMPARE(Uploads(app), QList<QByteArray>{expected});
        QCOMPARE(app.requests().last(), DumpRequest(KindTone, ShownTone));
        QCOMPARE(app.held(), snareHeld);
        QCOMPARE(app.vsp->device().memory().of(Vsp::Tone)[7], snareHeld);
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("3"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare Tone"));
    }

    void filesThatAreNoToneOrAreDamagedAreRefusedWithNothingSent()
    {
        ToneApp app;
        QTemporaryDir dir;
        const QString snare = ExportSnare(app, dir);
        const QByteArray tone = ReadFile(snare);
        app.showTab(0); // the Wave tab: export Wave 2
        const QString wavePath = dir.filePath(QStringLiteral("kick-wave.syx"));
        QVERIFY(app.main()->transfer().ExportObject(KindWave, wavePath));
        app.showTab(Tone1Tab);
        app.vsp->clearTraffic();
        app.notifier.messages.clear();

        QByteArray badNibble = tone;
        badNibble[40] = 0x10;
        QByteArray noEnd = tone;
        noEnd.chop(1);
        struct Case {
            const char *file;
            QByteArray bytes;
            QString said;
        };
        const QList<Case> cases = {
            {"kick-wave.syx", ReadFile(wavePath), "kick-wave.syx holds a Wave, not a Tone: it can only replace a Wave."},
            {"bad.syx", badNibble, "bad.syx is not an undamaged Tone dump: nothing was sent."},
            {"short.syx", noEnd, "short.syx is not an undamaged Tone dump: nothing was sent."},
            {"longer.syx", tone + tone, "longer.syx is not an undamaged Tone dump: nothing was sent."},
            {"empty.syx", QByteArray(), "empty.syx is not an undamaged Tone dump: nothing was sent."},
        };
        const QByteArray kick = app.held();
        for (const Case &c : cases) {
            const QString path = dir.filePath(QLatin1String(c.file));
            if (c.file != QLatin1String("kick-wave.syx"))
                WriteFile(path, c.bytes);
            app.notifier.messages.clear();
            QVERIFY2(!app.main()->ImportObjectFile(path), c.file);
            QCOMPARE(app.notifier.texts(), QStringList{c.said});
            QVERIFY2(app.requests().isEmpty(), c.file);
        }
        QVERIFY(!app.main()->ImportObjectFile(dir.filePath(QStringLiteral("missing.syx"))));
        QVERIFY(app.notifier.texts().last().startsWith(QStringLiteral("Could not read missing.syx")));

        // A "no" to the question sends nothing either.
        app.notifier.messages.clear();
        app.notifier.answer = false;
        QVERIFY(!app.main()->ImportObjectFile(snare));
        QCOMPARE(app.notifier.messages.size(), 1);
        QVERIFY(app.requests().isEmpty());
        QCOMPARE(app.held(), kick);
    }

    // The Global tab's file: its Multi and the seven Global answers, exactly as a backup holds
    // them. Imported, it replaces the Multi and sends each Global setting that differs from what
    // the SP holds now, as its edit would, after one question listing them.
    void theGlobalTabExportsAndImportsItsMultiAndTheGlobalSettings()
    {
        ToneApp app;
        app.showTab(GlobalTab);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("global.syx"));
        app.vsp->clearTraffic();
        QVERIFY(app.main()->transfer().ExportObject(KindMulti, path)); // the kind the Global tab shows
        const auto standard = Backup::Parse(Vsp::BackupOf(VspApp::StandardMemory())).contents;
        QVERIFY(standard);
        Backup::Contents expected;
        expected.global = standard->global;
        expected.objects = {*standard->find(KindMulti, 0)};
        QCOMPARE(ReadFile(path), Backup::Write(expected));
        QVERIFY(app.notifier.messages.isEmpty());

        // Changed behind the program's back, as from the front panel.
        Vsp::SpMemory changed = app.vsp->device().memory();
        changed.global.masterTune = 300;
        changed.global.omniPolyVolume = 10;
        Vsp::SetName(changed.of(Vsp::Multi)[0], "Other");
        app.vsp->device().setMemory(changed);

        // While the SP is busy nothing is read or sent, not even to compare.
        app.vsp->clearTraffic();
        app.session().exchange.setAwaitingResponse(true);
        QVERIFY(!app.main()->ImportObjectFile(path));
        app.session().exchange.setAwaitingResponse(false);
        QVERIFY(app.requests().isEmpty());
        QVERIFY(app.notifier.messages.isEmpty());
        QCOMPARE(app.panel(7), QStringLiteral("SP busy: wait for the current exchange to finish"));

        app.notifier.answer = false;
        app.vsp->clearTraffic();
        QVERIFY(!app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.texts(),
                 QStringList{QStringLiteral("Send the settings in global.syx to the SP?\n\n"
                                            "Replace Multi mu#0 \"Other\" with \"Band\".\n"
                                            "Omni/Poly Volume: 10 to 100\nMaster Tune: 3 to -2.5")});
        QCOMPARE(app.vsp->device().memory(), changed);

        app.notifier.answer = true;
        app.notifier.messages.clear();
        QVERIFY(app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.messages.size(), 1);
        QCOMPARE(app.vsp->device().memory(), VspApp::StandardMemory());
        // Sent as the Global tab's own edits: the volume's message, undoable, and shown.
        QVERIFY(app.requests().contains(Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03, 0x04, 0x01, 100, 0xF7})));
        QCOMPARE(app.find<QAction>("mnuUndo")->text(), QStringLiteral("&Undo Global Master Tune"));
        QCOMPARE(app.box("txtGlobal(7)")->text(), QStringLiteral("100"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Band"));

        // Nothing differs any more: said so, nothing sent.
        app.notifier.messages.clear();
        app.vsp->clearTraffic();
        QByteArray globalOnly = Backup::Write({{}, standard->global});
        WriteFile(path, globalOnly);
        QVERIFY(app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.texts(), QStringList{QStringLiteral("The SP already holds the settings in global.syx: nothing was sent.")});
        for (const QByteArray &request : app.requests())
            QVERIFY(!request.startsWith(Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03}))); // no edit
    }

    // A double-clicked file: an exported object goes to its kind's tab and is imported after the
    // question; a whole backup opens the compare with the SP.
    void aFileOpenedFromOutsideIsImportedOnItsTabOrComparedAsABackup()
    {
        ToneApp app;
        QTemporaryDir dir;
        const QString snare = ExportSnare(app, dir);
        app.showTab(6);
        app.notifier.messages.clear();
        app.main()->OpenSysExFile(snare);
        QCOMPARE(app.find<QTabWidget>("SPFEtab")->currentIndex(), 3);
        QCOMPARE(app.notifier.texts(),
                 QStringList{QStringLiteral("Replace Tone t#3 \"Kick Tone\" with \"Snare Tone\" from snare.syx?")});
        QCOMPARE(app.held(), app.vsp->device().memory().of(Vsp::Tone)[7]);

        const QString backup = dir.filePath(QStringLiteral("all.syx"));
        QString error;
        QVERIFY(Vsp::SaveBackup(app.vsp->device().memory(), backup, &error));
        app.vsp->clearTraffic();
        app.main()->OpenSysExFile(backup);
        bool compared = false;
        for (frmCompare *window : app.main()->findChildren<frmCompare *>())
            compared = compared || window->isVisible();
        QVERIFY(compared);
        QVERIFY(app.uploads().isEmpty());
    }

    void aSyxFileDroppedOnTheWindowIsImported()
    {
        ToneApp app;
        QTemporaryDir dir;
        const QString snare = ExportSnare(app, dir);
        WriteFile(dir.filePath(QStringLiteral("notes.txt")), "hello");

        struct Case {
            QList<QUrl> urls;
            bool accepted;
        };
        const QList<Case> cases = {
            {{QUrl::fromLocalFile(snare)}, true},
            {{QUrl::fromLocalFile(dir.filePath(QStringLiteral("notes.txt")))}, false},
            {{QUrl(QStringLiteral("https://example.org/snare.syx"))}, false},
            {{QUrl::fromLocalFile(snare), QUrl::fromLocalFile(snare)}, false},
        };
        for (const Case &c : cases) {
            QMimeData mime;
            mime.setUrls(c.urls);
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(app.main(), &enter);
            QCOMPARE(enter.isAccepted(), c.accepted);
        }
        QCOMPARE(app.held().mid(0, 10), app.vsp->device().memory().of(Vsp::Tone)[ShownTone].mid(0, 10));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(snare)});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app.main(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(app.notifier.texts(),
                 QStringList{QStringLiteral("Replace Tone t#3 \"Kick Tone\" with \"Snare Tone\" from snare.syx?")});
        QCOMPARE(app.held(), app.vsp->device().memory().of(Vsp::Tone)[7]);
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare Tone"));
    }
};

QTEST_MAIN(ObjectFileTest)
#include "ObjectFileTest.moc"
