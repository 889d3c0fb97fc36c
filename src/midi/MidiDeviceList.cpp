#include "midi/MidiDeviceList.h"

#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/PortSettings.h"

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

// Where a port in use is found again after a refresh: by its name, else at its old place.
int PortAfterRefresh(const MidiBackend *now, const MidiDeviceList::Port &before, const QString &name,
                     PortsOf portsOf)
{
    const int byName = static_cast<int>((now->*portsOf)().indexOf(name));
    return byName >= 0 ? byName : (now == before.backend ? before.port : -1);
}

bool SamePorts(const MidiBackend &a, const MidiBackend &b)
{
    return a.inputPorts() == b.inputPorts() && a.outputPorts() == b.outputPorts();
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
    size_t inputEntry = entries.size();
    size_t outputEntry = entries.size();

    for (size_t i = 0; i < entries.size(); ++i) {
        Entry &entry = entries[i];
        MidiBackend *old = entry.backend.get();
        const bool inUse = old == inputInUse.backend || old == outputInUse.backend;
        if (old == inputInUse.backend)
            inputEntry = i;
        if (old == outputInUse.backend)
            outputEntry = i;
        std::unique_ptr<MidiBackend> fresh = entry.factory ? entry.factory() : nullptr;
        if (!fresh) {
            old->rescan();
        } else if (!inUse) {
            entry.backend = std::move(fresh);
        } else if (!SamePorts(*old, *fresh)) {
            // The open port carries on where it was opened until it is opened again.
            retired.push_back(std::move(entry.backend));
            entry.backend = std::move(fresh);
        }
    }

    if (inputEntry < entries.size()) {
        const MidiBackend *now = entries[inputEntry].backend.get();
        const int device =
            inputNumber(now, PortAfterRefresh(now, inputInUse, inputName, &MidiBackend::inputPorts));
        if (device >= 0) {
            in.setDeviceNumber(device);
            ports.InputDeviceNum = static_cast<int16_t>(device);
        }
    }
    // "Default Output" stays what it is: the first device offered.
    if (outputEntry < entries.size() && out.deviceNumber() != DefaultOutput) {
        const MidiBackend *now = entries[outputEntry].backend.get();
        const int device =
            outputNumber(now, PortAfterRefresh(now, outputInUse, outputName, &MidiBackend::outputPorts));
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
