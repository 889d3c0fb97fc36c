// Record builders and the contents of the factory and demo banks.
#include "vsp/FactoryBank.h"

#include <array>
#include <cmath>
#include <vector>

namespace Vsp {
namespace {

constexpr int SamplesPerKiloword = 1024;
constexpr int AddressUnitsPerKiloword = 2; // a word is two bytes, an address unit 1024 bytes
constexpr int Groups = 8;
constexpr int MidiChannels = 16;
constexpr uint8_t NoController = 255;
constexpr int MiddleC = 60;

char Byte(int value)
{
    return static_cast<char>(value < 0 ? value + 256 : value);
}

// Voices per group, adding up to the module's 32.
constexpr std::array<int, Groups> GroupPolyphony = {8, 8, 4, 4, 2, 2, 2, 2};

struct WaveSound {
    const char *name;
    int length; // samples per channel
    bool stereo;
    bool looped;
    int rootNote;
    int sampleRate = 44100;
    bool bidirectionalLoop = false;
};

QByteArray MakeWave(const WaveSound &sound)
{
    using namespace WaveField;
    QByteArray record(WaveRecordBytes, '\0');
    SetName(record, sound.name);
    uint8_t mode = sound.stereo ? Stereo : 0;
    if (sound.looped)
        mode |= LoopOn | (sound.bidirectionalLoop ? LoopBidirectional : 0);
    record[Mode] = static_cast<char>(mode);
    const int kilowords = (sound.length + SamplesPerKiloword - 1) / SamplesPerKiloword * (sound.stereo ? 2 : 1);
    Write(record, Size, 2, static_cast<uint32_t>(kilowords));
    // We hold no sample words to sum; a value derived from the name keeps each Wave's distinct.
    Write(record, Checksum, 2, qChecksum(QByteArrayView(sound.name)));
    const auto lastSample = static_cast<uint32_t>(sound.length - 1);
    Write(record, PlayStart, 4, 0);
    Write(record, PlayEnd, 4, lastSample);
    Write(record, WaveField::Length, 4, static_cast<uint32_t>(sound.length));
    // Looped sounds repeat their last quarter; one-shots keep the loop points at the end.
    Write(record, LoopStart, 4, sound.looped ? lastSample - static_cast<uint32_t>(sound.length / 4) : lastSample);
    Write(record, LoopEnd, 4, lastSample);
    Write(record, LoopFraction, 4, 0);
    Write(record, SamplePeriod, 4, static_cast<uint32_t>(std::lround(1e9 / sound.sampleRate))); // nanoseconds
    Write(record, Pitch, 2, static_cast<uint32_t>(sound.rootNote * 100));
    return record;
}

struct Envelope {
    int attack; // -99 to 99
    int sustain;
    int decay;
    int release;
};

QByteArray MakeTone(const char *name, int wave, Envelope first, Envelope second)
{
    QByteArray record(ToneRecordBytes, '\0');
    SetName(record, name);
    record[16] = Byte(wave);
    int at = 18;
    for (const Envelope &envelope : {first, second}) {
        for (int value : {envelope.attack, envelope.sustain, envelope.decay, envelope.release})
            record[at++] = Byte(value);
    }
    return record;
}

struct Zone {
    int tone;
    int lowNote;
    int highNote;
    int transpose = 0;
    int volume = 99;
    int pan = 0;
};

QByteArray MakeMap(const char *name, const std::vector<Zone> &zones)
{
    const int count = static_cast<int>(zones.size());
    QByteArray record(RecordBytes(Map, count), '\0');
    SetName(record, name);
    record[MapLastZoneOffset] = Byte(count - 1);
    for (int z = 0; z < count; ++z) {
        const Zone &zone = zones[static_cast<size_t>(z)];
        const int base = MapZonesOffset + MapZoneBytes * z;
        record[base + ZoneField::Tone] = Byte(zone.tone);
        record[base + ZoneField::LowNote] = Byte(zone.lowNote);
        record[base + ZoneField::HighNote] = Byte(zone.highNote);
        record[base + ZoneField::Transpose] = Byte(zone.transpose);
        record[base + ZoneField::Volume] = Byte(zone.volume);
        record[base + ZoneField::Pan] = Byte(zone.pan);
    }
    return record;
}

struct Layer {
    std::array<int, 4> mapsByLevel; // levels 1 to 4
    int volume = 0;                 // signed
    int output = 0;                 // 0 to 2
};

constexpr int PresetLayerA = 65;
constexpr int PresetLayerB = 161;

void WriteLayer(QByteArray &record, int base, const Layer &layer)
{
    for (int level = 0; level < 4; ++level)
        record[base + 2 + level] = Byte(layer.mapsByLevel[static_cast<size_t>(level)]);
    const std::array<int, 3> switchPoints = {32, 64, 96};
    for (int point = 0; point < 3; ++point)
        record[base + 6 + point] = Byte(switchPoints[static_cast<size_t>(point)]);
    record[base + 11] = Byte(layer.output);
    record[base + 13] = Byte(layer.volume);
    record[base + 19] = Byte(MiddleC); // keyboard tracking centre
}

QByteArray MakePreset(const char *name, const Layer &a, const Layer &b)
{
    QByteArray record(PresetRecordBytes, '\0');
    SetName(record, name);
    for (int g = 0; g < Groups; ++g) {
        record[1 + 16 + g] = Byte(GroupPolyphony[static_cast<size_t>(g)]);
        record[1 + 24 + g] = Byte(1); // priority
    }
    for (int aux = 32; aux <= 34; ++aux)
        record[1 + aux] = static_cast<char>(NoController);
    record[1 + 39] = Byte(MiddleC); // pivot note
    WriteLayer(record, PresetLayerA, a);
    WriteLayer(record, PresetLayerB, b);
    return record;
}

QByteArray MakeMulti(const char *name, const std::array<int, MidiChannels> &presetByChannel)
{
    QByteArray record(MultiRecordBytes, '\0');
    SetName(record, name);
    for (int g = 0; g < Groups; ++g) {
        record[1 + 18 + g] = Byte(GroupPolyphony[static_cast<size_t>(g)]);
        record[1 + 26 + g] = Byte(1);
    }
    for (int channel = 0; channel < MidiChannels; ++channel) {
        record[1 + 34 + channel] = Byte(presetByChannel[static_cast<size_t>(channel)]);
        record[1 + 50 + channel] = Byte(100);
    }
    return record;
}

// Places the Waves one after another in sample memory, in number order.
void LayOutSamples(SpMemory &memory)
{
    uint32_t address = FirstSampleAddress;
    for (auto &[number, record] : memory.of(Wave)) {
        Write(record, WaveField::Address, 4, address);
        address += Read(record, WaveField::Size, 2) * AddressUnitsPerKiloword;
    }
}

SpMemory Bank(const char *bankName)
{
    SpMemory memory;
    memory.global.bankName = QByteArray(bankName).leftJustified(NameLength, ' ', true);
    return memory;
}

constexpr Envelope Piano{0, 0, 70, 40};
constexpr Envelope Pad{-40, 90, 20, 60};
constexpr Envelope Percussive{0, 0, 30, 10};
constexpr Envelope Sustained{-5, 99, 0, 30};

} // namespace

SpMemory FactoryBank()
{
    SpMemory memory = Bank("Factory Sounds");
    auto &waves = memory.of(Wave);
    waves[0] = MakeWave({"Grand Piano L", 96000, false, true, 48});
    waves[1] = MakeWave({"Grand Piano R", 96000, false, true, 48});
    waves[2] = MakeWave({"Grand Pno High", 64000, true, true, 72});
    waves[5] = MakeWave({"Strings Ens", 120000, true, true, 60, 44100, true});
    waves[6] = MakeWave({"Kick Drum", 22050, false, false, 36});
    waves[7] = MakeWave({"Snare Drum", 18000, false, false, 38});
    waves[9] = MakeWave({"Analog Bass", 30000, false, true, 36, 22050});
    waves[12] = MakeWave({"Choir Aahs", 80000, true, true, 60, 32000});
    waves[14] = MakeWave({"Crash Cymbal", 60000, true, false, 49});
    LayOutSamples(memory);

    auto &tones = memory.of(Tone);
    tones[0] = MakeTone("Piano Left", 0, Piano, Piano);
    tones[1] = MakeTone("Piano Right", 1, Piano, Piano);
    tones[2] = MakeTone("Piano High", 2, Piano, Percussive);
    tones[3] = MakeTone("Strings", 5, Pad, Sustained);
    tones[4] = MakeTone("Kick", 6, Percussive, Percussive);
    tones[5] = MakeTone("Snare", 7, Percussive, Percussive);
    tones[8] = MakeTone("Bass", 9, Sustained, Percussive);
    tones[10] = MakeTone("Choir", 12, Pad, Pad);
    tones[11] = MakeTone("Crash", 14, Percussive, Percussive);

    auto &maps = memory.of(Map);
    maps[0] = MakeMap("Grand Piano", {{0, 0, 47, 0, 99, -40}, {1, 48, 83, 0, 99, 40}, {2, 84, 127}});
    maps[1] = MakeMap("Drum Kit", {{4, 35, 36}, {5, 37, 40, 0, 90, 10}, {11, 49, 57, 0, 80, -30}});
    maps[3] = MakeMap("Strings Choir", {{3, 0, 59}, {10, 60, 127, 0, 85}});
    maps[4] = MakeMap("Bass Split", {{8, 0, 47, 12}, {3, 48, 71}, {0, 72, 95}, {2, 96, 127, -12}});

    auto &presets = memory.of(Preset);
    presets[0] = MakePreset("Grand Piano", {{0, 0, 0, 0}}, {{3, 3, 3, 3}, -20});
    presets[1] = MakePreset("Drums & Bass", {{1, 1, 1, 1}}, {{4, 4, 4, 4}, 0, 1});
    presets[2] = MakePreset("Choir Strings", {{3, 3, 3, 3}}, {{0, 0, 0, 0}, -30});
    presets[5] = MakePreset("Bass & Piano", {{4, 4, 4, 4}}, {{0, 0, 3, 3}, -10, 2});

    memory.of(Multi)[0] = MakeMulti("Band Setup", {0, 5, 2, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0});
    return memory;
}

SpMemory DemoBank(int index)
{
    if (index == 0) {
        SpMemory memory = Bank("Demo Disk 1");
        memory.of(Wave)[0] = MakeWave({"Soft Pad", 48000, true, true, 60});
        memory.of(Wave)[1] = MakeWave({"Nylon Pluck", 20000, false, false, 55});
        LayOutSamples(memory);
        memory.of(Tone)[0] = MakeTone("Soft Pad", 0, Pad, Pad);
        memory.of(Tone)[1] = MakeTone("Pluck", 1, Percussive, Piano);
        memory.of(Map)[0] = MakeMap("Pad & Pluck", {{1, 0, 59}, {0, 60, 127, 0, 80}});
        memory.of(Preset)[0] = MakePreset("Pad & Pluck", {{0, 0, 0, 0}}, {{0, 0, 0, 0}, -99});
        return memory;
    }
    if (index == 1) {
        SpMemory memory = Bank("Demo Disk 2");
        memory.of(Wave)[3] = MakeWave({"Organ Drawbar", 40000, false, true, 60});
        memory.of(Wave)[4] = MakeWave({"Brass Stab", 36000, true, false, 64});
        memory.of(Wave)[7] = MakeWave({"Closed Hi-Hat", 12000, false, false, 42, 22050});
        LayOutSamples(memory);
        memory.of(Tone)[2] = MakeTone("Organ", 3, Sustained, Sustained);
        memory.of(Tone)[3] = MakeTone("Brass", 4, Piano, Percussive);
        memory.of(Tone)[7] = MakeTone("Hi-Hat", 7, Percussive, Percussive);
        memory.of(Map)[1] = MakeMap("Organ Brass", {{2, 0, 35}, {3, 36, 83, 0, 95, 20}, {2, 84, 127, -12}});
        memory.of(Map)[2] = MakeMap("Hats", {{7, 42, 46}, {7, 47, 47, 2, 80}});
        memory.of(Preset)[4] = MakePreset("Organ Band", {{1, 1, 1, 1}}, {{2, 2, 2, 2}, -15});
        memory.of(Multi)[3] = MakeMulti("Organ Trio", {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});
        return memory;
    }
    return {};
}

} // namespace Vsp
