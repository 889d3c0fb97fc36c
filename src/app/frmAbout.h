// The About box: title, version, contact and a way to the system's own information program.
#pragma once

#include <QDialog>

class Notifier;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // linkNote, when not empty, says how the program reaches the SP (the Virtual SP, say).
    frmAbout(Notifier &notifier, QWidget *parent = nullptr, const QString &linkNote = QString());

private:
    void cmdSysInfo_Click();
    Notifier &notifier;
};
