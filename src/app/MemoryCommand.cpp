#include "app/MemoryCommand.h"

#include "app/EditHistory.h"
#include "editors/Session.h"
#include <QWidget>
#include "app/WindowServices.h"
#include "app/frmProgress.h"
#include "midi/Notifier.h"

namespace MemoryCommand {

Outcome Run(const WindowServices &window, Session &session, const Request &request, const std::function<void()> &afterRetrieval)
{
    frmProgress &progress = window.progress;
    progress.Show(request.caption, request.text);
    // A wait without limit must never trap the user behind a drive that does not answer.
    const bool cancellable = request.timeoutMs == ResponseWait::Forever;
    bool cancelled = false;
    QMetaObject::Connection cancel;
    if (cancellable) {
        progress.SetCancellable(true);
        cancel = QObject::connect(&progress, &frmProgress::cancelled, &session.wait, [&] {
            cancelled = true;
            session.wait.abort();
        });
    }
    const bool accepted = session.io.SendCommand(request.body, request.timeoutMs);
    if (cancellable) {
        QObject::disconnect(cancel);
        progress.SetCancellable(false);
    }
    // Recorded edits address objects by number, and a changed memory gives the numbers to others.
    if (accepted || cancelled)
        window.history.Clear();
    if (!window.window.isVisible()) {
        // The program is closing and its ports are shut.
        progress.hide();
        return Outcome::Closed;
    }
    if (cancelled) {
        // The program's picture of the SP has not changed; asking the SP anything now would
        // only queue behind the command it may still be carrying out.
        progress.hide();
        session.notifier.message(Notifier::Icon::Information, request.caption,
                                 QStringLiteral("The wait for the SP was cancelled. The SP may still complete "
                                                "the operation; download all objects to see what it holds."));
        return Outcome::Cancelled;
    }
    if (accepted) {
        progress.SetText(QStringLiteral("Download SP Objects"), request.downloadText);
        window.ReadEverything();
        if (afterRetrieval)
            afterRetrieval();
    }
    window.redisplay();
    progress.hide();
    return accepted ? Outcome::Done : Outcome::Failed;
}

} // namespace MemoryCommand
