// The About box: title, version, contact and a way to the system's own information program.
#pragma once

#include <QDialog>

class Notifier;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(Notifier &notifier, QWidget *parent = nullptr);

private:
    void cmdSysInfo_Click();
    Notifier &notifier;
};
