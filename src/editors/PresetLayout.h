// How the Preset's controls are laid out on its two tabs: "Preset1" holds what the whole preset
// sets (its mode, how the layers combine, the allocation groups and the auxiliary controllers),
// "Preset2" the layer chosen with "A" and "B": its Maps and switch points, pitch, output, pan and
// levels.
#pragma once

#include "objects/PresetDescription.h"

#include <array>

class QAbstractSlider;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;
class SpinButton;

namespace PresetLayout {

constexpr int BoxCount = 26; // txtPreset(0) to txtPreset(25)

// The controls the layout made, each at its control-array index; nullptr where an index has
// no control of that type.
struct Controls {
    std::array<QLineEdit *, BoxCount> boxes{};
    std::array<QAbstractSlider *, BoxCount> sliders{};
    std::array<SpinButton *, BoxCount> spins{};
    std::array<QComboBox *, PresetDescription::Combos.size()> combos{};
    std::array<QRadioButton *, PresetDescription::OptionCaptions.size()> options{};
    QGroupBox *layerFrame = nullptr; // fraLayer: "Layer A" or "Layer B"
};

// Makes page 1 ("Preset1") or 2 ("Preset2") inside `parent`, adding its controls to `controls`.
void BuildPage(Controls &controls, int page, QWidget *parent);

} // namespace PresetLayout
