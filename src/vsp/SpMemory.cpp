#include "vsp/SpMemory.h"

namespace Vsp {

const QByteArray *SpMemory::find(int kind, int number) const
{
    if (kind < 0 || kind >= ObjectKinds)
        return nullptr;
    const auto &kindObjects = of(kind);
    const auto it = kindObjects.find(number);
    return it == kindObjects.end() ? nullptr : &it->second;
}

int SpMemory::parameterBytesUsed(int kind) const
{
    int used = 0;
    for (const auto &[number, record] : of(kind))
        used += static_cast<int>(record.size());
    return used;
}

int SpMemory::parameterBytesFree() const
{
    int used = 0;
    for (int kind = 0; kind < ObjectKinds; ++kind)
        used += parameterBytesUsed(kind);
    return ParameterMemoryBytes - used;
}

int SpMemory::sampleKilowordsUsed() const
{
    int used = 0;
    for (const auto &[number, record] : of(Wave))
        used += static_cast<int>(Read(record, WaveField::Size, 2));
    return used;
}

int SpMemory::freeSampleKilowords() const
{
    return installedKilowords - sampleKilowordsUsed();
}

void SpMemory::clear()
{
    for (auto &kindObjects : objects)
        kindObjects.clear();
}

} // namespace Vsp
