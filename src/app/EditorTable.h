// The main window's editors in one table: the kind each shows, the tabs it fills and how it is
// made on their pages. The window makes, reads, shows and clears every kind through this table
// and the editors' common interface, with no wiring of its own per kind.
#pragma once

#include <vector>

class EditRules;
class KindEditor;
class QWidget;
class Session;

namespace EditorTable {

struct Entry {
    int kind;
    // The captions of the tabs it fills, grouped in the parts whose pages are made apart.
    std::vector<std::vector<const char *>> parts;
    // Makes the editor on its pages, given in the order of `parts`; the window owns the rest.
    KindEditor *(*make)(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *window);
};

// In the order the idle page building makes them. The Multi comes before the Global setting
// frame, which it sits beside on one page.
const std::vector<Entry> &Entries();

} // namespace EditorTable
