// How the Tone's controls are laid out on the three Tone tabs: the Wave and the envelopes on
// the first, the DCA, DCF and LFO sections on the second, the DCO and pan sections on the
// third, each section made of titled panels as the SP's own panel groups them.
#pragma once

#include "objects/ToneDescription.h"

#include <array>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QWidget;

namespace ToneLayout {

// The controls the layout made, in the order of the parameter tables.
struct Controls {
    std::array<QLineEdit *, ToneDescription::Boxes.size()> boxes{};
    std::array<QSlider *, ToneDescription::Boxes.size()> sliders{};
    std::array<QComboBox *, ToneDescription::Combos.size()> combos{};
    std::array<QRadioButton *, 3 * ToneDescription::EnvelopeSelects.size()> envelopeSelects{};
    std::array<QRadioButton *, 2 * ToneDescription::ModeBits.size()> modes{};
};

// Builds the sections on the pages of "Tone1", "Tone2" and "Tone3"; the Wave frame and the two
// envelope frames, made by their own editors, go on the first page.
Controls Build(const std::array<QWidget *, 3> &pages, QWidget *waveFrame, QWidget *envelope1, QWidget *envelope2);

} // namespace ToneLayout
