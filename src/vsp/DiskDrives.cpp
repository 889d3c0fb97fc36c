// Bank files on the Virtual SP's disk folders, and the banks shipped on its floppy.
#include "vsp/DiskDrives.h"

#include "vsp/FactoryBank.h"
#include "vsp/SpMemoryFile.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace Vsp {
namespace {

const QStringList BankFilePattern = {QStringLiteral("bank-*.json")};
constexpr int ShippedBanks = 2;

bool Failed(const QString &message, QString *error)
{
    if (error)
        *error = message;
    return false;
}

QString DiskName(int diskCode)
{
    return diskCode == DiskDrives::FloppyDiskCode ? QStringLiteral("the floppy disk")
                                                  : QStringLiteral("the SCSI disk with ID %1").arg(diskCode);
}

} // namespace

DiskDrives::DiskDrives(QString root) : rootFolder(std::move(root)) {}

QString DiskDrives::folder(int diskCode) const
{
    if (diskCode == FloppyDiskCode)
        return QDir(rootFolder).filePath(QStringLiteral("floppy"));
    if (diskCode >= 0 && diskCode <= HighestScsiId)
        return QDir(rootFolder).filePath(QStringLiteral("scsi%1").arg(diskCode));
    return {};
}

QString DiskDrives::bankPath(int diskCode, int bank) const
{
    const QString disk = folder(diskCode);
    if (disk.isEmpty() || bank < 0 || bank > HighestBank)
        return {};
    return QDir(disk).filePath(QStringLiteral("bank-%1.json").arg(bank, 3, 10, QLatin1Char('0')));
}

bool DiskDrives::LoadBank(int diskCode, int bank, SpMemory &into, QString *error) const
{
    const QString path = bankPath(diskCode, bank);
    if (path.isEmpty())
        return Failed(QStringLiteral("There is no disk %1 or no bank %2").arg(diskCode).arg(bank), error);
    if (!QFileInfo(folder(diskCode)).isDir())
        return Failed(QStringLiteral("There is no disk in %1").arg(DiskName(diskCode)), error);
    SpMemory loaded;
    QString why;
    switch (LoadMemory(path, loaded, &why)) {
    case LoadResult::Missing:
        return Failed(QStringLiteral("There is no bank %1 on %2").arg(bank).arg(DiskName(diskCode)), error);
    case LoadResult::Corrupt:
        return Failed(why, error);
    case LoadResult::Loaded:
        break;
    }
    loaded.installedKilowords = into.installedKilowords;
    into = std::move(loaded);
    return true;
}

bool DiskDrives::SaveBank(int diskCode, int bank, const SpMemory &memory, QString *error) const
{
    const QString path = bankPath(diskCode, bank);
    if (path.isEmpty())
        return Failed(QStringLiteral("There is no disk %1 or no bank %2").arg(diskCode).arg(bank), error);
    if (!QFileInfo(folder(diskCode)).isDir())
        return Failed(QStringLiteral("There is no disk in %1").arg(DiskName(diskCode)), error);
    return SaveMemory(memory, path, error);
}

void DiskDrives::InstallShippedBanks(const QString &root)
{
    const DiskDrives drives(root);
    const QDir floppy(drives.folder(FloppyDiskCode));
    if (!floppy.entryList(BankFilePattern, QDir::Files).isEmpty())
        return;
    QDir().mkpath(floppy.path());
    for (int bank = 0; bank < ShippedBanks; ++bank)
        SaveMemory(DemoBank(bank), drives.bankPath(FloppyDiskCode, bank), nullptr);
    for (int id = 0; id <= HighestScsiId; ++id)
        QDir().mkpath(drives.folder(id));
}

} // namespace Vsp
