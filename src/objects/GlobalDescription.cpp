#include "objects/GlobalDescription.h"

namespace GlobalDescription {

namespace {

constexpr const char *PlaybackChoices[] = {"MIDI Rcv Mode",      "what's on display", "current edit preset",
                                           "current edit map",   "current edit tone", "current edit wave"};
constexpr const char *ReceiveChoices[] = {"omni", "poly", "multi"};
constexpr const char *ProgChangeChoices[] = {"enabled", "disabled"};

} // namespace

const std::array<Setting, 7> &Settings()
{
    static const std::array<Setting, 7> settings = {{
        {BankName, "Bank Name", "name", "Bank Name", "Bank name", "up to 14 characters", Form::Name, 0, 0, 0, {},
         "txtGlobal(8)"},
        {PlaybackMode, "Playback Mode", "playback mode", "Playback Mode", "", "", Form::Choice, 0, 5, 0,
         PlaybackChoices, "cboGlobal(0)"},
        {ReceiveMode, "Receive Mode", "receive mode", "Receive Mode", "", "", Form::Choice, 0, 2, 0, ReceiveChoices,
         "optGlobal(8)"},
        {OmniPolyChannel, "Omni/Poly Channel", "Omni/Poly channel", "Omni/Poly Channel", "Omni/poly MIDI channel", "",
         Form::Number, 0, 15, 1, {}, "txtGlobal(6)"},
        {OmniPolyVolume, "Omni/Poly Volume", "Omni/Poly volume", "Omni/Poly Vol", "Omni/poly volume", "", Form::Number,
         0, 127, 0, {}, "txtGlobal(7)"},
        {ProgChange, "Program Change", "program change", "Prog Change", "", "", Form::Choice, 0, 1, 0,
         ProgChangeChoices, "optGlobal(11)"},
        {MasterTune, "Master Tune", "master tune", "Master Tune", "Master tune", "(steps of 0.01)", Form::Hundredths,
         -12000, 12000, 0, {}, "txtGlobal(9)"},
    }};
    return settings;
}

const Setting *Find(int address)
{
    return address >= BankName && address <= MasterTune ? &Settings()[static_cast<size_t>(address)] : nullptr;
}

QString Name(int address)
{
    const Setting *setting = Find(address);
    return setting ? QLatin1String(setting->name) : QString();
}

QString HundredthsText(int64_t hundredths)
{
    return QString::number(static_cast<double>(hundredths) / 100.0, 'g', 10);
}

QString NumberText(const Setting &setting, int64_t value)
{
    return setting.form == Form::Hundredths ? HundredthsText(value) : QString::number(value + setting.shownOffset);
}

} // namespace GlobalDescription
