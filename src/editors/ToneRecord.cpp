#include "editors/ToneRecord.h"

#include "device/NibbleCodec.h"

std::optional<ToneRecord> ToneRecord::Parse(const QByteArray &dump)
{
    if (dump.size() != DumpLength)
        return std::nullopt;
    ToneRecord record;
    for (int i = 0; i < Bytes; ++i) {
        const auto byte = NibbleCodec::Read(dump, FirstPosition + 2 * i, 2);
        if (!byte)
            return std::nullopt;
        record.bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(*byte);
    }
    return record;
}

int ToneRecord::Byte(int position) const
{
    if (position < FirstPosition || Offset(position) >= bytes.size())
        return 0;
    const int byte = bytes[Offset(position)];
    return position % 2 == 0 ? byte : byte & 0x0F;
}

int ToneRecord::Signed(int position) const
{
    return NibbleCodec::SignedByte(Byte(position));
}

void ToneRecord::Set(int position, int value)
{
    if (position < FirstPosition || Offset(position) >= bytes.size())
        return;
    uint8_t &byte = bytes[Offset(position)];
    if (position % 2 == 0)
        byte = static_cast<uint8_t>(value);
    else
        byte = static_cast<uint8_t>((byte & 0xF0) | (value & 0x0F));
}
