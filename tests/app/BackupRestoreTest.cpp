// Backing up the SP and restoring it as a user does it, from the menus' commands and from the
// command line, against a Virtual SP: what the SP holds afterwards, what is sent and when nothing
// may be, the question before a restore, the report of what the SP refused, and the compare window.
#include "AppKit.h"
#include "app/BackupCommand.h"
#include "app/frmCompare.h"
#include "app/frmProgress.h"
#include "vsp/SpBackupFile.h"
#include "vsp/SpMemoryFile.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using Fault = VirtualSpBackend::Fault;
using BackupCommand::Result;

// The standard memory as a user changed it after the backup: a Tone edited, a Map zone moved, a
// Preset lost, the Global volume turned down.
Vsp::SpMemory ChangedAfterBackup()
{
    Vsp::SpMemory m = VspApp::StandardMemory();
    SpRecords::SetAt(m.of(Vsp::Tone)[7], 80, 40);
    m.of(Vsp::Map)[4][Vsp::MapZonesOffset + Vsp::MapZoneBytes + Vsp::ZoneField::Volume] = 90;
    m.of(Vsp::Preset).erase(1);
    m.global.omniPolyVolume = 10;
    return m;
}

} // namespace

class BackupRestoreTest : public QObject {
    Q_OBJECT

private:
    VspApp app;
    QString path; // the backup of the standard memory

    BackupCommand::Outcome restore(const QString &file) { return BackupCommand::Restore(app.main()->services(), app.session(), file); }
    void backUpAndChangeTo(const Vsp::SpMemory &now)
    {
        QCOMPARE(BackupCommand::Backup(app.main()->services(), app.session(), path).result, Result::Done);
        app.vsp->device().setMemory(now);
        app.vsp->clearTraffic();
    }
    QList<QByteArray> uploads() const { return Commands(app, UploadCommand); }

private slots:
    void init()
    {
        app.notifier.messages.clear();
        app.notifier.answer = true;
        QCOMPARE(app.start(), LinkStartup::Outcome::Online);
        path = app.file(QStringLiteral("full.syx"));
    }

    void backupChangeRestoreGivesTheSameMemoryBack()
    {
        backUpAndChangeTo(ChangedAfterBackup());
        QCOMPARE(FileBytes(path), Vsp::BackupOf(VspApp::StandardMemory()));
        app.notifier.answer = false;
        QCOMPARE(restore(path).result, Result::Declined);
        QVERIFY(uploads().isEmpty());
        QCOMPARE(app.vsp->device().memory(), ChangedAfterBackup());
        app.notifier.answer = true;
        app.notifier.messages.clear();
        const BackupCommand::Outcome restored = restore(path);
        QCOMPARE(restored.result, Result::Done);
        QCOMPARE(app.vsp->device().memory(), VspApp::StandardMemory());
        QVERIFY2(restored.text.contains(QStringLiteral("Sent 10 of 10 messages")), qPrintable(restored.text));

        QCOMPARE(app.notifier.messages.size(), 1);
        const QString summary = app.notifier.messages.at(0).text;
        QVERIFY2(summary.contains(QStringLiteral("Changed on the SP (2): t# 7 Snare Tone, m# 4 Drum Map")), qPrintable(summary));
        QVERIFY(summary.contains(QStringLiteral("Not on the SP (1): p# 1 Second Kit")));
        QVERIFY(summary.contains(QStringLiteral("The Global settings differ.")));
        QVERIFY(!summary.contains(QStringLiteral("w#")));

        const QList<QByteArray> all = app.requests();
        const QList<QByteArray> afterUploads = all.mid(all.lastIndexOf(uploads().last()) + 1);
        for (int kind = 0; kind < 5; ++kind)
            QVERIFY2(afterUploads.contains(Wire({0xF0, 0, 0, 0x1B, 2, 5, 0x7F, 0x12, 1, 1, kind, 0xF7})), qPrintable(QString::number(kind)));
    }

    // Which files are refused is the backup reader's; here, that the SP is not even asked.
    void aDamagedFileIsRefusedBeforeAnythingIsSent()
    {
        QVERIFY(WriteBytes(path, Vsp::BackupOf(VspApp::StandardMemory()).chopped(30)));
        app.vsp->clearTraffic();
        const BackupCommand::Outcome outcome = restore(path);
        QCOMPARE(outcome.result, Result::Failed);
        QVERIFY2(outcome.text.contains(QStringLiteral("is cut short")), qPrintable(outcome.text));
        QVERIFY(outcome.text.contains(QStringLiteral("Nothing was sent to the SP.")));
        QVERIFY(app.vsp->traffic().isEmpty());
    }

    // Wave 9's samples cannot come back: it is skipped, and said so in the question and the report.
    void aWaveTheSpLostIsSkippedAndTheRestSent()
    {
        Vsp::SpMemory bare;
        bare.of(Vsp::Wave)[2] = VspApp::StandardMemory().of(Vsp::Wave)[2];
        bare.of(Vsp::Wave)[5] = VspApp::StandardMemory().of(Vsp::Wave)[5];
        bare.global = VspApp::StandardMemory().global;
        backUpAndChangeTo(bare);
        const BackupCommand::Outcome outcome = restore(path);
        QVERIFY2(outcome.text.contains(QStringLiteral("Skipped: w# 9 Hat")), qPrintable(outcome.text));
        QVERIFY(app.notifier.messages.at(0).text.contains(QStringLiteral("(1): w# 9 Hat")));
        Vsp::SpMemory expected = VspApp::StandardMemory();
        expected.of(Vsp::Wave).erase(9);
        QCOMPARE(app.vsp->device().memory(), expected);
    }

    void whatTheSpRefusesIsReportedWithItsStatusText()
    {
        backUpAndChangeTo(ChangedAfterBackup());
        app.vsp->setFaultPlan([](const QByteArray &request) {
            return IsCommand(request, UploadCommand, Vsp::Tone) ? Fault{Fault::Status, 11} : Fault{};
        });
        const BackupCommand::Outcome outcome = restore(path);
        app.vsp->setFaultPlan({});
        QCOMPARE(outcome.result, Result::Failed);
        QVERIFY2(outcome.text.contains(QStringLiteral("Refused: t# 7 Snare Tone: SP illegal data value encountered (11)")),
                 qPrintable(outcome.text));
        QVERIFY(app.vsp->device().memory().find(Vsp::Preset, 1));
        // The refusals are in the report alone: no box for each, only the question before.
        QCOMPARE(app.notifier.messages.size(), 1);
        QVERIFY(app.notifier.messages.at(0).text.contains(QStringLiteral("Send the changed and missing objects")));
    }

    void cancellingABackupWritesNothing()
    {
        path = app.file(QStringLiteral("cancelled.syx"));
        app.vsp->clearTraffic();
        frmProgress &progress = app.main()->progress();
        app.vsp->setFaultPlan([&](const QByteArray &request) {
            // The user presses Cancel while the Tones are being read.
            if (IsCommand(request, DumpCommand, Vsp::Tone))
                QMetaObject::invokeMethod(&progress, [&progress] { progress.findChild<QPushButton *>("cmdCancel")->click(); },
                                          Qt::QueuedConnection);
            return Fault{};
        });
        const BackupCommand::Outcome outcome = BackupCommand::Backup(app.main()->services(), app.session(), path);
        app.vsp->setFaultPlan({});
        QCOMPARE(outcome.result, Result::Cancelled);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!progress.isVisible());
        QVERIFY(Commands(app, DumpCommand, Vsp::Preset).isEmpty());
    }

    void theVirtualSpLoadsABackupAsItsMemoryAndSavesItsMemoryAsOne()
    {
        emit app.find<QMenu>(QStringLiteral("mnuTools"))->aboutToShow();
        QVERIFY(app.find<QAction>(QStringLiteral("mnuVspLoadBackup"))->isVisible());
        QVERIFY(app.find<QAction>(QStringLiteral("mnuVspSaveBackup"))->isVisible());
        QString error;
        QVERIFY(Vsp::SaveBackup(ChangedAfterBackup(), path, &error));
        QCOMPARE(BackupCommand::VspLoadBackup(app.main()->services(), app.session(), path).result, Result::Done);
        QCOMPARE(app.vsp->device().memory(), ChangedAfterBackup());
        const QString saved = app.file(QStringLiteral("vsp-saved.syx"));
        QCOMPARE(BackupCommand::VspSaveBackup(app.session(), saved).result, Result::Done);
        QCOMPARE(FileBytes(saved), FileBytes(path));
    }

    void theCompareWindowShowsEachDifferingParameterByName()
    {
        backUpAndChangeTo(ChangedAfterBackup());
        frmCompare *window = BackupCommand::ShowCompare(app.main()->services(), app.session(), {path});
        QVERIFY(window);
        QStringList rows;
        QTreeWidget *tree = window->tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem *object = tree->topLevelItem(i);
            if (object->childCount() == 0)
                rows << object->text(0) + " | " + object->text(1) + " | " + object->text(2);
            for (int j = 0; j < object->childCount(); ++j)
                rows << object->text(0) + " / " + object->child(j)->text(0) + " | " + object->child(j)->text(1) + " | "
                            + object->child(j)->text(2);
        }
        QCOMPARE(rows, QStringList({"t# 7 Snare Tone / DCF Cutoff | 0 | 40", "m# 4 Drum Map / Zone 1 Volume | 80 | 90",
                                    "p# 1 Second Kit | Second Kit | -", "Global / Omni/Poly Volume | 100 | 10"}));
        QCOMPARE(tree->headerItem()->text(1), QStringLiteral("full.syx"));
        QCOMPARE(tree->headerItem()->text(2), QStringLiteral("SP"));
        window->close();

        const QString later = app.file(QStringLiteral("later.syx"));
        QString error;
        QVERIFY(Vsp::SaveBackup(ChangedAfterBackup(), later, &error));
        window = BackupCommand::ShowCompare(app.main()->services(), app.session(), {path, later});
        QVERIFY(window);
        QCOMPARE(window->tree()->headerItem()->text(1), QStringLiteral("full.syx"));
        QCOMPARE(window->tree()->headerItem()->text(2), QStringLiteral("later.syx"));
        QCOMPARE(window->tree()->topLevelItemCount(), 4);
        window->close();
    }

    void theCommandLineBacksUpAndRestoresWithItsExitCodes()
    {
        QTemporaryDir home;
        const QString memoryFile = home.filePath(QStringLiteral("data/Talvern Systems/Korvane/virtual-sp-memory.json"));
        QString error;
        QVERIFY(Vsp::SaveMemory(VspApp::StandardMemory(), memoryFile, &error));
        const auto run = [&](const QStringList &arguments) {
            const ProgramRun r = RunProgram(QStringLiteral(KORVANE_EXE), arguments, home,
                                            {{QStringLiteral("KORVANE_DATA_DIR"), QFileInfo(memoryFile).path()}});
            return std::pair{r.exitCode, QString::fromLocal8Bit(r.output)};
        };
        const QString file = home.filePath(QStringLiteral("cli.syx"));
        auto [code, out] = run({QStringLiteral("--backup"), file});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QStringLiteral("Backed up 10 objects")), qPrintable(out));
        QCOMPARE(FileBytes(file), Vsp::BackupOf(VspApp::StandardMemory()));

        QVERIFY(Vsp::SaveMemory(ChangedAfterBackup(), memoryFile, &error));
        std::tie(code, out) = run({QStringLiteral("--restore"), file});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QStringLiteral("Sent 10 of 10 messages")), qPrintable(out));
        Vsp::SpMemory after;
        QCOMPARE(Vsp::LoadMemory(memoryFile, after, &error), Vsp::LoadResult::Loaded);
        QCOMPARE(after, VspApp::StandardMemory());

        const QString damaged = home.filePath(QStringLiteral("damaged.syx"));
        QVERIFY(WriteBytes(damaged, FileBytes(file).chopped(5)));
        std::tie(code, out) = run({QStringLiteral("--restore"), damaged});
        QCOMPARE(code, 1);
        QVERIFY2(out.contains(QStringLiteral("Nothing was sent to the SP.")), qPrintable(out));
        QCOMPARE(run({QStringLiteral("--restore")}).first, 2);
    }
};

QTEST_MAIN(BackupRestoreTest)
#include "BackupRestoreTest.moc"
