// The Wave described once: where each field sits in its dump, its width and range, the name
// the Wave tab's tooltips, Compare and the undo history give it, the boxes that show it and the
// form its value takes there; and the Wave's values as read from the SP's answer.
#pragma once

#include "device/ObjectKinds.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

class DumpRecord;

// The Wave's edited parameters; the first five are also the five position scroll bars' order.
enum class WaveParm { PlayStart, PlayEnd, LoopStart, LoopEnd, LoopFract, FineTune, Pitch };
constexpr int WaveParmCount = 7;
constexpr size_t Index(WaveParm parm) { return static_cast<size_t>(parm); }

struct WaveParmInfo {
    const char *box;  // the text box's name
    const char *spin; // its spin button's name
    int position;     // the first nibble character in the dump
    int width;        // nibble characters
    bool isSigned;
    const char *name; // "Loop fraction"
    // The tooltip's range and unit. The limits depend on each other, so the tips name the
    // neighbouring value as the end.
    const char *lowText;
    const char *highText;
    const char *unit;
};
const WaveParmInfo &ParmInfo(WaveParm parm);

namespace WaveDump {
constexpr int DumpLength = DumpLengths[KindWave];
constexpr int FirstPosition = 20; // the name, then the data bytes
constexpr int Name = 20, Mode = 48, FineTune = 50, Address = 52, Size = 60, Checksum = 64, PlayStart = 68,
              PlayEnd = 76, Length = 84, LoopStart = 92, LoopEnd = 100, LoopFraction = 108, SamplePeriod = 116,
              Normalisation = 124, Pitch = 128;
constexpr uint8_t LoopOn = 0x80, LoopFwdRev = 0x40, Stereo = 0x20;
constexpr int64_t LargestFraction = 0xFFFFFF; // 24 bits on the SP
constexpr int FineTuneLimit = 99;
constexpr int64_t HighestPitch = 12799;       // 127.99 semitones

// The fields the Wave tab only shows, each with its tooltip and, where its box writes it in
// another form than a decimal number, that form.
struct ShownField {
    const char *name;
    int position;
    int width;
    const char *control; // the objectName of its box
    const char *tip;
    QString (*text)(int64_t value);
};
const std::array<ShownField, 6> &ShownFields();
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

    static WaveValues Read(const DumpRecord &record);
};

// A value in its box's form: the loop fraction in hexadecimal with "h", the pitch in semitones.
QString ParmText(WaveParm parm, int64_t value);
// Upper-case hexadecimal digits followed by "h".
QString HexText(uint32_t value);
// The memory address as the SP's front panel counts it, from the start of sample memory.
QString AddressText(int64_t address);
