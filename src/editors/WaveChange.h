// The Wave's own edit rules on top of the common ones: each parameter's checks before it is
// sent, keeping the loop inside the play range, the spin buttons' limits, and the loop switch.
#pragma once

#include "editors/WaveWidgets.h"

#include <QObject>

#include <functional>
#include <optional>

class EditRules;
class QLineEdit;
class Session;

class WaveChange : public QObject {
    Q_OBJECT
public:
    // `reload` reads the Wave back from the SP and shows it.
    WaveChange(Session &session, EditRules &rules, const WaveWidgets &widgets, WaveValues &wave,
               std::function<void()> reload, QObject *parent = nullptr);

    // Commits the parameter's box; true when an upload was attempted.
    bool Change_WaveParm(WaveParm parm);
    // Keeps the loop inside the play range by moving its ends in the working image, unsent.
    bool Check_LoopPoints(int64_t playStart, int64_t playEnd);
    // One step of the parameter's spin button (+1 or -1), within its limits.
    void Spin(WaveParm parm, int step);
    // The loop on/off options: the mode byte is sent with the new loop bit.
    void SwitchLoop(bool on);
    // Shows the stored loop choices in the four option buttons; the caller fills under EditPending.
    void ShowLoopOptions();
    // After a click that changes nothing: the stored loop choices shown again, sending nothing.
    void RevertLoopOptions();
    // The note name of the pitch box's value.
    void ShowNoteName();

private:
    bool CommitInteger(WaveParm parm);
    bool CommitLoopFraction(WaveParm parm);
    bool CommitPitch(WaveParm parm);
    std::optional<int64_t> AcceptPlayStart(int64_t v);
    std::optional<int64_t> AcceptPlayEnd(int64_t v);
    std::optional<int64_t> AcceptLoopStart(int64_t v);
    std::optional<int64_t> AcceptLoopEnd(int64_t v);
    std::optional<int64_t> AcceptFineTune(int64_t v);
    bool Upload(WaveParm parm, int64_t value);
    void Restore(WaveParm parm);
    int16_t number() const;

    Session &session;
    EditRules &rules;
    const WaveWidgets &widgets;
    WaveValues &wave;
    std::function<void()> reload;
};
