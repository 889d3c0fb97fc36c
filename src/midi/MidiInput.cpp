#include "midi/MidiInput.h"

#include "midi/MidiTrace.h"

MidiInput::MidiInput(const MidiDeviceList &devices, MidiTrace &trace, QObject *parent)
    : QObject(parent), devices(devices), trace(trace)
{
}

MidiInput::~MidiInput()
{
    close();
}

bool MidiInput::open(QString *error)
{
    close();
    const MidiDeviceList::Port port = devices.input(selected);
    if (!port.backend) {
        if (error)
            *error = QStringLiteral("No MIDI input device %1").arg(selected);
        return false;
    }
    if (!port.backend->openInput(port.port, error))
        return false;
    backend = port.backend;
    connect(backend, &MidiBackend::bytesReceived, this, &MidiInput::onBytes);
    connect(backend, &MidiBackend::errorOccurred, this, &MidiInput::errorEvent);
    parser.reset();
    state_ = Open;
    return true;
}

void MidiInput::close()
{
    if (backend) {
        disconnect(backend, nullptr, this, nullptr);
        backend->closeInput();
        backend = nullptr;
    }
    state_ = Closed;
    queue.clear();
    parser.reset();
}

void MidiInput::onBytes(const QByteArray &bytes)
{
    if (state_ != Started)
        return;
    const size_t before = queue.size();
    parser.feed(bytes, [this](const QByteArray &message) {
        // The trace shows what came over the wire, not the padding of short messages.
        const bool sysex = static_cast<uint8_t>(message.at(0)) == 0xF0;
        trace.in(sysex ? message : message.left(MidiStreamParser::WireLength(static_cast<uint8_t>(message.at(0)))));
        if (queue.size() < static_cast<size_t>(MaxQueued))
            queue.push_back(message);
    });
    if (queue.size() != before)
        emit messagesArrived();
}
