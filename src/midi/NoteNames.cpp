#include "midi/NoteNames.h"

#include <array>

QString FormatNoteName(int note)
{
    static constexpr std::array<const char *, 12> Letters = {"C", "C#", "D", "D#", "E", "F",
                                                             "F#", "G", "G#", "A", "A#", "B"};
    const int octave = note / 12;
    // Below note 0 there is no letter: the octave alone is shown.
    const QString letter = note >= 0 ? QLatin1String(Letters[static_cast<size_t>(note % 12)]) : QString();
    const QString octaveText = octave == 0 ? QStringLiteral("-") : QString::number(octave - 1);
    return letter + octaveText;
}
