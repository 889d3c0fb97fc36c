// Whether an answer that arrived for a dump request is a dump the program may keep: nothing
// damaged on the way is ever stored, shown or sent back to the SP. No I/O, so it can be fuzzed.
#pragma once

#include <QByteArray>

namespace DumpCheck {

// Shorter than this, nothing came (a time-out or a status answer that the wait has reported).
constexpr int AnswerMinimum = 12;
constexpr int AnyNumber = -1;
constexpr int AnyLength = 0;

// The SP's frame, the kind asked for at byte 9, the object number asked for at 14 to 17
// (unless AnyNumber), nibble characters 0 to 15 from byte 10 up to the closing F7, and
// exactly `length` characters (unless AnyLength).
bool WellFormed(const QByteArray &dump, int kind, int number, int length);

// Plain printable characters only, as the SP's names are made of.
bool PrintableName(const QByteArray &name);

} // namespace DumpCheck
