// frmLoadBank, "Load Disk Bank": choose one of the installed disk devices and a bank number,
// and have the SP load that bank; afterwards everything is read again.
#pragma once

#include "objects/BankLoad.h"

#include "app/WindowServices.h"

#include <QDialog>

class DevicePicture;
class QComboBox;
class QLineEdit;
class QPushButton;
class Session;
class SpinButton;

class frmLoadBank : public QDialog {
    Q_OBJECT
public:
    // LastBankNum is the bank used last in this run of the program; a load sets it.
    frmLoadBank(Session &session, const WindowServices &main, int &LastBankNum);

    void cboLoadBank_Change();
    void cmdLoad_Click();
    // The device index of the combo box's current entry.
    int SelectedDevice() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Spin(int step);

    Session &session;
    const WindowServices main;
    int &LastBankNum;
    BankLoad::DeviceList devices;
    QComboBox *cboLoadBank;
    QLineEdit *txtBankNum;
    SpinButton *spnBankNum;
    DevicePicture *picLoadDiskBank;
    QPushButton *cmdLoad;
    QPushButton *cmdCancel;
};
