#include "objects/BankLoad.h"

#include "device/ResponseWait.h"
#include "device/NibbleCodec.h"

namespace BankLoad {

int DeviceList::PositionOf(int device) const
{
    if (device <= FloppyDevice || device >= static_cast<int>(DeviceListPos.size()))
        return 0;
    const int position = DeviceListPos[static_cast<size_t>(device)];
    return position < 0 ? 0 : position;
}

DeviceList ListDevices(const std::array<DiskDevice, Settings::DiskDeviceCount> &disks)
{
    DeviceList list;
    list.ListDevice = {FloppyDevice};
    list.names = {QLatin1String(FloppyCaption)};
    list.DeviceListPos.fill(-1);
    list.DeviceListPos[FloppyDevice] = 0;
    for (int device = 1; device < Settings::DiskDeviceCount; ++device) {
        const DiskDevice &disk = disks[static_cast<size_t>(device)];
        if (disk.Installed != 1)
            continue;
        list.DeviceListPos[static_cast<size_t>(device)] = static_cast<int>(list.ListDevice.size());
        list.ListDevice.append(device);
        list.names.append(disk.VolName);
    }
    return list;
}

int DiskCode(const DiskDevice &device, int deviceIndex)
{
    return device.Number == 0 ? FloppyDiskCode : deviceIndex - 1;
}

std::optional<QByteArray> LoadCommand(int diskCode, int bank)
{
    const auto disk = NibbleCodec::EncodeNumber(diskCode, 2);
    const auto number = NibbleCodec::EncodeNumber(bank, 4);
    if (diskCode < 0 || bank < 0 || !disk || !number)
        return std::nullopt;
    return QByteArray("\x30\x01\x00\x00\x00\x03", 6) + *disk + *number;
}

int TimeoutFor(int diskCode)
{
    // A floppy bank can take minutes to read, and only the SP knows when it is done.
    return diskCode == FloppyDiskCode ? ResponseWait::Forever : DiskTimeoutMs;
}

QString ProgressText(int bank, const QString &deviceName, bool floppy)
{
    if (floppy)
        return QStringLiteral("Loading Bank from %1...").arg(deviceName);
    return QStringLiteral("Loading Bank #%1 from %2...").arg(bank).arg(deviceName);
}

} // namespace BankLoad
