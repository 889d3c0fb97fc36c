#include "widgets/SignedSlider.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStylePainter>

namespace {
constexpr int GrooveThickness = 4;
constexpr int CentreTickReach = 5; // how far the centre mark stands out beside the groove
} // namespace

SignedSlider::SignedSlider(Qt::Orientation orientation, QWidget *parent) : QSlider(orientation, parent) {}

QPoint SignedSlider::HandleCentre(int value) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = value;
    option.sliderValue = value;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this).center();
}

void SignedSlider::paintEvent(QPaintEvent *event)
{
    if (!readsFromCentre()) {
        QSlider::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    const bool horizontal = orientation() == Qt::Horizontal;
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QPoint zero = HandleCentre(0);
    const QPoint handle = HandleCentre(sliderPosition());

    // A thin empty groove across the whole range.
    QRect track = groove;
    if (horizontal)
        track = QRect(groove.left(), groove.center().y() - GrooveThickness / 2, groove.width(), GrooveThickness);
    else
        track = QRect(groove.center().x() - GrooveThickness / 2, groove.top(), GrooveThickness, groove.height());
    const QPalette &colours = palette();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(colours.color(QPalette::Dark));
    painter.setBrush(colours.color(QPalette::Base));
    painter.drawRoundedRect(QRectF(track).adjusted(0.5, 0.5, -0.5, -0.5), 1.5, 1.5);

    // The fill runs from 0 to the handle, on whichever side the value lies.
    if (sliderPosition() != 0) {
        QRect fill = track.adjusted(1, 1, -1, -1);
        if (horizontal) {
            fill.setLeft(qMin(zero.x(), handle.x()));
            fill.setRight(qMax(zero.x(), handle.x()));
        } else {
            fill.setTop(qMin(zero.y(), handle.y()));
            fill.setBottom(qMax(zero.y(), handle.y()));
        }
        painter.fillRect(fill, colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight));
    }

    // The centre mark, on both sides of the groove, so 0 can be found with the handle away.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colours.color(QPalette::WindowText), 1));
    if (horizontal)
        painter.drawLine(zero.x(), track.top() - CentreTickReach, zero.x(), track.bottom() + CentreTickReach);
    else
        painter.drawLine(track.left() - CentreTickReach, zero.y(), track.right() + CentreTickReach, zero.y());

    // The style's own handle on top.
    option.subControls = QStyle::SC_SliderHandle;
    painter.drawComplexControl(QStyle::CC_Slider, option);
}
