// The Notifier of the running program: message boxes titled with the program's name, or with
// a dialog's own title where it gives one.
#pragma once

#include "midi/Notifier.h"

#include <QPointer>
#include <QWidget>

class MessageBoxNotifier : public Notifier {
public:
    void setParentWindow(QWidget *window) { parent = window; }
    void message(Icon icon, const QString &heading, const QString &text) override;
    bool question(const QString &heading, const QString &text) override;
    void titledMessage(Icon icon, const QString &title, const QString &text) override;
    bool titledQuestion(Icon icon, const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &label) override;

private:
    QPointer<QWidget> parent;
};
