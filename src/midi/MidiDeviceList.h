// The system's MIDI devices: every backend's ports concatenated, in the order the
// backends were added, so device numbers stay stable for a given set of interfaces.
// Output device -1 is "Default Output", the first output device offered.
#pragma once

#include "midi/MidiBackend.h"

#include <functional>
#include <memory>
#include <vector>

class MidiInput;
class MidiOutput;
struct PortSettings;

class MidiDeviceList {
public:
    struct Port {
        MidiBackend *backend = nullptr;
        int port = -1;
    };
    // Builds the backend afresh, which is how some drivers learn of a new interface.
    using Factory = std::function<std::unique_ptr<MidiBackend>()>;

    static constexpr int DefaultOutput = -1;
    static QString DefaultOutputName();

    void add(std::unique_ptr<MidiBackend> backend);
    void clear() { entries.clear(); }
    // An emulated device (the Virtual SP) is not a MIDI interface.
    void setEmulated(const MidiBackend *backend);
    void setFactory(const MidiBackend *backend, Factory factory);

    int inputCount() const;
    int outputCount() const;
    QString inputName(int device) const;
    QString outputName(int device) const;
    Port input(int device) const;
    Port output(int device) const;
    // The device number of a backend's port; -1 when the backend has no such port.
    int inputNumber(const MidiBackend *backend, int port) const;
    int outputNumber(const MidiBackend *backend, int port) const;

    bool isEmulated(const MidiBackend *backend) const;
    // Whether any real MIDI interface offers a port.
    bool hasInterface() const;

    // Lists the devices present now. A backend with no open port is rebuilt when it has a
    // factory, the others are asked to rescan; the ports in use keep their backend and name,
    // and their device numbers (in the ports and in the settings) follow any shift.
    void Refresh(MidiInput &input, MidiOutput &output, PortSettings &ports);

    std::vector<MidiBackend *> all() const;

private:
    struct Entry {
        std::unique_ptr<MidiBackend> backend;
        Factory factory;
        bool emulated = false;
    };
    Entry *find(const MidiBackend *backend);
    const Entry *find(const MidiBackend *backend) const;

    std::vector<Entry> entries;
};
