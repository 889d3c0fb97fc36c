// The system's MIDI devices: every backend's ports concatenated, in the order the
// backends were added, so device numbers stay stable for a given set of interfaces.
#pragma once

#include "midi/MidiBackend.h"

#include <memory>
#include <vector>

class MidiDeviceList {
public:
    struct Port {
        MidiBackend *backend = nullptr;
        int port = -1;
    };

    void add(std::unique_ptr<MidiBackend> backend);
    void clear() { backends.clear(); }

    int inputCount() const;
    int outputCount() const;
    QString inputName(int device) const;
    QString outputName(int device) const;
    Port input(int device) const;
    Port output(int device) const;

    const std::vector<std::unique_ptr<MidiBackend>> &all() const { return backends; }

private:
    std::vector<std::unique_ptr<MidiBackend>> backends;
};
