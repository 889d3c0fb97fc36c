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
        bool titled = false; // the box's own title is `heading`; the text stands alone
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
    void titledMessage(Icon icon, const QString &title, const QString &text) override
    {
        messages.append({icon, title, text, true});
    }
    bool titledQuestion(Icon icon, const QString &title, const QString &text) override
    {
        messages.append({icon, title, text, true});
        return answer;
    }

    std::optional<QString> askText(const QString &title, const QString &label) override
    {
        messages.append({Icon::None, title, label});
        return textAnswer;
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Entry &e : messages)
            all << e.text;
        return all;
    }

    // Each message as "heading: text", or "[title] text" for a box titled by its dialog, to
    // compare all of them at once.
    QStringList shown() const
    {
        QStringList all;
        for (const Entry &e : messages)
            all << (e.titled ? QStringLiteral("[%1] %2") : QStringLiteral("%1: %2")).arg(e.heading, e.text);
        return all;
    }

    QList<Entry> messages;
    bool answer = true;
    std::optional<QString> textAnswer = QString(); // nothing: the user cancels
};
