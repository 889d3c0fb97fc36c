// The audition button: the configured note sounds on the SP while the left mouse button holds
// the button down.
#pragma once

#include <QObject>

class QPushButton;
class Session;

class WaveAudition : public QObject {
    Q_OBJECT
public:
    explicit WaveAudition(Session &session, QObject *parent = nullptr);

    // Takes over the button's mouse presses; a button already attached is left as it is.
    void Attach(QPushButton *button);
    QPushButton *button() const { return cmdPlaySample; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void NoteOn();
    void NoteOff();

    Session &session;
    QPushButton *cmdPlaySample = nullptr;
};
