// How the Map tab's controls are laid out: the zone with its Tone, volume and pan; the key
// range with transpose; the output, tuning and allocation choices; the keyboard below.
#pragma once

#include "objects/MapDescription.h"

#include <array>

class Keyboard;
class QLineEdit;
class QRadioButton;
class QSlider;
class QWidget;
class SpinButton;

struct MapWidgets {
    std::array<QLineEdit *, MapDescription::Boxes> txtMap{};
    std::array<SpinButton *, MapDescription::Boxes> spnMap{}; // 0, 1, 3, 4, 8 and 10 only
    QSlider *sldMap7 = nullptr;   // sldMap(7), volume
    QSlider *sldMapH9 = nullptr;  // sldMapH(9), pan
    std::array<QRadioButton *, 6> optMap{};
};

// Builds the controls on `page`, with the keyboard under them.
MapWidgets BuildMapLayout(QWidget *page, Keyboard *keyboard);
