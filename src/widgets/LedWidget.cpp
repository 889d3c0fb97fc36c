#include "widgets/LedWidget.h"

#include <QPainter>

LedWidget::LedWidget(QColor colour, QWidget *parent) : QWidget(parent), colour(colour)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    frameTimer.setSingleShot(true);
    frameTimer.setInterval(FrameMs);
    connect(&frameTimer, &QTimer::timeout, this, &LedWidget::ShowFrame);
}

void LedWidget::setLit(bool on)
{
    if (lit == on)
        return;
    lit = on;
    litDuringFrame = litDuringFrame || on;
    if (!frameTimer.isActive())
        frameTimer.start();
}

void LedWidget::ShowFrame()
{
    frameTimer.stop();
    const bool show = lit || litDuringFrame;
    litDuringFrame = false;
    if (show != shown) {
        shown = show;
        update();
    }
    // A flash shorter than a frame was shown; the light's real state follows in the next one.
    if (shown != lit)
        frameTimer.start();
}

QSize LedWidget::sizeHint() const
{
    const int side = fontMetrics().height();
    return {side, side};
}

void LedWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height()) - 2;
    const QRectF circle((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(shown ? colour : colour.darker(400));
    painter.drawEllipse(circle);
}
