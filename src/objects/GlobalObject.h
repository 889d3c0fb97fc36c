// The SP's Global settings: read parameter by parameter, and each edit sent as its own message.
#pragma once

#include "objects/ObjectStore.h"

#include <QByteArray>

#include <optional>

class ObjectIO;

namespace GlobalObject {

enum Parameter { PlaybackMode = 1, ReceiveMode = 2, OmniPolyChannel = 3, OmniPolyVolume = 4, ProgChange = 5 };
constexpr int MasterTuneLimit = 12000; // hundredths

// Reads all seven values into `global`; false at the first request not answered.
bool GlobalObjDump(ObjectIO &io, GlobalValues &global);

// Edit bodies (between the device ID and F7).
QByteArray ParameterEditBody(int parameter, int value);
QByteArray BankNameEditBody(const QString &name); // padded with spaces to 14 characters
// Nothing when the tune is outside -12000 to 12000 hundredths.
std::optional<QByteArray> MasterTuneEditBody(int hundredths);

// The tune as the box shows it: hundredths / 100 without trailing zeros (1250 -> "12.5").
QString MasterTuneText(int hundredths);

} // namespace GlobalObject
