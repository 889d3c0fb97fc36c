#include "editors/SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *Arrow(Qt::ArrowType type, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

} // namespace

SpinButton::SpinButton(QWidget *parent) : QWidget(parent)
{
    up = Arrow(Qt::UpArrow, QStringLiteral("up"), this);
    down = Arrow(Qt::DownArrow, QStringLiteral("down"), this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up);
    layout->addWidget(down);
    connect(up, &QToolButton::clicked, this, &SpinButton::SpinUp);
    connect(down, &QToolButton::clicked, this, &SpinButton::SpinDown);
}
