// The SP's Global settings: read parameter by parameter, and each edit sent as its own message.
#pragma once

#include "objects/GlobalDescription.h"
#include "objects/ObjectStore.h"

#include <QByteArray>

#include <optional>
#include <variant>

class ObjectIO;

namespace GlobalObject {

// The settings' addresses: the numbered parameters 1 to 5, and the two settings sent with
// messages of their own, the bank name (0) and the master tune (6).
using GlobalDescription::BankName;
using GlobalDescription::MasterTune;
using GlobalDescription::OmniPolyChannel;
using GlobalDescription::OmniPolyVolume;
using GlobalDescription::PlaybackMode;
using GlobalDescription::ProgChange;
using GlobalDescription::ReceiveMode;

// Reads all seven values into `global`; false at the first request not answered.
bool GlobalObjDump(ObjectIO &io, GlobalValues &global);

// Edit bodies (between the device ID and F7).
QByteArray ParameterEditBody(int parameter, int value);
QByteArray BankNameEditBody(const QString &name); // padded with spaces to 14 characters
// Nothing when the tune is outside -12000 to 12000 hundredths.
std::optional<QByteArray> MasterTuneEditBody(int hundredths);

// The edit body of any Global setting by its address, as the edits of each build it; nothing
// for an unknown address or a value that cannot be sent.
std::optional<QByteArray> EditBody(int parameter, const std::variant<int64_t, QString> &value);
// The value of a setting by its address, as an edit would send it.
std::variant<int64_t, QString> Value(const GlobalValues &global, int parameter);
// A setting as texts about it show it: the name trimmed, the channel from 1, the tune in units.
QString ValueText(const GlobalValues &global, int parameter);

} // namespace GlobalObject
