// The data bytes of one fixed-length object dump (Wave, Tone, Preset, Multi), read once out of
// their nibble characters and addressed by the message position of their high nibble, as the
// kinds' descriptions give it; a position one past a byte's high nibble is its low nibble alone
// (the Tone's LFO phase bits). The editors keep their object's values in one of these beside
// the working image.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class ObjectIO;

class DumpRecord {
public:
    // Nothing when the dump is not `length` characters long or a data character is no nibble;
    // the data bytes run from `firstPosition` up to the F7 at the end.
    static std::optional<DumpRecord> Parse(const QByteArray &dump, int length, int firstPosition);
    // Object `number` of a fixed-length kind read from the SP into the kind's working image, or
    // nothing after the download error (`heading`, `text`) or the wait has told the user.
    static std::optional<DumpRecord> Download(ObjectIO &io, int kind, int number, int firstPosition,
                                              const char *heading, const char *text);

    // The unsigned byte whose high nibble is at `position`, or the low nibble at `position`;
    // 0 outside the record.
    int Byte(int position) const;
    // A signed byte: above 128 it reads as byte - 256.
    int Signed(int position) const;
    int Value(int position, bool isSigned) const { return isSigned ? Signed(position) : Byte(position); }
    // A big-endian number of `bytes` bytes from `position`.
    unsigned Number(int position, int bytes) const;
    void Set(int position, int value);
    void SetNumber(int position, int bytes, unsigned value);
    // `characters` bytes from `position` as text, the zero bytes left out.
    QString Text(int position, int characters) const;

private:
    bool Holds(int position) const;
    bool LowNibble(int position) const;
    size_t Offset(int position) const { return static_cast<size_t>((position - first) / 2); }

    int first = 0;
    std::vector<unsigned char> bytes;
};
