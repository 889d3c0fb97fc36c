// The library window as a user drives it against a Virtual SP: snapshots from File > Snapshot
// SP, the timeline, search as one types, tags and notes, compare and a verified restore, and
// backups dropped on it.
#include "AppKit.h"
#include "VspApp.h"
#include "app/frmCompare.h"
#include "app/frmLibrary.h"
#include "app/frmLibrarySend.h"
#include "app/LibraryMenus.h"
#include "vsp/SpBackupFile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QStringList Rows(const QTreeWidget *tree)
{
    QStringList rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < tree->columnCount(); ++c)
            cells << tree->topLevelItem(i)->text(c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

struct LibraryApp : VspApp {
    frmLibrary *open()
    {
        find<QAction>("mnuLibrary")->trigger();
        return LibraryMenus::Window(*main(), false);
    }
    template <typename T>
    T *control(const char *name) { return LibraryMenus::Window(*main(), false)->findChild<T *>(QLatin1String(name)); }
    void click(const char *name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    QStringList snapshotRows()
    {
        QStringList rows;
        for (const QString &row : Rows(control<QTreeWidget>("lstSnapshots")))
            rows << row.section(QLatin1Char('|'), 0, 0) + QLatin1Char('|') + row.section(QLatin1Char('|'), 2);
        return rows; // without the time taken
    }
    void selectSnapshots(std::initializer_list<int> rows)
    {
        auto *list = control<QTreeWidget>("lstSnapshots");
        list->clearSelection();
        for (int row : rows)
            list->topLevelItem(row)->setSelected(true);
    }
};

Vsp::SpMemory WithRimshot()
{
    Vsp::SpMemory m = VspApp::StandardMemory();
    Vsp::SetName(m.of(Vsp::Tone)[7], "Rimshot Tone");
    m.of(Vsp::Preset).erase(1);
    return m;
}

// Every level of both layers plays `map`.
void SetPresetMaps(QByteArray &preset, int map)
{
    for (int layerB : {0, 192}) {
        for (int level = 0; level < 4; ++level)
            SpRecords::SetAt(preset, 152 + layerB + 2 * level, map);
    }
}

// The standard memory with its references filled in: Preset 1 plays Map 4 at every level of both
// layers, Map 4's zones play Tones 3 and 7, and those play Waves 2 and 5.
Vsp::SpMemory Referring()
{
    Vsp::SpMemory m = VspApp::StandardMemory();
    SpRecords::SetAt(m.of(Vsp::Tone)[3], 50, 2);
    SpRecords::SetAt(m.of(Vsp::Tone)[7], 50, 5);
    for (int zone : {0, 1})
        m.of(Vsp::Map)[4][Vsp::MapZonesOffset + Vsp::MapZoneBytes * zone + Vsp::ZoneField::Tone] = static_cast<char>(zone ? 7 : 3);
    SetPresetMaps(m.of(Vsp::Preset)[1], 4);
    return m;
}

} // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void snapshotsSearchCompareAndRestore()
    {
        LibraryApp app;
        app.start();
        QVERIFY(app.open());
        QCOMPARE(app.find<QAction>("mnuLibrary")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));

        app.notifier.textAnswer = QStringLiteral("as it came");
        app.click("cmdLibrarySnapshot");
        QCOMPARE(app.notifier.shown().last(), QStringLiteral("Snapshot SP: Snapshot 1 keeps 10 objects and the Global settings."));
        app.vsp->device().setMemory(WithRimshot());
        app.notifier.textAnswer = QString();
        app.find<QAction>("mnuSnapshot")->trigger();
        QCOMPARE(app.snapshotRows(), (QStringList{"1|as it came|10", "2|SP|9"}));

        // Results as the user types, narrowed by kind and snapshot.
        auto *search = app.control<QLineEdit>("txtLibrarySearch");
        auto *results = app.control<QTreeWidget>("trvLibraryObjects");
        QTest::keyClicks(search, "tone");
        QCOMPARE(Rows(results), (QStringList{"Tone|3|Kick Tone|1, 2", "Tone|7|Snare Tone|1", "Tone|7|Rimshot Tone|2",
                                             "Tone|12|Hat Tone|1, 2"}));
        search->clear();
        QTest::keyClicks(search, "rim");
        QCOMPARE(Rows(results), QStringList{"Tone|7|Rimshot Tone|2"});
        search->clear();
        auto *snapshot = app.control<QComboBox>("cboLibrarySnapshot");
        snapshot->setCurrentIndex(snapshot->findData(qint64(2)));
        app.control<QComboBox>("cboLibraryKind")->setCurrentIndex(app.control<QComboBox>("cboLibraryKind")->findData(KindPreset));
        QCOMPARE(Rows(results), QStringList{"Preset|0|Drum Kit|1, 2"});

        // Tags and a note on the object, found by search afterwards. The two Presets hold the
        // same bytes, so they are one object under two numbers and names, and both carry them.
        results->setCurrentItem(results->topLevelItem(0));
        QTest::keyClicks(app.control<QLineEdit>("txtLibraryTags"), "live, kit");
        QTest::keyClicks(app.control<QLineEdit>("txtLibraryNote"), "used on tour");
        app.click("cmdLibraryKeep");
        snapshot->setCurrentIndex(0);
        app.control<QComboBox>("cboLibraryKind")->setCurrentIndex(0);
        QTest::keyClicks(search, "tour");
        const QStringList tagged = {"Preset|0|Drum Kit|1, 2", "Preset|1|Second Kit|1"};
        QCOMPARE(Rows(results), tagged);
        search->clear();
        QTest::keyClicks(search, "LIVE");
        QCOMPARE(Rows(results), tagged);

        // Two snapshots with each other, then one with the SP.
        app.selectSnapshots({0, 1});
        app.click("cmdLibraryCompare");
        auto *compare = app.open()->findChild<frmCompare *>();
        QVERIFY(compare);
        QVERIFY2(compare->findChild<QLabel *>("lblCompare")->text().endsWith("between Snapshot 1 and Snapshot 2."),
                 qPrintable(compare->findChild<QLabel *>("lblCompare")->text()));
        QPointer<frmCompare> closed(compare);
        compare->close();
        QTRY_VERIFY(closed.isNull());
        app.selectSnapshots({1});
        app.click("cmdLibraryCompare");
        QTRY_VERIFY(app.open()->findChild<frmCompare *>());
        QCOMPARE(app.open()->findChild<frmCompare *>()->findChild<QLabel *>("lblCompare")->text(),
                 QStringLiteral("Snapshot 2 and SP hold the same."));

        // The first snapshot back on the SP, read back to check.
        app.selectSnapshots({0});
        app.notifier.messages.clear();
        app.click("cmdLibraryRestore");
        QCOMPARE(app.vsp->device().memory(), VspApp::StandardMemory());
        QVERIFY2(app.notifier.texts().last().endsWith("Read back from the SP: everything sent is there."),
                 qPrintable(app.notifier.texts().join('\n')));
        QCOMPARE(app.notifier.messages.first().heading, QStringLiteral("Restore Snapshot"));
        QVERIFY(app.notifier.messages.first().text.contains(QStringLiteral("t# 7 Snare Tone")));
    }

    void aRestoreDeclinedSendsNothing()
    {
        LibraryApp app;
        app.start();
        app.open();
        app.click("cmdLibrarySnapshot");
        app.vsp->device().setMemory(WithRimshot());
        app.selectSnapshots({0});
        app.notifier.answer = false;
        app.vsp->clearTraffic();
        app.click("cmdLibraryRestore");
        QCOMPARE(app.vsp->device().memory(), WithRimshot());
        for (const QByteArray &request : app.requests())
            QVERIFY(request.size() < 100); // only requests, no dumps
    }

    void whileOfflineNothingIsReadAndASnapshotNoteCanBeCancelled()
    {
        LibraryApp app;
        app.startOffline();
        app.open();
        app.click("cmdLibrarySnapshot");
        QCOMPARE(app.notifier.shown().last(), QStringLiteral("Snapshot SP: The SP is offline: nothing was read or sent."));
        QVERIFY(app.snapshotRows().isEmpty());
    }

    // The SP lacks the Map a Preset plays, and a Wave one of the Map's Tones plays: the Map is
    // offered and goes with the Preset, first to a free number with the Preset's references
    // changed, then to its own; the Wave is named as one that cannot be sent.
    void aPresetIsSentWithTheMapTheSpLacks()
    {
        LibraryApp app;
        app.start(Referring());
        app.open();
        app.click("cmdLibrarySnapshot");
        Vsp::SpMemory sp = Referring();
        sp.of(Vsp::Map).erase(4);
        sp.of(Vsp::Wave).erase(5);
        app.vsp->device().setMemory(sp);

        QTest::keyClicks(app.control<QLineEdit>("txtLibrarySearch"), "second");
        auto *results = app.control<QTreeWidget>("trvLibraryObjects");
        const auto send = [&](int target, const char *option) {
            QTRY_VERIFY(!app.open()->findChild<frmLibrarySend *>()); // the last one is gone
            results->setCurrentItem(results->topLevelItem(0));
            app.click("cmdLibrarySend");
            auto *question = app.open()->findChild<frmLibrarySend *>();
            QVERIFY2(question && question->isVisible(), qPrintable(app.notifier.texts().join(QLatin1Char(10))));
            QCOMPARE(question->findChild<QListWidget *>("lstSendNeeds")->count(), 5);
            QCOMPARE(question->findChild<QListWidget *>("lstSendNeeds")->item(0)->text(), QStringLiteral("w# 2 Kick: the SP holds it as it is"));
            QCOMPARE(question->findChild<QListWidget *>("lstSendNeeds")->item(1)->text(), QStringLiteral("w# 5 Snare: the SP lacks it"));
            QCOMPARE(question->findChild<QListWidget *>("lstSendNeeds")->item(4)->text(), QStringLiteral("m# 4 Drum Map: the SP lacks it"));
            QVERIFY(question->findChild<QLabel *>("lblSendWaves")->text().contains("A Wave the SP lacks cannot be sent"));
            question->findChild<QSpinBox *>("spnSendNumber")->setValue(target);
            QCOMPARE(question->findChild<QLabel *>("lblSendReplaces")->text(), QStringLiteral("The SP holds nothing at that number."));
            question->findChild<QRadioButton *>(option)->setChecked(true);
            app.notifier.messages.clear();
            QTest::mouseClick(question->findChild<QPushButton *>("cmdSendGo"), Qt::LeftButton);
            QVERIFY2(app.notifier.texts().value(0).endsWith("Read back from the SP: everything sent is there."),
                     qPrintable(app.notifier.texts().join('\n')));
        };
        Vsp::SpMemory expected = sp;
        expected.of(Vsp::Map)[0] = Referring().of(Vsp::Map)[4];
        expected.of(Vsp::Preset)[3] = Referring().of(Vsp::Preset)[1];
        SetPresetMaps(expected.of(Vsp::Preset)[3], 0);
        send(3, "optSendFreeNumbers");
        QCOMPARE(app.vsp->device().memory(), expected);

        expected.of(Vsp::Map)[4] = Referring().of(Vsp::Map)[4];
        expected.of(Vsp::Preset)[6] = Referring().of(Vsp::Preset)[1];
        send(6, "optSendSameNumbers");
        QCOMPARE(app.vsp->device().memory(), expected);
    }

    // Several results chosen go back to their own numbers in one go, after one question.
    void chosenObjectsAreRestoredAtTheirOwnNumbers()
    {
        LibraryApp app;
        app.start(Referring());
        app.open();
        app.click("cmdLibrarySnapshot");
        Vsp::SpMemory sp = Referring();
        Vsp::SetName(sp.of(Vsp::Tone)[3], "Renamed");
        sp.of(Vsp::Tone).erase(12);
        sp.of(Vsp::Preset).erase(0);
        app.vsp->device().setMemory(sp);

        QTest::keyClicks(app.control<QLineEdit>("txtLibrarySearch"), "tone");
        auto *results = app.control<QTreeWidget>("trvLibraryObjects");
        QCOMPARE(Rows(results), (QStringList{"Tone|3|Kick Tone|1", "Tone|7|Snare Tone|1", "Tone|12|Hat Tone|1"}));
        results->topLevelItem(0)->setSelected(true);
        results->topLevelItem(2)->setSelected(true);
        app.notifier.messages.clear();
        app.click("cmdLibrarySend");
        QCOMPARE(app.notifier.messages.value(0).text, QStringLiteral("Send these to the SP at their own numbers, replacing what "
                                                                     "it holds there?\nt# 3 Kick Tone\nt# 12 Hat Tone"));
        QVERIFY2(app.notifier.texts().last().endsWith("Read back from the SP: everything sent is there."),
                 qPrintable(app.notifier.texts().join('\n')));
        Vsp::SpMemory expected = Referring();
        expected.of(Vsp::Preset).erase(0);
        QCOMPARE(app.vsp->device().memory(), expected);
    }

    void droppedBackupsAreImportedAndAForeignFileNamed()
    {
        LibraryApp app;
        app.start();
        frmLibrary *window = app.open();
        QString error;
        QVERIFY(Vsp::SaveBackup(VspApp::StandardMemory(), app.file("kit.syx"), &error));
        QVERIFY(WriteBytes(app.file("song.mid"), "MThd"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(app.file("kit.syx")), QUrl::fromLocalFile(app.file("song.mid"))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: without a drag in progress the application would not pass it on.
        static_cast<QObject *>(window)->event(&drop);
        QCOMPARE(app.snapshotRows(), QStringList{"1|kit.syx|10"});
        QVERIFY2(window->status().startsWith("Imported 1 backup file.\n"), qPrintable(window->status()));
        QVERIFY2(window->status().contains("song.mid is not an SP backup: "), qPrintable(window->status()));
    }
};

QTEST_MAIN(LibraryWindowTest)
#include "LibraryWindowTest.moc"
