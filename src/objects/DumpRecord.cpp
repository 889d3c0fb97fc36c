#include "objects/DumpRecord.h"

#include "device/NibbleCodec.h"
#include "objects/ObjectDumps.h"
#include "objects/ObjectIO.h"
#include "device/ObjectKinds.h"

std::optional<DumpRecord> DumpRecord::Parse(const QByteArray &dump, int length, int firstPosition)
{
    if (dump.size() != length || firstPosition < 1 || firstPosition >= length)
        return std::nullopt;
    DumpRecord record;
    record.first = firstPosition;
    const int count = (length - firstPosition) / 2; // the F7 closes the message
    record.bytes.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto byte = NibbleCodec::Read(dump, firstPosition + 2 * i, 2);
        if (!byte)
            return std::nullopt;
        record.bytes.push_back(static_cast<unsigned char>(*byte));
    }
    return record;
}

std::optional<DumpRecord> DumpRecord::Download(ObjectIO &io, int kind, int number, int firstPosition,
                                               const char *heading, const char *text)
{
    const auto dump = ObjectDumps::CheckedDump(io, kind, number, heading, text);
    if (!dump)
        return std::nullopt;
    std::optional<DumpRecord> record = Parse(*dump, static_cast<int>(dump->size()), firstPosition);
    if (!record) {
        io.ReportError(QLatin1String(heading), QLatin1String(text));
        return std::nullopt;
    }
    KindState &state = io.store().of(kind);
    state.Image = *dump;
    state.Num = static_cast<int16_t>(number);
    return record;
}

bool DumpRecord::Holds(int position) const
{
    return position >= first && Offset(position) < bytes.size();
}

bool DumpRecord::LowNibble(int position) const
{
    return (position - first) % 2 == 1;
}

int DumpRecord::Byte(int position) const
{
    if (!Holds(position))
        return 0;
    const int byte = bytes[Offset(position)];
    return LowNibble(position) ? byte & 0x0F : byte;
}

int DumpRecord::Signed(int position) const
{
    return NibbleCodec::SignedByte(Byte(position));
}

unsigned DumpRecord::Number(int position, int count) const
{
    unsigned value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | static_cast<unsigned>(Byte(position + 2 * i));
    return value;
}

void DumpRecord::Set(int position, int value)
{
    if (!Holds(position))
        return;
    unsigned char &byte = bytes[Offset(position)];
    byte = LowNibble(position) ? static_cast<unsigned char>((byte & 0xF0) | (value & 0x0F))
                               : static_cast<unsigned char>(value & 0xFF);
}

QString DumpRecord::Text(int position, int characters) const
{
    QString text;
    for (int i = 0; i < characters; ++i) {
        if (const int code = Byte(position + 2 * i))
            text.append(QChar(static_cast<char16_t>(code)));
    }
    return text;
}

void DumpRecord::SetNumber(int position, int count, unsigned value)
{
    for (int i = count - 1; i >= 0; --i) {
        Set(position + 2 * i, static_cast<int>(value & 0xFF));
        value >>= 8;
    }
}
