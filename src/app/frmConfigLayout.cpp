#include "app/frmConfigLayout.h"

#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

constexpr std::array<const char *, ConfigControls::SpBoxes> SpLabels = {
    " Note", " Velocity On", " Velocity Off", " Midi Channel", " SysEx Device ID"};
constexpr std::array<const char *, ConfigControls::DiskTypes> TypeCaptions = {"CD-&ROM", "&Hard Disk",
                                                                              "&Zip/Jaz Drive"};

QWidget *MidiPage(ConfigControls &c, QWidget *parent)
{
    auto *page = new QWidget(parent);
    auto *layout = new QVBoxLayout(page);
    auto *lists = new QHBoxLayout;
    auto list = [page, lists](const QString &title, const char *name) {
        auto *frame = new QGroupBox(title, page);
        frame->setObjectName(QStringLiteral("fra") + QLatin1String(name).mid(3));
        auto *box = new QListWidget(frame);
        box->setObjectName(QLatin1String(name));
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("Korvane Virtual SP MIDI 1")) + 24);
        (new QVBoxLayout(frame))->addWidget(box);
        lists->addWidget(frame);
        return box;
    };
    c.lstOutputDevice = list(QStringLiteral("Output Device"), "lstOutputDevice");
    c.lstInputDevice = list(QStringLiteral("Input Device"), "lstInputDevice");
    layout->addLayout(lists, 1);
    c.Check1 = new QCheckBox(QStringLiteral("MIDI &Thru"), page);
    c.Check1->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(c.Check1);
    auto *pause = new QHBoxLayout;
    auto *pauseLabel = new QLabel(QStringLiteral("Pause between messages (ms)"), page);
    pauseLabel->setObjectName(QStringLiteral("lblPause"));
    c.txtPause = new QLineEdit(page);
    c.txtPause->setObjectName(QStringLiteral("txtPause"));
    c.txtPause->setValidator(new QIntValidator(0, 1000, c.txtPause));
    c.txtPause->setMaximumWidth(c.txtPause->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    pauseLabel->setBuddy(c.txtPause);
    pause->addWidget(pauseLabel);
    pause->addWidget(c.txtPause);
    pause->addStretch(1);
    layout->addLayout(pause);
    return page;
}

QWidget *DiskPage(ConfigControls &c, QWidget *parent)
{
    auto *page = new QWidget(parent);
    auto *layout = new QHBoxLayout(page);

    auto *devices = new QGroupBox(QStringLiteral("Device ID"), page);
    devices->setObjectName(QStringLiteral("fraDeviceID"));
    auto *deviceGrid = new QGridLayout(devices);
    c.deviceGroup = new QButtonGroup(page);
    for (int i = 0; i < ConfigControls::DiskDevices; ++i) {
        const QString caption = i == 0 ? QStringLiteral("Floppy") : QStringLiteral("SCSI %1").arg(i - 1);
        auto *button = new QRadioButton(caption, devices);
        button->setObjectName(Indexed("optDevice", i));
        c.deviceGroup->addButton(button, i);
        deviceGrid->addWidget(button, i % 4, i / 4);
        c.optDevice[static_cast<size_t>(i)] = button;
    }
    deviceGrid->setRowStretch(4, 1); // the buttons stay together at the top
    layout->addWidget(devices);

    auto *right = new QVBoxLayout;
    c.chkInstalled = new QCheckBox(QStringLiteral("&Installed"), page);
    c.chkInstalled->setObjectName(QStringLiteral("chkInstalled"));
    right->addWidget(c.chkInstalled);
    auto *types = new QGroupBox(QStringLiteral("Device Type"), page);
    types->setObjectName(QStringLiteral("fraDeviceType"));
    auto *typeLayout = new QVBoxLayout(types);
    c.typeGroup = new QButtonGroup(page);
    for (int t = 0; t < ConfigControls::DiskTypes; ++t) {
        auto *button = new QRadioButton(QLatin1String(TypeCaptions[static_cast<size_t>(t)]), types);
        button->setObjectName(Indexed("optType", t));
        c.typeGroup->addButton(button, t);
        typeLayout->addWidget(button);
        c.optType[static_cast<size_t>(t)] = button;
    }
    right->addWidget(types);
    auto *volLabel = new QLabel(QStringLiteral("Volume Name"), page);
    volLabel->setObjectName(QStringLiteral("lblVolName"));
    c.txtVolName = new QLineEdit(page);
    c.txtVolName->setObjectName(QStringLiteral("txtVolName"));
    volLabel->setBuddy(c.txtVolName);
    right->addWidget(volLabel);
    right->addWidget(c.txtVolName);
    right->addStretch(1);
    layout->addLayout(right, 1);
    return page;
}

QWidget *SpPage(ConfigControls &c, QWidget *parent)
{
    auto *page = new QWidget(parent);
    auto *layout = new QVBoxLayout(page);
    auto *audition = new QGroupBox(QStringLiteral("Audition"), page);
    audition->setObjectName(QStringLiteral("fraAudition"));
    auto *grid = new QGridLayout(audition);
    const int boxWidth = audition->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16;
    for (int e = 0; e < ConfigControls::SpBoxes; ++e) {
        auto *label = new QLabel(QLatin1String(SpLabels[static_cast<size_t>(e)]), audition);
        label->setObjectName(Indexed("lblSPconfig", e));
        auto *box = new QLineEdit(audition);
        box->setObjectName(Indexed("txtSPconfig", e));
        box->setMaxLength(3);
        box->setFixedWidth(boxWidth);
        KeyInput::TypedOnly(box); // nothing but typed digits gets in
        auto *spin = new SpinButton(audition);
        spin->setObjectName(Indexed("spnSPconfig", e));
        spin->setFixedHeight(box->sizeHint().height());
        label->setBuddy(box);
        grid->addWidget(label, e, 0);
        grid->addWidget(box, e, 1);
        grid->addWidget(spin, e, 2);
        c.txtSPconfig[static_cast<size_t>(e)] = box;
        c.spnSPconfig[static_cast<size_t>(e)] = spin;
    }
    auto *noteName = new QLineEdit(audition);
    noteName->setObjectName(Indexed("txtSPconfig", ConfigControls::NoteNameBox));
    noteName->setReadOnly(true);
    noteName->setFocusPolicy(Qt::NoFocus);
    noteName->setFixedWidth(boxWidth);
    grid->addWidget(noteName, 0, 3);
    c.txtSPconfig[ConfigControls::NoteNameBox] = noteName;
    grid->setColumnStretch(4, 1);
    layout->addWidget(audition);
    layout->addStretch(1);
    return page;
}

} // namespace

namespace ConfigLayout {

const char *SpLabel(int element)
{
    return element >= 0 && element < ConfigControls::SpBoxes ? SpLabels[static_cast<size_t>(element)] : "";
}

ConfigControls Build(QDialog *dialog)
{
    ConfigControls c;
    auto *layout = new QVBoxLayout(dialog);
    c.vstConfig = new QTabWidget(dialog);
    c.vstConfig->setObjectName(QStringLiteral("vstConfig"));
    c.vstConfig->addTab(MidiPage(c, c.vstConfig), QStringLiteral("Midi"));
    c.vstConfig->addTab(DiskPage(c, c.vstConfig), QStringLiteral("Disk"));
    c.vstConfig->addTab(SpPage(c, c.vstConfig), QStringLiteral("SP"));
    layout->addWidget(c.vstConfig, 1);

    c.lblApplyNote = new QLabel(dialog);
    c.lblApplyNote->setObjectName(QStringLiteral("lblApplyNote"));
    c.lblApplyNote->setWordWrap(true);
    c.lblApplyNote->hide(); // shown only when there is something to say
    layout->addWidget(c.lblApplyNote);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto button = [dialog, buttons](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, dialog);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    c.cmdOK = button(QStringLiteral("OK"), "cmdOK");
    c.cmdCancel = button(QStringLiteral("&Cancel"), "cmdCancel");
    c.cmdApply = button(QStringLiteral("&Apply"), "cmdApply");
    c.cmdOK->setDefault(true);
    layout->addLayout(buttons);
    return c;
}

} // namespace ConfigLayout
