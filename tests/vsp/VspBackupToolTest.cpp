// korvane-vsp --save-backup and --load-backup: the Virtual SP's memory written as the backup the
// SP would send, and a backup taken as its memory, kept in its memory file; a damaged one refused.
#include "Bytes.h"
#include "LowTool.h"
#include "QtPrinters.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpBackupFile.h"
#include "vsp/SpMemoryFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(VspBackupTool, SavesItsMemoryAsABackupAndLoadsOneIntoItsMemoryFile)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("factory.syx"));
    ASSERT_EQ(RunTool({"--save-backup", saved}).exitCode, 0);
    EXPECT_EQ(FileBytes(saved), Vsp::BackupOf(Vsp::FactoryBank()));

    Vsp::SpMemory other = Vsp::FactoryBank();
    other.of(Vsp::Tone).erase(other.of(Vsp::Tone).begin());
    other.global.masterTune = 450;
    const QString backup = dir.filePath(QStringLiteral("other.syx"));
    QString error;
    ASSERT_TRUE(Vsp::SaveBackup(other, backup, &error));
    const QString memory = dir.filePath(QStringLiteral("memory.json"));
    ASSERT_EQ(RunTool({"--memory", memory, "--load-backup", backup, "--save-backup", dir.filePath("again.syx")}).exitCode, 0);
    Vsp::SpMemory loaded;
    ASSERT_EQ(Vsp::LoadMemory(memory, loaded, &error), Vsp::LoadResult::Loaded);
    EXPECT_EQ(loaded, other);
    EXPECT_EQ(FileBytes(dir.filePath("again.syx")), FileBytes(backup));

    const QString damaged = dir.filePath("damaged.syx");
    ASSERT_TRUE(WriteBytes(damaged, Vsp::BackupOf(Vsp::FactoryBank()).chopped(3)));
    EXPECT_EQ(RunTool({"--memory", memory, "--load-backup", damaged}).exitCode, 1);
    ASSERT_EQ(Vsp::LoadMemory(memory, loaded, &error), Vsp::LoadResult::Loaded);
    EXPECT_EQ(loaded, other);
}

} // namespace
