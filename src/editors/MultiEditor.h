// The Global tab's "Multi" frame: the Multi's eight allocation groups (polyphony, priority,
// overflow) and its sixteen MIDI channels (active or off-line, Preset, volume), one group and
// one channel shown at a time, each edit sent to the SP at once and the Multi read back.
#pragma once

#include "editors/KindEditor.h"

#include "objects/DumpRecord.h"

#include "widgets/PanelFrame.h"

#include <array>
#include <optional>

class EditRules;
class QLineEdit;
class QRadioButton;
class QSlider;
class Retrieval;
class Session;
class SpinButton;

class MultiEditor : public PanelFrame, public KindEditor {
    Q_OBJECT
public:
    static constexpr const char *DumpErrorHeading = "MultiObjDump()";
    static constexpr const char *DumpErrorText = "Error downloading Multi object from SP";
    static constexpr const char *ChangeErrorHeading = "Change_MultiParm()";
    static constexpr const char *ChangeErrorText = "Error updating Multi parameter";

    MultiEditor(Session &session, EditRules &rules, QWidget *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) override { this->retrieval = retrieval; }
    // Makes the frame's controls, once. Reads work before it; the display only after it.
    void Build();
    void MakePage(int) override { Build(); }
    bool ReadDump(int number) override { return MultiObjDump(number); }
    void Display() override { LoadMultiDisplay(); }

    bool MultiObjDump(int number);
    void LoadMultiDisplay();

private:
    bool Change_MultiParm(int index);
    void ChangeOption(int index);
    bool Upload(int position, int value, int width);
    void Reload();
    int PositionOf(int index) const;
    QString StoredText(int index) const;
    QString ChannelPresetName() const;
    std::optional<int> PresetStep(int step) const;
    void ShowSelections();

    Session &session;
    EditRules &rules;
    Retrieval *retrieval = nullptr;
    std::optional<DumpRecord> stored;
    int group = 0;
    int channel = 0;
    std::array<QLineEdit *, 6> txtGlobal{};
    std::array<SpinButton *, 4> spnGlobal{};
    QSlider *sldVolume = nullptr; // sldGlobal(5)
    std::array<QRadioButton *, 8> optGlobal{};
};
