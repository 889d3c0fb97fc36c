#include "editors/PresetEditor.h"

#include "editors/Session.h"
#include "editors/DirectoryStep.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "midi/NoteNames.h"
#include "widgets/SpinButton.h"
#include "midi/Notifier.h"
#include "objects/ObjectDumps.h"
#include "objects/Retrieval.h"
#include "device/NibbleCodec.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

using namespace PresetDescription;

namespace {

const QString LowestWord = QStringLiteral("<<<");  // a switch point of 128: the level is never reached
const QString HighestWord = QStringLiteral(">>>"); // a switch point of 0, or one equal to the next
const QString MapWord = QStringLiteral("Map");     // a layer pan of 0: each zone's own pan
const QString NoMapsText = QStringLiteral("No Maps Loaded");

bool IsSwitchPoint(int index)
{
    return index >= FirstSwitchPointBox && index <= LastSwitchPointBox;
}

EditRules::Keys KeysOf(const Box &box)
{
    if (box.index == GroupBox || box.index == 6)
        return EditRules::Keys::None; // the group and its polyphony move only with their spin buttons
    return box.isSigned ? EditRules::Keys::Signed : EditRules::Keys::Unsigned;
}

} // namespace

PresetEditor::PresetEditor(Session &session, EditRules &rules, QWidget *preset1, QWidget *preset2, QObject *parent)
    : QObject(parent), session(session), rules(rules), pages{preset1, preset2}
{
}

void PresetEditor::Build(int page)
{
    const PresetLayout::Controls before = controls;
    PresetLayout::BuildPage(controls, page, pages[static_cast<size_t>(page - 1)]);
    const auto reload = [this] { Reload(); };
    for (size_t row = 0; row < Boxes.size(); ++row) {
        const Box &parameter = Boxes[row];
        const auto index = static_cast<size_t>(parameter.index);
        if (before.boxes[index] || !controls.boxes[index])
            continue; // on the other tab
        EditRules::Box box;
        box.box = controls.boxes[index];
        box.slider = controls.sliders[index];
        box.spin = controls.spins[index];
        box.keys = KeysOf(parameter);
        box.spinLow = parameter.low;
        box.spinHigh = parameter.high;
        if (parameter.index == MapBox)
            box.spinStep = [this](int, int step) { return MapStep(step); };
        if (IsSwitchPoint(parameter.index)) {
            // A box showing a word steps from the value it stands for.
            box.spinStep = [this, row](int, int step) -> std::optional<int> {
                return std::clamp(stored ? stored->Byte(PositionOf(row)) + step : 0, 0, SwitchPointWord);
            };
        }
        box.commit = [this, row] { return Change_PresetParm(row); };
        box.afterCommit = reload;
        box.storedText = [this, row] { return DisplayText(row); };
        rules.Add(box);
    }
    for (size_t i = 0; i < controls.combos.size(); ++i) {
        if (!before.combos[i] && controls.combos[i])
            connect(controls.combos[i], &QComboBox::activated, this,
                    [this, i](int listIndex) { ChangeCombo(static_cast<int>(i), listIndex); });
    }
    for (size_t i = 0; i < controls.options.size(); ++i) {
        if (!before.options[i] && controls.options[i])
            connect(controls.options[i], &QRadioButton::clicked, this, [this, i] { ChangeOption(static_cast<int>(i)); });
    }
}

bool PresetEditor::PresetObjDump(int number)
{
    std::optional<DumpRecord> record =
        DumpRecord::Download(session.io, KindPreset, number, FirstPosition, DumpErrorHeading, DumpErrorText);
    if (!record)
        return false;
    stored = std::move(record);
    return true;
}

int PresetEditor::LayerOffset() const
{
    return layer == 0 ? 0 : LayerBOffset;
}

int PresetEditor::PositionOf(size_t row) const
{
    const Box &box = Boxes[row];
    switch (box.scope) {
    case Scope::Preset:
        return box.position;
    case Scope::Group:
        return box.position + 2 * group;
    case Scope::Layer:
        return box.position + LayerOffset();
    case Scope::Level:
        return box.position + 2 * (level - 1) + LayerOffset();
    default:
        return 0;
    }
}

QString PresetEditor::SwitchPointText(int index) const
{
    const int value = stored->Byte(PositionOf(RowOf(index)));
    if (value == SwitchPointWord)
        return LowestWord;
    // A point equal to the next one switches straight past its level.
    if (value == 0 || (index < LastSwitchPointBox && value == stored->Byte(PositionOf(RowOf(index + 1)))))
        return HighestWord;
    return QString::number(value);
}

QString PresetEditor::MapName() const
{
    const KindState &maps = session.objects.of(KindMap);
    if (!maps.Have)
        return NoMapsText;
    const int number = stored->Byte(PositionOf(RowOf(MapBox)));
    const int entry = maps.Dir.IndexOf(number);
    return entry < 0 ? QString() : maps.Dir.Entries[entry].Name.trimmed();
}

QString PresetEditor::DisplayText(size_t row) const
{
    if (!stored)
        return QString();
    const Box &box = Boxes[row];
    if (box.scope == Scope::GroupSelect)
        return QString::number(group);
    if (box.scope == Scope::LevelSelect)
        return QString::number(level);
    if (IsSwitchPoint(box.index))
        return SwitchPointText(box.index);
    const int value = stored->Value(PositionOf(row), box.isSigned);
    if (box.index == LayerPanBox && value == 0)
        return MapWord;
    return QString::number(value);
}

void PresetEditor::ShowChoices()
{
    if (!stored)
        return;
    for (const Combo &combo : Combos) {
        const int value = stored->Byte(combo.position + (combo.layer ? LayerOffset() : 0));
        const int listIndex = combo.values == ComboValues::Controller ? AuxiliaryIndex(value) : value;
        if (QComboBox *control = controls.combos[static_cast<size_t>(combo.index)])
            control->setCurrentIndex(listIndex < control->count() ? listIndex : -1);
    }
    const auto check = [this](int option) {
        if (QRadioButton *button = controls.options[static_cast<size_t>(option)])
            button->setChecked(true);
    };
    const int priority = stored->Byte(PriorityPosition + 2 * group);
    if (priority >= 0 && priority <= 3)
        check(priority);
    const bool overflow = (stored->Byte(OverflowPosition) >> group) & 1;
    check(overflow ? 5 : 4);
    const int output = stored->Byte(OutputPosition + LayerOffset());
    if (output >= 0 && output <= 2)
        check(6 + output);
    check(LayerOptionA + layer);
}

void PresetEditor::LoadPresetDisplay()
{
    if (!stored)
        return;
    rules.Display([&] {
        const auto enable = [](const auto &list) {
            for (QWidget *control : list) {
                if (control)
                    control->setEnabled(true);
            }
        };
        enable(controls.boxes);
        enable(controls.sliders);
        enable(controls.spins);
        enable(controls.combos);
        enable(controls.options);
        if (controls.layerFrame)
            controls.layerFrame->setTitle(layer == 0 ? QStringLiteral("Layer A") : QStringLiteral("Layer B"));
        for (size_t row = 0; row < Boxes.size(); ++row) {
            QLineEdit *box = controls.boxes[static_cast<size_t>(Boxes[row].index)];
            if (!box)
                continue;
            box->setText(DisplayText(row));
            rules.ShowStored(box);
            if (QAbstractSlider *slider = controls.sliders[static_cast<size_t>(Boxes[row].index)])
                slider->setValue(stored->Value(PositionOf(row), Boxes[row].isSigned));
        }
        ShowSelections();
        ShowChoices();
    });
}

// The boxes that follow the chosen group and level: the note and Map names.
void PresetEditor::ShowSelections()
{
    const auto show = [this](int index, const QString &text) {
        if (QLineEdit *box = controls.boxes[static_cast<size_t>(index)])
            box->setText(text);
    };
    show(PivotNameBox, FormatNoteName(stored->Byte(Boxes[RowOf(PivotBox)].position)));
    show(TrackCentreNameBox, FormatNoteName(stored->Byte(PositionOf(RowOf(TrackCentreBox)))));
    show(MapNameBox, MapName());
}

void PresetEditor::Reload()
{
    if (retrieval)
        retrieval->ObjectDownload(KindPreset);
}

bool PresetEditor::Upload(int position, int value)
{
    rules.state().LastEditKey = 0;
    return session.io.ObjectUpload(KindPreset, session.objects.of(KindPreset).Num, int64_t{value}, position, Width, true);
}

bool PresetEditor::ChangeSelection(size_t row)
{
    const Box &parameter = Boxes[row];
    QLineEdit *box = controls.boxes[static_cast<size_t>(parameter.index)];
    const std::optional<int> value = rules.CommitValue(box, false, parameter.low, parameter.high);
    if (!value)
        return false;
    (parameter.scope == Scope::GroupSelect ? group : level) = *value;
    rules.Committed(box, true);
    // Only what the choice selects is shown again; nothing is sent.
    rules.Display([&] {
        for (size_t other = 0; other < Boxes.size(); ++other) {
            QLineEdit *shown = controls.boxes[static_cast<size_t>(Boxes[other].index)];
            if (shown && (Boxes[other].scope == Scope::Group || Boxes[other].scope == Scope::Level))
                shown->setText(DisplayText(other));
        }
        ShowSelections();
        ShowChoices();
    });
    return false;
}

bool PresetEditor::Change_PresetParm(size_t row)
{
    const Box &parameter = Boxes[row];
    QLineEdit *box = controls.boxes[static_cast<size_t>(parameter.index)];
    if (!stored) {
        session.comms.ReportError(QLatin1String(ChangeErrorHeading), QLatin1String(ChangeErrorText));
        return false;
    }
    if (parameter.scope == Scope::GroupSelect || parameter.scope == Scope::LevelSelect)
        return ChangeSelection(row);
    // What Backspace leaves of a word is no value: CommitValue shows the word again.
    const std::optional<int> value = rules.CommitValue(box, parameter.isSigned, parameter.low, parameter.high);
    if (!value)
        return false;
    const int byte = NibbleCodec::ByteOfSigned(*value);
    // The held copy changes only once the SP has taken the value: a refusal whose read-back
    // never comes must not show the refused value as the SP's.
    const int position = PositionOf(row);
    const bool accepted = Upload(position, byte);
    if (accepted)
        stored->Set(position, byte);
    rules.Committed(box, accepted);
    return true;
}

std::optional<int> PresetEditor::MapStep(int step)
{
    KindState &maps = session.objects.of(KindMap);
    if (!maps.Have) {
        maps.Status = session.io.GetObjDirStatus(KindMap);
        if (!maps.Have) {
            session.notifier.titledMessage(Notifier::Icon::Critical, QStringLiteral("Load map Object"), NoObjectsText(KindMap));
            return std::nullopt;
        }
        maps.Dir = session.io.GetObjDir(KindMap);
    }
    if (!stored)
        return std::nullopt;
    return NextInDirectory(maps.Dir, stored->Byte(PositionOf(RowOf(MapBox))), step, maps.Status.Lowest,
                           maps.Status.Highest);
}

void PresetEditor::SendChoice(int position, int value)
{
    if (stored->Byte(position) == value) {
        rules.Display([&] { ShowChoices(); }); // the SP holds this already
        return;
    }
    if (Upload(position, value)) {
        stored->Set(position, value);
        Reload();
    } else {
        rules.Display([&] { ShowChoices(); });
    }
}

void PresetEditor::ChangeCombo(int index, int listIndex)
{
    if (!stored)
        return;
    if (rules.busy() || rules.state().EditPending) {
        rules.Display([&] { ShowChoices(); });
        return;
    }
    const Combo &combo = Combos[static_cast<size_t>(index)];
    const int value = combo.values == ComboValues::Controller ? AuxiliaryValue(listIndex) : listIndex;
    SendChoice(combo.position + (combo.layer ? LayerOffset() : 0), value);
}

void PresetEditor::ChangeOption(int index)
{
    if (!stored)
        return;
    if (rules.busy() || rules.state().EditPending) {
        rules.Display([&] { ShowChoices(); });
        return;
    }
    if (index >= LayerOptionA) {
        layer = index - LayerOptionA;
        LoadPresetDisplay();
        return;
    }
    if (index <= 3) {
        SendChoice(PriorityPosition + 2 * group, index);
    } else if (index <= 5) {
        const int overflow = stored->Byte(OverflowPosition);
        const int bit = 1 << group;
        SendChoice(OverflowPosition, index == 5 ? overflow | bit : overflow & ~bit);
    } else {
        SendChoice(OutputPosition + LayerOffset(), index - 6);
    }
}
