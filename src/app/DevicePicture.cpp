#include "app/DevicePicture.h"

#include "objects/BankLoad.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace {

// Each drawing is made on a 100 x 100 grid and scaled to the widget.
void DrawFloppy(QPainter &p)
{
    QPainterPath body;
    body.moveTo(18, 14);
    body.lineTo(74, 14);
    body.lineTo(84, 24);
    body.lineTo(84, 86);
    body.lineTo(18, 86);
    body.closeSubpath();
    p.setBrush(QColor(45, 55, 90));
    p.drawPath(body);
    p.setBrush(QColor(190, 195, 205)); // the metal shutter
    p.drawRect(34, 14, 32, 24);
    p.setBrush(QColor(45, 55, 90));
    p.drawRect(54, 18, 8, 16);
    p.setBrush(QColor(245, 245, 235)); // the label
    p.drawRect(26, 50, 50, 32);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (int y = 58; y < 80; y += 7)
        p.drawLine(30, y, 72, y);
}

void DrawHardDisk(QPainter &p)
{
    p.setBrush(QColor(120, 125, 135));
    p.drawRoundedRect(QRectF(12, 20, 76, 60), 4, 4);
    p.setBrush(QColor(200, 205, 215)); // the platter
    p.drawEllipse(QPointF(44, 50), 24, 24);
    p.setBrush(QColor(90, 95, 105));
    p.drawEllipse(QPointF(44, 50), 5, 5);
    p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(80, 28), QPointF(52, 58)); // the head arm
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 60));
    p.drawEllipse(QPointF(80, 72), 3, 3);
}

void DrawZip(QPainter &p)
{
    p.setBrush(QColor(30, 90, 160));
    p.drawRoundedRect(QRectF(10, 26, 80, 50), 10, 10);
    p.setBrush(QColor(20, 20, 30)); // the cartridge slot
    p.drawRect(20, 38, 60, 8);
    p.setBrush(QColor(220, 225, 235)); // a cartridge half inserted
    p.drawRect(26, 22, 48, 20);
    p.setBrush(QColor(230, 140, 30));
    p.drawEllipse(QPointF(78, 64), 4, 4);
}

void DrawCdRom(QPainter &p)
{
    QRadialGradient shine(QPointF(42, 42), 46);
    shine.setColorAt(0, QColor(235, 235, 250));
    shine.setColorAt(0.5, QColor(190, 210, 235));
    shine.setColorAt(1, QColor(215, 190, 230));
    p.setBrush(shine);
    p.drawEllipse(QPointF(50, 50), 40, 40);
    p.setBrush(QColor(170, 175, 185));
    p.drawEllipse(QPointF(50, 50), 12, 12);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 50), 5, 5);
}

} // namespace

DevicePicture::DevicePicture(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(64, 64);
}

void DevicePicture::setDeviceType(int newType)
{
    if (newType == type)
        return;
    type = newType;
    update();
}

void DevicePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const qreal side = std::min(width(), height());
    p.translate((width() - side) / 2, (height() - side) / 2);
    p.scale(side / 100, side / 100);
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    // By device type: 0 CD-ROM, 1 hard disk, 2 Zip/Jaz, 3 floppy.
    static constexpr std::array<void (*)(QPainter &), 4> Drawings = {DrawCdRom, DrawHardDisk, DrawZip, DrawFloppy};
    if (type >= 0 && type < static_cast<int>(Drawings.size()))
        Drawings[static_cast<size_t>(type)](p);
}
