#include "midi/MidiDeviceList.h"

namespace {

template <typename PortsOf>
MidiDeviceList::Port Find(const std::vector<std::unique_ptr<MidiBackend>> &backends, int device, PortsOf portsOf)
{
    if (device < 0)
        return {};
    for (const auto &backend : backends) {
        const int count = static_cast<int>(portsOf(*backend).size());
        if (device < count)
            return {backend.get(), device};
        device -= count;
    }
    return {};
}

QStringList InputsOf(const MidiBackend &b) { return b.inputPorts(); }
QStringList OutputsOf(const MidiBackend &b) { return b.outputPorts(); }

} // namespace

void MidiDeviceList::add(std::unique_ptr<MidiBackend> backend)
{
    backends.push_back(std::move(backend));
}

int MidiDeviceList::inputCount() const
{
    int count = 0;
    for (const auto &backend : backends)
        count += static_cast<int>(backend->inputPorts().size());
    return count;
}

int MidiDeviceList::outputCount() const
{
    int count = 0;
    for (const auto &backend : backends)
        count += static_cast<int>(backend->outputPorts().size());
    return count;
}

MidiDeviceList::Port MidiDeviceList::input(int device) const
{
    return Find(backends, device, InputsOf);
}

MidiDeviceList::Port MidiDeviceList::output(int device) const
{
    return Find(backends, device, OutputsOf);
}

QString MidiDeviceList::inputName(int device) const
{
    const Port p = input(device);
    return p.backend ? p.backend->inputPorts().value(p.port) : QString();
}

QString MidiDeviceList::outputName(int device) const
{
    const Port p = output(device);
    return p.backend ? p.backend->outputPorts().value(p.port) : QString();
}
