// The SP's Global settings: read parameter by parameter, and each edit sent as its own message.
#pragma once

#include "objects/ObjectStore.h"

#include <QByteArray>

#include <optional>
#include <variant>

class ObjectIO;

namespace GlobalObject {

enum Parameter { PlaybackMode = 1, ReceiveMode = 2, OmniPolyChannel = 3, OmniPolyVolume = 4, ProgChange = 5 };
// The two settings sent with messages of their own, addressed beside the numbered parameters.
enum OwnMessage { BankName = 0, MasterTune = 6 };
constexpr int MasterTuneLimit = 12000; // hundredths

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
// The setting's name in texts: "Bank Name", "Master Tune", ...
QString ParameterName(int parameter);

// The tune as the box shows it: hundredths / 100 without trailing zeros (1250 -> "12.5").
QString MasterTuneText(int hundredths);
// A setting as texts about it show it: the name trimmed, the channel from 1, the tune in units.
QString ValueText(const GlobalValues &global, int parameter);

} // namespace GlobalObject
