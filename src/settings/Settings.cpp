#include "settings/Settings.h"

DiskDevice Settings::DefaultDisk(int index, bool wholeKeyMissing)
{
    DiskDevice disk;
    disk.Number = static_cast<int16_t>(index);
    disk.Installed = 1;
    // Device 0 is the floppy; a single missing type value falls back to 1 like the others.
    disk.Type = (index == 0 && wholeKeyMissing) ? 3 : 1;
    disk.VolName = index == 0 ? QStringLiteral("Floppy Disk") : QStringLiteral("SCSI %1").arg(index - 1);
    return disk;
}

std::array<DiskDevice, Settings::DiskDeviceCount> Settings::DefaultDisks()
{
    std::array<DiskDevice, DiskDeviceCount> disks;
    for (int i = 0; i < DiskDeviceCount; ++i)
        disks[static_cast<size_t>(i)] = DefaultDisk(i, true);
    return disks;
}
