// A two-arrow spin button with no value of its own: it only says "up" or "down", and the
// box beside it decides what that means. Small arrows as tall as a text box, the same on
// every tab, so a row of box and arrows is no taller than the box.
#pragma once

#include <QWidget>

class QToolButton;

class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void SpinUp();
    void SpinDown();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *up;
    QToolButton *down;
};
