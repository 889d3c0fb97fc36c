// korvane-vsp: the Virtual SP on standard input and output, so it can be scripted and checked
// without the program: SysEx requests in, the SP's answers out, raw or as hexadecimal lines.
#include "vsp/VirtualSp.h"
#include "vsp/VirtualSpBackend.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cctype>
#include <cstdio>
#include <optional>

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
        output.Write(sp.Receive(*message));
    }
}

void RunRaw(QFile &input, VirtualSp &sp, Output &output)
{
    QByteArray message;
    bool inMessage = false;
    while (true) {
        const QByteArray chunk = input.read(4096);
        if (chunk.isEmpty())
            return;
        for (char byte : chunk) {
            if (byte == SysExStart) {
                // A new start abandons an unfinished message, as a MIDI receiver does.
                message = QByteArray(1, byte);
                inMessage = true;
            } else if (inMessage) {
                message.append(byte);
                if (byte == SysExEnd) {
                    inMessage = false;
                    output.Write(sp.Receive(message));
                }
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
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
    parser.addOptions({hexOption, memoryOption, disksOption, deviceIdOption});
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

    // Raw bytes unbuffered on the descriptor, so a request is answered as soon as it arrives.
    const bool hex = parser.isSet(hexOption);
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
