// The main window's controls of each object kind, in their fixed order. Clearing a kind's
// display and loading it walk these lists.
#pragma once

#include <QList>
#include <QStringList>

class QWidget;

namespace ControlLists {

// A control-array element's name: "txtDCF(4)".
QString Element(const char *name, int index);

// Object kinds as the display routines know them; Global has its own code.
enum Kind { Wave = 0, Tone = 1, Map = 2, Preset = 3, Multi = 4, Global = 18 };

// The controls' object names, control-array elements written "name(index)". Tones have two
// lists: the envelope controls first, then the rest.
const QStringList &WaveControls();
const QStringList &ToneEnvControls();
const QStringList &ToneControls();
const QStringList &MapControls();
const QStringList &PresetControls();
const QStringList &MultiControls();
const QStringList &GlobalControls();

// Every list of a kind, in walking order; empty for an unknown kind.
QStringList ForKind(int kind);

// The named controls under root, in the list's order, found in one walk of root's children;
// names with no control are left out. Callers keep the result: the controls live as long as
// their window.
QList<QWidget *> Find(const QWidget *root, const QStringList &names);

// True for the black keys, one entry per semitone from C.
bool BlackKey(int note);

} // namespace ControlLists
