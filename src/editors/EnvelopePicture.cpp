#include "editors/EnvelopePicture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace EnvelopePlot;

const QColor EnvelopePicture::Background(0, 0, 0);

EnvelopePicture::EnvelopePicture(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void EnvelopePicture::Draw(const Drawing &drawing)
{
    shown = drawing;
    update();
}

void EnvelopePicture::Clear()
{
    shown.reset();
    update();
}

QSize EnvelopePicture::sizeHint() const
{
    return {DesignWidth, DesignHeight};
}

QSize EnvelopePicture::minimumSizeHint() const
{
    return {DesignWidth, DesignHeight};
}

void EnvelopePicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    if (!shown)
        return;
    // One design unit is one pixel at the designed size; larger pictures scale evenly and stay
    // centred, with lines as thick as a unit so they do not thin out.
    const double scale = std::min(width() / double(DesignWidth), height() / double(DesignHeight));
    painter.translate((width() - DesignWidth * scale) / 2, (height() - DesignHeight * scale) / 2);
    painter.scale(scale, scale);
    const int thickness = std::max(1, static_cast<int>(std::lround(scale)));
    const auto pen = [thickness](const QColor &colour) {
        QPen p(colour, thickness);
        p.setCosmetic(true);
        return p;
    };

    // The curve is plotted point by point; its points are neighbours, so it reads as a line.
    painter.setPen(pen(White));
    painter.drawPoints(shown->attackCurve.constData(), static_cast<int>(shown->attackCurve.size()));
    painter.setBrush(Qt::NoBrush);
    // The marker goes over the end of the middle segment, before the release leaves it.
    const qsizetype middle = shown->lines.size() - 2;
    for (qsizetype i = 0; i < shown->lines.size(); ++i) {
        painter.setPen(pen(shown->lines[i].colour));
        painter.drawLine(shown->lines[i].line);
        if (i == middle) {
            painter.setPen(pen(White));
            painter.drawRect(shown->marker);
        }
    }
}
