// A drawing of a disk drive of one of the SP's device types (CD-ROM, hard disk, Zip/Jaz drive,
// floppy), shown beside the chosen device when a bank is loaded.
#pragma once

#include <QWidget>

class DevicePicture : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int deviceType READ deviceType WRITE setDeviceType)
public:
    explicit DevicePicture(QWidget *parent = nullptr);

    int deviceType() const { return type; }
    // Device types as the settings hold them; any other type draws an empty frame.
    void setDeviceType(int type);
    QSize sizeHint() const override { return {96, 96}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int type = -1;
};
