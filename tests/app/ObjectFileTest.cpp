// One object to and from a .syx file, as a user does it: export writes the dump the SP sent,
// import replaces the Tone shown after the user agrees (by menu routine or by dropping the
// file on the window), and files of another kind or damaged ones are refused with nothing sent.
#include "../editors/ToneApp.h"

#include "AppKit.h"
#include "app/ObjectTransfer.h"
#include "app/frmCompare.h"
#include "objects/Backup.h"
#include "device/NibbleCodec.h"
#include "vsp/SpBackupFile.h"

#include <QAction>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

using namespace ToneTest;

namespace {

const QString ReplaceKick = QStringLiteral("Replace Tone t#3 \"Kick Tone\" with \"Snare Tone\" from snare.syx?");

// The program showing Tone 3, with Tone 7 ("Snare Tone") exported into `snare`.
struct FileApp : ToneApp {
    QTemporaryDir dir;
    const QString snare = dir.filePath(QStringLiteral("snare.syx"));
    FileApp()
    {
        showTone(7);
        main()->transfer().ExportObject(KindTone, snare);
        showTone(ShownTone);
        vsp->clearTraffic();
        notifier.messages.clear();
    }
    void showTone(int number)
    {
        clearAndType(box("txtObjectNum"), QString::number(number));
        QCOMPARE(session().objects.of(KindTone).Num, number);
    }
    QByteArray held(int tone) { return vsp->device().memory().of(Vsp::Tone)[tone]; }
    using ToneApp::held;
};

} // namespace

class ObjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void exportWritesTheDumpAsTheSpSentIt()
    {
        ToneApp app;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kick.syx"));
        QVERIFY(app.main()->transfer().ExportObject(KindTone, path));
        const QByteArray written = FileBytes(path);
        QCOMPARE(written, app.image());
        QCOMPARE(written.size(), DumpLength);
        QCOMPARE(NibbleCodec::ReadName(written, 20).trimmed(), QStringLiteral("Kick Tone"));
        QVERIFY(app.requests().isEmpty()); // nothing asked of the SP

        QVERIFY(!app.main()->transfer().ExportObject(KindTone, dir.filePath(QStringLiteral("no/such/dir/x.syx"))));
        QCOMPARE(app.notifier.messages.size(), 1);
        QVERIFY(app.notifier.messages.first().text.startsWith(QStringLiteral("Could not write x.syx")));
    }

    // Saved from an SP set to another device ID, the file is sent with ours and Tone 3's number.
    void importReplacesTheToneShownAfterAskingAndReadsItBack()
    {
        FileApp app;
        const QByteArray ours = FileBytes(app.snare);
        QVERIFY(WriteBytes(app.snare, QByteArray(ours).replace(6, 1, "\x10")));

        QVERIFY(app.main()->ImportObjectFile(app.snare));
        QCOMPARE(app.notifier.texts(), QStringList{ReplaceKick});
        QByteArray expected = ours;
        expected[16] = static_cast<char>(ShownTone);
        QCOMPARE(app.uploads(), QList<QByteArray>{expected});
        QCOMPARE(app.requests().last(), DumpRequest(KindTone, ShownTone)); // then read back
        QCOMPARE(app.held(), app.held(7));
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("3"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare Tone"));
    }

    void filesThatAreNoToneOrAreDamagedAreRefusedWithNothingSent()
    {
        FileApp app;
        const QByteArray tone = FileBytes(app.snare);
        const QString wave = app.dir.filePath(QStringLiteral("kick-wave.syx"));
        QVERIFY(app.main()->transfer().ExportObject(KindWave, wave));
        app.vsp->clearTraffic();
        const QString damaged = QStringLiteral(" is not an undamaged Tone dump: nothing was sent.");
        const struct { const char *file; QByteArray bytes; QString said; } cases[] = {
            {"kick-wave.syx", FileBytes(wave), "kick-wave.syx holds a Wave, not a Tone: it can only replace a Wave."},
            {"bad.syx", QByteArray(tone).replace(40, 1, "\x10"), "bad.syx" + damaged},
            {"short.syx", tone.chopped(1), "short.syx" + damaged},
            {"longer.syx", tone + tone, "longer.syx" + damaged},
            {"empty.syx", QByteArray(), "empty.syx" + damaged},
        };
        const QByteArray kick = app.held();
        for (const auto &c : cases) {
            const QString path = app.dir.filePath(QLatin1String(c.file));
            QVERIFY(WriteBytes(path, c.bytes));
            app.notifier.messages.clear();
            QVERIFY2(!app.main()->ImportObjectFile(path), c.file);
            QCOMPARE(app.notifier.texts(), QStringList{c.said});
            QVERIFY2(app.requests().isEmpty(), c.file);
        }
        QVERIFY(!app.main()->ImportObjectFile(app.dir.filePath(QStringLiteral("missing.syx"))));
        QVERIFY(app.notifier.texts().last().startsWith(QStringLiteral("Could not read missing.syx")));

        app.notifier.messages.clear();
        app.notifier.answer = false;
        QVERIFY(!app.main()->ImportObjectFile(app.snare));
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
        app.showTab("Global");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("global.syx"));
        QVERIFY(app.main()->transfer().ExportObject(KindMulti, path)); // the kind the Global tab shows
        const auto standard = Backup::Parse(Vsp::BackupOf(VspApp::StandardMemory())).contents;
        QVERIFY(standard);
        QCOMPARE(FileBytes(path), Backup::Write({{*standard->find(KindMulti, 0)}, standard->global}));
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
        QVERIFY(!app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.texts(), QStringList{QStringLiteral("Send the settings in global.syx to the SP?\n\n"
                                                                  "Replace Multi mu#0 \"Other\" with \"Band\".\n"
                                                                  "Omni/Poly Volume: 10 to 100\nMaster Tune: 3 to -2.5")});
        QCOMPARE(app.vsp->device().memory(), changed);

        // The SP refuses the Multi: the Global settings still go, as the Global tab's own edits
        // (the volume's message, undoable, and shown).
        app.notifier.answer = true;
        app.vsp->setFaultPlan(FaultOn([](const QByteArray &r) { return IsCommand(r, UploadCommand, Vsp::Multi); },
                                      {VirtualSpBackend::Fault::Status, 11}));
        QVERIFY(!app.main()->ImportObjectFile(path));
        app.vsp->setFaultPlan({});
        QCOMPARE(app.vsp->device().memory().global, VspApp::StandardMemory().global);
        QVERIFY(app.requests().contains(Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03, 0x04, 0x01, 100, 0xF7})));
        QCOMPARE(app.find<QAction>("mnuUndo")->text(), QStringLiteral("&Undo Global Master Tune"));
        QCOMPARE(app.box("txtGlobal(7)")->text(), QStringLiteral("100"));

        app.notifier.messages.clear();
        QVERIFY(app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.messages.size(), 1);
        QCOMPARE(app.vsp->device().memory(), VspApp::StandardMemory());
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Band"));

        // Nothing differs any more: said so, nothing sent.
        app.notifier.messages.clear();
        app.vsp->clearTraffic();
        QVERIFY(WriteBytes(path, Backup::Write({{}, standard->global})));
        QVERIFY(app.main()->ImportObjectFile(path));
        QCOMPARE(app.notifier.texts(), QStringList{QStringLiteral("The SP already holds the settings in global.syx: nothing was sent.")});
        for (const QByteArray &request : app.requests())
            QVERIFY(!request.startsWith(Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03}))); // no edit
    }

    // Only one local .syx file is taken; dropped, it is imported as from the menu.
    void aSyxFileDroppedOnTheWindowIsImported()
    {
        FileApp app;
        const QString notes = app.dir.filePath(QStringLiteral("notes.txt"));
        QVERIFY(WriteBytes(notes, "hello"));
        const QList<QPair<QList<QUrl>, bool>> cases = {
            {{QUrl::fromLocalFile(app.snare)}, true},
            {{QUrl::fromLocalFile(notes)}, false},
            {{QUrl(QStringLiteral("https://example.org/snare.syx"))}, false},
            {{QUrl::fromLocalFile(app.snare), QUrl::fromLocalFile(app.snare)}, false},
        };
        for (const auto &[urls, accepted] : cases) {
            QMimeData mime;
            mime.setUrls(urls);
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(app.main(), &enter);
            QCOMPARE(enter.isAccepted(), accepted);
        }
        QVERIFY(app.requests().isEmpty()); // a drag alone imports nothing
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(app.snare)});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app.main(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(app.notifier.texts(), QStringList{ReplaceKick});
        QCOMPARE(app.held(), app.held(7));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare Tone"));
    }

    // A double-clicked file: an exported object goes to its kind's tab and is imported after the
    // question; a whole backup opens the compare with the SP.
    void aFileOpenedFromOutsideIsImportedOnItsTabOrComparedAsABackup()
    {
        FileApp app;
        app.showTab("Wave");
        app.main()->OpenSysExFile(app.snare);
        QCOMPARE(app.find<QTabWidget>("SPFEtab")->currentIndex(), MainTabs::IndexOf("Tone1"));
        QCOMPARE(app.notifier.texts(), QStringList{ReplaceKick});
        QCOMPARE(app.held(), app.held(7));
        QString error;
        const QString backup = app.dir.filePath(QStringLiteral("all.syx"));
        QVERIFY(Vsp::SaveBackup(app.vsp->device().memory(), backup, &error));
        app.vsp->clearTraffic();
        app.main()->OpenSysExFile(backup);
        QVERIFY(ShownChild<frmCompare>(app.main()));
        QVERIFY(app.uploads().isEmpty());
    }
};

QTEST_MAIN(ObjectFileTest)
#include "ObjectFileTest.moc"
