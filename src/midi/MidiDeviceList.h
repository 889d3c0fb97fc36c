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

    // Lists the devices present now: a backend with a factory is built afresh, the others are
    // asked to rescan. A port that is open stays open on the backend it was opened on and is
    // found again by name, so its device number, in the port and in the settings, follows any
    // shift; the next open uses the fresh backend.
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
    // Replaced backends, kept for as long as the list: a port may still be open on one, and
    // only an interface plugged in or out while its port is open puts one here.
    std::vector<std::unique_ptr<MidiBackend>> retired;
};
