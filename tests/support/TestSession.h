// One program session over a scripted backend with its own settings file, for tests of the
// device link below the windows.
#pragma once

#include "RecordingNotifier.h"
#include "ScriptedBackend.h"
#include "app/Session.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

struct TestSession {
    // Time-outs become this short: the scripted device either answers at once or never.
    static constexpr int TimeoutMs = 400;

    explicit TestSession(std::unique_ptr<ScriptedBackend> scripted = std::make_unique<ScriptedBackend>())
        : store(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    {
        backend = scripted.get();
        std::vector<std::unique_ptr<MidiBackend>> backends;
        backends.push_back(std::move(scripted));
        session = std::make_unique<Session>(store, notifier, std::move(backends),
                                            dir.filePath(QStringLiteral("trace.txt")));
        session->wait.setTimeoutCap(TimeoutMs);
    }

    bool openPorts() { return session->comms.OpenInputDevice() && session->comms.OpenOutputDevice(); }

    // One request and its answer, as every exchange of the program goes.
    QByteArray exchange(const QByteArray &request, ResponseWait::ResponseKind kind, int timeout = 5000)
    {
        session->comms.MidiOutLongMsg(request);
        return session->wait.GetSpResponse(timeout, kind);
    }

    QTemporaryDir dir;
    QSettings store;
    RecordingNotifier notifier;
    ScriptedBackend *backend = nullptr;
    std::unique_ptr<Session> session;
};
