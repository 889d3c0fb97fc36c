#include "editors/GlobalEditor.h"
#include "editors/ParameterTips.h"
#include "widgets/SignedSlider.h"

#include "editors/Session.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "objects/GlobalDescription.h"
#include "objects/GlobalObject.h"
#include "objects/Retrieval.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <cmath>

namespace {

using GlobalDescription::Find;
using GlobalDescription::Setting;

// The boxes by their index in the control arrays.
enum Box { Channel = 6, Volume = 7, BankName = 8, Tune = 9 };
// The options by their index: Receive Mode's from 8, Prog Change's from 11.
constexpr int FirstReceiveOption = 8, FirstProgChangeOption = 11;
const Setting &ChannelSetting = *Find(GlobalDescription::OmniPolyChannel);
const Setting &VolumeSetting = *Find(GlobalDescription::OmniPolyVolume);
const Setting &NameSetting = *Find(GlobalDescription::BankName);
const Setting &TuneSetting = *Find(GlobalDescription::MasterTune);
const int TuneLimit = TuneSetting.high / 100; // in the box's units
const int VolumeLimit = VolumeSetting.high;
const int ChannelLow = ChannelSetting.low + ChannelSetting.shownOffset;
const int ChannelHigh = ChannelSetting.high + ChannelSetting.shownOffset;

QString Caption(int address)
{
    return QLatin1String(Find(address)->caption);
}

QStringList Choices(int address)
{
    QStringList choices;
    for (const char *choice : Find(address)->choices)
        choices << QLatin1String(choice);
    return choices;
}

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QGroupBox *Frame(const QString &title, QWidget *parent)
{
    auto *frame = new PanelFrame(title, parent);
    new QHBoxLayout(frame);
    return frame;
}

} // namespace

GlobalEditor::GlobalEditor(Session &session, EditRules &rules, QWidget *parent)
    : PanelFrame(QStringLiteral("Global"), parent), session(session), rules(rules)
{
    setObjectName(QStringLiteral("fraGlobal"));
}

void GlobalEditor::Build()
{
    auto *grid = new QGridLayout(this);
    const int digitWidth = fontMetrics().horizontalAdvance(QStringLiteral("-000.00")) + 12;

    const struct { int index; const Setting &setting; } settingBoxes[] = {
        {Channel, ChannelSetting}, {Volume, VolumeSetting}, {BankName, NameSetting}, {Tune, TuneSetting}};
    for (const auto &[index, setting] : settingBoxes) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(setting.control));
        box->setAlignment(Qt::AlignRight);
        if (index != BankName)
            box->setFixedWidth(digitWidth);
        txtGlobal[static_cast<size_t>(index)] = box;
    }
    txtGlobal[BankName]->setAlignment(Qt::AlignLeft);
    txtGlobal[BankName]->setMaxLength(GlobalDescription::NameLength);
    txtGlobal[BankName]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));

    sldVolume = new SignedSlider(Qt::Horizontal, this);
    sldVolume->setObjectName(Indexed("sldGlobal", Volume));
    sldVolume->setRange(0, VolumeLimit);
    sldTune = new SignedSlider(Qt::Horizontal, this);
    sldTune->setObjectName(Indexed("sldGlobal", Tune));
    sldTune->setRange(-TuneLimit, TuneLimit);
    spnChannel = new SpinButton(this);
    spnChannel->setObjectName(Indexed("spnGlobal", Channel));
    ParameterTips::Set(txtGlobal[Channel], spnChannel, QLatin1String(ChannelSetting.tipName), ChannelLow, ChannelHigh);
    ParameterTips::Set(txtGlobal[Volume], sldVolume, QLatin1String(VolumeSetting.tipName), VolumeSetting.low, VolumeLimit);
    const auto units = [](int hundredths) { return QString::number(hundredths / 100.0, 'f', 2); };
    ParameterTips::Set({txtGlobal[Tune], sldTune},
                       ParameterTips::Text(QLatin1String(TuneSetting.tipName), units(TuneSetting.low),
                                           units(TuneSetting.high), QLatin1String(TuneSetting.tipUnit)));
    txtGlobal[BankName]->setToolTip(ParameterTips::Note(QLatin1String(NameSetting.tipName), QLatin1String(NameSetting.tipUnit)));

    cboPlayback = new QComboBox(this);
    cboPlayback->setObjectName(QLatin1String(Find(GlobalDescription::PlaybackMode)->control));
    cboPlayback->addItems(Choices(GlobalDescription::PlaybackMode));

    QGroupBox *receive = Frame(Caption(GlobalDescription::ReceiveMode), this);
    QGroupBox *progChange = Frame(Caption(GlobalDescription::ProgChange), this);
    const struct { int address; int firstIndex; QGroupBox *frame; } choices[] = {
        {GlobalDescription::ReceiveMode, FirstReceiveOption, receive},
        {GlobalDescription::ProgChange, FirstProgChangeOption, progChange}};
    for (const auto &c : choices) {
        int index = c.firstIndex;
        for (const QString &caption : Choices(c.address)) {
            auto *option = new QRadioButton(caption, c.frame);
            option->setObjectName(Indexed("optGlobal", index));
            c.frame->layout()->addWidget(option);
            optGlobal[static_cast<size_t>(index)] = option;
            connect(option, &QRadioButton::clicked, this, [this, index] { ChangeOption(index); });
            ++index;
        }
    }

    int row = 0;
    grid->addWidget(new QLabel(Caption(GlobalDescription::BankName), this), row, 0);
    grid->addWidget(txtGlobal[BankName], row++, 1, 1, 2);
    grid->addWidget(new QLabel(Caption(GlobalDescription::PlaybackMode), this), row, 0);
    grid->addWidget(cboPlayback, row++, 1, 1, 2);
    grid->addWidget(receive, row++, 0, 1, 3);
    grid->addWidget(new QLabel(Caption(GlobalDescription::OmniPolyChannel), this), row, 0);
    grid->addWidget(txtGlobal[Channel], row, 1);
    grid->addWidget(spnChannel, row++, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(Caption(GlobalDescription::OmniPolyVolume), this), row, 0);
    grid->addWidget(txtGlobal[Volume], row, 1);
    grid->addWidget(sldVolume, row++, 2);
    grid->addWidget(progChange, row++, 0, 1, 3);
    grid->addWidget(new QLabel(Caption(GlobalDescription::MasterTune), this), row, 0);
    grid->addWidget(txtGlobal[Tune], row, 1);
    grid->addWidget(sldTune, row++, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row, 1);

    const auto reload = [this] { Reload(); };
    const struct { int index; EditRules::Keys keys; QAbstractSlider *slider; SpinButton *spin; } boxes[] = {
        {Channel, EditRules::Keys::None, nullptr, spnChannel},
        {Volume, EditRules::Keys::Decimal, sldVolume, nullptr},
        {BankName, EditRules::Keys::None, nullptr, nullptr},
        {Tune, EditRules::Keys::SignedDecimal, sldTune, nullptr},
    };
    for (const auto &b : boxes) {
        EditRules::Box box;
        box.box = txtGlobal[static_cast<size_t>(b.index)];
        box.keys = b.keys;
        box.slider = b.slider;
        box.spin = b.spin;
        box.spinLow = ChannelLow;
        box.spinHigh = ChannelHigh;
        box.commit = [this, index = b.index] { return ChangeText(index); };
        box.afterCommit = reload;
        box.storedText = [this, index = b.index] { return StoredText(index); };
        // An emptied Global box stays empty until the next display.
        box.restoreOnFocusLoss = false;
        rules.Add(box);
    }
    connect(cboPlayback, &QComboBox::activated, this, &GlobalEditor::ChangePlaybackMode);
}

QString GlobalEditor::StoredText(int index) const
{
    const GlobalValues &g = session.objects.global;
    switch (index) {
    case Channel:
        return GlobalDescription::NumberText(ChannelSetting, g.OmniPolyChannel);
    case Volume:
        return GlobalDescription::NumberText(VolumeSetting, g.OmniPolyVolume);
    case BankName:
        return g.BankName;
    default:
        return GlobalDescription::NumberText(TuneSetting, g.MasterTune);
    }
}

bool GlobalEditor::ReadDump(int)
{
    return GlobalObject::GlobalObjDump(session.io, session.io.store().global);
}

void GlobalEditor::LoadGlobalDisplay()
{
    const GlobalValues &g = session.objects.global;
    sent = g;
    rules.Display([&] {
        for (QWidget *control : std::initializer_list<QWidget *>{txtGlobal[Channel], txtGlobal[Volume], txtGlobal[BankName],
                                                                 txtGlobal[Tune], sldVolume, sldTune, spnChannel})
            control->setEnabled(true);
        for (QRadioButton *option : optGlobal) {
            if (option)
                option->setEnabled(true);
        }
        cboPlayback->setEnabled(true);
        for (int index : {Channel, Volume, BankName, Tune}) {
            txtGlobal[static_cast<size_t>(index)]->setText(StoredText(index));
            rules.ShowStored(txtGlobal[static_cast<size_t>(index)]);
        }
        if (g.ReceiveMode >= 0 && g.ReceiveMode <= Find(GlobalDescription::ReceiveMode)->high)
            optGlobal[static_cast<size_t>(FirstReceiveOption + g.ReceiveMode)]->setChecked(true);
        if (g.ProgChange >= 0 && g.ProgChange <= Find(GlobalDescription::ProgChange)->high)
            optGlobal[static_cast<size_t>(FirstProgChangeOption + g.ProgChange)]->setChecked(true);
        sldVolume->setValue(g.OmniPolyVolume);
        sldTune->setValue(g.MasterTune / 100);
        cboPlayback->setCurrentIndex(g.PlaybackMode);
    });
}

void GlobalEditor::Reload()
{
    if (retrieval)
        retrieval->DownloadGlobal();
}

bool GlobalEditor::Send(int parameter, const ObjectIO::Value &value, QLineEdit *box)
{
    rules.state().LastEditKey = 0;
    // The value before the edit is the one last shown or sent: the stored values may already
    // hold the new one.
    const bool accepted = session.io.GlobalUpload(parameter, GlobalObject::Value(sent, parameter), value);
    if (accepted)
        sent = session.objects.global;
    if (box)
        rules.Committed(box, accepted);
    return accepted;
}

bool GlobalEditor::ChangeText(int index)
{
    QLineEdit *box = txtGlobal[static_cast<size_t>(index)];
    GlobalValues &g = session.objects.global;
    EditState &edit = rules.state();
    const QString text = box->text();
    const bool enter = edit.LastEditKey == EditState::Enter;
    if (text.isEmpty() || (index == Tune && enter && text == QLatin1String("-"))) {
        rules.Restore(box, StoredText(index));
        return false;
    }
    if (!enter && !rules.FromPartner(box))
        return false;
    switch (index) {
    case Channel:
        g.OmniPolyChannel = static_cast<int16_t>(
            std::clamp(text.toInt(), ChannelLow, ChannelHigh) - ChannelSetting.shownOffset);
        return Send(GlobalObject::OmniPolyChannel, int64_t{g.OmniPolyChannel}, box);
    case Volume: {
        bool isNumber = false;
        const double typed = QLocale::c().toDouble(text, &isNumber);
        if (!isNumber) {
            session.comms.ReportError(QLatin1String(ErrorHeading), QStringLiteral("Error updating Global Parameter"));
            return false;
        }
        int volume = static_cast<int>(typed);
        if (volume > VolumeLimit) {
            rules.Rewrite(box, QString::number(VolumeLimit));
            volume = VolumeLimit;
        }
        if (enter)
            sldVolume->setValue(volume);
        g.OmniPolyVolume = static_cast<int16_t>(volume);
        return Send(GlobalObject::OmniPolyVolume, int64_t{volume}, box);
    }
    case BankName:
        g.BankName = text.leftJustified(GlobalDescription::NameLength, QLatin1Char(' '), true);
        return Send(GlobalObject::BankName, g.BankName, box);
    default: {
        bool isNumber = false;
        const double tune = QLocale::c().toDouble(text, &isNumber);
        if (!isNumber) {
            session.comms.ReportError(QLatin1String(ErrorHeading), QStringLiteral("Error updating Global Parameter"));
            return false;
        }
        if (tune < -TuneLimit || tune > TuneLimit) {
            rules.Restore(box, StoredText(Tune));
            return false;
        }
        const int hundredths = static_cast<int>(std::nearbyint(tune * 100.0));
        if (enter)
            sldTune->setValue(static_cast<int>(tune));
        g.MasterTune = static_cast<int16_t>(hundredths);
        return Send(GlobalObject::MasterTune, int64_t{hundredths}, box);
    }
    }
}

void GlobalEditor::ChangeOption(int index)
{
    EditState &edit = rules.state();
    if (rules.busy() || edit.EditPending || edit.TextRestored) {
        edit.TextRestored = false;
        LoadGlobalDisplay(); // the click changed nothing on the SP: show the stored choice again
        return;
    }
    const bool receive = index < FirstProgChangeOption;
    const int value = receive ? index - FirstReceiveOption : index - FirstProgChangeOption;
    const int parameter = receive ? GlobalObject::ReceiveMode : GlobalObject::ProgChange;
    // The stored choice changes only when the SP has taken it: it is read back.
    if (Send(parameter, int64_t{value}, nullptr))
        Reload();
    else
        LoadGlobalDisplay();
}

void GlobalEditor::ChangePlaybackMode(int listIndex)
{
    // Choosing the mode already shown changes nothing on the SP.
    if (rules.busy() || rules.state().EditPending || listIndex == session.objects.global.PlaybackMode)
        return;
    if (Send(GlobalObject::PlaybackMode, int64_t{listIndex}, nullptr))
        Reload();
    else
        LoadGlobalDisplay();
}
