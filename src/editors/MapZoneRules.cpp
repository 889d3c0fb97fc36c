#include "editors/MapZoneRules.h"

#include <algorithm>

namespace MapZoneRules {

namespace {

constexpr Boundary Refused{};

Boundary Send(int value, std::optional<int> other = std::nullopt)
{
    return {true, value, other};
}

bool Valid(const std::vector<Range> &zones, int zone)
{
    return zone >= 0 && zone < static_cast<int>(zones.size());
}

} // namespace

Boundary LowNote(const std::vector<Range> &zones, int zone, int typed, int highBox)
{
    if (!Valid(zones, zone) || typed < 0 || typed > HighestNote)
        return Refused;
    const Range &z = zones[static_cast<size_t>(zone)];
    const bool last = zone == static_cast<int>(zones.size()) - 1;
    if (typed > highBox) {
        bool room = false;
        if (last) {
            room = z.high < HighestNote && z.low != 0;
        } else {
            const int nextLow = zones[static_cast<size_t>(zone + 1)].low;
            room = z.low < nextLow - 1 && z.high < nextLow - 1;
        }
        if (!room)
            return Send(z.high); // the zone shrinks to its top note
        // The high note goes up first, by its own rule, so the zone is never upside down on
        // the SP; the low note then never passes where the high note could go.
        const Boundary high = HighNote(zones, zone, typed, z.low);
        if (!high.send)
            return Refused;
        return Send(std::min(typed, high.value), high.value);
    }
    if (zone == 0 || typed > zones[static_cast<size_t>(zone - 1)].high)
        return Send(typed);
    return Refused;
}

Boundary HighNote(const std::vector<Range> &zones, int zone, int typed, int lowBox)
{
    if (!Valid(zones, zone) || typed < 0 || typed > HighestNote)
        return Refused;
    const Range &z = zones[static_cast<size_t>(zone)];
    const bool last = zone == static_cast<int>(zones.size()) - 1;
    if (typed <= z.high) {
        if (zone == 0)
            return typed < lowBox ? Send(typed, typed) : Send(typed);
        if (typed >= z.low)
            return Send(typed);
        const int previousHigh = zones[static_cast<size_t>(zone - 1)].high;
        const bool touching = z.low <= previousHigh + 1;
        // Across a gap the low note comes down too, but never onto the previous zone.
        if (touching || typed <= previousHigh)
            return Refused;
        return Send(typed, typed);
    }
    if (last) {
        if (z.low == HighestNote || z.high == HighestNote)
            return Refused;
        return Send(typed);
    }
    const int below = zones[static_cast<size_t>(zone + 1)].low - 1;
    if (z.high < below && typed <= below)
        return Send(typed);
    return Send(below);
}

} // namespace MapZoneRules
