// The start-up window: the program's name, version and platform while the main window loads.
#pragma once

#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    static QString VersionText();
    static QString PlatformText();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *lblVersion;
    QLabel *lblPlatform;

    void setFrameStyle();
};
