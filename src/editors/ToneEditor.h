// The three Tone tabs: the Tone's Wave, DCA, DCF, DCO, pan, LFO and its two envelopes, edited
// with the common edit rules and sent to the SP at once.
#pragma once

#include "editors/KindEditor.h"

#include "editors/ToneLayout.h"
#include "objects/DumpRecord.h"

#include <QObject>

#include <array>
#include <optional>

class EditRules;
class EnvelopeEditor;
class QWidget;
class Retrieval;
class Session;
class ToneWaveSelector;

class ToneEditor : public QObject, public KindEditor {
    Q_OBJECT
public:
    // The message box's texts of the Tone routines' error paths.
    static constexpr const char *ChangeErrorHeading = "Change_ToneParm()";
    static constexpr const char *ChangeErrorText = "Error updating Tone parameter";
    static constexpr const char *DumpErrorHeading = "ToneObjDump()";
    static constexpr const char *DumpErrorText = "Error downloading Tone object from SP";

    // The pages of the tabs "Tone1", "Tone2" and "Tone3".
    ToneEditor(Session &session, EditRules &rules, std::array<QWidget *, 3> pages, QObject *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) override { this->retrieval = retrieval; }
    // Makes the three tabs' controls, once. Reads work before it; the displays only after it.
    void Build();
    void MakePage(int) override { Build(); }
    bool ReadDump(int number) override { return ToneObjDump(number); }
    void Display() override { LoadToneDisplay(); }
    void Clear() override { ClearEnvelopes(); }

    bool ToneObjDump(int number);
    void LoadToneDisplay();
    // Empties both envelope pictures and their mode labels, for a cleared Tone display.
    void ClearEnvelopes();

private:
    bool Change_ToneParm(size_t row);
    void ChangeEnvelopeSelect(int option);
    void ChangeMode(int option);
    void ChangeSource(int combo, int listIndex);
    // Uploads one field of the Tone; true when the SP took it.
    bool Upload(int position, int value, int width);
    // An option's or a combo's value: the Tone is read back when the SP takes it; otherwise the
    // stored choice is shown again. Program writes of options and combos never send.
    void SendChoice(int position, int value, int width);
    void Reload();

    QString DisplayText(size_t row) const;
    int SliderValue(size_t row) const;
    bool WaveStartQuantizeEditable() const;
    void ShowChoices();
    DumpRecord *Tone() { return stored ? &*stored : nullptr; }

    Session &session;
    EditRules &rules;
    std::array<QWidget *, 3> pages;
    Retrieval *retrieval = nullptr;
    std::optional<DumpRecord> stored;
    ToneWaveSelector *wave = nullptr;
    EnvelopeEditor *envelopes = nullptr;
    ToneLayout::Controls controls;
};
