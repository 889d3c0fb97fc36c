#include "editors/WaveEditor.h"

#include "objects/DumpRecord.h"

#include "editors/ControlLists.h"
#include "editors/Session.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "editors/WaveAudition.h"
#include "editors/WaveChange.h"
#include "editors/WaveLayout.h"
#include "editors/WaveScrollBars.h"
#include "objects/ObjectDumps.h"
#include "objects/Retrieval.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// Which keys each parameter box takes, by WaveParm; the loop fraction moves only by its spin
// button and scroll bar.
constexpr std::array<EditRules::Keys, WaveParmCount> ParmKeys = {
    EditRules::Keys::Unsigned, EditRules::Keys::Unsigned, EditRules::Keys::Unsigned, EditRules::Keys::Unsigned,
    EditRules::Keys::None,     EditRules::Keys::Signed,   EditRules::Keys::Decimal};

} // namespace

WaveEditor::WaveEditor(Session &session, EditRules &rules, QWidget *parent)
    : QWidget(parent), session(session), rules(rules)
{
    setObjectName(QStringLiteral("WaveEditor"));
}

void WaveEditor::Build()
{
    widgets = BuildWaveLayout(this);
    change = new WaveChange(session, rules, widgets, values, [this] { Reload(); }, this);
    scrollBars = new WaveScrollBars(rules, widgets, values, this);
    audition = new WaveAudition(session, this);
    for (int i = 0; i < WaveParmCount; ++i)
        AddParameter(static_cast<WaveParm>(i));

    connect(widgets.optLoopEnb, &QRadioButton::clicked, change, [this] { change->SwitchLoop(true); });
    connect(widgets.optLoopDis, &QRadioButton::clicked, change, [this] { change->SwitchLoop(false); });
    // The direction is shown, not edited: a click only shows the stored direction again.
    for (QRadioButton *option : {widgets.optLoopFwdOnly, widgets.optLoopFwdRev})
        connect(option, &QRadioButton::clicked, change, &WaveChange::RevertLoopOptions);
    // The note name follows the pitch the program writes, not the user's typing.
    QLineEdit *pitch = widgets[WaveParm::Pitch];
    connect(pitch, &QLineEdit::textChanged, change, [this, pitch] {
        if (this->rules.state().EditPending && !KeyInput::IsPending(pitch))
            change->ShowNoteName();
    });
}

void WaveEditor::AddParameter(WaveParm parm)
{
    const size_t i = Index(parm);
    QLineEdit *box = widgets.box[i];
    SpinButton *spin = widgets.spin[i];
    EditRules::Box entry;
    entry.box = box;
    entry.keys = ParmKeys[i];
    entry.commit = [this, parm] { return change->Change_WaveParm(parm); };
    // The Wave is read back whatever the SP answered; a refused value's box stays red.
    entry.afterCommit = [this] { Reload(); };
    entry.storedText = [this, parm] { return values.storedText(parm); };
    // The spin buttons step within limits that move with the Wave, so the editor drives them.
    entry.otherPartners.push_back(spin);
    if (i < WaveWidgets::ScrollBars)
        entry.otherPartners.push_back(widgets.hscWave[i]);
    rules.Add(entry);
    connect(spin, &SpinButton::SpinUp, change, [this, parm] { change->Spin(parm, 1); });
    connect(spin, &SpinButton::SpinDown, change, [this, parm] { change->Spin(parm, -1); });
}

bool WaveEditor::WaveObjDump(int number)
{
    // On any failure the Wave shown stays as it was.
    const auto record =
        DumpRecord::Download(session.io, KindWave, number, WaveDump::FirstPosition, DumpErrorHeading, DumpErrorText);
    if (!record)
        return false;
    values = WaveValues::Read(*record);
    haveWave = true;
    return true;
}

void WaveEditor::LoadWaveDisplay()
{
    if (!haveWave)
        return;
    // The audition button belongs to the main window; it plays once a Wave is shown.
    if (!audition->button())
        audition->Attach(window()->findChild<QPushButton *>(QStringLiteral("cmdPlaySample")));
    if (audition->button())
        audition->button()->setEnabled(true);

    const WaveValues &w = values;
    rules.Display([&] {
        if (waveControls.isEmpty())
            waveControls = ControlLists::Find(this, ControlLists::WaveControls());
        for (QWidget *control : waveControls)
            control->setEnabled(true);
        for (QLineEdit *box : widgets.box)
            rules.ShowStored(box);
        change->ShowLoopOptions();
        for (QWidget *control : std::initializer_list<QWidget *>{widgets.optLoopFwdOnly, widgets.optLoopFwdRev,
                                                                 widgets.hscWave[2], widgets.hscWave[3],
                                                                 widgets.hscWave[4]})
            control->setEnabled(w.loopOn());
        for (int i = 0; i < WaveParmCount; ++i)
            widgets.box[static_cast<size_t>(i)]->setText(w.storedText(static_cast<WaveParm>(i)));
        widgets.txtWaveMode->setText(w.stereo() ? QStringLiteral("Stereo") : QStringLiteral("Mono"));
        widgets.txtWaveSize->setText(QString::number(w.size));
        widgets.txtWaveLen->setText(QString::number(w.length));
        widgets.txtSampPeriod->setText(QString::number(w.samplePeriod));
        widgets.txtWaveAddr->setText(AddressText(w.address));
        widgets.txtChecksum->setText(HexText(static_cast<uint32_t>(w.checksum)));
        widgets.txtWaveNorm->setText(QString::number(w.normalisation / 100.0));
        scrollBars->Show();
    });
}

void WaveEditor::Reload()
{
    if (retrieval)
        retrieval->ObjectDownload(KindWave);
}
