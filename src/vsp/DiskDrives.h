// The Virtual SP's disks: a folder per drive (the floppy and SCSI IDs 0 to 6) under one root,
// each bank a memory file in it.
#pragma once

#include "vsp/SpMemory.h"

#include <QString>

namespace Vsp {

class DiskDrives {
public:
    static constexpr int FloppyDiskCode = 127;
    static constexpr int HighestScsiId = 6;
    static constexpr int HighestBank = 999;

    explicit DiskDrives(QString root);

    // root/floppy for 127, root/scsi0 to root/scsi6 for 0 to 6; empty for any other code.
    QString folder(int diskCode) const;
    // root/<disk>/bank-NNN.json; empty when the disk code or the bank number is out of range.
    QString bankPath(int diskCode, int bank) const;

    // False when the disk folder or the bank does not exist or the bank cannot be read; `into`
    // is then untouched. A loaded bank keeps `into`'s installed sample memory, which belongs
    // to the machine and not to the bank, so the caller checks that the Waves fit.
    bool LoadBank(int diskCode, int bank, SpMemory &into, QString *error) const;
    // False when the disk folder does not exist or the file cannot be written.
    bool SaveBank(int diskCode, int bank, const SpMemory &memory, QString *error) const;

    // On first use (no bank on the floppy yet) writes the demo banks as floppy banks 0 and 1
    // and creates the SCSI disk folders, empty.
    static void InstallShippedBanks(const QString &root);

private:
    QString rootFolder;
};

} // namespace Vsp
