// Choosing an object that the SP holds by its number, for the boxes that name another object
// (a Tone's Wave, a Map zone's Tone): a typed number moves up to the next object in use, and a
// spin button steps from one object in use to the next.
#pragma once

#include <optional>

class Session;

namespace ObjectChoice {

// The object a number chosen by the user becomes: clamped into the SP's lowest to highest,
// then moved up to the next object that exists; nothing when the SP holds none of the kind.
std::optional<int> Existing(const Session &session, int kind, int number);

// How the user learns that the SP holds no object of the kind: the Tone's Wave spin reports it
// as an error under the heading "Load Wave Object"; the Map zone's Tone spin shows a box titled
// "Load Tone Object".
enum class NoneNotice { ErrorReport, TitledBox };

// The next object in use from `number` in the direction of `step`; at the first or last the
// number stays. With none known the kind's status is asked again; when there is still none the
// user is told and nothing is chosen.
std::optional<int> Step(Session &session, int kind, int number, int step, NoneNotice notice);

} // namespace ObjectChoice
