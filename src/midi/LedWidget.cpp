#include "midi/LedWidget.h"

#include <QPainter>

LedWidget::LedWidget(QColor colour, QWidget *parent) : QWidget(parent), colour(colour)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LedWidget::setLit(bool on)
{
    if (lit == on)
        return;
    lit = on;
    update();
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
    painter.setBrush(lit ? colour : colour.darker(400));
    painter.drawEllipse(circle);
}
