// Builds and starts the whole program. main() calls RunKorvane; tests and tools build a
// Korvane with their own MIDI backends, settings file and notifier.
#pragma once

#include "device/LinkStartup.h"
#include "midi/MidiBackend.h"

#include <QStringList>

#include <memory>
#include <vector>

class Notifier;
class QSettings;
class Session;
class frmMain;
class frmSplash;

struct KorvaneOptions {
    QStringList arguments;    // the command line after the program's name
    QString currentDirectory; // empty: the process's current directory
    QSettings *store = nullptr;     // empty: the user's settings of "Talvern Systems"/"Korvane"
    Notifier *notifier = nullptr;   // empty: message boxes
    // Backends to offer. When none are given, the system's MIDI interfaces and, unless
    // switched off, the Virtual SP.
    std::vector<std::unique_ptr<MidiBackend>> backends;
    int responseTimeoutCap = 0; // shortens every SP time-out (ms); 0 keeps them
    QString tracePath;          // empty: the file named by KORVANE_MIDI_TRACE, if any
    // Each tab page's controls made when first shown, the rest once the window is up, so the
    // window comes sooner. Off: every page is made before the window shows.
    bool pagesWhenShown = false;
    QString libraryPath; // the library file; empty: library.sqlite in the data folder
};

class Korvane {
public:
    explicit Korvane(KorvaneOptions options);
    ~Korvane();

    // The start-up window's load: home directory, debug log, then the main window's load.
    // The main window is shown unless the outcome is Fatal.
    LinkStartup::Outcome start();

    Session &session() { return *session_; }
    frmMain *mainWindow() { return main.get(); }

    // The debug log is written only when the whole command line is "/b" or "/B".
    static bool WantsDebugLog(const QStringList &arguments);
    static bool WantsVirtualSp(const QStringList &arguments, QSettings &store);
    static std::vector<std::unique_ptr<MidiBackend>> SystemBackends(bool withVirtualSp, bool vspWireTiming = false);

private:
    void SayWhenNoInterface() const;

    KorvaneOptions options;
    std::unique_ptr<QSettings> ownStore;
    std::unique_ptr<Notifier> ownNotifier;
    std::unique_ptr<Session> session_;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<frmSplash> splash;
    QString vspWarning; // the Virtual SP could not use its memory file
    bool sayWhenNoInterface = false;
};

// The program: parses the command line, starts Korvane, runs the event loop.
int RunKorvane(int argc, char **argv);
