// The SP's memory statistics as the statistics window shows them, computed from the kinds'
// last directory status records: nothing here asks the SP.
#pragma once

#include "objects/ObjectStore.h"

#include <QString>

#include <array>

namespace MemoryStats {

enum class Unit { Words = 0, Bytes = 1 }; // the option buttons' order

constexpr int Kinds = 4;       // Wave, Tone, Map, Preset; Multis are not shown
constexpr int RowsPerKind = 6; // a kind's rows start at its base 0, 6, 12, 18
constexpr int KindRows = Kinds * RowsPerKind;
constexpr int GlobalRows = 3;  // installed, free sample and free parameter memory

// Every text the window shows. lblQnt's first three entries are the global rows' units; the
// kinds' units are at their base + 4 and + 5.
struct Texts {
    std::array<QString, KindRows> lblParm;
    std::array<QString, KindRows> lblQnt;
    std::array<QString, GlobalRows> lblMem;
};

Texts Compute(const ObjectStore &store, Unit unit);

// Half of a byte count, exactly: an odd count ends in ".5".
QString HalfText(int64_t bytes);

} // namespace MemoryStats
