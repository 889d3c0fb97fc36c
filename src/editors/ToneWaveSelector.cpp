#include "editors/ToneWaveSelector.h"

#include "editors/Session.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "editors/ObjectChoice.h"
#include "editors/ParameterTips.h"
#include "widgets/SpinButton.h"
#include "editors/ToneControls.h"
#include "objects/ToneDescription.h"
#include "objects/DumpRecord.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>


namespace {
constexpr const char *ErrorHeading = "Change_ToneParm()";
constexpr const char *ErrorText = "Error updating Tone parameter";
constexpr int NameCharacters = 14;
} // namespace

ToneWaveSelector::ToneWaveSelector(Session &session, EditRules &rules, QWidget *parent,
                                   std::function<void()> afterCommit, std::function<DumpRecord *()> tone)
    : QObject(parent), session(session), rules(rules), tone(std::move(tone))
{
    frame = new QGroupBox(QStringLiteral(" Wave (w#)"), parent);
    frame->setObjectName(QStringLiteral("pnlToneWave"));
    auto *row = new QHBoxLayout(frame);
    txtWaveNumber = ToneControls::MakeNumberBox(frame, ToneControls::Indexed("txtTone", 0));
    spnWave = new SpinButton(frame);
    spnWave->setObjectName(ToneControls::Indexed("spnTone", 0));
    txtWaveName = new QLineEdit(frame);
    txtWaveName->setObjectName(ToneControls::Indexed("txtTone", 1));
    txtWaveName->setReadOnly(true);
    txtWaveName->setFocusPolicy(Qt::NoFocus);
    txtWaveName->setMinimumWidth(txtWaveName->fontMetrics().horizontalAdvance(QString(NameCharacters, QLatin1Char('M'))));
    ParameterTips::Set({txtWaveNumber, spnWave},
                       ParameterTips::Text(QStringLiteral("Wave the Tone plays (w#)"), QStringLiteral("the lowest"),
                                           QStringLiteral("the highest Wave number in the SP")));
    txtWaveName->setToolTip(ParameterTips::Note(QStringLiteral("Wave name"), QStringLiteral("shown only, up to 14 characters")));
    row->addWidget(txtWaveNumber);
    row->addWidget(spnWave);
    row->addWidget(txtWaveName, 1);

    EditRules::Box box;
    box.box = txtWaveNumber;
    box.spin = spnWave;
    box.keys = EditRules::Keys::Unsigned;
    box.commit = [this] { return ChangeWave(); };
    box.afterCommit = std::move(afterCommit);
    box.storedText = [this] { return StoredText(); };
    box.spinStep = [this](int number, int step) { return Step(number, step); };
    rules.Add(box);
}

QString ToneWaveSelector::StoredText() const
{
    const DumpRecord *record = tone();
    return record ? QString::number(record->Byte(ToneDescription::WavePosition)) : QString();
}

QString ToneWaveSelector::WaveName(int number) const
{
    const ObjDir &dir = session.objects.of(KindWave).Dir;
    const int index = dir.IndexOf(number);
    return index < 0 ? QString() : dir.Entries[index].Name.trimmed();
}

void ToneWaveSelector::LoadWaveDisplay()
{
    const bool haveWaves = session.objects.of(KindWave).Have;
    const QString stored = StoredText();
    txtWaveNumber->setText(stored);
    txtWaveName->setText(haveWaves ? WaveName(stored.toInt()) : QStringLiteral("No Waves Avail"));
    rules.ShowStored(txtWaveNumber);
    txtWaveNumber->setEnabled(haveWaves);
    txtWaveName->setEnabled(haveWaves);
    spnWave->setEnabled(true);
}

std::optional<int> ToneWaveSelector::ExistingWave(int number) const
{
    return ObjectChoice::Existing(session, KindWave, number);
}

std::optional<int> ToneWaveSelector::Step(int number, int step)
{
    return ObjectChoice::Step(session, KindWave, number, step, ObjectChoice::NoneNotice::ErrorReport);
}

bool ToneWaveSelector::ChangeWave()
{
    DumpRecord *record = tone();
    if (!record) {
        session.comms.ReportError(QLatin1String(ErrorHeading), QLatin1String(ErrorText));
        return false;
    }
    const std::optional<int> typed = rules.CommitValue(txtWaveNumber, false);
    if (!typed)
        return false;
    const std::optional<int> wave = ExistingWave(*typed);
    if (!wave) {
        rules.Restore(txtWaveNumber, StoredText());
        return false;
    }
    if (*wave != *typed)
        rules.Rewrite(txtWaveNumber, QString::number(*wave));
    rules.Display([&] { txtWaveName->setText(WaveName(*wave)); });
    record->Set(ToneDescription::WavePosition, *wave);
    rules.state().LastEditKey = 0;
    const bool accepted = session.io.ObjectUpload(KindTone, session.objects.of(KindTone).Num, int64_t{*wave},
                                                  ToneDescription::WavePosition, ToneDescription::Width, true);
    rules.Committed(txtWaveNumber, accepted);
    return true;
}
