// The main window's status bar panels in a narrow window: a panel shortens its text with "…"
// rather than letting it run under its neighbour, and the least important panels step aside
// when there is not room for them all. The link state and the two lights always stay.
#pragma once

#include <QLabel>
#include <QList>

class QStatusBar;

// A panel of the status bar. It asks for room for the widest text it shows and may be given
// less; text() is always the whole text.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(const QString &text, const QString &widest, QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int wantedWidth;
};

// Shows the panels of `dropOrder` (least important first) only while the bar has room for
// them beside the widgets that always stay.
class StatusPanelFit : public QObject {
    Q_OBJECT
public:
    StatusPanelFit(QStatusBar *bar, QList<QWidget *> alwaysShown, QList<QWidget *> dropOrder);
    void Fit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStatusBar *bar;
    QList<QWidget *> alwaysShown;
    QList<QWidget *> dropOrder;
};
