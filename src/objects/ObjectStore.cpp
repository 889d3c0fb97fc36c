#include "objects/ObjectStore.h"

#include "device/NibbleCodec.h"

namespace {
constexpr int NamePosition = 20;
}

QString KindState::ImageName() const
{
    return NibbleCodec::ReadName(Image, NamePosition);
}

int ObjectStore::CurrentZoneNote(int zoneByte) const
{
    if (CurrentZone < 0 || CurrentZone >= ZoneImages.size())
        return -1;
    const auto note = NibbleCodec::Read(ZoneImages[CurrentZone], 1 + 2 * zoneByte, 2);
    return note ? static_cast<int>(*note) : -1;
}
