#include "widgets/PanelFrame.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <algorithm>

PanelFrame::PanelFrame(const QString &title, QWidget *parent) : QGroupBox(title, parent)
{
}

void PanelFrame::paintEvent(QPaintEvent *)
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    QRect frame = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this);
    if (!title().isEmpty())
        frame.setTop(std::max(frame.top(), label.bottom() + 2)); // the title above the outline, as the style draws it
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    if (!title().isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, title());
    }
}
