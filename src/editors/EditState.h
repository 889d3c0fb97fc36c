// The shared edit state of the main window's controls: the last key typed into a box, whether
// an edit is pending (nothing is sent while it is), and whether the program just wrote a
// value back into a box (so its change event must not commit it).
#pragma once

struct EditState {
    static constexpr int Backspace = 8;
    static constexpr int Enter = 13;

    int LastEditKey = 0;
    bool EditPending = false;
    bool TextRestored = false;
};
