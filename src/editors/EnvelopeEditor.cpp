#include "editors/EnvelopeEditor.h"

#include "editors/Session.h"
#include "editors/EditRules.h"
#include "editors/EnvelopePicture.h"
#include "editors/EnvelopePlot.h"
#include "widgets/KeyInput.h"
#include "editors/ToneControls.h"
#include "objects/ToneDescription.h"
#include "objects/DumpRecord.h"
#include "device/NibbleCodec.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

using namespace ToneDescription;

namespace {

constexpr int Limit = 99;
const QString NoDecay = QStringLiteral("--"); // Trigger Mode holds at the sustain: no decay

// By stage, in the order of StageCaptions.
struct StageInfo {
    EditRules::Keys keys;
    int low;
};
constexpr std::array<StageInfo, EnvelopeEditor::Stages> StageTable = {{
    {EditRules::Keys::Signed, -Limit},
    {EditRules::Keys::Sustain, 0},
    {EditRules::Keys::TimeWithInfinity, 0},
    {EditRules::Keys::TimeWithInfinity, 0},
}};

QString ControlName(const char *type, int envelope, int stage)
{
    return QStringLiteral("%1Env%2%3").arg(QLatin1String(type)).arg(envelope + 1).arg(QLatin1String(StageNames[static_cast<size_t>(stage)]));
}

bool IsTime(int stage)
{
    return stage == Decay || stage == Release;
}

void SetLabelColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Window, EnvelopePicture::Background);
    label->setPalette(palette);
}

} // namespace

EnvelopeEditor::EnvelopeEditor(Session &session, EditRules &rules, QWidget *parent, std::function<void()> afterCommit,
                               std::function<DumpRecord *()> tone)
    : QObject(parent), session(session), rules(rules), tone(std::move(tone))
{
    for (int e = 0; e < Envelopes; ++e) {
        auto *frame = new QGroupBox(QStringLiteral("Envelope %1").arg(e + 1), parent);
        frame->setObjectName(QStringLiteral("fraEnv%1").arg(e + 1));
        auto *row = new QHBoxLayout(frame);
        for (int s = 0; s < Stages; ++s) {
            const auto stage = static_cast<size_t>(s);
            const auto column = ToneControls::MakeSliderColumn(
                frame, QLatin1String(StageCaptions[stage]), ControlName("txt", e, s), ControlName("sld", e, s),
                StageTable[stage].low, Limit, EnvelopeStageName(static_cast<size_t>(e), stage));
            boxes[e][s] = column.box;
            sliders[e][s] = column.slider;
            row->addWidget(column.column);
        }
        // The mode label sits on the picture's dark strip, in the colour of the middle segment.
        auto *view = new QVBoxLayout;
        view->setSpacing(0);
        auto *label = new QLabel(frame);
        label->setObjectName(QStringLiteral("lblEnv%1Mode").arg(e + 1));
        label->setAutoFillBackground(true);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setContentsMargins(4, 2, 6, 2);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Trigger Mode")) + 10);
        SetLabelColour(label, EnvelopePlot::GateColour);
        auto *picture = new EnvelopePicture(frame);
        picture->setObjectName(QStringLiteral("picEnv%1").arg(e + 1));
        view->addWidget(label);
        view->addWidget(picture);
        view->addStretch(1);
        row->addLayout(view);
        row->addStretch(1);
        frames[e] = frame;
        pictures[e] = picture;
        modeLabels[e] = label;

        for (int s = 0; s < Stages; ++s) {
            EditRules::Box box;
            box.box = boxes[e][s];
            box.slider = sliders[e][s];
            box.keys = StageTable[static_cast<size_t>(s)].keys;
            box.commit = [this, e, s] { return Change_Envelope(e, s); };
            box.afterCommit = afterCommit;
            box.storedText = [this, e, s] { return StoredText(e, s); };
            rules.Add(box);
        }
    }
}

int EnvelopeEditor::Stored(int envelope, int stage) const
{
    const DumpRecord *record = tone();
    if (!record)
        return 0;
    return record->Value(EnvelopePositions[envelope][stage], stage == Attack);
}

QString EnvelopeEditor::StoredText(int envelope, int stage) const
{
    const int value = Stored(envelope, stage);
    if (stage == Sustain && value == 0)
        return EditRules::GateWord();
    if (IsTime(stage) && value == Limit)
        return EditRules::InfinitySign();
    return QString::number(value);
}

// The program writes here: the caller holds the edit rules' display state.
void EnvelopeEditor::ShowMode(int envelope)
{
    const bool trigger = EnvelopePlot::ModeOf(Stored(envelope, Sustain)) == EnvelopePlot::Mode::Trigger;
    QLineEdit *decay = boxes[envelope][Decay];
    QSlider *decaySlider = sliders[envelope][Decay];
    boxes[envelope][Sustain]->setText(StoredText(envelope, Sustain));
    decay->setText(trigger ? NoDecay : StoredText(envelope, Decay));
    decay->setEnabled(!trigger);
    decaySlider->setEnabled(!trigger);
}

void EnvelopeEditor::LoadEnvelopeDisplay()
{
    if (!tone())
        return;
    for (int e = 0; e < Envelopes; ++e) {
        for (int s = 0; s < Stages; ++s) {
            boxes[e][s]->setEnabled(true);
            sliders[e][s]->setEnabled(true);
            boxes[e][s]->setText(StoredText(e, s));
            sliders[e][s]->setValue(Stored(e, s));
            rules.ShowStored(boxes[e][s]);
        }
        ShowMode(e);
        Plot_Envelope(e);
    }
}

void EnvelopeEditor::Plot_Envelope(int envelope)
{
    const EnvelopePlot::Drawing drawing = EnvelopePlot::Plot(
        {Stored(envelope, Attack), Stored(envelope, Sustain), Stored(envelope, Decay), Stored(envelope, Release)});
    modeLabels[envelope]->setText(drawing.label);
    SetLabelColour(modeLabels[envelope], drawing.labelColour);
    pictures[envelope]->Draw(drawing);
}

void EnvelopeEditor::ClearEnvelopes()
{
    for (int e = 0; e < Envelopes; ++e) {
        pictures[e]->Clear();
        modeLabels[e]->clear();
    }
}

bool EnvelopeEditor::Change_Envelope(int envelope, int stage)
{
    QLineEdit *box = boxes[envelope][stage];
    DumpRecord *record = tone();
    if (!record) {
        session.comms.ReportError(QLatin1String(ErrorHeading), QLatin1String(ErrorText));
        return false;
    }
    const bool enter = rules.state().LastEditKey == EditState::Enter;
    const QString text = box->text();
    if (enter && stage == Attack && text == QLatin1String("-0")) {
        rules.Restore(box, StoredText(envelope, stage));
        return false;
    }
    // A letter of the gate word stands for the word, and the word for a sustain of 0.
    if (enter && stage == Sustain
        && (text == QLatin1String("g") || text == QLatin1String("G") || text == QLatin1String("t")))
        rules.Rewrite(box, EditRules::GateWord());
    // The words stand for numbers: the gate word for 0, the infinity sign for 99.
    if (stage == Sustain && box->text() == EditRules::GateWord())
        rules.Rewrite(box, QStringLiteral("0"));
    if (IsTime(stage) && text == EditRules::InfinitySign())
        rules.Rewrite(box, QString::number(Limit));

    const std::optional<int> value = rules.CommitValue(box, stage == Attack, Limit);
    if (!value)
        return false;
    if (stage == Sustain && *value == 0)
        rules.Rewrite(box, EditRules::GateWord());

    const int position = EnvelopePositions[envelope][stage];
    const int byte = NibbleCodec::ByteOfSigned(*value);
    record->Set(position, byte);
    rules.state().LastEditKey = 0;
    const KindState &tones = session.objects.of(KindTone);
    const bool accepted = session.io.ObjectUpload(KindTone, tones.Num, int64_t{byte}, position, Width, true);
    rules.Committed(box, accepted);
    if (accepted && stage == Sustain)
        rules.Display([&] { ShowMode(envelope); });
    return true;
}
