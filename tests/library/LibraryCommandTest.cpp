// The library from the command line, as a user scripts it: snapshots of the SP with an edit
// between them, the list, search, a verified restore, importing a folder of backups with a
// foreign file in it, and a program killed in the middle of an import.
#include "AppKit.h"
#include "QtPrinters.h"
#include "VspApp.h"
#include "library/Library.h"
#include "vsp/SpBackupFile.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpMemoryFile.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class LibraryCommand : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        save(VspApp::StandardMemory());
    }
    QString dataFolder() const { return home.filePath(QStringLiteral("data")); }
    QString memoryFile() const { return dataFolder() + QStringLiteral("/virtual-sp-memory.json"); }
    QString libraryFile() const { return dataFolder() + QStringLiteral("/library.sqlite"); }
    void save(const Vsp::SpMemory &memory)
    {
        QString error;
        ASSERT_TRUE(Vsp::SaveMemory(memory, memoryFile(), &error)) << error.toStdString();
    }
    Vsp::SpMemory held() const
    {
        Vsp::SpMemory memory;
        QString error;
        EXPECT_EQ(Vsp::LoadMemory(memoryFile(), memory, &error), Vsp::LoadResult::Loaded) << error.toStdString();
        return memory;
    }
    ProgramRun run(const QStringList &arguments)
    {
        return RunProgram(QStringLiteral(KORVANE_EXE), arguments, home, {{QStringLiteral("KORVANE_DATA_DIR"), dataFolder()}});
    }
    static QStringList Lines(const QByteArray &text) { return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    // Runs the program until `channel` has said `marker` `count` times, then kills it; what the
    // channel said, and whether the program ended on its own first.
    struct Killed {
        QByteArray said;
        bool endedFirst = false;
    };
    Killed killedWhen(const QStringList &arguments, QProcess::ProcessChannel channel, const QByteArray &marker, int count)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KORVANE_DATA_DIR"), dataFolder());
        QProcess process;
        process.setProcessEnvironment(env);
        process.setReadChannel(channel);
        process.start(QStringLiteral(KORVANE_EXE), arguments);
        Killed killed;
        if (!process.waitForStarted(30000))
            return killed;
        while (killed.said.count(marker) < count && process.waitForReadyRead(60000))
            killed.said += process.readAll();
        process.kill();
        process.waitForFinished();
        killed.said += process.readAll();
        killed.endedFirst = process.exitStatus() == QProcess::NormalExit;
        return killed;
    }

    QTemporaryDir home;
};

} // namespace

TEST_F(LibraryCommand, SnapshotsFindAndAVerifiedRestore)
{
    ProgramRun r = run({"--snapshot", "before the edit"});
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.output, "1\n");

    Vsp::SpMemory edited = VspApp::StandardMemory();
    Vsp::SetName(edited.of(Vsp::Tone)[7], "Rimshot Tone");
    SpRecords::SetAt(edited.of(Vsp::Tone)[7], 80, 40);
    edited.of(Vsp::Preset).erase(1);
    save(edited);
    r = run({"--snapshot"});
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.output, "2\n");

    r = run({"--snapshots"});
    EXPECT_EQ(r.exitCode, 0);
    const QStringList lines = Lines(r.output);
    ASSERT_EQ(lines.size(), 2) << r.output.toStdString();
    const QRegularExpression row(QStringLiteral("^(\\d+)\\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\t(.*)\\t(\\d+) objects$"));
    const auto first = row.match(lines[0]), second = row.match(lines[1]);
    ASSERT_TRUE(first.hasMatch() && second.hasMatch()) << r.output.toStdString();
    EXPECT_EQ(first.captured(2), QStringLiteral("before the edit"));
    EXPECT_EQ(first.captured(3), QStringLiteral("10"));
    EXPECT_EQ(second.captured(3), QStringLiteral("9"));

    r = run({"--find", "snare tone"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Lines(r.output), QStringList{"Tone\t7\tSnare Tone\tsnapshots 1"});
    r = run({"--find", "RIMSHOT"});
    EXPECT_EQ(Lines(r.output), QStringList{"Tone\t7\tRimshot Tone\tsnapshots 2"});
    r = run({"--find", "Kick"});
    EXPECT_EQ(Lines(r.output), (QStringList{"Wave\t2\tKick\tsnapshots 1, 2", "Tone\t3\tKick Tone\tsnapshots 1, 2"}));
    r = run({"--find", "Cowbell"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.output.isEmpty());

    r = run({"--restore-snapshot", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString() << r.errors.toStdString();
    EXPECT_TRUE(r.output.contains("Read back from the SP: everything sent is there.")) << r.output.toStdString();
    EXPECT_EQ(held(), VspApp::StandardMemory());

    r = run({"--restore-snapshot", "7"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains("The library holds no snapshot 7.")) << r.errors.toStdString();
    EXPECT_EQ(run({"--restore-snapshot", "first"}).exitCode, 2);
    EXPECT_EQ(run({"--snapshots", "--find", "x"}).exitCode, 2);
}

TEST_F(LibraryCommand, AFolderOfBackupsIsImportedAndAForeignFileRefusedByName)
{
    QDir(home.path()).mkpath(QStringLiteral("banks/old disks"));
    QString error;
    ASSERT_TRUE(Vsp::SaveBackup(VspApp::StandardMemory(), home.filePath(QStringLiteral("banks/a.syx")), &error));
    ASSERT_TRUE(Vsp::SaveBackup(Vsp::DemoBank(0), home.filePath(QStringLiteral("banks/old disks/b.syx")), &error));
    ASSERT_TRUE(WriteBytes(home.filePath(QStringLiteral("banks/c.syx")), QByteArray("\xF0\x41\x10\xF7", 4)));
    const ProgramRun r = run({"--library", home.filePath(QStringLiteral("mine.sqlite")), "--library-import", home.filePath(QStringLiteral("banks"))});
    EXPECT_EQ(r.exitCode, 1) << "one file was refused";
    const QStringList imported = Lines(r.output);
    ASSERT_EQ(imported.size(), 2) << r.output.toStdString();
    EXPECT_TRUE(imported[0].endsWith(QStringLiteral("a.syx as snapshot 1")));
    EXPECT_TRUE(imported[1].endsWith(QStringLiteral("b.syx as snapshot 2")));
    EXPECT_TRUE(r.errors.contains("c.syx is not an SP backup: ")) << r.errors.toStdString();

    Library::Opened opened = Library::Open(home.filePath(QStringLiteral("mine.sqlite")));
    ASSERT_TRUE(opened.library);
    const QVector<SnapshotInfo> snapshots = opened.library->Snapshots();
    ASSERT_EQ(snapshots.size(), 2);
    EXPECT_EQ(snapshots[0].source, QStringLiteral("a.syx"));
    EXPECT_FALSE(QFileInfo::exists(libraryFile())) << "--library chose the file";
}

#ifndef _WIN32
// Killed at any moment, every snapshot the import had finished is there whole, and the one it
// was writing is there whole or not at all.
TEST_F(LibraryCommand, AnImportKilledHalfWayLeavesEveryFinishedSnapshotWhole)
{
    // Enough files that the import is still running when it is killed.
    constexpr int Files = 600;
    QDir(home.path()).mkpath(QStringLiteral("banks"));
    const QByteArray backup = Vsp::BackupOf(Vsp::FactoryBank());
    const int objects = Backup::Parse(backup).contents->objects.size();
    for (int i = 0; i < Files; ++i)
        ASSERT_TRUE(WriteBytes(home.filePath(QStringLiteral("banks/%1.syx").arg(i, 3, 10, QLatin1Char('0'))), backup));

    // Killed as soon as the third snapshot is reported: the fourth is being written then.
    const Killed killed = killedWhen({"--library-import", home.filePath(QStringLiteral("banks"))},
                                     QProcess::StandardOutput, "\n", 3);
    ASSERT_GE(killed.said.count('\n'), 3) << killed.said.toStdString();

    Library::Opened opened = Library::Open(libraryFile());
    ASSERT_TRUE(opened.library) << opened.error.toStdString();
    EXPECT_EQ(opened.notice, QString()) << "not damaged";
    const QVector<SnapshotInfo> snapshots = opened.library->Snapshots();
    EXPECT_GE(snapshots.size(), 3);
    EXPECT_LT(snapshots.size(), Files);
    for (const SnapshotInfo &s : snapshots)
        EXPECT_EQ(s.objects, objects) << "snapshot " << s.id;
    EXPECT_EQ(opened.library->StoredObjects(), objects);
}

// A restore killed in the middle goes on from the library's journal: what the SP had taken is
// not sent again, and the SP ends up as the snapshot was.
TEST_F(LibraryCommand, ARestoreKilledHalfWayResumesAndSendsNothingTwice)
{
    save(Vsp::FactoryBank());
    ASSERT_EQ(run({"--snapshot"}).output, "1\n");
    Vsp::SpMemory edited = Vsp::FactoryBank();
    for (int kind : {Vsp::Tone, Vsp::Map, Vsp::Preset}) {
        for (auto &[number, record] : edited.of(kind))
            Vsp::SetName(record, "Edited");
    }
    save(edited);

    // At the pace of a real cable, so that the restore is still sending when it is killed.
    const Killed first = killedWhen({"--vsp-wire-timing", "--restore-snapshot", "1"}, QProcess::StandardError, "Sending ", 3);
    const QStringList killed = Lines(first.said).filter(QStringLiteral("Sending "));
    ASSERT_GE(killed.size(), 3) << first.said.toStdString();
    ASSERT_FALSE(first.endedFirst) << "the restore ended before it was killed";

    const ProgramRun resumed = run({"--restore-snapshot", "1"});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.output.toStdString() << resumed.errors.toStdString();
    EXPECT_TRUE(resumed.errors.contains("The last restore of snapshot 1 stopped with ")) << resumed.errors.toStdString();
    EXPECT_TRUE(resumed.output.contains("Read back from the SP: everything sent is there.")) << resumed.output.toStdString();
    const QStringList rest = Lines(resumed.errors).filter(QStringLiteral("Sending "));
    // The one being sent when the program was killed may go again; none before it.
    for (qsizetype i = 0; i + 1 < killed.size(); ++i)
        EXPECT_FALSE(rest.contains(killed[i])) << killed[i].toStdString() << " was sent twice";
    EXPECT_FALSE(rest.isEmpty());
    EXPECT_EQ(held(), Vsp::FactoryBank());
    EXPECT_FALSE(Library::Open(libraryFile()).library->UnfinishedRestore()) << "the journal is closed";
}

// Killed while it reads the SP, a snapshot leaves the library as it was.
TEST_F(LibraryCommand, ASnapshotKilledHalfWayLeavesTheLibraryAsItWas)
{
    save(Vsp::FactoryBank());
    ASSERT_EQ(run({"--snapshot", "kept"}).output, "1\n");
    const Killed killed = killedWhen({"--vsp-wire-timing", "--snapshot"}, QProcess::StandardError, "Virtual SP", 1);
    ASSERT_FALSE(killed.endedFirst) << killed.said.toStdString();
    Library::Opened opened = Library::Open(libraryFile());
    ASSERT_TRUE(opened.library) << opened.error.toStdString();
    EXPECT_EQ(opened.notice, QString()) << "not damaged";
    const QVector<SnapshotInfo> snapshots = opened.library->Snapshots();
    ASSERT_EQ(snapshots.size(), 1);
    EXPECT_EQ(snapshots[0].note, QStringLiteral("kept"));
    EXPECT_EQ(opened.library->SnapshotContents(1)->objects.size(), Backup::Parse(Vsp::BackupOf(Vsp::FactoryBank())).contents->objects.size());
}
#endif
