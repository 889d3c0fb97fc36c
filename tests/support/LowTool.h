// The korvane-vsp tool run as a separate process: its arguments and standard input in, its exit
// code, standard output and standard error out. The tests that use it define KORVANE_VSP_EXE.
#pragma once

#include <QProcess>

struct ToolRun {
    int exitCode = -1; // also when it could not start, crashed or hung
    QByteArray output;
    QByteArray errors;
};

inline ToolRun RunTool(const QStringList &arguments, const QByteArray &input = {},
                       const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(KORVANE_VSP_EXE), arguments);
    if (!tool.waitForStarted(30000))
        return {};
    tool.write(input);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(60000)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, tool.readAllStandardOutput(),
            tool.readAllStandardError()};
}
