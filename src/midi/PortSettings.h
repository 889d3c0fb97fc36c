// PortSettings: which MIDI ports to open and how to pace what goes out, as the settings keep them.
#pragma once

#include <QString>

#include <cstdint>

struct PortSettings {
    int16_t InputDeviceNum = 0;
    QString InputDeviceName;
    int16_t OutputDeviceNum = 0;
    QString OutputDeviceName;
    int16_t MidiThru = 0; // 1 forwards incoming short messages to the output
    // Milliseconds kept between two SysEx messages sent, for interfaces that choke on fast SysEx.
    int16_t MessagePause = 0;
    static constexpr int MessagePauseMax = 1000;
};
