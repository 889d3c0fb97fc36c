// A small round activity light with a "lit" property.
#pragma once

#include <QColor>
#include <QWidget>

class LedWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool lit READ isLit WRITE setLit)
public:
    explicit LedWidget(QColor colour = QColor(0, 200, 0), QWidget *parent = nullptr);

    bool isLit() const { return lit; }
    void setLit(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor colour;
    bool lit = false;
};
