// Everything the SP's memory holds: the objects of each kind by number, the Global settings,
// and the memory figures the device reports, always computed from what it holds.
#pragma once

#include "vsp/SpLayout.h"

#include <array>
#include <map>

namespace Vsp {

struct GlobalSettings {
    QByteArray bankName = QByteArray("Untitled Bank ");
    uint8_t playbackMode = 0;    // 0 to 5
    uint8_t receiveMode = 0;     // 0 omni, 1 poly, 2 multi
    uint8_t omniPolyChannel = 0; // 0 to 15
    uint8_t omniPolyVolume = 127;
    uint8_t progChange = 0; // 0 enabled, 1 disabled
    int16_t masterTune = 0; // hundredths, -12000 to 12000

    bool operator==(const GlobalSettings &) const = default;
};

struct SpMemory {
    static constexpr int ParameterMemoryBytes = 131072;
    static constexpr int DefaultInstalledKilowords = 2048;

    std::array<std::map<int, QByteArray>, ObjectKinds> objects;
    GlobalSettings global;
    int installedKilowords = DefaultInstalledKilowords;

    std::map<int, QByteArray> &of(int kind) { return objects[static_cast<size_t>(kind)]; }
    const std::map<int, QByteArray> &of(int kind) const { return objects[static_cast<size_t>(kind)]; }
    const QByteArray *find(int kind, int number) const;

    int parameterBytesUsed(int kind) const;
    int parameterBytesFree() const;
    int sampleKilowordsUsed() const;
    int freeSampleKilowords() const;

    void clear(); // empties every kind, keeps the Global settings

    bool operator==(const SpMemory &) const = default;
};

} // namespace Vsp
