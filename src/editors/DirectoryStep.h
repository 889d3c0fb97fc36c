// Stepping a number box through the objects the SP holds: a spin button beside a box naming a
// Map or a Preset moves to the next number its kind's directory lists, never to a gap.
#pragma once

#include <limits>
#include <optional>

struct ObjDir;

// The next number after `current` (step > 0) or before it (step < 0) that the directory lists
// within lowest..highest; nothing past the first or the last.
std::optional<int> NextInDirectory(const ObjDir &directory, int current, int step,
                                   int lowest = std::numeric_limits<int>::min(),
                                   int highest = std::numeric_limits<int>::max());
