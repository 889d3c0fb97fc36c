#include "midi/MidiTrace.h"

#include <QElapsedTimer>

namespace {

QElapsedTimer &Clock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock;
}

// Starts the clock while the program loads, not at the first message.
[[maybe_unused]] const bool ClockStarted = Clock().isValid();

} // namespace

MidiTrace::MidiTrace(const QString &path)
{
    if (path.isEmpty())
        return;
    file.setFileName(path);
    // Lines end in a bare newline on every system, so a trace reads the same wherever it was made.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        qWarning("Cannot open the MIDI trace file %s", qPrintable(path));
}

qint64 MidiTrace::Nanoseconds()
{
    return Clock().nsecsElapsed();
}

QString MidiTrace::FormatLine(const char *direction, const QByteArray &message)
{
    QString line = QString::fromLatin1(direction);
    line.reserve(line.size() + message.size() * 3);
    for (char c : message)
        line += QStringLiteral(" %1").arg(static_cast<uint8_t>(c), 2, 16, QLatin1Char('0')).toUpper();
    return line;
}

void MidiTrace::writeLine(const char *direction, const QByteArray &message)
{
    file.write(FormatLine(direction, message).toLatin1());
    file.write("\n");
    file.flush();
}

int MidiTrace::addListener(Listener listener)
{
    const int id = nextId++;
    listeners.emplace_back(id, std::move(listener));
    return id;
}

void MidiTrace::removeListener(int id)
{
    std::erase_if(listeners, [id](const auto &entry) { return entry.first == id; });
}

void MidiTrace::tell(Direction direction, const QByteArray &message)
{
    const Event event{Nanoseconds(), direction, message};
    for (const auto &[id, listener] : listeners)
        listener(event);
}
