// The SP's object records as the Virtual SP holds them: for each kind, how many data bytes a
// record has, where its fields sit and which values the device accepts. A record holds the
// data bytes of a dump from message position 18 on; byte 0 is the spare byte before the name,
// so message position p (first nibble character) is record byte (p - 18) / 2.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace Vsp {

enum Kind : uint8_t { Wave = 0, Tone = 1, Map = 2, Preset = 3, Multi = 4, MapHeader = 5, MapZone = 6 };
constexpr int ObjectKinds = 5;
constexpr uint8_t AllKinds = 0x7F; // the kind of the clear-memory command

constexpr int NameOffset = 1;
constexpr int NameLength = 14;

// Record sizes of the fixed-size kinds; a Map has a header and 16 bytes per zone.
constexpr int WaveRecordBytes = 65;
constexpr int ToneRecordBytes = 81;
constexpr int PresetRecordBytes = 257;
constexpr int MultiRecordBytes = 97;
constexpr int MapHeaderBytes = 32;
constexpr int MapZoneBytes = 16;
constexpr int MapZonesOffset = 1 + MapHeaderBytes;
constexpr int MapLastZoneOffset = 1 + 16; // header byte 16
constexpr int MaxMapZones = 64;

int RecordBytes(int kind, int zones = 1); // -1 for an unknown kind
int HighestAllowed(int kind);             // the highest object number the device accepts
int ZoneCount(const QByteArray &mapRecord);

// Wave record fields (byte offsets).
namespace WaveField {
constexpr int Mode = 15;          // bit 7 loop on, bit 6 forward/reverse, bit 5 stereo
constexpr int FineTune = 16;      // signed
constexpr int Address = 17;       // 32-bit, units of 1024 bytes
constexpr int Size = 21;          // 16-bit, kilowords of sample memory
constexpr int Checksum = 23;      // 16-bit
constexpr int PlayStart = 25;     // 32-bit each from here
constexpr int PlayEnd = 29;
constexpr int Length = 33;
constexpr int LoopStart = 37;
constexpr int LoopEnd = 41;
constexpr int LoopFraction = 45;
constexpr int SamplePeriod = 49;
constexpr int Normalisation = 53; // 16-bit signed
constexpr int Pitch = 55;         // 16-bit, hundredths of a semitone
constexpr uint8_t LoopOn = 0x80;
constexpr uint8_t LoopBidirectional = 0x40;
constexpr uint8_t Stereo = 0x20;
} // namespace WaveField

namespace ZoneField {
constexpr int Tone = 1, LowNote = 2, HighNote = 3, Transpose = 4, Volume = 5, Pan = 6, Output = 7, Tuning = 8,
              Allocation = 9;
}

// One byte-wide field and the values the device accepts for it.
struct FieldRule {
    int offset;
    int low;
    int high;
    bool isSigned;
};
// The byte-field rules of a kind's record (for a Map, of one zone, offsets within the zone).
const std::vector<FieldRule> &Rules(int kind);

// Big-endian reading and writing of record fields.
uint32_t Read(const QByteArray &record, int offset, int bytes);
void Write(QByteArray &record, int offset, int bytes, uint32_t value);
int SignedByte(uint8_t byte);

QByteArray Name(const QByteArray &record);
void SetName(QByteArray &record, const QByteArray &name); // padded with spaces to 14

} // namespace Vsp
