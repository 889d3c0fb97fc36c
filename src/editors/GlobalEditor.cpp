#include "editors/GlobalEditor.h"
#include "editors/ParameterTips.h"
#include "widgets/SignedSlider.h"

#include "editors/Session.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
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

enum Box { Channel = 6, Volume = 7, BankName = 8, Tune = 9 };
constexpr int TuneLimit = 120;
constexpr int VolumeLimit = 127;

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

    for (int index : {Channel, Volume, BankName, Tune}) {
        auto *box = new QLineEdit(this);
        box->setObjectName(Indexed("txtGlobal", index));
        box->setAlignment(Qt::AlignRight);
        if (index != BankName)
            box->setFixedWidth(digitWidth);
        txtGlobal[static_cast<size_t>(index)] = box;
    }
    txtGlobal[BankName]->setAlignment(Qt::AlignLeft);
    txtGlobal[BankName]->setMaxLength(14);
    txtGlobal[BankName]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));

    sldVolume = new SignedSlider(Qt::Horizontal, this);
    sldVolume->setObjectName(Indexed("sldGlobal", Volume));
    sldVolume->setRange(0, VolumeLimit);
    sldTune = new SignedSlider(Qt::Horizontal, this);
    sldTune->setObjectName(Indexed("sldGlobal", Tune));
    sldTune->setRange(-TuneLimit, TuneLimit);
    spnChannel = new SpinButton(this);
    spnChannel->setObjectName(Indexed("spnGlobal", Channel));
    ParameterTips::Set(txtGlobal[Channel], spnChannel, QStringLiteral("Omni/poly MIDI channel"), 1, 16);
    ParameterTips::Set(txtGlobal[Volume], sldVolume, QStringLiteral("Omni/poly volume"), 0, VolumeLimit);
    ParameterTips::Set({txtGlobal[Tune], sldTune},
                       ParameterTips::Text(QStringLiteral("Master tune"), QStringLiteral("-120.00"), QStringLiteral("120.00"),
                                           QStringLiteral("(steps of 0.01)")));
    txtGlobal[BankName]->setToolTip(ParameterTips::Note(QStringLiteral("Bank name"), QStringLiteral("up to 14 characters")));

    cboPlayback = new QComboBox(this);
    cboPlayback->setObjectName(Indexed("cboGlobal", 0));
    cboPlayback->addItems({QStringLiteral("MIDI Rcv Mode"), QStringLiteral("what's on display"),
                           QStringLiteral("current edit preset"), QStringLiteral("current edit map"),
                           QStringLiteral("current edit tone"), QStringLiteral("current edit wave")});

    QGroupBox *receive = Frame(QStringLiteral("Receive Mode"), this);
    QGroupBox *progChange = Frame(QStringLiteral("Prog Change"), this);
    const struct { int index; const char *caption; QGroupBox *frame; } options[] = {
        {8, "omni", receive}, {9, "poly", receive}, {10, "multi", receive},
        {11, "enabled", progChange}, {12, "disabled", progChange}};
    for (const auto &o : options) {
        auto *option = new QRadioButton(QLatin1String(o.caption), o.frame);
        option->setObjectName(Indexed("optGlobal", o.index));
        o.frame->layout()->addWidget(option);
        optGlobal[static_cast<size_t>(o.index)] = option;
        connect(option, &QRadioButton::clicked, this, [this, index = o.index] { ChangeOption(index); });
    }

    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Bank Name"), this), row, 0);
    grid->addWidget(txtGlobal[BankName], row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Playback Mode"), this), row, 0);
    grid->addWidget(cboPlayback, row++, 1, 1, 2);
    grid->addWidget(receive, row++, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Omni/Poly Channel"), this), row, 0);
    grid->addWidget(txtGlobal[Channel], row, 1);
    grid->addWidget(spnChannel, row++, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Omni/Poly Vol"), this), row, 0);
    grid->addWidget(txtGlobal[Volume], row, 1);
    grid->addWidget(sldVolume, row++, 2);
    grid->addWidget(progChange, row++, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Master Tune"), this), row, 0);
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
        box.spinLow = 1;
        box.spinHigh = 16;
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
        return QString::number(g.OmniPolyChannel + 1);
    case Volume:
        return QString::number(g.OmniPolyVolume);
    case BankName:
        return g.BankName;
    default:
        return GlobalObject::MasterTuneText(g.MasterTune);
    }
}

void GlobalEditor::LoadGlobalDisplay()
{
    const GlobalValues &g = session.objects.global;
    sent = g;
    rules.Display([&] {
        for (QWidget *control : std::initializer_list<QWidget *>{txtGlobal[Channel], txtGlobal[Volume], txtGlobal[BankName],
                                                                 txtGlobal[Tune], sldVolume, sldTune, spnChannel})
            control->setEnabled(true);
        for (int i = 8; i <= 12; ++i)
            optGlobal[static_cast<size_t>(i)]->setEnabled(true);
        cboPlayback->setEnabled(true);
        for (int index : {Channel, Volume, BankName, Tune}) {
            txtGlobal[static_cast<size_t>(index)]->setText(StoredText(index));
            rules.ShowStored(txtGlobal[static_cast<size_t>(index)]);
        }
        if (g.ReceiveMode >= 0 && g.ReceiveMode <= 2)
            optGlobal[static_cast<size_t>(8 + g.ReceiveMode)]->setChecked(true);
        if (g.ProgChange >= 0 && g.ProgChange <= 1)
            optGlobal[static_cast<size_t>(11 + g.ProgChange)]->setChecked(true);
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
        g.OmniPolyChannel = static_cast<int16_t>(std::clamp(text.toInt(), 1, 16) - 1);
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
        g.BankName = text.leftJustified(14, QLatin1Char(' '), true);
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
    const bool receive = index <= 10;
    const int value = receive ? index - 8 : index - 11;
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
