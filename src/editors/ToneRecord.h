// One Tone's values read out of its dump, kept beside the working image so that the Tone tabs
// can show them and restore an emptied box without reading the message again.
#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>

class ToneRecord {
public:
    static constexpr int DumpLength = 180;
    static constexpr int FirstPosition = 18; // the first data byte's high nibble
    static constexpr int Bytes = 81;

    // Nothing when the dump has another length or a character that is not a nibble.
    static std::optional<ToneRecord> Parse(const QByteArray &dump);

    // The unsigned byte whose high nibble is at `position`; at an odd position the single
    // nibble character there (the LFO phase bits at 141).
    int Byte(int position) const;
    // A signed byte: above 128 it reads as byte - 256.
    int Signed(int position) const;
    int Value(int position, bool isSigned) const { return isSigned ? Signed(position) : Byte(position); }
    void Set(int position, int value);

private:
    static size_t Offset(int position) { return static_cast<size_t>((position - FirstPosition) / 2); }

    std::array<uint8_t, Bytes> bytes{};
};
