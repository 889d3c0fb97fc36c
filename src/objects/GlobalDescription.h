// The Global settings described once: for each its address, the range it travels in, how its
// value reads, the names the texts about it use and the controls of the Global tab that show it.
// The tab, Compare, the import question and the MIDI monitor all read this table.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace GlobalDescription {

enum class Form {
    Name,       // 14 characters
    Number,     // shown as a decimal number, plus shownOffset
    Hundredths, // shown in units, "12.5" for 1250
    Choice,     // one of `choices`, by value from 0
};

struct Setting {
    int address;             // 0 the bank name, 1 to 5 the numbered parameters, 6 the master tune
    const char *name;        // in Compare, the import question and undo: "Omni/Poly Channel"
    const char *monitorName; // in the MIDI monitor: "Omni/Poly channel"
    const char *caption;     // the tab's label or frame title
    const char *tipName;     // the tooltip's name, "Omni/poly MIDI channel"
    const char *tipUnit;
    Form form;
    int low;                 // as the value travels (hundredths for the tune)
    int high;
    int shownOffset;         // added when shown: the channel travels 0 to 15, shown 1 to 16
    std::span<const char *const> choices;
    const char *control;     // the objectName of the control that shows it (a choice's first option)
};

constexpr int BankName = 0, PlaybackMode = 1, ReceiveMode = 2, OmniPolyChannel = 3, OmniPolyVolume = 4,
              ProgChange = 5, MasterTune = 6;
constexpr int NameLength = 14;

const std::array<Setting, 7> &Settings();
// The setting at `address`; nullptr for an address no setting has.
const Setting *Find(int address);

// The setting's name in texts ("Master Tune"); empty for an unknown address.
QString Name(int address);
// A travelling value as the tab and every text about it show it.
QString NumberText(const Setting &setting, int64_t value);
// Hundredths in units without trailing zeros: 1250 -> "12.5".
QString HundredthsText(int64_t hundredths);

} // namespace GlobalDescription
