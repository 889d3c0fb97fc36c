// A Wave as its dump describes it: the fields read from the SP's answer, where each edited
// field sits in the dump, and the form each value takes in its box on the Wave tab.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The Wave's edited parameters; the first five are also the five position scroll bars' order.
enum class WaveParm { PlayStart, PlayEnd, LoopStart, LoopEnd, LoopFract, FineTune, Pitch };
constexpr int WaveParmCount = 7;
constexpr size_t Index(WaveParm parm) { return static_cast<size_t>(parm); }

struct WaveParmInfo {
    const char *box;  // the text box's name
    const char *spin; // its spin button's name
    int position;     // the first nibble character in the dump
    int width;        // nibble characters
};
const WaveParmInfo &ParmInfo(WaveParm parm);

namespace WaveDump {
constexpr int DumpLength = 148;
constexpr int Name = 20, Mode = 48, FineTune = 50, Address = 52, Size = 60, Checksum = 64, PlayStart = 68,
              PlayEnd = 76, Length = 84, LoopStart = 92, LoopEnd = 100, LoopFraction = 108, SamplePeriod = 116,
              Normalisation = 124, Pitch = 128;
constexpr uint8_t LoopOn = 0x80, LoopFwdRev = 0x40, Stereo = 0x20;
constexpr int64_t LargestFraction = 0xFFFFFF;
} // namespace WaveDump

struct WaveValues {
    QString name;
    uint8_t mode = 0;
    int64_t address = 0; // bytes
    int size = 0;
    int checksum = 0;
    int32_t length = 0;
    int32_t samplePeriod = 0;
    int16_t normalisation = 0; // hundredths
    // The edited parameters, each as it is sent (the fine tune as a signed number, the pitch in
    // hundredths of a semitone).
    int64_t playStart = 0;
    int64_t playEnd = 0;
    int64_t loopStart = 0;
    int64_t loopEnd = 0;
    int64_t loopFraction = 0;
    int64_t fineTune = 0;
    int64_t pitch = 0;

    bool loopOn() const { return mode & WaveDump::LoopOn; }
    bool fwdRev() const { return mode & WaveDump::LoopFwdRev; }
    bool stereo() const { return mode & WaveDump::Stereo; }

    int64_t value(WaveParm parm) const;
    void setValue(WaveParm parm, int64_t value);
    // What the parameter's box shows for the stored value; the loop boxes are empty while the
    // loop is off.
    QString storedText(WaveParm parm) const;

    // Nothing unless the dump is a whole Wave answer with every field readable.
    static std::optional<WaveValues> Parse(const QByteArray &dump);
};

// A value in its box's form: the loop fraction in hexadecimal with "h", the pitch in semitones.
QString ParmText(WaveParm parm, int64_t value);
// Upper-case hexadecimal digits followed by "h".
QString HexText(uint32_t value);
// The memory address as the SP's front panel counts it, from the start of sample memory.
QString AddressText(int64_t address);
