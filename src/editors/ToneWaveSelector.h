// The Tone's Wave: its number in txtTone(0) with the spin button spnTone(0), and that Wave's
// name in txtTone(1). Only Waves the SP holds can be chosen.
#pragma once

#include <QObject>

#include <functional>
#include <optional>

class EditRules;
class QGroupBox;
class QLineEdit;
class QWidget;
class Session;
class SpinButton;
class DumpRecord;

class ToneWaveSelector : public QObject {
    Q_OBJECT
public:
    ToneWaveSelector(Session &session, EditRules &rules, QWidget *parent, std::function<void()> afterCommit,
                     std::function<DumpRecord *()> tone);

    QGroupBox *Frame() const { return frame; }
    // Shows the Tone's Wave number and name; the caller holds the edit rules' display state.
    void LoadWaveDisplay();

    // The Wave that a number chosen by the user becomes: within the SP's range, moved up to the
    // next Wave that exists; nothing when the SP holds no Wave.
    std::optional<int> ExistingWave(int number) const;

private:
    bool ChangeWave();
    std::optional<int> Step(int number, int step);
    QString WaveName(int number) const;
    QString StoredText() const;

    Session &session;
    EditRules &rules;
    std::function<DumpRecord *()> tone;
    QGroupBox *frame = nullptr;
    QLineEdit *txtWaveNumber = nullptr; // txtTone(0)
    QLineEdit *txtWaveName = nullptr;   // txtTone(1)
    SpinButton *spnWave = nullptr;      // spnTone(0)
};
