// What the main window's commands and dialogs use of it: their parent, the retrieval with the
// status panels it writes, the progress window, the undo history, the header and the redisplay
// of the current tab. They are handed these, not the window.
#pragma once

#include <functional>

class EditHistory;
class ObjectHeader;
class QWidget;
class Retrieval;
class RetrievalView;
class frmProgress;

struct WindowServices {
    QWidget &window;
    Retrieval &retrieval;
    RetrievalView &view;
    frmProgress &progress;
    EditHistory &history;
    ObjectHeader &header;
    std::function<void()> redisplay; // the current tab shows what the program holds now

    // Reads every object from the SP again, with the free memory it leaves.
    void ReadEverything() const;
};
