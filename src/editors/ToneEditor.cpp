#include "editors/ToneEditor.h"

#include "editors/Session.h"
#include "editors/EditRules.h"
#include "editors/EnvelopeEditor.h"
#include "widgets/KeyInput.h"
#include "editors/ToneWaveSelector.h"
#include "objects/ObjectDumps.h"
#include "objects/Retrieval.h"
#include "device/NibbleCodec.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <cstring>

using namespace ToneDescription;

namespace {

const QString QuantizeWord = QStringLiteral("qnt"); // no wave start amount: the start is quantized
const QString NoneWord = QLatin1String(NoQuantizeWord); // no quantizing
const QString KeyboardWord = QStringLiteral("kbd"); // quantized by the key played
const QString AmountWord = QStringLiteral("amt");   // an amount is set: quantizing does not apply

bool IsBox(const Box &box, int index)
{
    return box.index == index && std::strcmp(box.family, "LFO") == 0;
}

// What a partly typed special word stands for, committed with Enter.
bool IsPartOfQuantizeWord(const QString &text)
{
    static const QStringList parts = {"q", "n", "t", "qn", "qt", "nt"};
    return parts.contains(text);
}

bool IsPartOfNoneWord(const QString &text)
{
    return text.size() < NoneWord.size()
           && (text.contains(QLatin1Char('e')) || text.contains(QLatin1Char('o')) || text.contains(QLatin1Char('n')));
}

} // namespace

ToneEditor::ToneEditor(Session &session, EditRules &rules, std::array<QWidget *, 3> pages, QObject *parent)
    : QObject(parent), session(session), rules(rules), pages(pages)
{
}

void ToneEditor::Build()
{
    const auto reload = [this] { Reload(); };
    const auto tone = [this] { return Tone(); };
    wave = new ToneWaveSelector(session, rules, pages[0], reload, tone);
    envelopes = new EnvelopeEditor(session, rules, pages[0], reload, tone);
    controls = ToneLayout::Build(pages, wave->Frame(), envelopes->Frame(0), envelopes->Frame(1));

    for (size_t row = 0; row < Boxes.size(); ++row) {
        const Box &parameter = Boxes[row];
        EditRules::Box box;
        box.box = controls.boxes[row];
        box.slider = controls.sliders[row];
        box.keys = parameter.isSigned ? EditRules::Keys::Signed : EditRules::Keys::Unsigned;
        if (IsBox(parameter, WaveStartAmountIndex))
            box.letters = QuantizeWord;
        if (IsBox(parameter, WaveStartQuantizeIndex))
            box.letters = QStringLiteral("noe");
        // The LFO's sliders show their value in the box once they are let go.
        box.showWhileDragging = std::strcmp(parameter.family, "LFO") != 0;
        box.commit = [this, row] { return Change_ToneParm(row); };
        box.afterCommit = reload;
        box.storedText = [this, row] { return DisplayText(row); };
        rules.Add(box);
    }
    for (size_t i = 0; i < controls.envelopeSelects.size(); ++i)
        connect(controls.envelopeSelects[i], &QRadioButton::clicked, this, [this, i] { ChangeEnvelopeSelect(static_cast<int>(i)); });
    for (size_t i = 0; i < controls.modes.size(); ++i)
        connect(controls.modes[i], &QRadioButton::clicked, this, [this, i] { ChangeMode(static_cast<int>(i)); });
    // Only the user's choice sends: program writes of the list index do not raise `activated`.
    for (size_t i = 0; i < controls.combos.size(); ++i)
        connect(controls.combos[i], &QComboBox::activated, this, [this, i](int listIndex) { ChangeSource(static_cast<int>(i), listIndex); });
}

bool ToneEditor::ToneObjDump(int number)
{
    // On any failure the Tone shown stays as it was.
    auto record = DumpRecord::Download(session.io, KindTone, number, FirstPosition, DumpErrorHeading, DumpErrorText);
    if (!record)
        return false;
    stored = std::move(record);
    return true;
}

bool ToneEditor::WaveStartQuantizeEditable() const
{
    return stored->Signed(WaveStartAmountPosition) == 0
           && stored->Byte(Combos[WaveStartSourceCombo].position) != KeyboardPositionSource;
}

QString ToneEditor::DisplayText(size_t row) const
{
    if (!stored)
        return QString();
    const Box &box = Boxes[row];
    if (IsBox(box, WaveStartAmountIndex) && stored->Signed(box.position) == 0)
        return QuantizeWord;
    if (IsBox(box, WaveStartQuantizeIndex)) {
        if (stored->Signed(WaveStartAmountPosition) != 0)
            return AmountWord;
        if (!WaveStartQuantizeEditable())
            return KeyboardWord;
        return QuantizeText(stored->Byte(box.position));
    }
    return QString::number(stored->Value(box.position, box.isSigned));
}

int ToneEditor::SliderValue(size_t row) const
{
    const Box &box = Boxes[row];
    const int value = stored->Value(box.position, box.isSigned);
    return IsBox(box, WaveStartQuantizeIndex) ? value + 1 : value;
}

void ToneEditor::ShowChoices()
{
    for (const EnvelopeSelect &select : EnvelopeSelects) {
        const int place = stored->Byte(select.position);
        if (place >= 0 && place < 3)
            controls.envelopeSelects[static_cast<size_t>(3 * select.group + place)]->setChecked(true);
    }
    for (const ModeBit &mode : ModeBits) {
        const bool set = (stored->Byte(mode.position) & mode.bit) != 0;
        controls.modes[static_cast<size_t>(mode.even + (set ? 1 : 0))]->setChecked(true);
    }
    for (const Combo &combo : Combos)
        controls.combos[static_cast<size_t>(combo.index)]->setCurrentIndex(stored->Byte(combo.position));
}

void ToneEditor::LoadToneDisplay()
{
    if (!stored)
        return;
    rules.Display([&] {
        for (size_t row = 0; row < Boxes.size(); ++row) {
            QLineEdit *box = controls.boxes[row];
            QSlider *slider = controls.sliders[row];
            const bool editable = !IsBox(Boxes[row], WaveStartQuantizeIndex) || WaveStartQuantizeEditable();
            box->setEnabled(editable);
            slider->setEnabled(editable);
            box->setText(DisplayText(row));
            slider->setValue(SliderValue(row));
            rules.ShowStored(box);
        }
        for (QWidget *control : controls.envelopeSelects)
            control->setEnabled(true);
        for (QWidget *control : controls.modes)
            control->setEnabled(true);
        for (QWidget *control : controls.combos)
            control->setEnabled(true);
        ShowChoices();
        wave->LoadWaveDisplay();
        envelopes->LoadEnvelopeDisplay();
    });
}

void ToneEditor::ClearEnvelopes()
{
    envelopes->ClearEnvelopes();
}

void ToneEditor::Reload()
{
    if (retrieval)
        retrieval->ObjectDownload(KindTone);
}

bool ToneEditor::Upload(int position, int value, int width)
{
    rules.state().LastEditKey = 0;
    return session.io.ObjectUpload(KindTone, session.objects.of(KindTone).Num, int64_t{value}, position, width, true);
}

bool ToneEditor::Change_ToneParm(size_t row)
{
    const Box &parameter = Boxes[row];
    QLineEdit *box = controls.boxes[row];
    if (!stored) {
        session.comms.ReportError(QLatin1String(ChangeErrorHeading), QLatin1String(ChangeErrorText));
        return false;
    }
    const bool enter = rules.state().LastEditKey == EditState::Enter;
    const QString text = box->text();
    const bool quantize = IsBox(parameter, WaveStartQuantizeIndex);
    if (enter && IsBox(parameter, WaveStartAmountIndex)) {
        if (IsPartOfQuantizeWord(text)) {
            rules.Restore(box, QuantizeWord);
            return false;
        }
        if (text == QuantizeWord)
            rules.Rewrite(box, QStringLiteral("0"));
    }
    if (enter && quantize && IsPartOfNoneWord(text)) {
        rules.Restore(box, NoneWord);
        return false;
    }

    // The quantize box shows one more than it stores; "none" and anything below 1 store 0.
    const std::optional<int> value = quantize ? rules.CommitValue(box, false, QuantizeHigh)
                                              : rules.CommitValue(box, parameter.isSigned, parameter.sliderHigh);
    if (!value)
        return false;
    const int byte = quantize ? std::max(*value, 1) - 1 : NibbleCodec::ByteOfSigned(*value);
    // As in the Preset and Multi: the held copy follows only what the SP took.
    const bool accepted = Upload(parameter.position, byte, Width);
    if (accepted)
        stored->Set(parameter.position, byte);
    rules.Committed(box, accepted);
    return true;
}

void ToneEditor::SendChoice(int position, int value, int width)
{
    if (Upload(position, value, width)) {
        stored->Set(position, value);
        Reload();
    } else {
        ShowChoices();
    }
}

void ToneEditor::ChangeEnvelopeSelect(int option)
{
    if (!stored)
        return;
    const EnvelopeSelect &select = EnvelopeSelects[static_cast<size_t>(option / 3)];
    const int place = option % 3;
    if (rules.busy() || rules.state().EditPending || stored->Byte(select.position) == place) {
        ShowChoices(); // the click changed nothing on the SP
        return;
    }
    SendChoice(select.position, place, Width);
}

void ToneEditor::ChangeMode(int option)
{
    if (!stored)
        return;
    const ModeBit &mode = ModeBitOf(option);
    const int current = stored->Byte(mode.position);
    const int wanted = option % 2 == 1 ? current | mode.bit : current & ~mode.bit;
    if (rules.busy() || rules.state().EditPending || wanted == current) {
        ShowChoices();
        return;
    }
    // The DCA and DCF phase bits are one nibble character of their own.
    const int width = mode.position == PhaseNibblePosition ? 1 : Width;
    SendChoice(mode.position, wanted, width);
}

void ToneEditor::ChangeSource(int combo, int listIndex)
{
    if (!stored)
        return;
    const int position = Combos[static_cast<size_t>(combo)].position;
    if (rules.busy() || stored->Byte(position) == listIndex) {
        ShowChoices();
        return;
    }
    SendChoice(position, listIndex, Width);
}
