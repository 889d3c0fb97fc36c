#include "objects/ObjectDirectory.h"

#include "device/NibbleCodec.h"

#include <cmath>

ObjDirStatus ObjDirStatus::Parse(const QByteArray &response)
{
    ObjDirStatus s;
    if (response.size() != ResponseLength)
        return s;
    const auto signed16 = [&](int position) { return NibbleCodec::ReadSigned16(response, position); };
    const auto number = [&](int position, int width) { return NibbleCodec::Read(response, position, width); };
    const auto highestAllowed = signed16(22), loaded = signed16(26), lowest = signed16(30), highest = signed16(34);
    const auto used = number(38, 6), free = number(44, 6), freeParm = number(50, 6), installed = number(56, 4),
               freeSample = number(60, 4);
    if (!highestAllowed || !loaded || !lowest || !highest || !used || !free || !freeParm || !installed || !freeSample)
        return s;
    s.HighestAllowed = *highestAllowed;
    s.Loaded = *loaded;
    s.Lowest = *lowest;
    s.Highest = *highest;
    s.ParmMemUsed = static_cast<int32_t>(*used);
    s.ParmMemFree = static_cast<int32_t>(*free);
    s.FreeParmRAM = static_cast<int32_t>(*freeParm);
    s.InstalledRAM = static_cast<int32_t>(*installed);
    s.FreeSampleRAM = static_cast<int32_t>(*freeSample);
    s.valid = true;
    return s;
}

ObjDir ObjDir::Parse(const QByteArray &response)
{
    ObjDir dir;
    if (response.size() < MinimumLength)
        return dir;
    const auto n = NibbleCodec::Read(response, 10, 4);
    if (!n)
        return dir;
    // Each entry is 16 data bytes after two unused ones; halves round to even.
    const int count = static_cast<int>(std::nearbyint((static_cast<double>(*n) - 2.0) / 16.0));
    for (int e = 0; e < count; ++e) {
        const auto number = NibbleCodec::ReadSigned16(response, 18 + 32 * e);
        if (!number)
            break; // the answer is shorter than it says: keep the entries it holds
        ObjDirEntry entry;
        entry.Position = static_cast<int16_t>(e);
        entry.Number = *number;
        entry.Name = NibbleCodec::ReadName(response, 22 + 32 * e);
        dir.Entries.append(entry);
    }
    return dir;
}

int ObjDir::IndexOf(int number) const
{
    for (int i = 0; i < Entries.size(); ++i) {
        if (Entries[i].Number == number)
            return i;
    }
    return -1;
}
