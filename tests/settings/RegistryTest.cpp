// Settings: first-start defaults, what is stored (always text), and how stored values that no
// longer fit the machine fall back.
#include "RecordingNotifier.h"
#include "ScriptedBackend.h"
#include "midi/DebugLog.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/MidiTrace.h"
#include "settings/Registry.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Each group of settings as one comparable value, in the order of its fields.
auto Of(const PortSettings &p)
{
    return std::tuple(p.InputDeviceNum, p.InputDeviceName, p.OutputDeviceNum, p.OutputDeviceName, p.MidiThru,
                      p.MessagePause);
}
auto Of(const DiskDevice &d)
{
    return std::tuple(d.Number, int(d.Installed), d.Type, d.VolName);
}
auto Of(const SpConfig &c)
{
    return std::tuple(c.PlayBackNote, c.PlayBackVelocityOn, c.PlayBackVelocityOff, c.PlayBackMidiChannel, c.SysExDeviceID);
}

struct RegistryFixture : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));
    MidiDeviceList devices;
    MidiTrace trace{QString()};
    DebugLog log;

    RegistryFixture()
    {
        devices.add(std::make_unique<ScriptedBackend>(QStringList{"USB MIDI In", "Korvane Virtual SP"},
                                                      QStringList{"USB MIDI Out", "Korvane Virtual SP"}));
    }

    Settings Read()
    {
        QSettings store(path, QSettings::IniFormat);
        MidiInput input(devices, trace);
        MidiOutput output(devices, trace);
        Settings settings;
        EXPECT_TRUE(Registry::GetRegistry(store, settings, input, output, log));
        return settings;
    }

    void Write(const QString &key, const QString &value)
    {
        QSettings store(path, QSettings::IniFormat);
        store.setValue(key, value);
    }
};

} // namespace

TEST_F(RegistryFixture, FirstStartTakesEveryDefault)
{
    const Settings s = Read();
    EXPECT_EQ(Of(s.ports), Of(PortSettings{0, "USB MIDI In", 0, "USB MIDI Out", 0, 0}));
    EXPECT_EQ(Of(s.disks[0]), Of(DiskDevice{0, 1, 3, "Floppy Disk"}));
    for (int i = 1; i < Settings::DiskDeviceCount; ++i)
        EXPECT_EQ(Of(s.disks[i]), Of(DiskDevice{int16_t(i), 1, 1, QStringLiteral("SCSI %1").arg(i - 1)}));
    EXPECT_EQ(s.LastDiskAccessed, 0);
    EXPECT_EQ(Of(s.sp), Of(SpConfig{60, 64, 64, 0, 127}));
}

TEST_F(RegistryFixture, EverySettingIsStoredAsTextAndReadsBackEqual)
{
    Settings original;
    original.ports = {1, "Korvane Virtual SP", 1, "Korvane Virtual SP", 1, 250};
    original.disks[2] = {2, 0, 5, "Zip drive"};
    original.LastDiskAccessed = 2;
    original.sp = {48, 100, 20, 9, 16};
    original.HomeDirectory = "/home/someone/korvane";
    {
        QSettings store(path, QSettings::IniFormat);
        ASSERT_TRUE(Registry::SetRegistry(store, original));
    }
    QSettings raw(path, QSettings::IniFormat);
    for (const QString &key : raw.allKeys())
        EXPECT_EQ(raw.value(key).typeId(), QMetaType::QString) << qPrintable(key);
    EXPECT_EQ(raw.value("MIDI Interface/Input").toString(), "Korvane Virtual SP");
    EXPECT_EQ(raw.value("Disk Devices/Dev2_VolName").toString(), "Zip drive");
    EXPECT_EQ(raw.value("SP Config/SysEx Device ID").toString(), "16");
    EXPECT_EQ(raw.value("Application/Home Directory").toString(), "/home/someone/korvane");

    const Settings s = Read();
    EXPECT_EQ(Of(s.ports), Of(original.ports));
    EXPECT_EQ(Of(s.disks[2]), Of(original.disks[2]));
    EXPECT_EQ(s.LastDiskAccessed, 2);
    EXPECT_EQ(Of(s.sp), Of(original.sp));
}

TEST_F(RegistryFixture, MidiThruIsOnOnlyForTheTextOne)
{
    const std::pair<const char *, int> cases[] = {{"1", 1}, {"0", 0}, {"", 0}, {"yes", 0}, {" 1", 0}};
    for (const auto &[text, expected] : cases) {
        Write("MIDI Interface/MIDI Thru", QString::fromLatin1(text));
        EXPECT_EQ(Read().ports.MidiThru, expected) << '"' << text << '"';
    }
}

// A stored device that is gone falls back to device 0.
TEST_F(RegistryFixture, EmptyOrUnusableValuesTakeTheirDefaults)
{
    Write("MIDI Interface/Input", "Unplugged Interface");
    Write("MIDI Interface/Output", "Korvane Virtual SP");
    Write("SP Config/PlayBack Note", "");
    Write("SP Config/PlayBack Velocity ON", "loud");
    Write("SP Config/SysEx Device ID", "200"); // would put garbage on the wire
    Write("SP Config/PlayBack MIDI Channel", "16");
    Write("SP Config/PlayBack Velocity OFF", "12");
    Write("MIDI Interface/Message Pause", "1001");
    Write("Disk Devices/Dev0_VolName", "");
    Write("Disk Devices/Dev3_VolName", "My SCSI");
    const Settings s = Read();
    EXPECT_EQ(Of(s.sp), Of(SpConfig{60, 64, 12, 0, 127}));
    EXPECT_EQ(Of(s.ports), Of(PortSettings{0, "USB MIDI In", 1, "Korvane Virtual SP", 0, 0}));
    // With the group present, a single missing type falls back to 1, even for the floppy.
    EXPECT_EQ(Of(s.disks[0]), Of(DiskDevice{0, 1, 1, "Floppy Disk"}));
    EXPECT_EQ(s.disks[3].VolName, "My SCSI");
}

TEST_F(RegistryFixture, HomeDirectoryIsTheCurrentOneUnlessStored)
{
    for (const auto &[stored, expected] : {std::pair{"", "/start/here"}, {"/kept", "/kept"}}) {
        Write("Application/Home Directory", stored);
        QSettings store(path, QSettings::IniFormat);
        EXPECT_EQ(Registry::ReadHomeDirectory(store, "/start/here"), expected) << stored;
    }
    QTemporaryDir empty;
    QSettings none(empty.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    EXPECT_EQ(Registry::ReadHomeDirectory(none, "/start/here"), "/start/here");
}
