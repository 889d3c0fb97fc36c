// Note names as the SP's front panel shows them: letter, sharp sign and octave, with middle C
// (note 60) as "C4" and the lowest octave written "-".
#pragma once

#include <QString>

QString FormatNoteName(int note);
