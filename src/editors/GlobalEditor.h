// The Global tab's "Global" frame: the SP's bank name, playback mode, receive mode, Omni/Poly
// channel and volume, program change and master tune, each edit sent at once.
#pragma once

#include "editors/KindEditor.h"

#include "widgets/PanelFrame.h"
#include "objects/ObjectIO.h"

#include <array>

class EditRules;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class Retrieval;
class Session;
class SpinButton;

class GlobalEditor : public PanelFrame, public KindEditor {
    Q_OBJECT
public:
    GlobalEditor(Session &session, EditRules &rules, QWidget *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) override { this->retrieval = retrieval; }
    // Makes the frame's controls, once; the display only after it.
    void Build();
    void MakePage(int) override { Build(); }
    // The Global has no number: it is read whole.
    bool ReadDump(int number) override;
    void Display() override { LoadGlobalDisplay(); }

    void LoadGlobalDisplay();
    // The message box's texts of Change_GlobalParm's error path.
    static constexpr const char *ErrorHeading = "Change_GlobalParm()";

private:
    bool ChangeText(int index);
    void ChangeOption(int index);
    void ChangePlaybackMode(int listIndex);
    bool Send(int parameter, const ObjectIO::Value &value, QLineEdit *box);
    void Reload();
    QString StoredText(int index) const;

    Session &session;
    EditRules &rules;
    Retrieval *retrieval = nullptr;
    GlobalValues sent; // what the SP holds as far as the tab knows: shown or sent last
    std::array<QLineEdit *, 10> txtGlobal{};
    QSlider *sldVolume = nullptr;  // sldGlobal(7)
    QSlider *sldTune = nullptr;    // sldGlobal(9)
    SpinButton *spnChannel = nullptr; // spnGlobal(6)
    std::array<QRadioButton *, 13> optGlobal{};
    QComboBox *cboPlayback = nullptr; // cboGlobal(0)
};
