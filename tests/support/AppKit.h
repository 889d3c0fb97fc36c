// Small pieces the window tests share (files read and written whole are Bytes.h's): an interface whose SP
// answers, the requests of one command the Virtual SP received, the dialog a command opened, the
// window made active for its shortcuts, and the built program run in a home of its own.
#pragma once

#include "Bytes.h"
#include "ScriptedBackend.h"
#include "VspApp.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

// An interface "<name> In" / "<name> Out" whose SP answers every request with status 0, so that
// no test waits out a time-out.
inline std::unique_ptr<ScriptedBackend> AnsweringInterface(const QString &name = QStringLiteral("Test"))
{
    auto backend = std::make_unique<ScriptedBackend>(QStringList{name + QStringLiteral(" In")},
                                                     QStringList{name + QStringLiteral(" Out")});
    backend->reply = ScriptedBackend::StatusReply(0);
    return backend;
}

// A request starting with this command byte, and for this kind when one is given.
inline bool IsCommand(const QByteArray &request, int command, int kind = -1)
{
    return request.size() > 9 && static_cast<uint8_t>(request.at(7)) == command && (kind < 0 || request.at(8) == kind);
}

// The requests the Virtual SP received of this command (and kind).
inline QList<QByteArray> Commands(const VspApp &app, int command, int kind = -1)
{
    QList<QByteArray> found;
    for (const QByteArray &request : app.requests()) {
        if (IsCommand(request, command, kind))
            found << request;
    }
    return found;
}
constexpr int DumpCommand = 0x01, UploadCommand = 0x02;

// The backends, in the order the system offers them.
template <typename... B>
std::vector<std::unique_ptr<MidiBackend>> Backends(std::unique_ptr<B>... backends)
{
    std::vector<std::unique_ptr<MidiBackend>> all;
    (all.push_back(std::move(backends)), ...);
    return all;
}

// The shown window of type T among `parent`'s children: the dialog a command opened.
template <typename T>
T *ShownChild(QWidget *parent)
{
    for (T *window : parent->findChildren<T *>()) {
        if (window->isVisible())
            return window;
    }
    return nullptr;
}

// Shortcuts fire only in the active window, as for a user.
inline bool Activate(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

struct ProgramRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
    QStringList filesWritten; // under the run's home
};

// The built program, offscreen, with `home` as its home and its settings and data folders.
inline ProgramRun RunProgram(const QString &program, const QStringList &arguments, const QTemporaryDir &home,
                             const QList<std::pair<QString, QString>> &environment = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const auto &[name, value] : environment)
        env.insert(name, value);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home.path());
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    QDirIterator files(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext())
        run.filesWritten << files.next();
    return run;
}
