// What a key typed into an edit box means to the edit rules, and the red/black text that
// tells the user whether a box holds uncommitted typing.
#pragma once

#include <QChar>

class QKeyEvent;
class QLineEdit;

namespace KeyInput {

enum class Kind {
    Enter,      // commits
    Backspace,  // Backspace or Delete: removes typing
    Character,  // a printable character
    Navigation, // cursor movement, selection, copy: changes no text
    Other,      // anything else that could change the text (paste, cut, undo): never allowed
};

struct Key {
    Kind kind;
    QChar character;
    int code() const; // 13, 8 or the character's code
};

Key Classify(const QKeyEvent &event);

// Keeps a box that filters its keys to what its keys can type: no context menu with Paste,
// no dropped text, no middle-button paste and no input method text, which would all put text
// in without passing the filter.
void TypedOnly(QLineEdit *box);

// Red (255, 0, 0) while a box holds uncommitted typing, black once committed or program-written.
void SetPending(QLineEdit *box, bool red);
bool IsPending(const QLineEdit *box);

} // namespace KeyInput
