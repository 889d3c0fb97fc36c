#include "midi/RtMidiBackend.h"

#include <rtmidi/RtMidi.h>

#include <QMetaObject>
#include <QRegularExpression>

namespace {

template <typename Port>
void ListPorts(Port &port, QStringList &names, std::vector<unsigned> &numbers)
{
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        const QString name = QString::fromStdString(port.getPortName(i));
        if (RtMidiBackend::IsSoftwarePort(name))
            continue;
        names << RtMidiBackend::StableName(name);
        numbers.push_back(i);
    }
}

void Fail(QString *error, const std::string &text)
{
    if (error)
        *error = QString::fromStdString(text);
}


// RtMidi reports some errors through this callback instead of throwing; they must not abort.
void ForwardError(RtMidiError::Type type, const std::string &text, void *self)
{
    const bool warning = type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING;
    static_cast<RtMidiBackend *>(self)->ReportDriverError(warning, 100 + static_cast<int>(type),
                                                          QString::fromStdString(text));
}

} // namespace

RtMidiBackend::RtMidiBackend(QObject *parent) : MidiBackend(parent)
{
    // Without a MIDI system (no ALSA sequencer, say) the constructors throw: then no ports.
    try {
        in = std::make_unique<RtMidiIn>(RtMidi::UNSPECIFIED, "Korvane", 1024);
        in->setErrorCallback(&ForwardError, this);
        ListPorts(*in, inputs, inputPortNumbers);
    } catch (const RtMidiError &) {
        in.reset();
    }
    try {
        out = std::make_unique<RtMidiOut>(RtMidi::UNSPECIFIED, "Korvane");
        out->setErrorCallback(&ForwardError, this);
        ListPorts(*out, outputs, outputPortNumbers);
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
        in->openPort(inputPortNumbers[static_cast<size_t>(port)], "Korvane In");
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
        out->openPort(outputPortNumbers[static_cast<size_t>(port)], "Korvane Out");
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

bool RtMidiBackend::IsSoftwarePort(const QString &name)
{
    return name.startsWith(QLatin1String("Midi Through")) || name.startsWith(QLatin1String("Microsoft GS Wavetable"));
}

QString RtMidiBackend::StableName(const QString &name)
{
    static const QRegularExpression clientAndPort(QStringLiteral(" \\d+:\\d+$"));
    return QString(name).remove(clientAndPort);
}

void RtMidiBackend::ReportDriverError(bool warning, int code, const QString &text)
{
    qWarning("RtMidi: %s", qPrintable(text));
    if (warning)
        return; // RtMidi's notes to itself
    QMetaObject::invokeMethod(this, [this, code, text] { emit errorOccurred(code, text); }, Qt::QueuedConnection);
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
