// frmDeleteObject: deletes in the SP the object shown on the current tab, every object of the
// tab's kind, or the whole memory, after asking; afterwards everything is read again.
#pragma once

#include "app/WindowServices.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;
class Session;

class frmDeleteObject : public QDialog {
    Q_OBJECT
public:
    frmDeleteObject(Session &session, const WindowServices &main);

    void cmdDelObj_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Session &session;
    const WindowServices main;
    int kind;
    std::array<QRadioButton *, 3> optDelObj{};
    std::array<QLineEdit *, 2> txtDelObj{};
    QPushButton *cmdDelObj;
    QPushButton *cmdCancel;
};
