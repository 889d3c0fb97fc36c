// The one place every message in and out passes through. Two optional uses:
// - a wire trace for support: when KORVANE_MIDI_TRACE names a file, every message is appended
//   to it as one line, "OUT" or "IN" followed by the bytes in hexadecimal;
// - listeners (the MIDI monitor) that see each message with its time, called on the thread that
//   moves the message (the user-interface thread). With no listener nothing is timed or copied.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <vector>

class MidiTrace {
public:
    static constexpr const char *EnvironmentVariable = "KORVANE_MIDI_TRACE";

    enum class Direction { Out, In };
    struct Event {
        qint64 nanoseconds = 0; // since the program started
        Direction direction = Direction::Out;
        QByteArray message;     // exactly as on the wire
    };
    using Listener = std::function<void(const Event &)>;

    explicit MidiTrace(const QString &path);
    bool isOn() const { return file.isOpen(); }

    void out(const QByteArray &message)
    {
        write("OUT", message);
        if (!listeners.empty())
            tell(Direction::Out, message);
    }
    void in(const QByteArray &message)
    {
        write("IN", message);
        if (!listeners.empty())
            tell(Direction::In, message);
    }

    // A listener stays until removed with the id this returns; it must not add or remove
    // listeners while it is being told.
    int addListener(Listener listener);
    void removeListener(int id);
    bool hasListeners() const { return !listeners.empty(); }

    // The program's clock, started when the program was loaded.
    static qint64 Nanoseconds();
    static QString FormatLine(const char *direction, const QByteArray &message);

private:
    void write(const char *direction, const QByteArray &message)
    {
        if (file.isOpen())
            writeLine(direction, message);
    }
    void writeLine(const char *direction, const QByteArray &message);
    void tell(Direction direction, const QByteArray &message);

    QFile file;
    std::vector<std::pair<int, Listener>> listeners;
    int nextId = 1;
};
