#include "midi/RtMidiBackend.h"

#include "midi/MidiWirePacer.h"

#include <rtmidi/RtMidi.h>

#include <QMetaObject>
#include <QRegularExpression>

struct RtMidiBackend::System {
    RtMidiBackend *owner = nullptr;
    QString name;          // empty for the first system compiled in
    bool probing = true;   // while its ports are listed, any complaint means it does not work
    bool failed = false;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
};

namespace {

// JACK's own spelling; RtMidi calls it "Jack".
QString SystemName(RtMidi::Api api)
{
    if (api == RtMidi::UNIX_JACK)
        return QStringLiteral("JACK");
    return QString::fromStdString(RtMidi::getApiDisplayName(api));
}

void Fail(QString *error, const std::string &text)
{
    if (error)
        *error = QString::fromStdString(text);
}

// RtMidi reports some errors through this callback instead of throwing; they must not abort.
// A JACK client without a server only warns here, and would crash if asked to open a port.
void ForwardError(RtMidiError::Type type, const std::string &text, void *data)
{
    auto *system = static_cast<RtMidiBackend::System *>(data);
    if (system->probing) {
        system->failed = true;
        qWarning("RtMidi: %s", text.c_str());
        return;
    }
    const bool warning = type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING;
    system->owner->ReportDriverError(warning, 100 + static_cast<int>(type), QString::fromStdString(text));
}

template <typename Port>
void ListPorts(Port &port, const QString &system, size_t index, QStringList &names,
               std::vector<RtMidiBackend::PortRef> &refs)
{
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        const QString name = QString::fromStdString(port.getPortName(i));
        if (name.isEmpty() || RtMidiBackend::IsSoftwarePort(name))
            continue;
        names << RtMidiBackend::OfferedName(system, name);
        refs.push_back({index, i});
    }
}

} // namespace

RtMidiBackend::RtMidiBackend(QObject *parent)
    : MidiBackend(parent),
      pacer(std::make_unique<MidiWirePacer>(
          [this](const QByteArray &message, QString *error) { return Transmit(message, error); }))
{
    connect(pacer.get(), &MidiWirePacer::failed, this, [this](const QString &error, int dropped) {
        qWarning("MIDI send: %s (%d messages behind it dropped)", qPrintable(error), dropped);
        emit errorOccurred(sendErrorCode, error);
    });
    // A MIDI system can take tens of milliseconds to answer (a JACK client looking for its
    // server, say): the ports are listed beside the building of the windows, and waited for
    // when first needed.
    listing = std::async(std::launch::async, [this] { ListSystems(); });
}

void RtMidiBackend::awaitPorts() const
{
    if (listing.valid())
        listing.get();
}

void RtMidiBackend::ListSystems()
{
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    for (size_t a = 0; a < apis.size(); ++a) {
        auto system = std::make_unique<System>();
        system->owner = this;
        if (a > 0)
            system->name = SystemName(apis[a]);
        // Without the MIDI system (no ALSA sequencer, say) the constructors throw: then no ports.
        try {
            system->in = std::make_unique<RtMidiIn>(apis[a], "Korvane", 1024);
            system->in->setErrorCallback(&ForwardError, system.get());
            system->in->getPortCount();
            system->out = std::make_unique<RtMidiOut>(apis[a], "Korvane");
            system->out->setErrorCallback(&ForwardError, system.get());
            system->out->getPortCount();
        } catch (const RtMidiError &e) {
            qWarning("RtMidi: %s", e.what());
            continue;
        }
        if (system->failed)
            continue;
        const size_t index = systems.size();
        ListPorts(*system->in, system->name, index, inputs, inputRefs);
        ListPorts(*system->out, system->name, index, outputs, outputRefs);
        system->probing = false;
        systems.push_back(std::move(system));
    }
}

RtMidiBackend::~RtMidiBackend()
{
    awaitPorts();
    closeInput();
    closeOutput();
}

bool RtMidiBackend::openInput(int port, QString *error)
{
    awaitPorts();
    if (port < 0 || port >= inputs.size()) {
        Fail(error, "No such MIDI input port");
        return false;
    }
    closeInput();
    const PortRef ref = inputRefs[static_cast<size_t>(port)];
    RtMidiIn &in = *systems[ref.system]->in;
    try {
        // SysEx is dropped unless asked for; real-time bytes are filtered by our own parser.
        in.ignoreTypes(false, false, false);
        in.setCallback(&RtMidiBackend::OnInput, this);
        // WinMM fills buffers queued before the port opens and hands each over as a piece; too
        // few or too small, and a burst of long dumps overruns them.
        if (in.getCurrentApi() == RtMidi::WINDOWS_MM)
            in.setBufferSize(SysExBufferBytes, SysExBufferCount);
        in.openPort(ref.number, "Korvane In");
        if (!in.isPortOpen()) {
            in.cancelCallback();
            Fail(error, "The MIDI input port could not be opened");
            return false;
        }
        openIn = systems[ref.system].get();
        return true;
    } catch (const RtMidiError &e) {
        Fail(error, e.getMessage());
        return false;
    }
}

void RtMidiBackend::closeInput()
{
    if (!openIn)
        return;
    try {
        openIn->in->closePort();
        openIn->in->cancelCallback();
    } catch (const RtMidiError &e) {
        qWarning("RtMidi: %s", e.what());
    }
    openIn = nullptr;
}

bool RtMidiBackend::openOutput(int port, QString *error)
{
    awaitPorts();
    if (port < 0 || port >= outputs.size()) {
        Fail(error, "No such MIDI output port");
        return false;
    }
    closeOutput();
    const PortRef ref = outputRefs[static_cast<size_t>(port)];
    RtMidiOut &out = *systems[ref.system]->out;
    try {
        out.openPort(ref.number, "Korvane Out");
        if (!out.isPortOpen()) {
            Fail(error, "The MIDI output port could not be opened");
            return false;
        }
        openOut = systems[ref.system].get();
        return true;
    } catch (const RtMidiError &e) {
        Fail(error, e.getMessage());
        return false;
    }
}

void RtMidiBackend::closeOutput()
{
    // What still waits was meant for this port: it must not reach the next one.
    pacer->clear();
    if (!openOut)
        return;
    try {
        openOut->out->closePort();
    } catch (const RtMidiError &e) {
        qWarning("RtMidi: %s", e.what());
    }
    openOut = nullptr;
}

bool RtMidiBackend::send(const QByteArray &message, QString *error)
{
    if (!openOut || !openOut->out->isPortOpen()) {
        Fail(error, "The MIDI output port is not open");
        return false;
    }
    return pacer->send(message, error);
}

bool RtMidiBackend::Transmit(const QByteArray &message, QString *error)
{
    if (!openOut || !openOut->out->isPortOpen()) {
        Fail(error, "The MIDI output port is not open");
        return false;
    }
    try {
        openOut->out->sendMessage(reinterpret_cast<const unsigned char *>(message.constData()),
                                  static_cast<size_t>(message.size()));
        return true;
    } catch (const RtMidiError &e) {
        sendErrorCode = 100 + static_cast<int>(e.getType());
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

QString RtMidiBackend::OfferedName(const QString &system, const QString &name)
{
    const QString stable = StableName(name);
    return system.isEmpty() ? stable : system + QStringLiteral(": ") + stable;
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
