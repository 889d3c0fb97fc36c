#include "objects/StereoMerge.h"

#include "device/NibbleCodec.h"

namespace StereoMerge {

QString WaveDetails::modeText() const
{
    return stereo ? QStringLiteral("Stereo") : QStringLiteral("Mono");
}

std::optional<WaveDetails> Details(const QByteArray &dump)
{
    const auto length = NibbleCodec::Read(dump, LengthPosition, 4);
    const auto mode = NibbleCodec::Read(dump, ModePosition, 2);
    if (!length || !mode)
        return std::nullopt;
    return WaveDetails{static_cast<int>(*length), (*mode & StereoBit) != 0};
}

std::optional<QString> Check(const Side &left, const Side &right)
{
    if (left.number == right.number)
        return QStringLiteral("Must use two different waves!");
    if (left.mode == QLatin1String("Stereo"))
        return QStringLiteral("Left wave is already stereo!");
    if (right.mode == QLatin1String("Stereo"))
        return QStringLiteral("Right wave is already stereo!");
    // The right channel is laid against the left one, so it may not be shorter.
    if (right.length.toInt() < left.length.toInt())
        return QStringLiteral("Right wave length must be greater than left!");
    return std::nullopt;
}

int SettleNumber(const QString &text, const ObjDirStatus &status, const ObjDir &dir)
{
    bool ok = false;
    const int typed = text.toInt(&ok);
    if (!ok)
        return status.Lowest;
    if (typed > status.Highest)
        return status.Highest;
    if (typed < status.Lowest)
        return status.Lowest;
    return dir.IndexOf(typed) >= 0 ? typed : status.Lowest;
}

std::optional<int> SpinTarget(int current, int step, const ObjDirStatus &status, const ObjDir &dir)
{
    std::optional<int> best;
    for (const ObjDirEntry &entry : dir.Entries) {
        const int n = entry.Number;
        if (n < status.Lowest || n > status.Highest)
            continue;
        if (step > 0 && n > current && (!best || n < *best))
            best = n;
        if (step < 0 && n < current && (!best || n > *best))
            best = n;
    }
    return best;
}

std::optional<QByteArray> Command(int left, int right)
{
    const auto l = NibbleCodec::EncodeNumber(left, 4);
    const auto r = NibbleCodec::EncodeNumber(right, 4);
    if (left < 0 || right < 0 || !l || !r)
        return std::nullopt;
    return QByteArray("\x31\x01\x00\x00\x00\x04", 6) + *l + *r;
}

QString ProgressText(int left, int right)
{
    return QStringLiteral("Merging Right Wave w#%1 and Left Wave w#%2...").arg(right).arg(left);
}

} // namespace StereoMerge
