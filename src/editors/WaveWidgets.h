// The controls of the Wave tab, shared by the parts of the Wave editor that fill and edit them.
#pragma once

#include "objects/WaveDescription.h"

#include <array>

class QLineEdit;
class QRadioButton;
class QScrollBar;
class SpinButton;

struct WaveWidgets {
    static constexpr int ScrollBars = 5;

    std::array<QLineEdit *, WaveParmCount> box{};   // by WaveParm
    std::array<SpinButton *, WaveParmCount> spin{}; // by WaveParm
    // hscWave(i) moves the box of WaveParm i.
    std::array<QScrollBar *, ScrollBars> hscWave{};

    QLineEdit *txtWaveNote = nullptr;
    QLineEdit *txtWaveMode = nullptr;
    QLineEdit *txtWaveAddr = nullptr;
    QLineEdit *txtWaveSize = nullptr;
    QLineEdit *txtChecksum = nullptr;
    QLineEdit *txtWaveLen = nullptr;
    QLineEdit *txtSampPeriod = nullptr;
    QLineEdit *txtWaveNorm = nullptr;

    QRadioButton *optLoopEnb = nullptr;
    QRadioButton *optLoopDis = nullptr;
    QRadioButton *optLoopFwdOnly = nullptr;
    QRadioButton *optLoopFwdRev = nullptr;

    QLineEdit *operator[](WaveParm parm) const { return box[Index(parm)]; }
};
