#include "settings/Registry.h"

#include "midi/DebugLog.h"
#include "midi/MidiComms.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"

#include <QSettings>

#include <optional>

namespace {

const QString MidiInterfaceKey = QStringLiteral("MIDI Interface");
const QString DiskDevicesKey = QStringLiteral("Disk Devices");
const QString SpConfigKey = QStringLiteral("SP Config");
const QString ApplicationKey = QStringLiteral("Application");

bool HasKey(QSettings &store, const QString &key)
{
    return store.childGroups().contains(key);
}

// A value that is present and not empty; otherwise nothing.
std::optional<QString> Text(QSettings &store, const QString &name)
{
    const QString text = store.value(name).toString();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

// A number within its range, or nothing: a garbled value must never reach the SP.
std::optional<int> Number(QSettings &store, const QString &name, int low, int high)
{
    const auto text = Text(store, name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString DiskValueName(int index, const char *suffix)
{
    return QStringLiteral("Dev%1_%2").arg(index).arg(QLatin1String(suffix));
}

struct SpValue {
    const char *name;
    int16_t SpConfig::*field;
    int low, high;
};

// In the order the program has always walked them.
const SpValue SpValues[] = {
    {"PlayBack MIDI Channel", &SpConfig::PlayBackMidiChannel, 0, 15},
    {"PlayBack Note", &SpConfig::PlayBackNote, 0, 127},
    {"PlayBack Velocity OFF", &SpConfig::PlayBackVelocityOff, 0, 127},
    {"PlayBack Velocity ON", &SpConfig::PlayBackVelocityOn, 0, 127},
    {"SysEx Device ID", &SpConfig::SysExDeviceID, 0, 127},
};

void ReadMidiInterface(QSettings &store, Settings &settings, const MidiInput &input, const MidiOutput &output)
{
    PortSettings &ports = settings.ports;
    if (!HasKey(store, MidiInterfaceKey)) {
        ports.InputDeviceNum = 0;
        ports.InputDeviceName = input.deviceName(0);
        ports.OutputDeviceNum = 0;
        ports.OutputDeviceName = output.deviceName(0);
        ports.MidiThru = 0;
        ports.MessagePause = 0;
        return;
    }
    store.beginGroup(MidiInterfaceKey);
    // Until a stored name is found, the first device is the one in use.
    if (ports.InputDeviceName.isEmpty())
        ports.InputDeviceName = input.deviceName(ports.InputDeviceNum);
    if (ports.OutputDeviceName.isEmpty())
        ports.OutputDeviceName = output.deviceName(ports.OutputDeviceNum);
    const QString inputName = store.value(QStringLiteral("Input")).toString();
    for (int device = 0; device < input.deviceCount(); ++device) {
        if (input.deviceName(device) == inputName) {
            ports.InputDeviceNum = static_cast<int16_t>(device);
            ports.InputDeviceName = inputName;
            break;
        }
    }
    if (store.value(QStringLiteral("MIDI Thru")).toString() == QLatin1String("1"))
        ports.MidiThru = 1;
    ports.MessagePause = static_cast<int16_t>(
        Number(store, QStringLiteral("Message Pause"), 0, PortSettings::MessagePauseMax).value_or(0));
    const QString outputName = store.value(QStringLiteral("Output")).toString();
    // Device -1 is "Default Output", the first device offered.
    for (int device = MidiDeviceList::DefaultOutput; device < output.deviceCount(); ++device) {
        if (output.deviceName(device) == outputName) {
            ports.OutputDeviceNum = static_cast<int16_t>(device);
            ports.OutputDeviceName = outputName;
            break;
        }
    }
    store.endGroup();
}

void ReadDiskDevices(QSettings &store, Settings &settings)
{
    const bool present = HasKey(store, DiskDevicesKey);
    store.beginGroup(DiskDevicesKey);
    for (int i = 0; i < Settings::DiskDeviceCount; ++i) {
        DiskDevice disk = Settings::DefaultDisk(i, !present);
        if (present) {
            if (const auto v = Number(store, DiskValueName(i, "Installed"), 0, 255))
                disk.Installed = static_cast<uint8_t>(*v);
            if (const auto v = Number(store, DiskValueName(i, "Type"), -32768, 32767))
                disk.Type = static_cast<int16_t>(*v);
            if (const auto v = Text(store, DiskValueName(i, "VolName")))
                disk.VolName = *v;
        }
        settings.disks[static_cast<size_t>(i)] = disk;
    }
    settings.LastDiskAccessed = 0;
    if (present) {
        if (const auto v = Number(store, QStringLiteral("Last Disk Accessed"), 0, Settings::DiskDeviceCount - 1))
            settings.LastDiskAccessed = static_cast<uint8_t>(*v);
    }
    store.endGroup();
}

void ReadSpConfig(QSettings &store, Settings &settings)
{
    const SpConfig defaults;
    const bool present = HasKey(store, SpConfigKey);
    store.beginGroup(SpConfigKey);
    for (const SpValue &value : SpValues) {
        std::optional<int> stored;
        if (present)
            stored = Number(store, QString::fromLatin1(value.name), value.low, value.high);
        settings.sp.*value.field = stored ? static_cast<int16_t>(*stored) : defaults.*value.field;
    }
    store.endGroup();
}

const QString WindowLeft = QStringLiteral("Window Left");
const QString WindowTop = QStringLiteral("Window Top");
const QString WindowWidth = QStringLiteral("Window Width");
const QString WindowHeight = QStringLiteral("Window Height");
const QString LastTab = QStringLiteral("Last Tab");
// Far beyond any desktop of screens, yet a garbled value cannot overflow a geometry.
constexpr int WindowCoordinateLimit = 100000;

} // namespace

namespace Registry {

bool GetRegistry(QSettings &store, Settings &settings, const MidiInput &input, const MidiOutput &output,
                 DebugLog &log)
{
    log.write(QStringLiteral("GetRegistry()"));
    ReadMidiInterface(store, settings, input, output);
    ReadDiskDevices(store, settings);
    ReadSpConfig(store, settings);
    settings.window = ReadWindow(store);
    return true;
}

bool SetRegistry(QSettings &store, const Settings &settings)
{
    store.beginGroup(MidiInterfaceKey);
    store.setValue(QStringLiteral("Input"), settings.ports.InputDeviceName);
    store.setValue(QStringLiteral("Output"), settings.ports.OutputDeviceName);
    store.setValue(QStringLiteral("MIDI Thru"), QString::number(settings.ports.MidiThru));
    store.setValue(QStringLiteral("Message Pause"), QString::number(settings.ports.MessagePause));
    store.endGroup();

    store.beginGroup(DiskDevicesKey);
    for (int i = 0; i < Settings::DiskDeviceCount; ++i) {
        const DiskDevice &disk = settings.disks[static_cast<size_t>(i)];
        store.setValue(DiskValueName(i, "Installed"), QString::number(disk.Installed));
        store.setValue(DiskValueName(i, "Type"), QString::number(disk.Type));
        store.setValue(DiskValueName(i, "VolName"), disk.VolName);
    }
    store.setValue(QStringLiteral("Last Disk Accessed"), QString::number(settings.LastDiskAccessed));
    store.endGroup();

    store.beginGroup(SpConfigKey);
    store.setValue(QStringLiteral("PlayBack Note"), QString::number(settings.sp.PlayBackNote));
    store.setValue(QStringLiteral("PlayBack Velocity ON"), QString::number(settings.sp.PlayBackVelocityOn));
    store.setValue(QStringLiteral("PlayBack Velocity OFF"), QString::number(settings.sp.PlayBackVelocityOff));
    store.setValue(QStringLiteral("PlayBack MIDI Channel"), QString::number(settings.sp.PlayBackMidiChannel));
    store.setValue(QStringLiteral("SysEx Device ID"), QString::number(settings.sp.SysExDeviceID));
    store.endGroup();

    store.beginGroup(ApplicationKey);
    store.setValue(QStringLiteral("Home Directory"), settings.HomeDirectory);
    store.setValue(QStringLiteral("Virtual SP"), settings.VirtualSpEnabled ? QStringLiteral("1") : QStringLiteral("0"));
    // Only a place the window has really had is kept; nothing is made up for a window never shown.
    if (const QRect &area = settings.window.Geometry; area.isValid()) {
        store.setValue(WindowLeft, QString::number(area.x()));
        store.setValue(WindowTop, QString::number(area.y()));
        store.setValue(WindowWidth, QString::number(area.width()));
        store.setValue(WindowHeight, QString::number(area.height()));
    }
    if (!settings.window.LastTab.isEmpty())
        store.setValue(LastTab, settings.window.LastTab);
    store.endGroup();
    // A read-only folder or a full disk shows only here: setValue itself never fails.
    store.sync();
    return store.status() == QSettings::NoError;
}

bool SetRegistry(QSettings &store, const Settings &settings, MidiComms &comms)
{
    if (SetRegistry(store, settings))
        return true;
    comms.ReportError(QStringLiteral("SetRegistry()"), QStringLiteral(" Error updating Registry information"));
    return false;
}

bool HasStoredPorts(QSettings &store)
{
    return HasKey(store, MidiInterfaceKey);
}

QString ReadHomeDirectory(QSettings &store, const QString &currentDirectory)
{
    const QString home = store.value(ApplicationKey + QStringLiteral("/Home Directory")).toString();
    return home.isEmpty() ? currentDirectory : home;
}

bool ReadVirtualSpEnabled(QSettings &store)
{
    return store.value(ApplicationKey + QStringLiteral("/Virtual SP")).toString() != QLatin1String("0");
}

WindowSettings ReadWindow(QSettings &store)
{
    WindowSettings window;
    store.beginGroup(ApplicationKey);
    const auto left = Number(store, WindowLeft, -WindowCoordinateLimit, WindowCoordinateLimit);
    const auto top = Number(store, WindowTop, -WindowCoordinateLimit, WindowCoordinateLimit);
    const auto width = Number(store, WindowWidth, 1, WindowCoordinateLimit);
    const auto height = Number(store, WindowHeight, 1, WindowCoordinateLimit);
    if (left && top && width && height)
        window.Geometry = QRect(*left, *top, *width, *height);
    window.LastTab = store.value(LastTab).toString();
    store.endGroup();
    return window;
}

} // namespace Registry
