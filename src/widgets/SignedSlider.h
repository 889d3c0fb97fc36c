// A slider for values that run from negative to positive (pan, modulation amounts, tune).
// A plain slider fills its groove from the minimum end, so 0 on a -99..99 slider looks half
// full; this one marks the centre and fills only between 0 and the handle, so 0 reads as the
// middle. For ranges without negative values it paints like any other slider.
#pragma once

#include <QSlider>

class SignedSlider : public QSlider {
    Q_OBJECT
public:
    explicit SignedSlider(Qt::Orientation orientation, QWidget *parent = nullptr);

    bool readsFromCentre() const { return minimum() < 0 && maximum() > 0; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The handle's centre along the slider for this value, in widget pixels.
    QPoint HandleCentre(int value) const;
};
