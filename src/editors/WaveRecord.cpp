#include "editors/WaveRecord.h"

#include "device/NibbleCodec.h"

namespace {

constexpr int64_t SampleMemoryStart = 0x500000;
constexpr int AddressUnit = 1024;

constexpr std::array<WaveParmInfo, WaveParmCount> Parms = {{
    {"txtPlayStart", "spnPlayStart", WaveDump::PlayStart, 8},
    {"txtPlayEnd", "spnPlayEnd", WaveDump::PlayEnd, 8},
    {"txtLoopStart", "spnLoopStart", WaveDump::LoopStart, 8},
    {"txtLoopEnd", "spnLoopEnd", WaveDump::LoopEnd, 8},
    {"txtLoopFract", "spnLoopFract", WaveDump::LoopFraction, 8},
    {"txtFineTune", "spnFineTune", WaveDump::FineTune, 2},
    {"txtWavePitch", "spnWavePitch", WaveDump::Pitch, 4},
}};

} // namespace

const WaveParmInfo &ParmInfo(WaveParm parm)
{
    return Parms[Index(parm)];
}

// The edited parameters' fields, by WaveParm.
constexpr std::array<int64_t WaveValues::*, WaveParmCount> ParmFields = {
    &WaveValues::playStart, &WaveValues::playEnd, &WaveValues::loopStart, &WaveValues::loopEnd,
    &WaveValues::loopFraction, &WaveValues::fineTune, &WaveValues::pitch};

int64_t WaveValues::value(WaveParm parm) const
{
    return this->*ParmFields[Index(parm)];
}

void WaveValues::setValue(WaveParm parm, int64_t value)
{
    this->*ParmFields[Index(parm)] = value;
}

QString WaveValues::storedText(WaveParm parm) const
{
    const bool loopBox = parm == WaveParm::LoopStart || parm == WaveParm::LoopEnd || parm == WaveParm::LoopFract;
    if (loopBox && !loopOn())
        return QString();
    return ParmText(parm, value(parm));
}

std::optional<WaveValues> WaveValues::Parse(const QByteArray &dump)
{
    if (dump.size() != WaveDump::DumpLength)
        return std::nullopt;
    using namespace WaveDump;
    const auto mode = NibbleCodec::Read(dump, Mode, 2);
    const auto fineTune = NibbleCodec::ReadSignedByte(dump, FineTune);
    const auto normalisation = NibbleCodec::ReadSigned16(dump, Normalisation);
    const std::array<std::optional<uint32_t>, 11> fields = {
        NibbleCodec::Read(dump, Address, 8),      NibbleCodec::Read(dump, Size, 4),
        NibbleCodec::Read(dump, Checksum, 4),     NibbleCodec::Read(dump, PlayStart, 8),
        NibbleCodec::Read(dump, PlayEnd, 8), NibbleCodec::Read(dump, Length, 8),
        NibbleCodec::Read(dump, LoopStart, 8), NibbleCodec::Read(dump, LoopEnd, 8),
        NibbleCodec::Read(dump, LoopFraction, 8), NibbleCodec::Read(dump, SamplePeriod, 8),
        NibbleCodec::Read(dump, Pitch, 4)};
    if (!mode || !fineTune || !normalisation)
        return std::nullopt;
    for (const auto &read : fields) {
        if (!read)
            return std::nullopt;
    }
    const auto field = [&](int i) { return *fields[static_cast<size_t>(i)]; };
    const auto signed32 = [&](int i) { return static_cast<int32_t>(field(i)); };
    WaveValues w;
    w.name = NibbleCodec::ReadName(dump, Name);
    w.mode = static_cast<uint8_t>(*mode);
    w.fineTune = *fineTune;
    w.address = static_cast<int64_t>(field(0)) * AddressUnit;
    w.size = static_cast<int>(field(1));
    w.checksum = static_cast<int>(field(2));
    w.playStart = signed32(3);
    w.playEnd = signed32(4);
    w.length = signed32(5);
    w.loopStart = signed32(6);
    w.loopEnd = signed32(7);
    w.loopFraction = field(8);
    w.samplePeriod = signed32(9);
    w.pitch = field(10);
    w.normalisation = *normalisation;
    return w;
}

QString ParmText(WaveParm parm, int64_t value)
{
    if (parm == WaveParm::LoopFract)
        return HexText(static_cast<uint32_t>(value));
    if (parm == WaveParm::Pitch)
        return QString::number(static_cast<double>(value) / 100.0);
    return QString::number(value);
}

QString HexText(uint32_t value)
{
    return QString::number(value, 16).toUpper() + QLatin1Char('h');
}

QString AddressText(int64_t address)
{
    return HexText(static_cast<uint32_t>(address - SampleMemoryStart));
}
