// The program's settings in memory, with their first-start defaults.
#pragma once

#include "midi/PortSettings.h"

#include <QRect>
#include <QString>

#include <array>
#include <cstdint>

struct DiskDevice {
    int16_t Number = 0;
    uint8_t Installed = 1;
    int16_t Type = 1;
    QString VolName;
};

struct SpConfig {
    int16_t PlayBackNote = 60;
    int16_t PlayBackVelocityOn = 64;
    int16_t PlayBackVelocityOff = 64;
    int16_t PlayBackMidiChannel = 0;
    int16_t SysExDeviceID = 127;
};

// Where the main window was left: restored at the next start on a screen that still shows it.
struct WindowSettings {
    QRect Geometry; // the window's own area, without the frame; empty when none was saved
    QString LastTab; // the caption of the tab shown last
};

struct Settings {
    static constexpr int DiskDeviceCount = 8;

    PortSettings ports;
    std::array<DiskDevice, DiskDeviceCount> disks = DefaultDisks();
    uint8_t LastDiskAccessed = 0;
    SpConfig sp;
    QString HomeDirectory;
    // The built-in Virtual SP is offered as a MIDI device unless switched off here.
    bool VirtualSpEnabled = true;
    WindowSettings window;

    static DiskDevice DefaultDisk(int index, bool wholeKeyMissing);
    static std::array<DiskDevice, DiskDeviceCount> DefaultDisks();
};
