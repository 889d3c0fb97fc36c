// The program's command line: what each option asks for, and the refusal of anything it does
// not know before anything is started.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    bool help = false;
    QString tab;        // --tab NAME, checked against the tabs' captions
    QString screenshot; // --screenshot FILE
    bool quitWhenShown = false;
    QString backup;     // --backup FILE: read the whole SP into FILE, without a window
    QString restore;    // --restore FILE: send FILE back to the SP, without a window
    QString library;    // --library FILE: the library file, instead of the one in the data folder
    bool snapshot = false;        // --snapshot [NOTE]: read the whole SP into the library
    QString snapshotNote;
    bool snapshots = false;       // --snapshots: list the library's snapshots
    QString find;                 // --find TEXT: objects whose name, tags or note hold TEXT
    QString restoreSnapshot;      // --restore-snapshot ID: send a snapshot back, verified
    QStringList libraryImport;    // --library-import PATH...: backup files or folders of them
    QString open;       // FILE.syx: a backup or an exported object to open, as a double click does
    QString error;      // not empty: the command line is refused with this text

    // arguments: the command line after the program's name, as the system passed it (Qt's own
    // options such as -platform or -style are let through for Qt). tabs: the valid tab names.
    // One of the library's commands, which run without a window.
    bool wantsLibrary() const { return snapshot || snapshots || !find.isEmpty() || !restoreSnapshot.isEmpty() || !libraryImport.isEmpty(); }

    static CommandLine Parse(const QStringList &arguments, const QStringList &tabs);
    // Every option with one line about it.
    static QString Usage(const QStringList &tabs);

    // Exit codes: 0 for --help, 2 for a command line refused.
    static constexpr int UsageError = 2;
};
