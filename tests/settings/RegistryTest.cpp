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

namespace {

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
    EXPECT_EQ(s.ports.InputDeviceNum, 0);
    EXPECT_EQ(s.ports.InputDeviceName, "USB MIDI In");
    EXPECT_EQ(s.ports.OutputDeviceNum, 0);
    EXPECT_EQ(s.ports.OutputDeviceName, "USB MIDI Out");
    EXPECT_EQ(s.ports.MidiThru, 0);
    EXPECT_EQ(s.disks[0].VolName, "Floppy Disk");
    EXPECT_EQ(s.disks[0].Type, 3);
    for (int i = 1; i < Settings::DiskDeviceCount; ++i) {
        EXPECT_EQ(s.disks[i].VolName, QStringLiteral("SCSI %1").arg(i - 1));
        EXPECT_EQ(s.disks[i].Type, 1);
    }
    for (int i = 0; i < Settings::DiskDeviceCount; ++i) {
        EXPECT_EQ(s.disks[i].Installed, 1);
        EXPECT_EQ(s.disks[i].Number, i);
    }
    EXPECT_EQ(s.LastDiskAccessed, 0);
    EXPECT_EQ(s.sp.PlayBackNote, 60);
    EXPECT_EQ(s.sp.PlayBackVelocityOn, 64);
    EXPECT_EQ(s.sp.PlayBackVelocityOff, 64);
    EXPECT_EQ(s.sp.PlayBackMidiChannel, 0);
    EXPECT_EQ(s.sp.SysExDeviceID, 127);
}

TEST_F(RegistryFixture, EverySettingIsStoredAsTextAndReadsBackEqual)
{
    Settings original;
    original.ports = {1, "Korvane Virtual SP", 1, "Korvane Virtual SP", 1};
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
    EXPECT_EQ(raw.value("MIDI Interface/MIDI Thru").toString(), "1");
    EXPECT_EQ(raw.value("Disk Devices/Dev2_VolName").toString(), "Zip drive");
    EXPECT_EQ(raw.value("SP Config/SysEx Device ID").toString(), "16");
    EXPECT_EQ(raw.value("Application/Home Directory").toString(), "/home/someone/korvane");

    const Settings s = Read();
    EXPECT_EQ(s.ports.InputDeviceNum, 1);
    EXPECT_EQ(s.ports.InputDeviceName, "Korvane Virtual SP");
    EXPECT_EQ(s.ports.OutputDeviceNum, 1);
    EXPECT_EQ(s.ports.MidiThru, 1);
    EXPECT_EQ(s.disks[2].Installed, 0);
    EXPECT_EQ(s.disks[2].Type, 5);
    EXPECT_EQ(s.disks[2].VolName, "Zip drive");
    EXPECT_EQ(s.LastDiskAccessed, 2);
    EXPECT_EQ(s.sp.PlayBackNote, 48);
    EXPECT_EQ(s.sp.PlayBackVelocityOn, 100);
    EXPECT_EQ(s.sp.PlayBackVelocityOff, 20);
    EXPECT_EQ(s.sp.PlayBackMidiChannel, 9);
    EXPECT_EQ(s.sp.SysExDeviceID, 16);
}

TEST_F(RegistryFixture, StoredDeviceThatIsGoneFallsBackToDeviceZero)
{
    Write("MIDI Interface/Input", "Unplugged Interface");
    Write("MIDI Interface/Output", "Korvane Virtual SP");
    const Settings s = Read();
    EXPECT_EQ(s.ports.InputDeviceNum, 0);
    EXPECT_EQ(s.ports.InputDeviceName, "USB MIDI In");
    EXPECT_EQ(s.ports.OutputDeviceNum, 1);
    EXPECT_EQ(s.ports.OutputDeviceName, "Korvane Virtual SP");
}

TEST_F(RegistryFixture, MidiThruIsOnOnlyForTheTextOne)
{
    const std::pair<const char *, int> cases[] = {{"1", 1}, {"0", 0}, {"", 0}, {"yes", 0}, {" 1", 0}};
    for (const auto &[text, expected] : cases) {
        Write("MIDI Interface/MIDI Thru", QString::fromLatin1(text));
        EXPECT_EQ(Read().ports.MidiThru, expected) << '"' << text << '"';
    }
}

TEST_F(RegistryFixture, EmptyOrUnusableValuesTakeTheirDefaults)
{
    Write("SP Config/PlayBack Note", "");
    Write("SP Config/PlayBack Velocity ON", "loud");
    Write("SP Config/SysEx Device ID", "200");
    Write("SP Config/PlayBack MIDI Channel", "16");
    Write("SP Config/PlayBack Velocity OFF", "12");
    Write("Disk Devices/Dev0_VolName", "");
    Write("Disk Devices/Dev3_VolName", "My SCSI");
    const Settings s = Read();
    EXPECT_EQ(s.sp.PlayBackNote, 60);
    EXPECT_EQ(s.sp.PlayBackVelocityOn, 64);
    EXPECT_EQ(s.sp.SysExDeviceID, 127) << "a device ID above 127 would put garbage on the wire";
    EXPECT_EQ(s.sp.PlayBackMidiChannel, 0);
    EXPECT_EQ(s.sp.PlayBackVelocityOff, 12);
    EXPECT_EQ(s.disks[0].VolName, "Floppy Disk");
    // With the group present, a single missing type falls back to 1, even for the floppy.
    EXPECT_EQ(s.disks[0].Type, 1);
    EXPECT_EQ(s.disks[3].VolName, "My SCSI");
}

TEST_F(RegistryFixture, HomeDirectoryIsTheCurrentOneUnlessStored)
{
    {
        QSettings store(path, QSettings::IniFormat);
        EXPECT_EQ(Registry::ReadHomeDirectory(store, "/start/here"), "/start/here");
    }
    Write("Application/Home Directory", "");
    {
        QSettings store(path, QSettings::IniFormat);
        EXPECT_EQ(Registry::ReadHomeDirectory(store, "/start/here"), "/start/here");
    }
    Write("Application/Home Directory", "/kept");
    QSettings store(path, QSettings::IniFormat);
    EXPECT_EQ(Registry::ReadHomeDirectory(store, "/start/here"), "/kept");
}
