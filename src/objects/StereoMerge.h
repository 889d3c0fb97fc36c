// Merging two mono Waves into one stereo Wave: what the dialog reads from a Wave's dump, the
// checks made before anything is sent, the number rules of its boxes, and the command's bytes.
#pragma once

#include "objects/ObjectDirectory.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace StereoMerge {

constexpr int TimeoutMs = 20000;
constexpr int LengthPosition = 60; // four nibble characters
constexpr int ModePosition = 48;   // two nibble characters
constexpr int StereoBit = 0x20;

// A Wave's length and mode as the dialog shows them; nothing when the dump is too short or
// garbled.
struct WaveDetails {
    int length = 0;
    bool stereo = false;
    QString lengthText() const { return QString::number(length); }
    QString modeText() const;
};
std::optional<WaveDetails> Details(const QByteArray &dump);

// What one side of the dialog shows.
struct Side {
    QString number;
    QString mode;
    QString length;
};
// The first check the pair fails, as the message to show; nothing when it may be merged.
std::optional<QString> Check(const Side &left, const Side &right);

// The Wave number a committed box settles on: empty or out of range goes to the nearest end
// of the range in use, and a number that is not in use to the lowest.
int SettleNumber(const QString &text, const ObjDirStatus &status, const ObjDir &dir);
// The next Wave number in use above (step +1) or below (step -1) `current`, within the range
// in use; nothing at either end.
std::optional<int> SpinTarget(int current, int step, const ObjDirStatus &status, const ObjDir &dir);

// The command body; nothing when a number does not fit four nibble characters.
std::optional<QByteArray> Command(int left, int right);
QString ProgressText(int left, int right);

} // namespace StereoMerge
