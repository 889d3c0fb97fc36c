// Small builders of the controls the Tone tabs are made of: a parameter's column of caption,
// box and vertical slider, so every column of every section looks and lines up the same.
#pragma once

#include <QString>

class QLineEdit;
class QSlider;
class QWidget;

namespace ToneControls {

// A control array element's name: "txtDCF(4)".
QString Indexed(const char *name, int index);

struct SliderColumn {
    QWidget *column = nullptr;
    QLineEdit *box = nullptr;
    QSlider *slider = nullptr;
};

// The box and slider carry the tooltip "tip: low to high" (the caption when tip is empty).
SliderColumn MakeSliderColumn(QWidget *parent, const QString &caption, const QString &boxName,
                              const QString &sliderName, int low, int high, const QString &tip = {});

// A box wide enough for "-99", "none" and "128".
QLineEdit *MakeNumberBox(QWidget *parent, const QString &name);

} // namespace ToneControls
