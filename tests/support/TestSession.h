// One program session over a scripted backend with its own settings file, for tests of the
// device link below the windows.
#pragma once

#include "RecordingNotifier.h"
#include "ScriptedBackend.h"
#include "editors/Session.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

struct TestSession {
    // Only tests about time-outs shorten the SP's response time-out: anywhere else an answer
    // due at once must never race it on a loaded machine.
    static constexpr int ShortTimeoutMs = 400;
    void shortTimeouts() { session->wait.setTimeoutCap(ShortTimeoutMs); }

    explicit TestSession(std::unique_ptr<ScriptedBackend> scripted = std::make_unique<ScriptedBackend>())
    {
        backend = scripted.get();
        make(std::move(scripted));
    }
    // Over another backend, such as the Virtual SP; `backend` stays null.
    explicit TestSession(std::unique_ptr<MidiBackend> other) { make(std::move(other)); }

    bool openPorts() { return session->comms.OpenInputDevice() && session->comms.OpenOutputDevice(); }

    // One request and its answer, as every exchange of the program goes.
    QByteArray exchange(const QByteArray &request, ResponseWait::ResponseKind kind, int timeout = 5000)
    {
        session->comms.MidiOutLongMsg(request);
        return session->wait.GetSpResponse(timeout, kind);
    }

    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    RecordingNotifier notifier;
    ScriptedBackend *backend = nullptr;
    std::unique_ptr<Session> session;

private:
    void make(std::unique_ptr<MidiBackend> only)
    {
        std::vector<std::unique_ptr<MidiBackend>> backends;
        backends.push_back(std::move(only));
        session = std::make_unique<Session>(store, notifier, std::move(backends), dir.filePath(QStringLiteral("trace.txt")));
    }
};

// A session with both ports open, as every exchange needs.
struct OpenSession : TestSession {
    explicit OpenSession(std::unique_ptr<ScriptedBackend> scripted = std::make_unique<ScriptedBackend>())
        : TestSession(std::move(scripted))
    {
        EXPECT_TRUE(openPorts()) << "the test's ports open";
    }
};
