// A Notifier that records every message instead of showing a box, so no test ever blocks.
#pragma once

#include "QtPrinters.h"
#include "midi/Notifier.h"

#include <QList>

class RecordingNotifier : public Notifier {
public:
    struct Entry {
        Icon icon;
        QString heading;
        QString text;
    };

    void message(Icon icon, const QString &heading, const QString &text) override
    {
        messages.append({icon, heading, text});
    }
    bool question(const QString &heading, const QString &text) override
    {
        messages.append({Icon::None, heading, text});
        return answer;
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Entry &e : messages)
            all << e.text;
        return all;
    }

    // Each message as "heading: text", to compare all of them at once.
    QStringList shown() const
    {
        QStringList all;
        for (const Entry &e : messages)
            all << e.heading + QStringLiteral(": ") + e.text;
        return all;
    }

    QList<Entry> messages;
    bool answer = true;
};
