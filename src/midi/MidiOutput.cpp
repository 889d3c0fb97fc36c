#include "midi/MidiOutput.h"

#include "midi/MidiTrace.h"

MidiOutput::MidiOutput(const MidiDeviceList &devices, MidiTrace &trace, QObject *parent)
    : QObject(parent), devices(devices), trace(trace)
{
}

MidiOutput::~MidiOutput()
{
    close();
}

bool MidiOutput::open(QString *error)
{
    close();
    const MidiDeviceList::Port port = devices.output(selected);
    if (!port.backend) {
        if (error)
            *error = QStringLiteral("No MIDI output device %1").arg(selected);
        return false;
    }
    if (!port.backend->openOutput(port.port, error))
        return false;
    backend = port.backend;
    connect(backend, &MidiBackend::errorOccurred, this, &MidiOutput::errorEvent);
    return true;
}

void MidiOutput::close()
{
    if (!backend)
        return;
    disconnect(backend, nullptr, this, nullptr);
    backend->closeOutput();
    backend = nullptr;
}

bool MidiOutput::sendLong(const QByteArray &message, QString *error)
{
    return send(message, error);
}

bool MidiOutput::sendShort(uint8_t status, uint8_t data1, uint8_t data2, QString *error)
{
    QByteArray message;
    message.append(static_cast<char>(status));
    const uint8_t kind = status & 0xF0;
    if (status < 0xF0) {
        message.append(static_cast<char>(data1 & 0x7F));
        if (kind != 0xC0 && kind != 0xD0)
            message.append(static_cast<char>(data2 & 0x7F));
    } else if (status == 0xF1 || status == 0xF3) {
        message.append(static_cast<char>(data1 & 0x7F));
    } else if (status == 0xF2) {
        message.append(static_cast<char>(data1 & 0x7F));
        message.append(static_cast<char>(data2 & 0x7F));
    }
    return send(message, error);
}

bool MidiOutput::send(const QByteArray &message, QString *error)
{
    if (!backend) {
        if (error)
            *error = QStringLiteral("The MIDI output port is not open");
        return false;
    }
    trace.out(message);
    return backend->send(message, error);
}
