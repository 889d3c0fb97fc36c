// The progress window for one run: shows each step, offers Cancel, and closes when the run ends.
#pragma once

#include "app/WindowServices.h"
#include "app/frmProgress.h"
#include "objects/BackupTransfer.h"

#include <QElapsedTimer>
#include <QObject>

class ProgressSteps {
public:
    ProgressSteps(const WindowServices &main, const QString &caption, bool show) : caption(caption)
    {
        if (!show)
            return;
        window = &main.progress;
        window->Show(caption, QString());
        window->SetCancellable(true);
        connection = QObject::connect(window, &frmProgress::cancelled, window, [this] { cancelled = true; });
    }
    ~ProgressSteps() { close(); }

    void close()
    {
        if (!window)
            return;
        QObject::disconnect(connection);
        window->SetCancellable(false);
        window->hide();
        window = nullptr;
    }
    void reopen(const WindowServices &main)
    {
        if (window)
            return;
        window = &main.progress;
        window->Show(caption, QString());
        window->SetCancellable(true);
        connection = QObject::connect(window, &frmProgress::cancelled, window, [this] { cancelled = true; });
    }
    BackupTransfer::Step step()
    {
        return [this](const QString &text) {
            // Ten new lines a second are all anyone can read; redrawing the window for every
            // object would slow the whole backup down measurably.
            if (window && (!shown.isValid() || shown.hasExpired(RedrawMs))) {
                window->SetText(caption, text);
                shown.start();
            }
            return !cancelled;
        };
    }
    void text(const QString &line)
    {
        if (window)
            window->SetText(caption, line);
    }

    bool cancelled = false;

private:
    static constexpr int RedrawMs = 100;
    QElapsedTimer shown;
    QString caption;
    frmProgress *window = nullptr;
    QMetaObject::Connection connection;
};
