// Loading a bank from one of the SP's disk drives: which installed devices are offered, the
// load command's bytes, how long to wait for it and what the progress window says.
#pragma once

#include "settings/Settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

namespace BankLoad {

constexpr int FloppyDevice = 0;     // device index 0 is always the floppy drive
constexpr int FloppyDiskCode = 127; // the SP's code for its floppy drive
constexpr int HighestBank = 9999;
constexpr int DiskTimeoutMs = 60000; // any drive but the floppy
constexpr const char *FloppyCaption = "Floppy Disk";

// Device types as the settings hold them.
enum DeviceType { CdRom = 0, HardDisk = 1, ZipJaz = 2, Floppy = 3 };

// The devices the dialog offers: position 0 is the floppy, then every installed SCSI device.
struct DeviceList {
    QVector<int> ListDevice;          // combo position -> device index
    std::array<int, 8> DeviceListPos; // device index -> combo position, -1 when not installed
    QStringList names;                // the combo box's entries

    // The position of a device in the list; the floppy's for a device that is not offered.
    int PositionOf(int device) const;
};
DeviceList ListDevices(const std::array<DiskDevice, Settings::DiskDeviceCount> &disks);

// 127 for the floppy (device number 0), otherwise the SCSI ID, the device index - 1.
int DiskCode(const DiskDevice &device, int deviceIndex);
// The command body: load bank `bank` from the drive with `diskCode`. Nothing when either does
// not fit its nibble characters.
std::optional<QByteArray> LoadCommand(int diskCode, int bank);
// The floppy is waited for without limit (ResponseWait::Forever), the others for a minute.
int TimeoutFor(int diskCode);
// "Loading Bank #5 from SCSI 2..." or, for the floppy, "Loading Bank from Floppy Disk...".
QString ProgressText(int bank, const QString &deviceName, bool floppy);

} // namespace BankLoad
