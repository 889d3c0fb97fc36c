#include "app/frmLoadBank.h"

#include "app/DevicePicture.h"
#include "app/MemoryCommand.h"
#include "editors/Session.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "midi/Notifier.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

frmLoadBank::frmLoadBank(Session &session, const WindowServices &main, int &LastBankNum)
    : QDialog(&main.window), session(session), main(main), LastBankNum(LastBankNum)
{
    setObjectName(QStringLiteral("frmLoadBank"));
    setWindowTitle(QStringLiteral("Load Disk Bank"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *grid = new QGridLayout(this);
    auto *lblDevice = new QLabel(QStringLiteral("Disk Device"), this);
    cboLoadBank = new QComboBox(this);
    cboLoadBank->setObjectName(QStringLiteral("cboLoadBank"));
    lblDevice->setBuddy(cboLoadBank);
    auto *pnlBankNum = new QGroupBox(QStringLiteral(" Bank Number"), this);
    pnlBankNum->setObjectName(QStringLiteral("pnlBankNum"));
    auto *bankLayout = new QHBoxLayout(pnlBankNum);
    txtBankNum = new QLineEdit(pnlBankNum);
    txtBankNum->setObjectName(QStringLiteral("txtBankNum"));
    txtBankNum->setMaxLength(4);
    KeyInput::TypedOnly(txtBankNum);
    txtBankNum->setFixedWidth(txtBankNum->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    txtBankNum->installEventFilter(this);
    spnBankNum = new SpinButton(pnlBankNum);
    spnBankNum->setObjectName(QStringLiteral("spnBankNum"));
    bankLayout->addWidget(txtBankNum);
    bankLayout->addWidget(spnBankNum);
    bankLayout->addStretch(1);
    picLoadDiskBank = new DevicePicture(this);
    picLoadDiskBank->setObjectName(QStringLiteral("picLoadDiskBank"));
    cmdLoad = new QPushButton(QStringLiteral("&Load"), this);
    cmdLoad->setObjectName(QStringLiteral("cmdLoad"));
    cmdLoad->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    grid->addWidget(lblDevice, 0, 0);
    grid->addWidget(cboLoadBank, 1, 0);
    grid->addWidget(pnlBankNum, 2, 0);
    grid->addWidget(picLoadDiskBank, 0, 1, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdLoad);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    // Only installed devices are offered; the floppy always is.
    devices = BankLoad::ListDevices(session.settings.disks);
    cboLoadBank->addItems(devices.names);
    cboLoadBank->setCurrentIndex(devices.PositionOf(session.settings.LastDiskAccessed));
    cboLoadBank_Change();
    connect(cboLoadBank, &QComboBox::currentIndexChanged, this, &frmLoadBank::cboLoadBank_Change);
    connect(spnBankNum, &SpinButton::SpinUp, this, [this] { Spin(1); });
    connect(spnBankNum, &SpinButton::SpinDown, this, [this] { Spin(-1); });
    connect(cmdLoad, &QPushButton::clicked, this, &frmLoadBank::cmdLoad_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
}

int frmLoadBank::SelectedDevice() const
{
    return devices.ListDevice.value(cboLoadBank->currentIndex(), BankLoad::FloppyDevice);
}

void frmLoadBank::cboLoadBank_Change()
{
    const int device = SelectedDevice();
    const int type = session.settings.disks[static_cast<size_t>(device)].Type;
    picLoadDiskBank->setDeviceType(type);
    // A floppy holds one bank: its number is always 0. The list's first entry is the floppy
    // drive whatever type the settings give it.
    const bool floppy = type == BankLoad::Floppy || device == BankLoad::FloppyDevice;
    spnBankNum->setEnabled(!floppy);
    txtBankNum->setReadOnly(floppy);
    txtBankNum->setText(floppy ? QStringLiteral("0") : QString::number(LastBankNum));
}

void frmLoadBank::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdLoad->setFocus();
}

bool frmLoadBank::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtBankNum && event->type() == QEvent::KeyPress) {
        const KeyInput::Key key = KeyInput::Classify(*static_cast<QKeyEvent *>(event));
        if (key.kind == KeyInput::Kind::Navigation)
            return false;
        // Digits only, and only while the SP is free: Backspace and Enter change nothing.
        const bool digit = key.kind == KeyInput::Kind::Character && key.character.isDigit()
                           && key.character.unicode() < 128;
        return !digit || session.exchange.busy() || txtBankNum->isReadOnly();
    }
    return QDialog::eventFilter(watched, event);
}

void frmLoadBank::Spin(int step)
{
    if (txtBankNum->text().isEmpty() || !spnBankNum->isEnabled())
        return;
    const int bank = std::clamp(txtBankNum->text().toInt() + step, 0, BankLoad::HighestBank);
    txtBankNum->setText(QString::number(bank));
}

void frmLoadBank::cmdLoad_Click()
{
    if (session.exchange.busy())
        return; // one exchange with the SP at a time
    if (txtBankNum->text().isEmpty()) {
        session.notifier.message(Notifier::Icon::None, QString(), QStringLiteral("Please select a valid Bank Number to load."));
        txtBankNum->setFocus();
        return;
    }
    const int device = SelectedDevice();
    const DiskDevice &disk = session.settings.disks[static_cast<size_t>(device)];
    session.settings.LastDiskAccessed = static_cast<uint8_t>(device);
    LastBankNum = txtBankNum->text().toInt();
    const int diskCode = BankLoad::DiskCode(disk, device);
    const auto body = BankLoad::LoadCommand(diskCode, LastBankNum);
    if (!body)
        return;
    const QString text = BankLoad::ProgressText(LastBankNum, cboLoadBank->currentText(), device == BankLoad::FloppyDevice);
    // The dialog goes before the wait; it is deleted only afterwards, as the wait runs inside
    // this click.
    QPointer<frmLoadBank> self(this);
    hide();
    MemoryCommand::Run(main, session, {QStringLiteral("Load Bank"), text, *body, BankLoad::TimeoutFor(diskCode)});
    if (self)
        close();
}
