// The Wave tab's controls and their arrangement in four frames: play range, loop, pitch and
// memory.
#pragma once

#include "editors/WaveWidgets.h"

class QWidget;

// Creates the controls as children of `tab`, laid out, and returns them.
WaveWidgets BuildWaveLayout(QWidget *tab);
