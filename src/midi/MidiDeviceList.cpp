#include "midi/MidiDeviceList.h"

#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "settings/Settings.h"

namespace {

using PortsOf = QStringList (MidiBackend::*)() const;

template <typename Entries>
MidiDeviceList::Port Find(const Entries &entries, int device, PortsOf portsOf)
{
    if (device < 0)
        return {};
    for (const auto &entry : entries) {
        const int count = static_cast<int>((entry.backend.get()->*portsOf)().size());
        if (device < count)
            return {entry.backend.get(), device};
        device -= count;
    }
    return {};
}

template <typename Entries>
int Number(const Entries &entries, const MidiBackend *backend, int port, PortsOf portsOf)
{
    int first = 0;
    for (const auto &entry : entries) {
        const int count = static_cast<int>((entry.backend.get()->*portsOf)().size());
        if (entry.backend.get() == backend)
            return port >= 0 && port < count ? first + port : -1;
        first += count;
    }
    return -1;
}

template <typename Entries>
int Count(const Entries &entries, PortsOf portsOf)
{
    int count = 0;
    for (const auto &entry : entries)
        count += static_cast<int>((entry.backend.get()->*portsOf)().size());
    return count;
}

// Where a port in use is found again after its backend rescanned: by its name, else where it was.
int PortAfterRescan(const MidiDeviceList::Port &before, const QString &name, PortsOf portsOf)
{
    if (!before.backend)
        return -1;
    const int byName = static_cast<int>((before.backend->*portsOf)().indexOf(name));
    return byName >= 0 ? byName : before.port;
}

} // namespace

QString MidiDeviceList::DefaultOutputName()
{
    return QStringLiteral("Default Output");
}

void MidiDeviceList::add(std::unique_ptr<MidiBackend> backend)
{
    entries.push_back({std::move(backend), {}, false});
}

MidiDeviceList::Entry *MidiDeviceList::find(const MidiBackend *backend)
{
    for (Entry &entry : entries) {
        if (entry.backend.get() == backend)
            return &entry;
    }
    return nullptr;
}

const MidiDeviceList::Entry *MidiDeviceList::find(const MidiBackend *backend) const
{
    for (const Entry &entry : entries) {
        if (entry.backend.get() == backend)
            return &entry;
    }
    return nullptr;
}

void MidiDeviceList::setEmulated(const MidiBackend *backend)
{
    if (Entry *entry = find(backend))
        entry->emulated = true;
}

void MidiDeviceList::setFactory(const MidiBackend *backend, Factory factory)
{
    if (Entry *entry = find(backend))
        entry->factory = std::move(factory);
}

int MidiDeviceList::inputCount() const
{
    return Count(entries, &MidiBackend::inputPorts);
}

int MidiDeviceList::outputCount() const
{
    return Count(entries, &MidiBackend::outputPorts);
}

MidiDeviceList::Port MidiDeviceList::input(int device) const
{
    return Find(entries, device, &MidiBackend::inputPorts);
}

MidiDeviceList::Port MidiDeviceList::output(int device) const
{
    return Find(entries, device == DefaultOutput ? 0 : device, &MidiBackend::outputPorts);
}

int MidiDeviceList::inputNumber(const MidiBackend *backend, int port) const
{
    return Number(entries, backend, port, &MidiBackend::inputPorts);
}

int MidiDeviceList::outputNumber(const MidiBackend *backend, int port) const
{
    return Number(entries, backend, port, &MidiBackend::outputPorts);
}

QString MidiDeviceList::inputName(int device) const
{
    const Port p = input(device);
    return p.backend ? p.backend->inputPorts().value(p.port) : QString();
}

QString MidiDeviceList::outputName(int device) const
{
    if (device == DefaultOutput)
        return outputCount() > 0 ? DefaultOutputName() : QString();
    const Port p = output(device);
    return p.backend ? p.backend->outputPorts().value(p.port) : QString();
}

bool MidiDeviceList::isEmulated(const MidiBackend *backend) const
{
    const Entry *entry = find(backend);
    return entry && entry->emulated;
}

bool MidiDeviceList::hasInterface() const
{
    for (const Entry &entry : entries) {
        if (!entry.emulated && (!entry.backend->inputPorts().isEmpty() || !entry.backend->outputPorts().isEmpty()))
            return true;
    }
    return false;
}

void MidiDeviceList::Refresh(MidiInput &in, MidiOutput &out, PortSettings &ports)
{
    const Port inputInUse = in.state() > 0 ? input(in.deviceNumber()) : Port{};
    const Port outputInUse = out.state() > 0 ? output(out.deviceNumber()) : Port{};
    const QString inputName = inputInUse.backend ? inputInUse.backend->inputPorts().value(inputInUse.port) : QString();
    const QString outputName =
        outputInUse.backend ? outputInUse.backend->outputPorts().value(outputInUse.port) : QString();

    for (Entry &entry : entries) {
        const bool inUse = entry.backend.get() == inputInUse.backend || entry.backend.get() == outputInUse.backend;
        if (!inUse && entry.factory) {
            if (auto fresh = entry.factory())
                entry.backend = std::move(fresh);
        } else {
            entry.backend->rescan();
        }
    }

    // The ports in use keep their backend; only their place in the list may have moved.
    if (inputInUse.backend) {
        const int device =
            inputNumber(inputInUse.backend, PortAfterRescan(inputInUse, inputName, &MidiBackend::inputPorts));
        if (device >= 0) {
            in.setDeviceNumber(device);
            ports.InputDeviceNum = static_cast<int16_t>(device);
        }
    }
    // "Default Output" stays what it is: the first device offered.
    if (outputInUse.backend && out.deviceNumber() != DefaultOutput) {
        const int device =
            outputNumber(outputInUse.backend, PortAfterRescan(outputInUse, outputName, &MidiBackend::outputPorts));
        if (device >= 0) {
            out.setDeviceNumber(device);
            ports.OutputDeviceNum = static_cast<int16_t>(device);
        }
    }
}

std::vector<MidiBackend *> MidiDeviceList::all() const
{
    std::vector<MidiBackend *> backends;
    for (const Entry &entry : entries)
        backends.push_back(entry.backend.get());
    return backends;
}
