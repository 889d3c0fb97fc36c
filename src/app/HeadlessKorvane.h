// The whole program started for a command line that talks to the SP: its window hidden, every
// message on standard error, every question answered yes (the command was the confirmation).
#pragma once

#include "app/ConsoleNotifier.h"
#include "app/Korvane.h"
#include "app/frmMain.h"
#include "editors/Session.h"

class HeadlessKorvane {
public:
    enum class Start { Fatal, Offline, Online };

    explicit HeadlessKorvane(const QStringList &arguments) : korvane(Options(arguments, &notifier)) {}

    Start start()
    {
        if (korvane.start() == LinkStartup::Outcome::Fatal)
            return Start::Fatal;
        korvane.mainWindow()->hide();
        return korvane.session().link.isOnline() ? Start::Online : Start::Offline;
    }
    Session &session() { return korvane.session(); }
    frmMain &main() { return *korvane.mainWindow(); }

private:
    static KorvaneOptions Options(const QStringList &arguments, Notifier *notifier)
    {
        KorvaneOptions options;
        options.arguments = arguments;
        options.notifier = notifier;
        return options;
    }

    ConsoleNotifier notifier; // before the program, which keeps a pointer to it
    Korvane korvane;
};
