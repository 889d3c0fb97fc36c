// Registry: the settings store. Values live under "Talvern Systems"/"Korvane" in the groups
// "MIDI Interface", "Disk Devices", "SP Config" and "Application", every value as text.
#pragma once

#include "settings/Settings.h"

class DebugLog;
class MidiComms;
class MidiInput;
class MidiOutput;
class QSettings;

namespace Registry {

constexpr const char *Organisation = "Talvern Systems";
constexpr const char *Application = "Korvane";

// Reads every setting, with its default where a group or value is missing or empty. A stored
// device name is looked up among the present devices; no match keeps the current device.
bool GetRegistry(QSettings &store, Settings &settings, const MidiInput &input, const MidiOutput &output,
                 DebugLog &log);
// False when the settings could not be written (read-only folder, full disk).
bool SetRegistry(QSettings &store, const Settings &settings);
// The same, and a failure is reported to the user rather than lost.
bool SetRegistry(QSettings &store, const Settings &settings, MidiComms &comms);
// Whether MIDI ports were ever stored: false on a first start.
bool HasStoredPorts(QSettings &store);

// The home directory alone, as the start-up window needs it before anything else.
QString ReadHomeDirectory(QSettings &store, const QString &currentDirectory);
// Whether to offer the built-in Virtual SP, read before the devices are listed.
bool ReadVirtualSpEnabled(QSettings &store);
// The main window's last place and tab, read before the window is shown. A value missing or
// out of range gives no geometry at all.
WindowSettings ReadWindow(QSettings &store);

} // namespace Registry
