// Optional wire trace for support: when KORVANE_MIDI_TRACE names a file, every message in and
// out is appended to it as one line, "OUT" or "IN" followed by the bytes in hexadecimal.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

class MidiTrace {
public:
    static constexpr const char *EnvironmentVariable = "KORVANE_MIDI_TRACE";

    explicit MidiTrace(const QString &path);
    bool isOn() const { return file.isOpen(); }

    void out(const QByteArray &message) { write("OUT", message); }
    void in(const QByteArray &message) { write("IN", message); }

    static QString FormatLine(const char *direction, const QByteArray &message);

private:
    void write(const char *direction, const QByteArray &message);
    QFile file;
};
