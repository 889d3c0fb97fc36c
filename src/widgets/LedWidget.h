// A small round activity light with a "lit" property.
//
// The lights follow every exchange with the SP, which can be thousands a second; painting each
// change would cost more than the exchange itself. So a change only records the state, and the
// light is painted at most once a frame: a light that was lit at any moment of a frame is shown
// lit for that frame, and the final state is always shown in the frame after.
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

class LedWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool lit READ isLit WRITE setLit)
public:
    static constexpr int FrameMs = 16;

    explicit LedWidget(QColor colour = QColor(0, 200, 0), QWidget *parent = nullptr);

    // The state as last set.
    bool isLit() const { return lit; }
    void setLit(bool on);
    // The state painted on the screen.
    bool isShownLit() const { return shown; }
    bool framePending() const { return frameTimer.isActive(); }
    // The end of a frame: decides what the light shows until the next one. Called by the
    // frame timer; tests call it to step frames without depending on time.
    void ShowFrame();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor colour;
    bool lit = false;
    bool litDuringFrame = false;
    bool shown = false;
    QTimer frameTimer;
};
