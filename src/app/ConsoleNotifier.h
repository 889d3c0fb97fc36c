// The command line's notifier: errors and notices on standard error; the command line itself
// was the confirmation, so every question is answered yes.
#pragma once

#include "midi/Notifier.h"

#include <QTextStream>

class ConsoleNotifier : public Notifier {
public:
    void message(Icon, const QString &heading, const QString &text) override
    {
        QTextStream(stderr) << (heading.isEmpty() ? QString() : heading + QStringLiteral(": ")) << text << Qt::endl;
    }
    bool question(const QString &, const QString &) override { return true; }
};
