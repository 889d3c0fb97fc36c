#include "editors/ToneControls.h"
#include "editors/ParameterTips.h"
#include "widgets/SignedSlider.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace ToneControls {

namespace {
constexpr int NumberCharacters = 4;
constexpr int SliderMinimumHeight = 90;
} // namespace

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLineEdit *MakeNumberBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(NumberCharacters);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("none")) + 16);
    return box;
}

SliderColumn MakeSliderColumn(QWidget *parent, const QString &caption, const QString &boxName,
                              const QString &sliderName, int low, int high, const QString &tip)
{
    SliderColumn c;
    c.column = new QWidget(parent);
    auto *layout = new QVBoxLayout(c.column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    auto *label = new QLabel(caption, c.column);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    c.box = MakeNumberBox(c.column, boxName);
    c.slider = new SignedSlider(Qt::Vertical, c.column);
    c.slider->setObjectName(sliderName);
    c.slider->setRange(low, high);
    c.slider->setMinimumHeight(SliderMinimumHeight);
    c.slider->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    ParameterTips::Set(c.box, c.slider, tip.isEmpty() ? caption : tip, low, high);
    layout->addWidget(label, 0, Qt::AlignHCenter);
    layout->addWidget(c.box, 0, Qt::AlignHCenter);
    layout->addWidget(c.slider, 1, Qt::AlignHCenter);
    return c;
}

} // namespace ToneControls
