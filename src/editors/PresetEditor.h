// The Preset tabs "Preset1" and "Preset2": the preset's mode, layer combination, allocation
// groups and auxiliary controllers, and one layer at a time with its Maps, switch points,
// pitch, output, pan and levels, edited with the common edit rules and sent to the SP at once.
#pragma once

#include "editors/KindEditor.h"

#include "objects/DumpRecord.h"
#include "editors/PresetLayout.h"

#include <QObject>

#include <optional>

class EditRules;
class QWidget;
class Retrieval;
class Session;

class PresetEditor : public QObject, public KindEditor {
    Q_OBJECT
public:
    static constexpr const char *DumpErrorHeading = "PresetObjDump()";
    static constexpr const char *DumpErrorText = "Error downloading Preset object from SP";
    static constexpr const char *ChangeErrorHeading = "Change_PresetParm()";
    static constexpr const char *ChangeErrorText = "Error updating Preset parameter";

    PresetEditor(Session &session, EditRules &rules, QWidget *preset1, QWidget *preset2, QObject *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) override { this->retrieval = retrieval; }
    // Makes tab `page`'s controls (1 "Preset1", 2 "Preset2"), once each. Reads work before it;
    // the display fills the tabs made so far.
    void Build(int page);
    void MakePage(int part) override { Build(part + 1); }
    bool ReadDump(int number) override { return PresetObjDump(number); }
    void Display() override { LoadPresetDisplay(); }

    bool PresetObjDump(int number);
    void LoadPresetDisplay();

    int CurrentLayer() const { return layer; }

private:
    bool Change_PresetParm(size_t row);
    bool ChangeSelection(size_t row);
    void ChangeCombo(int index, int listIndex);
    void ChangeOption(int index);
    // Uploads one byte of the Preset; true when the SP took it.
    bool Upload(int position, int value);
    // An option's or combo's value: the Preset is read back when the SP takes it; otherwise the
    // stored choice is shown again.
    void SendChoice(int position, int value);
    void Reload();

    int LayerOffset() const;
    int PositionOf(size_t row) const;
    QString DisplayText(size_t row) const;
    QString SwitchPointText(int index) const;
    QString MapName() const;
    std::optional<int> MapStep(int step);
    void ShowChoices();
    void ShowSelections();

    Session &session;
    EditRules &rules;
    Retrieval *retrieval = nullptr;
    std::array<QWidget *, 2> pages;
    PresetLayout::Controls controls; // nullptr in the tabs not made yet
    std::optional<DumpRecord> stored;
    int layer = 0;  // CurrentLayer: 0 = A, 1 = B
    int group = 0;  // the allocation group shown
    int level = 1;  // the Map level shown
};
