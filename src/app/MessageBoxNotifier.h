// The Notifier of the running program: message boxes titled with the program's name.
#pragma once

#include "midi/Notifier.h"

#include <QPointer>
#include <QWidget>

class MessageBoxNotifier : public Notifier {
public:
    void setParentWindow(QWidget *window) { parent = window; }
    void message(Icon icon, const QString &heading, const QString &text) override;
    bool question(const QString &heading, const QString &text) override;

private:
    QPointer<QWidget> parent;
};
