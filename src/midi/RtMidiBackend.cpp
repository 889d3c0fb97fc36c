#include "midi/RtMidiBackend.h"

#include <rtmidi/RtMidi.h>

#include <QMetaObject>

namespace {

template <typename Port>
QStringList PortNames(Port &port)
{
    QStringList names;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names << QString::fromStdString(port.getPortName(i));
    return names;
}

void Fail(QString *error, const std::string &text)
{
    if (error)
        *error = QString::fromStdString(text);
}

// RtMidi reports some errors through this callback instead of throwing; they must not abort.
void IgnoreError(RtMidiError::Type, const std::string &text, void *)
{
    qWarning("RtMidi: %s", text.c_str());
}

} // namespace

RtMidiBackend::RtMidiBackend(QObject *parent) : MidiBackend(parent)
{
    // Without a MIDI system (no ALSA sequencer, say) the constructors throw: then no ports.
    try {
        in = std::make_unique<RtMidiIn>(RtMidi::UNSPECIFIED, "Korvane", 1024);
        in->setErrorCallback(&IgnoreError, nullptr);
        inputs = PortNames(*in);
    } catch (const RtMidiError &) {
        in.reset();
    }
    try {
        out = std::make_unique<RtMidiOut>(RtMidi::UNSPECIFIED, "Korvane");
        out->setErrorCallback(&IgnoreError, nullptr);
        outputs = PortNames(*out);
    } catch (const RtMidiError &) {
        out.reset();
    }
}

RtMidiBackend::~RtMidiBackend()
{
    closeInput();
    closeOutput();
}

bool RtMidiBackend::openInput(int port, QString *error)
{
    if (!in || port < 0 || port >= inputs.size()) {
        Fail(error, "No such MIDI input port");
        return false;
    }
    try {
        in->closePort();
        in->cancelCallback();
        // SysEx is dropped unless asked for; real-time bytes are filtered by our own parser.
        in->ignoreTypes(false, false, false);
        in->setCallback(&RtMidiBackend::OnInput, this);
        in->openPort(static_cast<unsigned>(port), "Korvane In");
        return in->isPortOpen();
    } catch (const RtMidiError &e) {
        Fail(error, e.getMessage());
        return false;
    }
}

void RtMidiBackend::closeInput()
{
    if (!in)
        return;
    try {
        in->closePort();
        in->cancelCallback();
    } catch (const RtMidiError &e) {
        qWarning("RtMidi: %s", e.what());
    }
}

bool RtMidiBackend::openOutput(int port, QString *error)
{
    if (!out || port < 0 || port >= outputs.size()) {
        Fail(error, "No such MIDI output port");
        return false;
    }
    try {
        out->closePort();
        out->openPort(static_cast<unsigned>(port), "Korvane Out");
        return out->isPortOpen();
    } catch (const RtMidiError &e) {
        Fail(error, e.getMessage());
        return false;
    }
}

void RtMidiBackend::closeOutput()
{
    if (!out)
        return;
    try {
        out->closePort();
    } catch (const RtMidiError &e) {
        qWarning("RtMidi: %s", e.what());
    }
}

bool RtMidiBackend::send(const QByteArray &message, QString *error)
{
    if (!out || !out->isPortOpen()) {
        Fail(error, "The MIDI output port is not open");
        return false;
    }
    try {
        out->sendMessage(reinterpret_cast<const unsigned char *>(message.constData()),
                         static_cast<size_t>(message.size()));
        return true;
    } catch (const RtMidiError &e) {
        Fail(error, e.getMessage());
        return false;
    }
}

void RtMidiBackend::OnInput(double, std::vector<unsigned char> *message, void *self)
{
    // RtMidi's own thread: copy the bytes and hand them to the GUI thread.
    if (!message || message->empty())
        return;
    auto *backend = static_cast<RtMidiBackend *>(self);
    QByteArray bytes(reinterpret_cast<const char *>(message->data()), static_cast<qsizetype>(message->size()));
    QMetaObject::invokeMethod(backend, [backend, bytes] { emit backend->bytesReceived(bytes); }, Qt::QueuedConnection);
}
