#include "objects/DumpCheck.h"

#include "device/SysExFrame.h"

namespace DumpCheck {

namespace {

constexpr int KindPosition = 9;
constexpr int FirstNibble = 10;
constexpr int NumberPosition = 14;

} // namespace

bool WellFormed(const QByteArray &dump, int kind, int number, int length)
{
    if (length != AnyLength && dump.size() != length)
        return false;
    if (dump.size() < NumberPosition + 4 || !dump.startsWith(SysEx::Header())
        || static_cast<uint8_t>(dump.back()) != SysEx::End || SysEx::ByteAt(dump, KindPosition) != kind)
        return false;
    for (qsizetype i = FirstNibble - 1; i < dump.size() - 1; ++i) {
        if (static_cast<uint8_t>(dump.at(i)) > 0x0F)
            return false;
    }
    if (number == AnyNumber)
        return true;
    const auto nibble = [&](int position) { return static_cast<int>(static_cast<uint8_t>(dump.at(position - 1))); };
    const int stated = ((nibble(NumberPosition) * 16 + nibble(NumberPosition + 1)) * 16 + nibble(NumberPosition + 2)) * 16
        + nibble(NumberPosition + 3);
    return stated == number;
}

bool PrintableName(const QByteArray &name)
{
    for (char c : name) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

} // namespace DumpCheck
