#include "editors/MultiEditor.h"
#include "editors/ParameterTips.h"
#include "widgets/SignedSlider.h"

#include "editors/Session.h"
#include "editors/DirectoryStep.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "widgets/PanelFrame.h"
#include "widgets/SpinButton.h"
#include "objects/MultiDescription.h"
#include "objects/ObjectDumps.h"
#include "objects/Retrieval.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using namespace MultiDescription;

constexpr int NameCharacters = 14;

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

const BoxRow &RowOf(int index)
{
    return *FindBox(index);
}

} // namespace

MultiEditor::MultiEditor(Session &session, EditRules &rules, QWidget *parent)
    : PanelFrame(QStringLiteral("Multi"), parent), session(session), rules(rules)
{
    setObjectName(Indexed("fraGlobal", 0));
}

void MultiEditor::Build()
{
    const int digitWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16;
    for (const BoxRow &row : BoxRows) {
        auto *box = new QLineEdit(this);
        box->setObjectName(Indexed("txtGlobal", row.index));
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(digitWidth);
        box->setMaxLength(3);
        txtGlobal[static_cast<size_t>(row.index)] = box;
        if (row.index <= PresetBox) {
            auto *spin = new SpinButton(this);
            spin->setObjectName(Indexed("spnGlobal", row.index));
            spnGlobal[static_cast<size_t>(row.index)] = spin;
        }
    }
    auto *name = new QLineEdit(this);
    name->setObjectName(Indexed("txtGlobal", PresetNameBox));
    name->setReadOnly(true);
    name->setFocusPolicy(Qt::NoFocus);
    name->setMinimumWidth(fontMetrics().horizontalAdvance(QString(NameCharacters, QLatin1Char('M'))) + 12);
    txtGlobal[PresetNameBox] = name;
    sldVolume = new SignedSlider(Qt::Horizontal, this);
    sldVolume->setObjectName(Indexed("sldGlobal", VolumeBox));
    sldVolume->setRange(0, RowOf(VolumeBox).high);
    for (const BoxRow &row : BoxRows) {
        const auto i = static_cast<size_t>(row.index);
        QWidget *partner = row.index == VolumeBox ? static_cast<QWidget *>(sldVolume) : spnGlobal[i];
        ParameterTips::Set(txtGlobal[i], partner, QLatin1String(row.caption), row.low, row.high);
    }
    name->setToolTip(ParameterTips::Note(QStringLiteral("Preset name"), QStringLiteral("shown only, up to 14 characters")));

    // Options two to a row, so the frame stays low.
    const auto options = [this](QGroupBox *frame, int first, int last) {
        auto *layout = new QGridLayout(frame);
        auto *exclusive = new QButtonGroup(frame);
        for (int index = first; index <= last; ++index) {
            auto *option = new QRadioButton(QLatin1String(OptionCaptions[index]), frame);
            option->setObjectName(Indexed("optGlobal", index));
            exclusive->addButton(option);
            layout->addWidget(option, (index - first) / 2, (index - first) % 2);
            optGlobal[static_cast<size_t>(index)] = option;
            connect(option, &QRadioButton::clicked, this, [this, index] { ChangeOption(index); });
        }
        return frame;
    };
    const auto labelled = [](QGridLayout *grid, int row, const QString &caption, QWidget *box, QWidget *beside) {
        grid->addWidget(new QLabel(caption, box->parentWidget()), row, 0);
        grid->addWidget(box, row, 1);
        if (beside)
            grid->addWidget(beside, row, 2, Qt::AlignLeft);
    };

    auto *allocation = new PanelFrame(QStringLiteral("Voice Allocation"), this);
    allocation->setObjectName(QStringLiteral("pnlMultiAllocation"));
    auto *allocationGrid = new QGridLayout(allocation);
    txtGlobal[GroupBox]->setParent(allocation);
    txtGlobal[PolyphonyBox]->setParent(allocation);
    spnGlobal[GroupBox]->setParent(allocation);
    spnGlobal[PolyphonyBox]->setParent(allocation);
    labelled(allocationGrid, 0, BoxCaption(GroupBox), txtGlobal[GroupBox], spnGlobal[GroupBox]);
    labelled(allocationGrid, 1, BoxCaption(PolyphonyBox), txtGlobal[PolyphonyBox], spnGlobal[PolyphonyBox]);
    auto *choices = new QHBoxLayout;
    choices->addWidget(options(new PanelFrame(QStringLiteral("Priority"), allocation), 0, 3));
    choices->addWidget(options(new PanelFrame(QStringLiteral("Overflow"), allocation), 4, 5), 0, Qt::AlignTop);
    allocationGrid->addLayout(choices, 2, 0, 1, 4);
    allocationGrid->setColumnStretch(3, 1);

    auto *midi = new PanelFrame(QStringLiteral("Midi"), this);
    midi->setObjectName(QStringLiteral("pnlMultiMidi"));
    auto *midiGrid = new QGridLayout(midi);
    for (int index : {ChannelBox, PresetBox, VolumeBox})
        txtGlobal[static_cast<size_t>(index)]->setParent(midi);
    spnGlobal[ChannelBox]->setParent(midi);
    spnGlobal[PresetBox]->setParent(midi);
    name->setParent(midi);
    sldVolume->setParent(midi);
    labelled(midiGrid, 0, BoxCaption(ChannelBox), txtGlobal[ChannelBox], spnGlobal[ChannelBox]);
    labelled(midiGrid, 1, BoxCaption(PresetBox), txtGlobal[PresetBox], spnGlobal[PresetBox]);
    midiGrid->addWidget(name, 1, 3);
    labelled(midiGrid, 2, BoxCaption(VolumeBox), txtGlobal[VolumeBox], nullptr);
    midiGrid->addWidget(sldVolume, 2, 2, 1, 2);
    midiGrid->addWidget(options(new PanelFrame(QStringLiteral("Multi Enable"), midi), 6, 7), 3, 0, 1, 4);
    midiGrid->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(allocation);
    layout->addWidget(midi);
    layout->addStretch(1);

    for (const BoxRow &row : BoxRows) {
        EditRules::Box box;
        box.box = txtGlobal[static_cast<size_t>(row.index)];
        box.spin = row.index <= PresetBox ? spnGlobal[static_cast<size_t>(row.index)] : nullptr;
        box.slider = row.index == VolumeBox ? sldVolume : nullptr;
        box.keys = row.typed ? EditRules::Keys::Unsigned : EditRules::Keys::None;
        box.spinLow = row.low;
        box.spinHigh = row.high;
        if (row.index == PresetBox)
            box.spinStep = [this](int, int step) { return PresetStep(step); };
        box.commit = [this, index = row.index] { return Change_MultiParm(index); };
        box.afterCommit = [this] { Reload(); };
        box.storedText = [this, index = row.index] { return StoredText(index); };
        rules.Add(box);
    }
}

bool MultiEditor::MultiObjDump(int number)
{
    std::optional<DumpRecord> record =
        DumpRecord::Download(session.io, KindMulti, number, FirstPosition, DumpErrorHeading, DumpErrorText);
    if (!record)
        return false;
    stored = std::move(record);
    return true;
}

int MultiEditor::PositionOf(int index) const
{
    switch (index) {
    case PolyphonyBox:
        return PolyphonyPosition + 2 * group;
    case PresetBox:
        return PresetPosition + 2 * channel;
    case VolumeBox:
        return VolumePosition + 2 * channel;
    default:
        return 0;
    }
}

QString MultiEditor::StoredText(int index) const
{
    if (index == GroupBox)
        return QString::number(group);
    if (index == ChannelBox)
        return QString::number(channel);
    return stored ? QString::number(stored->Byte(PositionOf(index))) : QString();
}

QString MultiEditor::ChannelPresetName() const
{
    const ObjDir &presets = session.objects.of(KindPreset).Dir;
    const int entry = presets.IndexOf(stored->Byte(PositionOf(PresetBox)));
    return entry < 0 ? QString() : presets.Entries[entry].Name.trimmed();
}

// The next Preset the SP holds in the step's direction, within the range a typed number is
// held to; none past the first or last.
std::optional<int> MultiEditor::PresetStep(int step) const
{
    if (!stored)
        return std::nullopt;
    const BoxRow &row = RowOf(PresetBox);
    return NextInDirectory(session.objects.of(KindPreset).Dir, stored->Byte(PositionOf(PresetBox)), step, row.low,
                           row.high);
}

// Everything the chosen group and channel show, under the display's protection.
void MultiEditor::ShowSelections()
{
    for (int index : {GroupBox, PolyphonyBox, ChannelBox, PresetBox, VolumeBox}) {
        txtGlobal[static_cast<size_t>(index)]->setText(StoredText(index));
        rules.ShowStored(txtGlobal[static_cast<size_t>(index)]);
    }
    txtGlobal[PresetNameBox]->setText(ChannelPresetName());
    sldVolume->setValue(stored->Byte(PositionOf(VolumeBox)));
    const int priority = stored->Byte(PriorityPosition + 2 * group);
    if (priority >= 0 && priority <= 3)
        optGlobal[static_cast<size_t>(priority)]->setChecked(true);
    optGlobal[(stored->Byte(OverflowPosition) >> group) & 1 ? 5 : 4]->setChecked(true);
    optGlobal[(stored->Number(OfflinePosition, 2) >> channel) & 1 ? 7 : 6]->setChecked(true);
}

void MultiEditor::LoadMultiDisplay()
{
    if (!stored)
        return;
    rules.Display([&] {
        for (QWidget *control : txtGlobal)
            control->setEnabled(true);
        for (QWidget *control : spnGlobal)
            control->setEnabled(true);
        for (QWidget *control : optGlobal)
            control->setEnabled(true);
        sldVolume->setEnabled(true);
        ShowSelections();
    });
}

void MultiEditor::Reload()
{
    if (retrieval)
        retrieval->ObjectDownload(KindMulti);
}

bool MultiEditor::Upload(int position, int value, int width)
{
    rules.state().LastEditKey = 0;
    return session.io.ObjectUpload(KindMulti, session.objects.of(KindMulti).Num, int64_t{value}, position, width, true);
}

bool MultiEditor::Change_MultiParm(int index)
{
    QLineEdit *box = txtGlobal[static_cast<size_t>(index)];
    if (!stored) {
        session.comms.ReportError(QLatin1String(ChangeErrorHeading), QLatin1String(ChangeErrorText));
        return false;
    }
    const BoxRow &row = RowOf(index);
    const std::optional<int> value = rules.CommitValue(box, false, row.low, row.high);
    if (!value)
        return false;
    if (index == GroupBox || index == ChannelBox) {
        // A choice of what to show: nothing is sent.
        (index == GroupBox ? group : channel) = *value;
        rules.Committed(box, true);
        rules.Display([&] { ShowSelections(); });
        return false;
    }
    const ObjDir &presets = session.objects.of(KindPreset).Dir;
    if (index == PresetBox && presets.IndexOf(*value) < 0) {
        // A channel plays only a Preset the SP holds.
        rules.Restore(box, StoredText(PresetBox));
        return false;
    }
    // The held copy changes only once the SP has taken the value: a refusal whose read-back
    // never comes must not show the refused value as the SP's.
    const int position = PositionOf(index);
    const bool accepted = Upload(position, *value, ByteWidth);
    if (accepted)
        stored->Set(position, *value);
    rules.Committed(box, accepted);
    return true;
}

void MultiEditor::ChangeOption(int index)
{
    if (!stored)
        return;
    if (rules.busy() || rules.state().EditPending) {
        rules.Display([&] { ShowSelections(); });
        return;
    }
    int position = 0;
    int width = ByteWidth;
    int value = 0;
    int current = 0;
    if (index <= 3) {
        position = PriorityPosition + 2 * group;
        current = stored->Byte(position);
        value = index;
    } else if (index <= 5) {
        position = OverflowPosition;
        current = stored->Byte(position);
        value = index == 5 ? current | (1 << group) : current & ~(1 << group);
    } else {
        position = OfflinePosition;
        width = OfflineWidth;
        current = static_cast<int>(stored->Number(position, 2));
        value = index == 7 ? current | (1 << channel) : current & ~(1 << channel);
    }
    if (value == current) {
        rules.Display([&] { ShowSelections(); });
        return;
    }
    if (Upload(position, value, width))
        Reload();
    else
        rules.Display([&] { ShowSelections(); });
}
