#include "midi/MidiTrace.h"

MidiTrace::MidiTrace(const QString &path)
{
    if (path.isEmpty())
        return;
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        qWarning("Cannot open the MIDI trace file %s", qPrintable(path));
}

QString MidiTrace::FormatLine(const char *direction, const QByteArray &message)
{
    QString line = QString::fromLatin1(direction);
    line.reserve(line.size() + message.size() * 3);
    for (char c : message)
        line += QStringLiteral(" %1").arg(static_cast<uint8_t>(c), 2, 16, QLatin1Char('0')).toUpper();
    return line;
}

void MidiTrace::write(const char *direction, const QByteArray &message)
{
    if (!file.isOpen())
        return;
    file.write(FormatLine(direction, message).toLatin1());
    file.write("\n");
    file.flush();
}
