// Backing up the SP to a .syx file and restoring it from one, with the progress window showing
// and offering Cancel; the same runs from the command line without a window. Also the File and
// Tools menu items for backups, compare and the Virtual SP's memory.
#pragma once

#include <QString>

class QMenu;
class Session;
class VirtualSpBackend;
class frmCompare;
class frmMain;
struct WindowServices;

namespace BackupCommand {

enum class Result { Done, Failed, Cancelled, Declined };

struct Outcome {
    Result result = Result::Failed;
    QString text; // what happened, as the user is told
};

// Reads every object and the Global settings and writes them to `path` (nothing is written
// unless all was read). `showProgress`: the progress window shows and can cancel.
Outcome Backup(const WindowServices &main, Session &session, const QString &path, bool showProgress = true);

// Reads the file (refusing a damaged one whole), reads the SP, asks through the Notifier
// whether to send what differs when `ask`, uploads, reports what the SP refused and reads
// everything again.
Outcome Restore(const WindowServices &main, Session &session, const QString &path, bool ask = true, bool showProgress = true);

// The Virtual SP the program is talking to, or nothing when it talks to another device.
VirtualSpBackend *VirtualSpInUse(Session &session);

// The Virtual SP's memory replaced by a backup's contents, or saved as one.
Outcome VspLoadBackup(const WindowServices &main, Session &session, const QString &path);
Outcome VspSaveBackup(Session &session, const QString &path);

// Compares one backup with what the SP holds, or two backups, and shows the differences in
// frmCompare; nothing when a file cannot be used (the Notifier has said why).
frmCompare *ShowCompare(const WindowServices &main, Session &session, const QStringList &paths);

// Adds "Back Up SP...", "Restore from Backup...", "Compare Backup..." to File and the
// Virtual SP items to Tools.
void InstallMenus(frmMain &main, Session &session, QMenu *file, QMenu *tools);

// `korvane --backup FILE` / `--restore FILE`: runs on the configured ports without a window,
// prints a summary and returns the exit code. -1 when the arguments ask for neither.
int RunFromCommandLine(const QStringList &arguments);

} // namespace BackupCommand
