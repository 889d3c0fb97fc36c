// The configuration dialog's controls and their placement: pages Midi, Disk and SP, and the
// OK, Cancel and Apply buttons. The behaviour lives in frmConfig.
#pragma once

#include <array>

class QButtonGroup;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class SpinButton;

struct ConfigControls {
    static constexpr int DiskDevices = 8;
    static constexpr int DiskTypes = 3;
    static constexpr int SpBoxes = 5;      // the five settings with a spin button
    static constexpr int NoteNameBox = 5;  // txtSPconfig(5) shows the note's name

    QTabWidget *vstConfig = nullptr;
    QListWidget *lstOutputDevice = nullptr;
    QListWidget *lstInputDevice = nullptr;
    QCheckBox *Check1 = nullptr;
    QLineEdit *txtPause = nullptr; // milliseconds between two messages sent
    std::array<QRadioButton *, DiskDevices> optDevice{};
    QButtonGroup *deviceGroup = nullptr;
    QCheckBox *chkInstalled = nullptr;
    std::array<QRadioButton *, DiskTypes> optType{};
    QButtonGroup *typeGroup = nullptr;
    QLineEdit *txtVolName = nullptr;
    std::array<QLineEdit *, SpBoxes + 1> txtSPconfig{};
    std::array<SpinButton *, SpBoxes> spnSPconfig{};
    QLabel *lblApplyNote = nullptr; // why OK or Apply could not apply
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;
};

namespace ConfigLayout {

// The label of each SP setting box, by element.
const char *SpLabel(int element);
ConfigControls Build(QDialog *dialog);

} // namespace ConfigLayout
