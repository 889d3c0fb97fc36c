// An envelope's picture: draws an EnvelopePlot drawing on a dark surface, scaled from the
// design units to the widget's size with the aspect kept.
#pragma once

#include "editors/EnvelopePlot.h"

#include <QWidget>

#include <optional>

class EnvelopePicture : public QWidget {
    Q_OBJECT
public:
    static const QColor Background;

    explicit EnvelopePicture(QWidget *parent = nullptr);

    void Draw(const EnvelopePlot::Drawing &drawing);
    void Clear();
    const std::optional<EnvelopePlot::Drawing> &drawing() const { return shown; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<EnvelopePlot::Drawing> shown;
};
