#include "app/frmConfig.h"

#include "editors/Session.h"
#include "widgets/KeyInput.h"
#include "midi/NoteNames.h"
#include "widgets/SpinButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>

namespace {

// Each audition box: the setting it shows, the offset added for showing it (the channel is
// shown 1 to 16), and the range of the shown value.
struct SpField {
    int16_t SpConfig::*setting;
    int offset;
    int low;
    int high;
};

constexpr std::array<SpField, ConfigControls::SpBoxes> SpFields = {{
    {&SpConfig::PlayBackNote, 0, 0, 127},
    {&SpConfig::PlayBackVelocityOn, 0, 0, 127},
    {&SpConfig::PlayBackVelocityOff, 0, 0, 127},
    {&SpConfig::PlayBackMidiChannel, 1, 1, 16},
    {&SpConfig::SysExDeviceID, 0, 0, 127},
}};

constexpr int FloppyDevice = 0;

QString BusyNote()
{
    return QStringLiteral("Not applied: the SP is busy with an exchange. Press Apply again once it has answered.");
}
constexpr int NoType = -1;
const QString FloppyName = QStringLiteral("Floppy Disk");

} // namespace

frmConfig::frmConfig(Session &session, QWidget *parent) : QDialog(parent), session(session)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuration"));
    // A window of its own beside the main window, never blocking it.
    setWindowFlag(Qt::Window);
    setModal(false);
    c = ConfigLayout::Build(this);
    Connect();
}

void frmConfig::Connect()
{
    for (QListWidget *list : {c.lstOutputDevice, c.lstInputDevice}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    connect(c.Check1, &QCheckBox::clicked, this, [this] { SetChanged(MidiThru); });
    // The pause goes with MIDI Thru: both change how messages are sent, neither reopens a port.
    connect(c.txtPause, &QLineEdit::textEdited, this, [this] { SetChanged(MidiThru); });
    connect(c.deviceGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            optDevice_Click(id);
    });
    connect(c.chkInstalled, &QCheckBox::clicked, this, &frmConfig::chkInstalled_Click);
    connect(c.typeGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            optType_Click(id);
    });
    connect(c.txtVolName, &QLineEdit::textChanged, this, &frmConfig::txtVolName_Change);
    for (int e = 0; e < ConfigControls::SpBoxes; ++e) {
        QLineEdit *box = c.txtSPconfig[static_cast<size_t>(e)];
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, e] { txtSPconfig_Change(e); });
        SpinButton *spin = c.spnSPconfig[static_cast<size_t>(e)];
        connect(spin, &SpinButton::SpinUp, this, [this, e] { spnSPconfig_Spin(e, +1); });
        connect(spin, &SpinButton::SpinDown, this, [this, e] { spnSPconfig_Spin(e, -1); });
    }
    connect(c.cmdOK, &QPushButton::clicked, this, &frmConfig::cmdOK_Click);
    connect(c.cmdCancel, &QPushButton::clicked, this, &frmConfig::cmdCancel_Click);
    connect(c.cmdApply, &QPushButton::clicked, this, &frmConfig::Apply);
}

template <typename Write>
void frmConfig::Quietly(Write write)
{
    bool &pending = edit.EditPending;
    const bool was = pending;
    pending = true;
    write();
    pending = was;
}

void frmConfig::Load()
{
    edit = EditState{};
    ShowApplyNote(QString());
    Settings &settings = session.settings;
    MidiComms &comms = session.comms;
    // An interface plugged in since the start is offered too.
    session.devices.Refresh(comms.input(), comms.output(), settings.ports);

    Quietly([&] {
        c.lstOutputDevice->clear();
        for (int device = -1; device < comms.output().deviceCount(); ++device)
            c.lstOutputDevice->addItem(comms.output().deviceName(device));
        c.lstOutputDevice->setCurrentRow(settings.ports.OutputDeviceNum + 1);
        c.lstInputDevice->clear();
        for (int device = 0; device < comms.input().deviceCount(); ++device)
            c.lstInputDevice->addItem(comms.input().deviceName(device));
        c.lstInputDevice->setCurrentRow(settings.ports.InputDeviceNum);
        c.Check1->setChecked(settings.ports.MidiThru == 1);
        c.txtPause->setText(QString::number(settings.ports.MessagePause));

        if (c.optDevice[FloppyDevice]->isChecked())
            optDevice_Click(FloppyDevice);
        else
            c.optDevice[FloppyDevice]->setChecked(true);

        for (int e = 0; e < ConfigControls::SpBoxes; ++e) {
            const SpField &field = SpFields[static_cast<size_t>(e)];
            c.txtSPconfig[static_cast<size_t>(e)]->setText(QString::number(settings.sp.*field.setting + field.offset));
        }
        c.txtSPconfig[ConfigControls::NoteNameBox]->setText(FormatNoteName(settings.sp.PlayBackNote));
    });
    changed.fill(false);
    UpdateApply();
}

void frmConfig::ShowPage(int page)
{
    if (page >= 0 && page < c.vstConfig->count())
        c.vstConfig->setCurrentIndex(page);
}

void frmConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    c.cmdOK->setFocus();
}

void frmConfig::SetChanged(Group group)
{
    changed[static_cast<size_t>(group)] = true;
    UpdateApply();
}

void frmConfig::UpdateApply()
{
    c.cmdApply->setEnabled(std::any_of(changed.begin(), changed.end(), [](bool on) { return on; }));
}

bool frmConfig::eventFilter(QObject *watched, QEvent *event)
{
    const bool key = event->type() == QEvent::KeyPress;
    if (key || event->type() == QEvent::MouseButtonPress) {
        for (QListWidget *list : {c.lstOutputDevice, c.lstInputDevice}) {
            if (watched == list || watched == list->viewport())
                SetChanged(MidiDevices);
        }
    }
    if (!key)
        return QDialog::eventFilter(watched, event);
    const auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box || !std::count(c.txtSPconfig.begin(), c.txtSPconfig.begin() + ConfigControls::SpBoxes, box))
        return QDialog::eventFilter(watched, event);

    // Digits only: no minus, no backspace; nothing at all while the SP is busy.
    const auto &keyEvent = *static_cast<QKeyEvent *>(event);
    if (keyEvent.key() == Qt::Key_Escape)
        return QDialog::eventFilter(watched, event);
    if (session.exchange.busy())
        return true;
    const KeyInput::Key typed = KeyInput::Classify(keyEvent);
    if (typed.kind == KeyInput::Kind::Navigation)
        return false;
    if (typed.kind == KeyInput::Kind::Character && typed.character >= QLatin1Char('0')
        && typed.character <= QLatin1Char('9')) {
        edit.LastEditKey = typed.code();
        return false;
    }
    return true;
}

void frmConfig::ShowApplyNote(const QString &note)
{
    c.lblApplyNote->setText(note);
    c.lblApplyNote->setVisible(!note.isEmpty());
}

QString frmConfig::PortNote(const QString &direction, const QString &name) const
{
    const QString &why = session.comms.LastOpenError();
    return QStringLiteral("Not applied: the MIDI %1 \"%2\" cannot be opened%3. Choose another port and press Apply again.")
        .arg(direction, name, why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why));
}

DiskDevice &frmConfig::ShownDisk()
{
    return session.settings.disks[static_cast<size_t>(shownDisk)];
}

void frmConfig::optDevice_Click(int index)
{
    if (index < 0 || index >= Settings::DiskDeviceCount)
        return;
    Quietly([&] {
        shownDisk = index;
        c.chkInstalled->setChecked(ShownDisk().Installed == 1);
        chkInstalled_Click();
    });
}

void frmConfig::ClearTypes(bool enabled)
{
    // An exclusive group always keeps one button checked; clearing needs it lifted a moment.
    c.typeGroup->setExclusive(false);
    for (QRadioButton *button : c.optType) {
        button->setChecked(false);
        button->setEnabled(enabled);
    }
    c.typeGroup->setExclusive(true);
}

void frmConfig::chkInstalled_Click()
{
    DiskDevice &disk = ShownDisk();
    const bool floppy = shownDisk == FloppyDevice;
    const bool installed = c.chkInstalled->isChecked();
    Quietly([&] {
        if (installed && !floppy) {
            ClearTypes(true);
            if (disk.Type >= 0 && disk.Type < ConfigControls::DiskTypes)
                c.optType[static_cast<size_t>(disk.Type)]->setChecked(true);
            c.txtVolName->setReadOnly(false);
            c.txtVolName->setText(disk.VolName);
        } else {
            ClearTypes(false);
            if (!installed)
                disk.Type = NoType;
            c.txtVolName->setText(floppy ? FloppyName : QString());
            c.txtVolName->setReadOnly(true);
        }
    });
    if (edit.EditPending)
        return;
    disk.Installed = installed ? 1 : 0;
    SetChanged(DiskDevices);
}

void frmConfig::optType_Click(int type)
{
    if (edit.EditPending)
        return;
    ShownDisk().Type = static_cast<int16_t>(type);
    SetChanged(DiskDevices);
}

void frmConfig::txtVolName_Change()
{
    if (edit.EditPending)
        return;
    ShownDisk().VolName = c.txtVolName->text();
    SetChanged(DiskDevices);
}

void frmConfig::txtSPconfig_Change(int element)
{
    QLineEdit *box = c.txtSPconfig[static_cast<size_t>(element)];
    if (box->text().isEmpty() || edit.EditPending || edit.TextRestored) {
        edit.TextRestored = false;
        return;
    }
    const int high = SpFields[static_cast<size_t>(element)].high;
    if (box->text().toInt() > high) {
        edit.TextRestored = true;
        box->setText(QString::number(high)); // its change event only lowers TextRestored again
    }
    if (element == 0)
        Quietly([&] { c.txtSPconfig[ConfigControls::NoteNameBox]->setText(FormatNoteName(box->text().toInt())); });
    SetChanged(SpSettings);
}

void frmConfig::spnSPconfig_Spin(int element, int step)
{
    if (session.exchange.busy())
        return;
    const SpField &field = SpFields[static_cast<size_t>(element)];
    QLineEdit *box = c.txtSPconfig[static_cast<size_t>(element)];
    int value = field.low;
    if (!box->text().isEmpty()) {
        value = box->text().toInt();
        if ((step < 0 && value > field.low) || (step > 0 && value < field.high))
            value += step;
    }
    box->setText(QString::number(value));
}

bool frmConfig::Apply()
{
    // The ports and settings must not change under an exchange in flight.
    if (session.exchange.busy()) {
        ShowApplyNote(BusyNote());
        return false;
    }
    ShowApplyNote(QString());
    Settings &settings = session.settings;
    if (Changed(MidiDevices)) {
        const int input = c.lstInputDevice->currentRow();
        const int output = c.lstOutputDevice->currentRow();
        if (input >= 0 && output >= 0) {
            settings.ports.InputDeviceNum = static_cast<int16_t>(input);
            settings.ports.OutputDeviceNum = static_cast<int16_t>(output - 1);
            settings.ports.InputDeviceName = c.lstInputDevice->item(input)->text();
            settings.ports.OutputDeviceName = c.lstOutputDevice->item(output)->text();
        }
        if (!session.comms.OpenInputDevice()) {
            ShowApplyNote(PortNote(QStringLiteral("input"), settings.ports.InputDeviceName));
            return false;
        }
        if (!session.comms.OpenOutputDevice()) {
            ShowApplyNote(PortNote(QStringLiteral("output"), settings.ports.OutputDeviceName));
            return false;
        }
        changed[MidiDevices] = false;
    }
    if (Changed(MidiThru)) {
        settings.ports.MidiThru = c.Check1->isChecked() ? 1 : 0;
        // An emptied box means no pause; the validator keeps out anything above the limit.
        settings.ports.MessagePause = static_cast<int16_t>(
            std::clamp(c.txtPause->text().toInt(), 0, static_cast<int>(PortSettings::MessagePauseMax)));
        Quietly([&] { c.txtPause->setText(QString::number(settings.ports.MessagePause)); });
        changed[MidiThru] = false;
    }
    if (Changed(DiskDevices)) {
        for (int i = 0; i < Settings::DiskDeviceCount; ++i)
            settings.disks[static_cast<size_t>(i)].Number = static_cast<int16_t>(i);
        changed[DiskDevices] = false;
    }
    if (Changed(SpSettings)) {
        Quietly([&] {
            for (int e = 0; e < ConfigControls::SpBoxes; ++e) {
                const SpField &field = SpFields[static_cast<size_t>(e)];
                QLineEdit *box = c.txtSPconfig[static_cast<size_t>(e)];
                int16_t &setting = settings.sp.*field.setting;
                // Only digits get in, but a channel of 0 or an emptied box must not reach the SP.
                const int shown = box->text().isEmpty() ? setting + field.offset
                                                        : std::clamp(box->text().toInt(), field.low, field.high);
                setting = static_cast<int16_t>(shown - field.offset);
                box->setText(QString::number(shown));
            }
            c.txtSPconfig[ConfigControls::NoteNameBox]->setText(FormatNoteName(settings.sp.PlayBackNote));
        });
        changed[SpSettings] = false;
    }
    UpdateApply();
    return true;
}

void frmConfig::cmdOK_Click()
{
    if (Apply())
        close();
}

void frmConfig::cmdCancel_Click()
{
    // Disk edits were made in the records as they were typed; the rest is dropped here.
    close();
}
