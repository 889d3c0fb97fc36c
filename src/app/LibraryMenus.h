// File > Library (Ctrl+L) and File > Snapshot SP: the library opened on first use from `path`
// (the data folder's when empty), its window, and the commands on snapshots that talk to the SP
// with the progress window showing.
#pragma once

#include <QString>

class QMenu;
class Session;
class frmLibrary;
class frmMain;

namespace LibraryMenus {

void Install(frmMain &main, Session &session, QMenu *file, const QString &path);

// The library window of `main`, opened (and the library with it) when `open`; nothing when the
// library cannot be used (the Notifier has said why).
frmLibrary *Window(frmMain &main, bool open = true);

} // namespace LibraryMenus
