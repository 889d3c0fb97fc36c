// One command that changes the SP's memory (bank load, delete, clear, stereo merge), sent with
// the progress window showing and followed, when the SP accepts it, by a full retrieval so
// that every tab shows what the SP now holds.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class Session;
struct WindowServices;

namespace MemoryCommand {

struct Request {
    QString caption;      // the progress window's caption while the command runs
    QString text;         // and its text
    QByteArray body;      // the command, framed on sending
    int timeoutMs = 5000; // ResponseWait::Forever: no limit, and the progress window offers Cancel
    QString downloadText = QStringLiteral("Downloading SP Data...");
};

enum class Outcome {
    Done,      // accepted and everything read again
    Failed,    // refused or timed out; the SP's message or the time-out has been shown
    Cancelled, // the user ended a wait without limit; the SP may still carry the command out
    Closed,    // the main window closed during the wait: nothing more may be sent
};

// afterRetrieval runs after a successful retrieval, before the current tab is shown again.
Outcome Run(const WindowServices &window, Session &session, const Request &request,
            const std::function<void()> &afterRetrieval = {});

} // namespace MemoryCommand
