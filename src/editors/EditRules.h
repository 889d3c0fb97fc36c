// The commit rules that every parameter box of the main window follows, written once: which
// keys a box takes, red text while typing is uncommitted, commits by Enter or by the partner
// slider or spin button, restoring an emptied box, and nothing sent while the SP is busy or a
// display is being filled. Each editor adds only its parameter table and its own rules.
#pragma once

#include "editors/EditState.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class ExchangeState;
class QAbstractSlider;
class QLineEdit;
class SpinButton;

class EditRules : public QObject {
    Q_OBJECT
public:
    // Which keys a box takes, besides Backspace and Enter.
    enum class Keys {
        Unsigned,       // digits
        Signed,         // digits, and minus into an empty box
        Decimal,        // digits and the point
        SignedDecimal,  // digits, the point, and minus into an empty box
        None,           // no keys at all: the box changes only through its partner
        TimeWithInfinity, // digits; while the box shows the infinity sign Enter is dropped and
                          // typing starts afresh
        Sustain,          // digits and the letters G and g; Enter is dropped while it shows "gt"
    };

    // Words some boxes show instead of a number.
    static QString InfinitySign(); // a decay or release of 99, which never ends
    static QString GateWord();     // a sustain of 0: the envelope follows the key

    struct Box {
        QLineEdit *box = nullptr;
        QAbstractSlider *slider = nullptr; // the partner: a slider or a spin button, or neither
        SpinButton *spin = nullptr;
        Keys keys = Keys::Unsigned;
        int spinLow = 0;
        int spinHigh = 0;
        // The object's Change routine for this box; true when an upload was made.
        std::function<bool()> commit;
        // After a successful commit: read the object back and show it.
        std::function<void()> afterCommit;
        // The stored value in its display form, for restoring an emptied box.
        std::function<QString()> storedText;
        // Whether an emptied box is refilled when it loses the focus.
        bool restoreOnFocusLoss = true;
        // Further controls whose writes into the box commit it, as the partner's do (the
        // Wave's position scroll bars, say); they are driven by their editor.
        std::vector<const QObject *> otherPartners;
        // Letters the box takes as typing besides its keys, for its special words ("qnt").
        QString letters;
        // How the spin button moves the value: the next value for a step of +1 or -1, or
        // nothing to stay. Without it the value moves by one within spinLow..spinHigh.
        std::function<std::optional<int>(int value, int step)> spinStep;
        // Whether the box shows the slider's value while it is dragged; if not, the box follows
        // when the slider is let go or loses the focus.
        bool showWhileDragging = true;
    };

    EditRules(EditState &edit, ExchangeState &exchange, QObject *parent = nullptr);

    void Add(Box box);

    EditState &state() { return edit; }
    bool busy() const;
    // Whether the change being handled came from the box's partner control.
    bool FromPartner(const QLineEdit *box) const;

    // The start of every Change routine: Enter on an emptied box shows the stored value again
    // and ends the commit; so does a change that came neither from Enter nor from the box's
    // partner. Otherwise the box's text, for the editor to read.
    std::optional<QString> CommitText(QLineEdit *box);
    // Whether a partner control (slider, scroll bar) may commit now: not while the SP is busy,
    // right after an Enter, or while typing or a display is pending.
    bool PartnerMayCommit() const;
    // Whether a spin button may step this box now.
    bool MaySpin(const QLineEdit *box) const;

    // The common start of every Change routine for whole numbers. Nothing when the commit ends here (an empty box
    // restored, a lone minus restored); otherwise the integer to send, clamped to 99 for a
    // signed byte typed above it, and the partner slider moved to it after an Enter.
    std::optional<int> CommitValue(QLineEdit *box, bool signedByte);
    // The same, with any value typed above `highest` clamped to it.
    std::optional<int> CommitValue(QLineEdit *box, bool signedByte, int highest);
    // The same for a field with its own range at both ends (a transpose of -127 to 127, a pitch
    // bend range of -24 to 24).
    std::optional<int> CommitValue(QLineEdit *box, bool signedByte, int lowest, int highest);

    // Writes into a box on behalf of one of its partners: the change event commits.
    void WriteFrom(const QObject *partner, QLineEdit *box, const QString &text);
    // Runs the box's change handler directly on behalf of a partner (its text unchanged).
    void CommitFrom(const QObject *partner, QLineEdit *box);

    // Writes a value the program chose into a box, so the next change event does not commit.
    void Rewrite(QLineEdit *box, const QString &text);
    // Rewrite with LastEditKey cleared: the box shows the stored value again, nothing is sent.
    void Restore(QLineEdit *box, const QString &text);
    // After an upload: black when the SP took it, red when it did not.
    void Committed(QLineEdit *box, bool accepted);
    // A box filled with the stored value by a display: black, except the box whose last
    // upload the SP refused, which stays red when the object is shown again.
    void ShowStored(QLineEdit *box);

    // Program writes of a whole display: nothing written sends anything. Displays may nest
    // (a tab's display fills its parts); the outermost one ends the refused box's red.
    template <typename Fill>
    void Display(Fill fill)
    {
        ++displayDepth;
        edit.EditPending = true;
        fill();
        if (--displayDepth == 0) {
            edit.EditPending = false;
            refusedBox = nullptr;
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const Box *Find(const QObject *control) const;
    const Box *FindSlider(const QObject *slider) const;
    bool KeyPress(const Box &box, const class QKeyEvent &event);
    void Changed(const Box &box);
    void SliderScroll(const Box &box, int value);
    void SliderChange(const Box &box, int value);
    void Spin(const Box &box, int step);

    EditState &edit;
    ExchangeState &exchange;
    std::vector<Box> boxes;
    const QObject *activePartner = nullptr;
    const QLineEdit *refusedBox = nullptr;
    int displayDepth = 0;
};
