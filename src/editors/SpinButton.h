// A two-arrow spin button with no value of its own: it only says "up" or "down", and the
// box beside it decides what that means.
#pragma once

#include <QWidget>

class QToolButton;

class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget *parent = nullptr);

signals:
    void SpinUp();
    void SpinDown();

private:
    QToolButton *up;
    QToolButton *down;
};
