// The Wave tab: a Wave's play range, loop, pitch, fine tune and memory figures, edited with
// the common edit rules, and its audition button.
#pragma once

#include "editors/KindEditor.h"

#include "objects/WaveDescription.h"
#include "editors/WaveWidgets.h"

#include <QWidget>

class EditRules;
class Retrieval;
class Session;
class WaveAudition;
class WaveChange;
class WaveScrollBars;

class WaveEditor : public QWidget, public KindEditor {
    Q_OBJECT
public:
    WaveEditor(Session &session, EditRules &rules, QWidget *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) override { this->retrieval = retrieval; }
    // Makes the tab's controls, once. Reads work before it; the display only after it.
    void Build();
    void MakePage(int) override { Build(); }
    bool ReadDump(int number) override { return WaveObjDump(number); }
    void Display() override { LoadWaveDisplay(); }

    // Reads Wave `number` from the SP; false, with nothing changed, unless a whole Wave came.
    bool WaveObjDump(int number);
    // Fills the tab with the Wave last read, sending nothing.
    void LoadWaveDisplay();

    // The message box's heading and text when a Wave answer cannot be read.
    static constexpr const char *DumpErrorHeading = "WaveObjDump()";
    static constexpr const char *DumpErrorText = "Error downloading Wave object from SP";

private:
    void AddParameter(WaveParm parm);
    void Reload();

    Session &session;
    EditRules &rules;
    Retrieval *retrieval = nullptr;
    WaveWidgets widgets;
    WaveValues values;
    bool haveWave = false;
    WaveChange *change = nullptr;
    WaveScrollBars *scrollBars = nullptr;
    WaveAudition *audition = nullptr;
    QList<QWidget *> waveControls; // enabled on each display, found once
};
