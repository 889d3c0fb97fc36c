#include "widgets/SpinButton.h"

#include <QLineEdit>
#include <QToolButton>

namespace {

QToolButton *Arrow(Qt::ArrowType type, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The height of a one-line text box in this style and font: the arrows match it.
int BoxHeight(const QWidget *widget)
{
    QLineEdit probe;
    probe.setFont(widget->font());
    return probe.sizeHint().height();
}

} // namespace

SpinButton::SpinButton(QWidget *parent) : QWidget(parent)
{
    up = Arrow(Qt::UpArrow, QStringLiteral("up"), this);
    down = Arrow(Qt::DownArrow, QStringLiteral("down"), this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(up, &QToolButton::clicked, this, &SpinButton::SpinUp);
    connect(down, &QToolButton::clicked, this, &SpinButton::SpinDown);
}

QSize SpinButton::sizeHint() const
{
    const int height = BoxHeight(this);
    return {height * 2 / 3, height};
}

void SpinButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Two halves, the lower one taking the odd pixel; the arrows shrink with the buttons.
    const int half = height() / 2;
    up->setGeometry(0, 0, width(), half);
    down->setGeometry(0, half, width(), height() - half);
    const QSize arrow(qMax(4, width() - 6), qMax(3, half - 4));
    up->setIconSize(arrow);
    down->setIconSize(arrow);
}
