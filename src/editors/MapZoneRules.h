// How a typed zone boundary meets the neighbouring zones of the Map: whether it is taken,
// pulled to a neighbour, pushes the zone's other boundary along, or is refused. Plain
// arithmetic over the zones' key ranges, so every rule can be checked as a table.
#pragma once

#include <optional>
#include <vector>

namespace MapZoneRules {

constexpr int HighestNote = 127;

struct Range {
    int low = 0;
    int high = 0;
};

struct Boundary {
    // False: the box shows the stored value again and nothing is sent.
    bool send = false;
    // The value sent for the boundary that was typed into (it may differ from what was typed).
    int value = 0;
    // The zone's other boundary, moved to stay on its side; sent first, in its own upload.
    std::optional<int> other;
};

// The low note `typed` into zone `zone`'s box, with `highBox` the number its high-note box shows.
Boundary LowNote(const std::vector<Range> &zones, int zone, int typed, int highBox);
// The high note `typed` into zone `zone`'s box, with `lowBox` the number its low-note box shows.
Boundary HighNote(const std::vector<Range> &zones, int zone, int typed, int lowBox);

} // namespace MapZoneRules
