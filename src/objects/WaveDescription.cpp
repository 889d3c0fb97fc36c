#include "objects/WaveDescription.h"

#include "device/NibbleCodec.h"
#include "objects/DumpRecord.h"

namespace {

constexpr int64_t SampleMemoryStart = 0x500000;
constexpr int AddressUnit = 1024;

constexpr const char *SampleNumber = "(sample number)";
constexpr std::array<WaveParmInfo, WaveParmCount> Parms = {{
    {"txtPlayStart", "spnPlayStart", WaveDump::PlayStart, 8, false, "Play start", "0", "play end - 2", SampleNumber},
    {"txtPlayEnd", "spnPlayEnd", WaveDump::PlayEnd, 8, false, "Play end", "play start + 1", "length - 1", SampleNumber},
    {"txtLoopStart", "spnLoopStart", WaveDump::LoopStart, 8, false, "Loop start", "play start", "loop end", SampleNumber},
    {"txtLoopEnd", "spnLoopEnd", WaveDump::LoopEnd, 8, false, "Loop end", "loop start", "play end", SampleNumber},
    {"txtLoopFract", "spnLoopFract", WaveDump::LoopFraction, 8, false, "Loop fraction", "0h", "FFFFFFh",
     "(fine loop end, in parts of a sample)"},
    {"txtFineTune", "spnFineTune", WaveDump::FineTune, 2, true, "Fine tune", "-99", "99", ""},
    {"txtWavePitch", "spnWavePitch", WaveDump::Pitch, 4, false, "Pitch", "0.00", "127.99", "semitones (60.00 is C4)"},
}};

} // namespace

const std::array<WaveDump::ShownField, 6> &WaveDump::ShownFields()
{
    static const std::array<ShownField, 6> fields = {{
        {"Address", Address, 8, "txtWaveAddr", "Address: where the Wave starts in sample memory, hexadecimal", AddressText},
        {"Size", Size, 4, "txtWaveSize", "Size: the memory the Wave takes, shown only", nullptr},
        {"Checksum", Checksum, 4, "txtChecksum", "Checksum: of the sample data, hexadecimal",
         [](int64_t v) { return HexText(static_cast<uint32_t>(v)); }},
        {"Length", Length, 8, "txtWaveLen", "Length: number of samples, shown only", nullptr},
        {"Sample period", SamplePeriod, 8, "txtSampPeriod", "Sample period: as the SP reports it, shown only", nullptr},
        {"Normalisation", Normalisation, 4, "txtWaveNorm", "Normalisation: as the SP reports it, shown only", nullptr},
    }};
    return fields;
}

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

WaveValues WaveValues::Read(const DumpRecord &record)
{
    using namespace WaveDump;
    const auto signed32 = [&](int position) { return static_cast<int32_t>(record.Number(position, 4)); };
    WaveValues w;
    w.name = record.Text(Name, NibbleCodec::NameCharacters);
    w.mode = static_cast<uint8_t>(record.Byte(Mode));
    w.fineTune = record.Signed(FineTune);
    w.address = static_cast<int64_t>(record.Number(Address, 4)) * AddressUnit;
    w.size = static_cast<int>(record.Number(Size, 2));
    w.checksum = static_cast<int>(record.Number(Checksum, 2));
    w.playStart = signed32(PlayStart);
    w.playEnd = signed32(PlayEnd);
    w.length = signed32(Length);
    w.loopStart = signed32(LoopStart);
    w.loopEnd = signed32(LoopEnd);
    w.loopFraction = record.Number(LoopFraction, 4);
    w.samplePeriod = signed32(SamplePeriod);
    w.pitch = record.Number(Pitch, 2);
    w.normalisation = static_cast<int16_t>(record.Number(Normalisation, 2));
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
