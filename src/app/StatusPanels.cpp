#include "app/StatusPanels.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>

namespace {
constexpr int PanelPadding = 16; // frame and margins around the text
}

StatusPanel::StatusPanel(const QString &text, const QString &widest, QWidget *parent)
    : QLabel(text, parent), wantedWidth(fontMetrics().horizontalAdvance(widest) + PanelPadding)
{
}

QSize StatusPanel::sizeHint() const
{
    return {std::max(wantedWidth, QLabel::sizeHint().width()), QLabel::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) + PanelPadding, QLabel::minimumSizeHint().height()};
}

void StatusPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

StatusPanelFit::StatusPanelFit(QStatusBar *bar, QList<QWidget *> alwaysShown, QList<QWidget *> dropOrder)
    : QObject(bar), bar(bar), alwaysShown(std::move(alwaysShown)), dropOrder(std::move(dropOrder))
{
    bar->installEventFilter(this);
}

bool StatusPanelFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bar && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        Fit();
    return QObject::eventFilter(watched, event);
}

void StatusPanelFit::Fit()
{
    const int spacing = (bar->layout() ? std::max(0, bar->layout()->spacing()) : 0) + 4;
    const QMargins margins = bar->layout() ? bar->layout()->contentsMargins() : QMargins();
    int room = bar->width() - margins.left() - margins.right();
    for (QWidget *widget : alwaysShown)
        room -= widget->sizeHint().width() + spacing;
    // The most important panels claim room first; once one does not fit, the less important
    // ones stay hidden too, so panels disappear in a fixed order.
    bool fits = true;
    for (auto it = dropOrder.crbegin(); it != dropOrder.crend(); ++it) {
        QWidget *panel = *it;
        const int wanted = panel->sizeHint().width() + spacing;
        fits = fits && wanted <= room;
        if (fits)
            room -= wanted;
        panel->setVisible(fits);
    }
}
