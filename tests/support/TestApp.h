// The whole program started as a user would start it, but on a test's own MIDI backend,
// settings file, home directory and recording notifier.
#pragma once

#include "RecordingNotifier.h"
#include "ScriptedBackend.h"
#include "app/Korvane.h"
#include "editors/Session.h"
#include "app/frmMain.h"

#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

struct TestApp {
    // Only tests about time-outs shorten the SP's response time-out: anywhere else an answer
    // due at once must never race it on a loaded machine.
    static constexpr int ShortTimeoutMs = 400;
    int responseTimeoutCap = 0;
    // Before or after the start.
    void shortTimeouts()
    {
        responseTimeoutCap = ShortTimeoutMs;
        if (korvane)
            session().wait.setTimeoutCap(ShortTimeoutMs);
    }
    bool traceToFile = true; // off for long runs, whose trace would only grow
    bool pagesWhenShown = false; // as the program started by a user makes its pages

    TestApp() : store(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat) {}

    LinkStartup::Outcome start(std::unique_ptr<MidiBackend> backend, const QStringList &arguments = {})
    {
        std::vector<std::unique_ptr<MidiBackend>> backends;
        if (backend)
            backends.push_back(std::move(backend));
        return startWith(std::move(backends), arguments);
    }

    // Several backends, offered in this order, as the system's interfaces and the Virtual SP are.
    LinkStartup::Outcome startWith(std::vector<std::unique_ptr<MidiBackend>> backends, const QStringList &arguments = {})
    {
        KorvaneOptions options;
        options.arguments = arguments;
        options.currentDirectory = dir.path();
        options.store = &store;
        options.notifier = &notifier;
        options.responseTimeoutCap = responseTimeoutCap;
        options.pagesWhenShown = pagesWhenShown;
        options.libraryPath = file(QStringLiteral("library.sqlite"));
        if (traceToFile)
            options.tracePath = dir.filePath(QStringLiteral("trace.txt"));
        options.backends = std::move(backends);
        korvane = std::make_unique<Korvane>(std::move(options));
        return korvane->start();
    }

    frmMain *main() { return korvane->mainWindow(); }
    Session &session() { return korvane->session(); }
    template <typename T>
    T *find(const QString &name) { return main()->findChild<T *>(name); }

    QString file(const QString &name) const { return dir.filePath(name); }
    QString panel(int n) { return main()->statusPanel(n)->text(); } // of the status bar

    QTemporaryDir dir;
    QSettings store;
    RecordingNotifier notifier;
    std::unique_ptr<Korvane> korvane;
};
