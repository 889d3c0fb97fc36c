// What the main window asks of every editor, whatever kind it shows: make its page, read an
// object from the SP, show it, and clear what the window's common clearing does not reach.
#pragma once

class Retrieval;

class KindEditor {
public:
    virtual ~KindEditor() = default;

    virtual void setRetrieval(Retrieval *retrieval) = 0;
    // Makes the controls of one of its pages, once; `part` counts the pages made apart (the
    // Preset's two tabs), 0 for an editor whose pages are made together. Reads work before it;
    // the display only after it.
    virtual void MakePage(int part) = 0;
    // Reads object `number` from the SP; false, with nothing changed, unless a whole one came.
    virtual bool ReadDump(int number) = 0;
    // Fills the pages with the object last read, sending nothing.
    virtual void Display() = 0;
    // After the window has emptied and disabled the kind's boxes, buttons and lists: what else
    // a cleared display empties (the envelope pictures, the keyboard).
    virtual void Clear() {}
};
