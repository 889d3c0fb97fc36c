// A titled frame that paints itself with a plain outline and its title, for the panels that
// group a tab's controls. The style's own group box frame is drawn through a cached image the
// size of the frame, which costs more than everything inside a panel on a busy machine; a tab
// with a dozen panels is redrawn after every read-back.
#pragma once

#include <QGroupBox>

class PanelFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit PanelFrame(const QString &title, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
