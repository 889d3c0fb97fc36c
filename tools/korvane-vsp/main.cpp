// korvane-vsp: the Virtual SP on standard input and output, so it can be scripted and checked
// without the program: SysEx requests in, the SP's answers out, raw or as hexadecimal lines.
// With --ports it answers on virtual MIDI ports of the machine's MIDI system instead, so another
// program, or Korvane itself, can talk to an emulated SP over real MIDI; there its answers
// leave at the pace of a MIDI cable, as a real SP's do, so no MIDI system drops them.
#include "midi/MidiStreamParser.h"
#include "midi/MidiWirePacer.h"
#include "vsp/SpBackupFile.h"
#include "vsp/VirtualSp.h"
#include "vsp/VirtualSpBackend.h"

#include <rtmidi/RtMidi.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

constexpr char SysExStart = '\xF0';
constexpr char SysExEnd = '\xF7';
constexpr int StandardInput = 0;

class Output {
public:
    explicit Output(bool hex) : hex(hex) {}

    void Write(const std::vector<QByteArray> &answers)
    {
        for (const QByteArray &answer : answers) {
            if (hex) {
                const QByteArray line = answer.toHex(' ').toUpper() + '\n';
                std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
            } else {
                std::fwrite(answer.constData(), 1, static_cast<size_t>(answer.size()), stdout);
            }
        }
        // Whoever drives the SP through a pipe waits for each answer before the next request.
        std::fflush(stdout);
    }

private:
    bool hex;
};

// Whole SysEx messages out of a byte stream, joined and capped exactly as the program's own
// receive path does: a message that never ends is dropped once it passes the cap, so it cannot
// eat the memory; a new status byte abandons an unfinished one. Other messages are not the SP's.
class SysExReader {
public:
    using Sink = std::function<void(const QByteArray &message)>;

    void Feed(const QByteArray &bytes, const Sink &sink)
    {
        const int droppedBefore = parser.droppedCount();
        parser.feed(bytes, [&sink](const QByteArray &message) {
            if (!message.isEmpty() && message.front() == SysExStart)
                sink(message);
        });
        if (parser.droppedCount() != droppedBefore)
            std::fprintf(stderr, "korvane-vsp: dropped a SysEx message that was unfinished or longer than %d bytes\n",
                         MidiStreamParser::MaxSysExLength);
    }

private:
    MidiStreamParser parser;
};

// One line of hexadecimal (spaces anywhere, either case) as the message it spells, if it
// spells a whole SysEx message.
std::optional<QByteArray> MessageFromHex(const QByteArray &line)
{
    QByteArray digits;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        digits.append(c);
    }
    if (digits.size() % 2 != 0)
        return std::nullopt;
    const QByteArray message = QByteArray::fromHex(digits);
    if (message.size() < 2 || message.front() != SysExStart || message.back() != SysExEnd)
        return std::nullopt;
    return message;
}

void RunHex(QFile &input, VirtualSp &sp, Output &output)
{
    SysExReader reader;
    int lineNumber = 0;
    while (true) {
        QByteArray line = input.readLine();
        if (line.isEmpty())
            return; // end of input (readLine keeps the newline of an empty line)
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        const std::optional<QByteArray> message = MessageFromHex(line);
        if (!message) {
            std::fprintf(stderr, "korvane-vsp: line %d is not a SysEx message in hexadecimal: %s\n", lineNumber,
                         line.trimmed().constData());
            continue;
        }
        reader.Feed(*message, [&](const QByteArray &whole) { output.Write(sp.Receive(whole)); });
    }
}

void RunRaw(QFile &input, VirtualSp &sp, Output &output)
{
    SysExReader reader;
    while (true) {
        const QByteArray chunk = input.read(4096);
        if (chunk.isEmpty())
            return;
        reader.Feed(chunk, [&](const QByteArray &message) { output.Write(sp.Receive(message)); });
    }
}

// --- On the machine's MIDI system ---------------------------------------------------------

constexpr const char *PortName = "Korvane Virtual SP";
// A JACK client holds ports of one direction here, and two clients cannot share a name.
constexpr const char *InClientName = "Korvane Virtual SP In";
constexpr const char *OutClientName = "Korvane Virtual SP Out";
constexpr int NoMidiSystem = 3;

// Systems that can offer ports of their own to other programs.
bool HasVirtualPorts(RtMidi::Api api)
{
    return api == RtMidi::LINUX_ALSA || api == RtMidi::UNIX_JACK || api == RtMidi::MACOSX_CORE;
}

// A JACK client without a server only warns, and crashes if then asked for a port: any
// complaint while the system is first asked for its ports means it does not work here.
void NoteComplaint(RtMidiError::Type, const std::string &text, void *complained)
{
    *static_cast<bool *>(complained) = true;
    std::fprintf(stderr, "korvane-vsp: %s\n", text.c_str());
}

struct Ports {
    bool complained = false; // first: RtMidi may still complain while the ports are torn down
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
};

// The first system, in RtMidi's order (ALSA before JACK), or the one asked for, that works.
std::unique_ptr<Ports> OpenPorts(const QString &wanted, QString *why)
{
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    bool anyVirtual = false;
    for (RtMidi::Api api : apis) {
        const QString name = QString::fromStdString(RtMidi::getApiName(api));
        if (!wanted.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (!HasVirtualPorts(api))
            continue;
        anyVirtual = true;
        auto ports = std::make_unique<Ports>();
        ports->api = api;
        try {
            ports->in = std::make_unique<RtMidiIn>(api, InClientName, 1024);
            ports->in->setErrorCallback(&NoteComplaint, &ports->complained);
            ports->in->getPortCount();
            if (ports->complained)
                continue;
            ports->out = std::make_unique<RtMidiOut>(api, OutClientName);
            ports->out->setErrorCallback(&NoteComplaint, &ports->complained);
            ports->out->getPortCount();
            if (ports->complained)
                continue;
            ports->in->ignoreTypes(false, false, false);
            ports->in->openVirtualPort(PortName);
            ports->out->openVirtualPort(PortName);
        } catch (const RtMidiError &e) {
            std::fprintf(stderr, "korvane-vsp: %s\n", e.what());
            continue;
        }
        if (ports->complained)
            continue;
        return ports;
    }
    if (!wanted.isEmpty() && !anyVirtual)
        *why = QStringLiteral("no MIDI system named \"%1\" with virtual ports is compiled in").arg(wanted);
    else if (!anyVirtual)
        *why = QStringLiteral("this platform's MIDI system has no virtual ports: connect a MIDI loopback "
                              "or run the Virtual SP inside Korvane");
    else
        *why = QStringLiteral("no MIDI system works here (no ALSA sequencer, no JACK server running)");
    return nullptr;
}

#ifndef _WIN32
// Interrupts end the event loop through a socket, the one thing a signal handler may touch.
int InterruptSocket[2] = {-1, -1};

void OnInterrupt(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(InterruptSocket[0], &byte, 1);
}
#endif

void QuitOnInterrupt(QCoreApplication &app)
{
#ifndef _WIN32
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, InterruptSocket) != 0)
        return;
    auto *notifier = new QSocketNotifier(InterruptSocket[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] { app.quit(); });
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    std::signal(SIGHUP, OnInterrupt);
    // A JACK server that goes away must end the run with a message, not a silent SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
#else
    // Ctrl+C, Ctrl+Break or the console closing: the handler runs on a thread of its own, and a
    // queued call is the one safe way from there into the event loop.
    (void)app;
    SetConsoleCtrlHandler(
        [](DWORD event) -> BOOL {
            if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
                return FALSE;
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
            return TRUE;
        },
        TRUE);
#endif
}

void PrintTraffic(const char *direction, const QByteArray &message)
{
    const QByteArray line = direction + message.toHex(' ').toUpper() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

class PortsRun {
public:
    PortsRun(VirtualSp &sp, Ports &ports, bool hex)
        : sp(sp), ports(ports), hex(hex),
          pacer([this](const QByteArray &answer, QString *error) { return Transmit(answer, error); })
    {
        QObject::connect(&pacer, &MidiWirePacer::failed, [](const QString &error, int dropped) {
            std::fprintf(stderr, "korvane-vsp: %s (%d answers behind it dropped)\n", qPrintable(error), dropped);
        });
    }

    // On the main thread: the SP is never touched by two threads.
    void Received(const QByteArray &bytes)
    {
        reader.Feed(bytes, [this](const QByteArray &request) {
            if (hex)
                PrintTraffic("in  ", request);
            for (const QByteArray &answer : sp.Receive(request)) {
                if (hex)
                    PrintTraffic("out ", answer);
                QString error;
                if (!pacer.send(answer, &error))
                    std::fprintf(stderr, "korvane-vsp: %s\n", qPrintable(error));
            }
        });
    }

    // The answers still waiting for the cable go with the ports, as with an SP switched off.
    int dropUnsent() { return pacer.clear(); }

    static void OnInput(double, std::vector<unsigned char> *message, void *self)
    {
        // RtMidi's thread (JACK's process thread, even): copy and leave at once.
        if (!message || message->empty())
            return;
        auto *run = static_cast<PortsRun *>(self);
        QByteArray bytes(reinterpret_cast<const char *>(message->data()), static_cast<qsizetype>(message->size()));
        QMetaObject::invokeMethod(QCoreApplication::instance(), [run, bytes] { run->Received(bytes); },
                                  Qt::QueuedConnection);
    }

private:
    bool Transmit(const QByteArray &answer, QString *error)
    {
        try {
            ports.out->sendMessage(reinterpret_cast<const unsigned char *>(answer.constData()),
                                   static_cast<size_t>(answer.size()));
            return true;
        } catch (const RtMidiError &e) {
            *error = QString::fromStdString(e.getMessage());
            return false;
        }
    }

    VirtualSp &sp;
    Ports &ports;
    bool hex;
    SysExReader reader;
    MidiWirePacer pacer;
};

int RunPorts(QCoreApplication &app, VirtualSp &sp, const QString &system, bool hex)
{
    QString why;
    std::unique_ptr<Ports> ports = OpenPorts(system, &why);
    if (!ports) {
        std::fprintf(stderr, "korvane-vsp: cannot open MIDI ports: %s\n", qPrintable(why));
        return NoMidiSystem;
    }
    PortsRun run(sp, *ports, hex);
    ports->in->setCallback(&PortsRun::OnInput, &run);
    QuitOnInterrupt(app);
    // Whoever waits for the ports learns here that they are there.
    std::fprintf(stderr, "korvane-vsp: answering on the %s ports \"%s\" until interrupted\n",
                 ports->api == RtMidi::UNIX_JACK ? "JACK" : RtMidi::getApiDisplayName(ports->api).c_str(), PortName);
    std::fflush(stderr);
    app.exec();
    if (const int unsent = run.dropUnsent())
        std::fprintf(stderr, "korvane-vsp: %d answers not yet sent were dropped\n", unsent);
    try {
        ports->in->cancelCallback();
        ports->in->closePort();
        ports->out->closePort();
    } catch (const RtMidiError &e) {
        std::fprintf(stderr, "korvane-vsp: %s\n", e.what());
    }
    // Answers already queued for the event loop must not reach a closed port.
    QCoreApplication::removePostedEvents(QCoreApplication::instance());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef _WIN32
    // Windows opens standard input and output in text mode, which would turn every 0A byte of a
    // raw message into 0D 0A and end the lines differently from everywhere else.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-vsp"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The Korvane Virtual SP on standard input and output. Reads SysEx requests and writes the "
        "SP's answers, as raw bytes or, with --hex, one message a line in hexadecimal."));
    parser.addHelpOption();
    const QCommandLineOption hexOption(QStringLiteral("hex"),
                                       QStringLiteral("One message a line in hexadecimal, both ways."));
    const QCommandLineOption memoryOption(QStringLiteral("memory"),
                                          QStringLiteral("Load the SP's memory from FILE and save it there after "
                                                         "every change (default: the factory bank, not saved)."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption disksOption(QStringLiteral("disks"),
                                         QStringLiteral("The folder holding the disk drives' banks."),
                                         QStringLiteral("FOLDER"));
    const QCommandLineOption deviceIdOption(QStringLiteral("device-id"),
                                            QStringLiteral("The SP's device ID, 0 to 127 (default 127)."),
                                            QStringLiteral("N"), QStringLiteral("127"));
    const QCommandLineOption portsOption(
        QStringLiteral("ports"),
        QStringLiteral("Answer on virtual MIDI input and output ports named \"Korvane Virtual SP\" (ALSA sequencer or "
                       "JACK on Linux, CoreMIDI on macOS) until interrupted, instead of standard input and output. "
                       "Answers leave at the pace of a MIDI cable (31250 baud), as a real SP's do, so none is "
                       "lost however fast requests come. With --hex, every message in and out is shown on "
                       "standard output as it is received or answered."));
    const QCommandLineOption systemOption(QStringLiteral("midi-system"),
                                          QStringLiteral("With --ports, the MIDI system to use: alsa, jack or core "
                                                         "(default: the first that works)."),
                                          QStringLiteral("NAME"));
    const QCommandLineOption loadBackupOption(
        QStringLiteral("load-backup"),
        QStringLiteral("Replace the SP's memory with the objects and Global settings of the backup FILE (.syx)."),
        QStringLiteral("FILE"));
    const QCommandLineOption saveBackupOption(
        QStringLiteral("save-backup"),
        QStringLiteral("Write the SP's memory to FILE as a backup (.syx) and end, without reading any input."),
        QStringLiteral("FILE"));
    parser.addOptions({hexOption, memoryOption, disksOption, deviceIdOption, portsOption, systemOption,
                       loadBackupOption, saveBackupOption});
    parser.process(app);

    bool idIsNumber = false;
    const int deviceId = parser.value(deviceIdOption).toInt(&idIsNumber);
    if (!idIsNumber || deviceId < 0 || deviceId > 127) {
        std::fprintf(stderr, "korvane-vsp: the device ID must be a number from 0 to 127\n");
        return 2;
    }

    VirtualSpBackend::Options options;
    options.memoryFile = parser.value(memoryOption);
    options.diskRoot = parser.value(disksOption);
    options.deviceId = static_cast<uint8_t>(deviceId);
    VirtualSp sp(options.deviceId);
    VirtualSpBackend::Equip(sp, options);

    if (parser.isSet(loadBackupOption)) {
        Vsp::SpMemory memory = sp.memory();
        QString error;
        if (!Vsp::LoadBackup(parser.value(loadBackupOption), memory, &error)) {
            std::fprintf(stderr, "korvane-vsp: cannot load the backup: %s\n", qPrintable(error));
            return 1;
        }
        sp.setMemory(memory);
        // Kept in the memory file, when there is one, as any other change is.
        if (sp.onChanged)
            sp.onChanged(sp.memory());
    }
    if (parser.isSet(saveBackupOption)) {
        QString error;
        if (!Vsp::SaveBackup(sp.memory(), parser.value(saveBackupOption), &error)) {
            std::fprintf(stderr, "korvane-vsp: cannot save the backup: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }

    const bool hex = parser.isSet(hexOption);
    if (parser.isSet(portsOption))
        return RunPorts(app, sp, parser.value(systemOption), hex);

    // Raw bytes unbuffered on the descriptor, so a request is answered as soon as it arrives.
    QFile input;
    if (!input.open(StandardInput, hex ? QIODevice::ReadOnly : QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        std::fprintf(stderr, "korvane-vsp: cannot read standard input\n");
        return 2;
    }
    Output output(hex);
    if (hex)
        RunHex(input, sp, output);
    else
        RunRaw(input, sp, output);
    return 0;
}
