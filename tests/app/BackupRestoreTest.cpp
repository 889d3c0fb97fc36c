// Backing up the SP and restoring it as a user does it, from the menus' commands and from the
// command line, against a Virtual SP: what the SP holds afterwards, what is sent and when nothing
// may be, the question before a restore, the report of what the SP refused, and the compare window.
#include "VspApp.h"
#include "app/BackupCommand.h"
#include "app/frmCompare.h"
#include "app/frmProgress.h"
#include "vsp/SpBackupFile.h"
#include "vsp/SpMemoryFile.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using Fault = VirtualSpBackend::Fault;
using BackupCommand::Result;
constexpr int UploadType = 0x02;

bool IsUpload(const QByteArray &request)
{
    return request.size() > 9 && static_cast<uint8_t>(request.at(7)) == UploadType;
}

// The changes a user made on the SP after the backup: a Tone edited, a Map zone moved, a Preset
// lost, the Global volume turned down.
void ChangeAfterBackup(Vsp::SpMemory &m)
{
    SpRecords::SetAt(m.of(Vsp::Tone)[7], 80, 40);
    m.of(Vsp::Map)[4][Vsp::MapZonesOffset + Vsp::MapZoneBytes + Vsp::ZoneField::Volume] = 90;
    m.of(Vsp::Preset).erase(1);
    m.global.omniPolyVolume = 10;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class BackupRestoreTest : public QObject {
    Q_OBJECT

private:
    VspApp app;
    BackupCommand::Outcome backup(const QString &path) { return BackupCommand::Backup(app.main()->services(), app.session(), path); }
    BackupCommand::Outcome restore(const QString &path) { return BackupCommand::Restore(app.main()->services(), app.session(), path); }
    QList<QByteArray> uploads() const
    {
        QList<QByteArray> found;
        for (const QByteArray &r : app.requests()) {
            if (IsUpload(r))
                found << r;
        }
        return found;
    }

private slots:
    void init()
    {
        app.notifier.messages.clear();
        app.notifier.answer = true;
        QCOMPARE(app.start(), LinkStartup::Outcome::Online);
    }

    void backupChangeRestoreGivesTheSameMemoryBack()
    {
        const QString path = app.file(QStringLiteral("full.syx"));
        const BackupCommand::Outcome saved = backup(path);
        QCOMPARE(saved.result, Result::Done);
        // The file is exactly what the SP itself sends for its memory.
        QCOMPARE(FileBytes(path), Vsp::BackupOf(VspApp::StandardMemory()));

        Vsp::SpMemory changed = app.vsp->device().memory();
        ChangeAfterBackup(changed);
        app.vsp->device().setMemory(changed);
        app.vsp->clearTraffic();

        const BackupCommand::Outcome restored = restore(path);
        QCOMPARE(restored.result, Result::Done);
        QCOMPARE(app.vsp->device().memory(), VspApp::StandardMemory());
        QVERIFY2(restored.text.contains(QStringLiteral("Sent 10 of 10 messages")), qPrintable(restored.text));

        // One question, listing exactly what differs.
        QCOMPARE(app.notifier.messages.size(), 1);
        const QString summary = app.notifier.messages.at(0).text;
        QVERIFY2(summary.contains(QStringLiteral("Changed on the SP (2): t# 7 Snare Tone, m# 4 Drum Map")), qPrintable(summary));
        QVERIFY(summary.contains(QStringLiteral("Not on the SP (1): p# 1 Second Kit")));
        QVERIFY(summary.contains(QStringLiteral("The Global settings differ.")));
        QVERIFY(!summary.contains(QStringLiteral("w#")));

        // Then every kind is read again, after the last upload.
        const QList<QByteArray> all = app.requests();
        const QList<QByteArray> afterUploads = all.mid(all.lastIndexOf(uploads().last()) + 1);
        for (int kind = 0; kind < 5; ++kind)
            QVERIFY2(afterUploads.contains(Wire({0xF0, 0, 0, 0x1B, 2, 5, 0x7F, 0x12, 1, 1, kind, 0xF7})),
                     qPrintable(QString::number(kind)));
    }

    void answeringNoToTheQuestionSendsNothing()
    {
        const QString path = app.file(QStringLiteral("no.syx"));
        QCOMPARE(backup(path).result, Result::Done);
        Vsp::SpMemory changed = app.vsp->device().memory();
        ChangeAfterBackup(changed);
        app.vsp->device().setMemory(changed);
        app.vsp->clearTraffic();
        app.notifier.answer = false;
        QCOMPARE(restore(path).result, Result::Declined);
        QVERIFY(uploads().isEmpty());
        QCOMPARE(app.vsp->device().memory(), changed);
    }

    void aDamagedTruncatedOrForeignFileIsRefusedAndNothingIsSent_data()
    {
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("error");
        QTest::newRow("truncated") << 0 << "is cut short";
        QTest::newRow("foreign header") << 1 << "Message 2 is not from the SP";
        QTest::newRow("damaged dump") << 2 << "Message 2 is a damaged dump";
    }
    void aDamagedTruncatedOrForeignFileIsRefusedAndNothingIsSent()
    {
        QFETCH(int, damage);
        QFETCH(QString, error);
        QByteArray file = Vsp::BackupOf(VspApp::StandardMemory());
        const qsizetype second = file.indexOf('\xF0', 1);
        if (damage == 0)
            file.chop(30);
        else if (damage == 1)
            file[second + 2] = 0x01;
        else
            file[second + 30] = 0x3F;
        const QString path = app.file(QStringLiteral("bad.syx"));
        WriteFile(path, file);
        app.vsp->clearTraffic();
        const BackupCommand::Outcome outcome = restore(path);
        QCOMPARE(outcome.result, Result::Failed);
        QVERIFY2(outcome.text.contains(error), qPrintable(outcome.text));
        QVERIFY(outcome.text.contains(QStringLiteral("Nothing was sent to the SP.")));
        QVERIFY(app.vsp->traffic().isEmpty());
    }

    void uploadsGoInTheOrderTheSpAcceptsAndAMissingWaveIsSkipped()
    {
        const QString path = app.file(QStringLiteral("order.syx"));
        QCOMPARE(backup(path).result, Result::Done);
        // Everything but two Waves lost; Wave 9's samples cannot come back.
        Vsp::SpMemory bare;
        bare.of(Vsp::Wave)[2] = VspApp::StandardMemory().of(Vsp::Wave)[2];
        bare.of(Vsp::Wave)[5] = VspApp::StandardMemory().of(Vsp::Wave)[5];
        bare.global = VspApp::StandardMemory().global;
        app.vsp->device().setMemory(bare);
        app.vsp->clearTraffic();

        const BackupCommand::Outcome outcome = restore(path);
        QList<int> kinds;
        for (const QByteArray &upload : uploads())
            kinds << static_cast<uint8_t>(upload.at(8));
        QCOMPARE(kinds, QList<int>({1, 1, 1, 2, 3, 3, 4}));
        QVERIFY2(outcome.text.contains(QStringLiteral("Skipped: w# 9 Hat")), qPrintable(outcome.text));
        QVERIFY(app.notifier.messages.at(0).text.contains(QStringLiteral("(1): w# 9 Hat")));
        Vsp::SpMemory expected = VspApp::StandardMemory();
        expected.of(Vsp::Wave).erase(9);
        QCOMPARE(app.vsp->device().memory(), expected);
    }

    void whatTheSpRefusesIsReportedWithItsStatusText()
    {
        const QString path = app.file(QStringLiteral("refused.syx"));
        QCOMPARE(backup(path).result, Result::Done);
        Vsp::SpMemory changed = app.vsp->device().memory();
        ChangeAfterBackup(changed);
        app.vsp->device().setMemory(changed);
        app.vsp->setFaultPlan([](const QByteArray &request) {
            if (IsUpload(request) && static_cast<uint8_t>(request.at(8)) == Vsp::Tone)
                return Fault{Fault::Status, 11};
            return Fault{};
        });
        const BackupCommand::Outcome outcome = restore(path);
        app.vsp->setFaultPlan({});
        QCOMPARE(outcome.result, Result::Failed);
        QVERIFY2(outcome.text.contains(QStringLiteral("Refused: t# 7 Snare Tone: SP illegal data value encountered (11)")),
                 qPrintable(outcome.text));
        // The rest still went.
        QVERIFY(app.vsp->device().memory().find(Vsp::Preset, 1));
        // The refusals are in the report alone: no box for each, only the question before.
        QVERIFY2(app.notifier.messages.size() == 1, qPrintable(app.notifier.texts().join(QLatin1Char('\n'))));
        QVERIFY(app.notifier.messages.at(0).text.contains(QStringLiteral("Send the changed and missing objects")));
    }

    void cancellingABackupWritesNothing()
    {
        const QString path = app.file(QStringLiteral("cancelled.syx"));
        app.vsp->clearTraffic();
        frmProgress &progress = app.main()->progress();
        app.vsp->setFaultPlan([&progress](const QByteArray &request) {
            // The user presses Cancel while the Tones are being read.
            if (request.size() > 9 && static_cast<uint8_t>(request.at(7)) == 0x01 && request.at(8) == Vsp::Tone)
                QMetaObject::invokeMethod(&progress, [&progress] { progress.findChild<QPushButton *>("cmdCancel")->click(); },
                                          Qt::QueuedConnection);
            return Fault{};
        });
        const BackupCommand::Outcome outcome = backup(path);
        app.vsp->setFaultPlan({});
        QCOMPARE(outcome.result, Result::Cancelled);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!progress.isVisible());
        int presetRequests = 0;
        for (const QByteArray &r : app.requests())
            presetRequests += r.size() > 9 && static_cast<uint8_t>(r.at(7)) == 0x01 && r.at(8) == Vsp::Preset;
        QCOMPARE(presetRequests, 0);
    }

    void theMenusOfferBackupsAndTheVirtualSpItemsWhileItIsInUse()
    {
        for (const char *name : {"mnuBackup", "mnuRestore", "mnuCompare"})
            QVERIFY2(app.find<QMenu>(QStringLiteral("mnuFile"))->findChild<QAction *>(QLatin1String(name)), name);
        QCOMPARE(app.find<QAction>(QStringLiteral("mnuBackup"))->text(), QStringLiteral("&Back Up SP..."));
        QCOMPARE(app.find<QAction>(QStringLiteral("mnuRestore"))->text(), QStringLiteral("&Restore from Backup..."));
        auto *tools = app.find<QMenu>(QStringLiteral("mnuTools"));
        emit tools->aboutToShow();
        QVERIFY(app.find<QAction>(QStringLiteral("mnuVspLoadBackup"))->isVisible());
        QVERIFY(app.find<QAction>(QStringLiteral("mnuVspSaveBackup"))->isVisible());
    }

    void theVirtualSpLoadsABackupAsItsMemoryAndSavesItsMemoryAsOne()
    {
        Vsp::SpMemory other = VspApp::StandardMemory();
        ChangeAfterBackup(other);
        const QString path = app.file(QStringLiteral("vsp.syx"));
        QString error;
        QVERIFY(Vsp::SaveBackup(other, path, &error));
        QCOMPARE(BackupCommand::VspLoadBackup(app.main()->services(), app.session(), path).result, Result::Done);
        QCOMPARE(app.vsp->device().memory(), other);
        const QString saved = app.file(QStringLiteral("vsp-saved.syx"));
        QCOMPARE(BackupCommand::VspSaveBackup(app.session(), saved).result, Result::Done);
        QCOMPARE(FileBytes(saved), FileBytes(path));
    }

    void theCompareWindowShowsEachDifferingParameterByName()
    {
        const QString path = app.file(QStringLiteral("compare.syx"));
        QCOMPARE(backup(path).result, Result::Done);
        Vsp::SpMemory changed = app.vsp->device().memory();
        ChangeAfterBackup(changed);
        app.vsp->device().setMemory(changed);
        frmCompare *window = BackupCommand::ShowCompare(app.main()->services(), app.session(), {path});
        QVERIFY(window);
        QCOMPARE(window->objectName(), QStringLiteral("frmCompare"));
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
        window->close();
    }

    void theCommandLineBacksUpAndRestoresWithItsExitCodes()
    {
        QTemporaryDir home;
        const QString memoryFile = home.filePath(QStringLiteral("data/Talvern Systems/Korvane/virtual-sp-memory.json"));
        QString error;
        QVERIFY(Vsp::SaveMemory(VspApp::StandardMemory(), memoryFile, &error));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("KORVANE_DATA_DIR"), QFileInfo(memoryFile).path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const auto run = [&](const QStringList &arguments) {
            QProcess korvane;
            korvane.setProcessEnvironment(environment);
            korvane.start(QStringLiteral(KORVANE_EXE), arguments);
            if (!korvane.waitForFinished(60000)) {
                korvane.kill();
                korvane.waitForFinished();
            }
            return std::pair{korvane.exitStatus() == QProcess::NormalExit ? korvane.exitCode() : -1,
                             QString::fromLocal8Bit(korvane.readAllStandardOutput())};
        };
        const QString path = home.filePath(QStringLiteral("cli.syx"));
        auto [code, out] = run({QStringLiteral("--backup"), path});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QStringLiteral("Backed up 10 objects")), qPrintable(out));
        QCOMPARE(FileBytes(path), Vsp::BackupOf(VspApp::StandardMemory()));

        Vsp::SpMemory changed = VspApp::StandardMemory();
        ChangeAfterBackup(changed);
        QVERIFY(Vsp::SaveMemory(changed, memoryFile, &error));
        std::tie(code, out) = run({QStringLiteral("--restore"), path});
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(QStringLiteral("Sent 10 of 10 messages")), qPrintable(out));
        Vsp::SpMemory after;
        QCOMPARE(Vsp::LoadMemory(memoryFile, after, &error), Vsp::LoadResult::Loaded);
        QCOMPARE(after, VspApp::StandardMemory());

        const QString damaged = home.filePath(QStringLiteral("damaged.syx"));
        WriteFile(damaged, FileBytes(path).chopped(5));
        std::tie(code, out) = run({QStringLiteral("--restore"), damaged});
        QCOMPARE(code, 1);
        QVERIFY2(out.contains(QStringLiteral("Nothing was sent to the SP.")), qPrintable(out));
        std::tie(code, out) = run({QStringLiteral("--restore")});
        QCOMPARE(code, 2);
    }
};

QTEST_MAIN(BackupRestoreTest)
#include "BackupRestoreTest.moc"
