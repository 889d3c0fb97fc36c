#include "editors/MapLayout.h"
#include "editors/ParameterTips.h"
#include "widgets/SignedSlider.h"

#include "editors/Keyboard.h"
#include "widgets/SpinButton.h"
#include "editors/ToneControls.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

using namespace MapDescription;
using ToneControls::Indexed;

namespace {

constexpr int NameCharacters = 14;
constexpr int SliderLength = 120;

QGroupBox *Frame(QWidget *parent, int index, const char *caption)
{
    auto *frame = new QGroupBox(QLatin1String(caption), parent);
    frame->setObjectName(Indexed("fraMap", index));
    return frame;
}

QLabel *Caption(QWidget *parent, const char *name, int index, const char *caption)
{
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setObjectName(Indexed(name, index));
    return label;
}

// A box that shows a value the program writes and takes no keys.
QLineEdit *ShownBox(QWidget *parent, int index, int characters)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(Indexed("txtMap", index));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('M'))));
    return box;
}

// A parameter row of a grid: caption, box and spin button.
void SpinRow(QGridLayout *grid, int row, QWidget *parent, MapWidgets &w, int index, int captionIndex,
             const char *caption)
{
    grid->addWidget(Caption(parent, "pnlMap", captionIndex, caption), row, 0);
    QLineEdit *box = ToneControls::MakeNumberBox(parent, Indexed("txtMap", index));
    auto *spin = new SpinButton(parent);
    spin->setObjectName(Indexed("spnMap", index));
    spin->setProperty("Tag", QStringLiteral("spn"));
    w.txtMap[static_cast<size_t>(index)] = box;
    w.spnMap[static_cast<size_t>(index)] = spin;
    grid->addWidget(box, row, 1);
    grid->addWidget(spin, row, 2);
}

void OptionPairs(QGroupBox *frame, QBoxLayout *layout, MapWidgets &w, const OptionPair &pair)
{
    auto *exclusive = new QButtonGroup(frame);
    for (const auto &[index, caption] : {std::pair{pair.clear, pair.clearCaption}, std::pair{pair.set, pair.setCaption}}) {
        auto *option = new QRadioButton(QLatin1String(caption), frame);
        option->setObjectName(Indexed("optMap", index));
        exclusive->addButton(option);
        layout->addWidget(option);
        w.optMap[static_cast<size_t>(index)] = option;
    }
}

QSlider *Slider(QWidget *parent, Qt::Orientation orientation, const QString &name, int low, int high)
{
    auto *slider = new SignedSlider(orientation, parent);
    slider->setObjectName(name);
    slider->setRange(low, high);
    slider->setProperty("Tag", QStringLiteral("sld"));
    if (orientation == Qt::Vertical)
        slider->setMinimumHeight(SliderLength);
    else
        slider->setMinimumWidth(SliderLength);
    return slider;
}

QGroupBox *ZoneFrame(QWidget *parent, MapWidgets &w)
{
    QGroupBox *frame = Frame(parent, 1, "Zone");
    auto *row = new QHBoxLayout(frame);
    auto *grid = new QGridLayout;
    SpinRow(grid, 0, frame, w, ZoneIndex, 0, " Zone (z#)");
    SpinRow(grid, 1, frame, w, ToneIndex, 1, " Tone (t#)");
    w.txtMap[ToneNameIndex] = ShownBox(frame, ToneNameIndex, NameCharacters);
    grid->addWidget(w.txtMap[ToneNameIndex], 2, 0, 1, 3);
    // Pan: caption, box and its horizontal slider under the Tone.
    grid->addWidget(Caption(frame, "lblMap", 6, "Pan"), 3, 0);
    w.txtMap[PanIndex] = ToneControls::MakeNumberBox(frame, Indexed("txtMap", PanIndex));
    grid->addWidget(w.txtMap[PanIndex], 3, 1, 1, 2);
    w.sldMapH9 = Slider(frame, Qt::Horizontal, Indexed("sldMapH", PanIndex), -99, 99);
    grid->addWidget(w.sldMapH9, 4, 0, 1, 3);
    grid->setRowStretch(5, 1);
    row->addLayout(grid);

    auto *volume = new QVBoxLayout;
    volume->addWidget(Caption(frame, "lblMap", 5, "Volume"), 0, Qt::AlignHCenter);
    w.txtMap[VolumeIndex] = ToneControls::MakeNumberBox(frame, Indexed("txtMap", VolumeIndex));
    volume->addWidget(w.txtMap[VolumeIndex], 0, Qt::AlignHCenter);
    w.sldMap7 = Slider(frame, Qt::Vertical, Indexed("sldMap", VolumeIndex), 0, 99);
    volume->addWidget(w.sldMap7, 1, Qt::AlignHCenter);
    row->addLayout(volume);
    return frame;
}

QGroupBox *RangeFrame(QWidget *parent, MapWidgets &w)
{
    QGroupBox *frame = Frame(parent, 4, "Range");
    auto *grid = new QGridLayout(frame);
    SpinRow(grid, 0, frame, w, LowIndex, 2, " Low Note");
    grid->addWidget(Caption(frame, "lblMap", 3, "note"), 0, 3);
    w.txtMap[LowNameIndex] = ShownBox(frame, LowNameIndex, 4);
    grid->addWidget(w.txtMap[LowNameIndex], 0, 4);
    SpinRow(grid, 1, frame, w, HighIndex, 3, " High Note");
    grid->addWidget(Caption(frame, "lblMap", 2, "note"), 1, 3);
    w.txtMap[HighNameIndex] = ShownBox(frame, HighNameIndex, 4);
    grid->addWidget(w.txtMap[HighNameIndex], 1, 4);
    SpinRow(grid, 2, frame, w, TransposeIndex, 4, " Transpose");
    grid->addWidget(Caption(frame, "lblMap", 4, "semitones"), 2, 3, 1, 2);
    grid->setRowStretch(3, 1);
    return frame;
}

QWidget *ChoiceFrames(QWidget *parent, MapWidgets &w)
{
    auto *column = new QWidget(parent);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    const int frameIndex[] = {0, 2, 3}; // Output, Tuning, Allocation
    for (size_t i = 0; i < Options.size(); ++i) {
        const OptionPair &pair = Options[i];
        QGroupBox *frame = Frame(column, frameIndex[i], pair.frame);
        auto *row = new QHBoxLayout(frame);
        if (pair.zoneByte == AllocationByte) {
            row->addWidget(Caption(frame, "pnlMap", 5, " Group"));
            w.txtMap[GroupIndex] = ToneControls::MakeNumberBox(frame, Indexed("txtMap", GroupIndex));
            auto *spin = new SpinButton(frame);
            spin->setObjectName(Indexed("spnMap", GroupIndex));
            spin->setProperty("Tag", QStringLiteral("spn"));
            w.spnMap[GroupIndex] = spin;
            row->addWidget(w.txtMap[GroupIndex]);
            row->addWidget(spin);
        }
        OptionPairs(frame, row, w, pair);
        row->addStretch(1);
        layout->addWidget(frame);
    }
    layout->addStretch(1);
    return column;
}

// Tooltips from the parameter table: its ranges, with the names and units a musician reads.
void SetTips(MapWidgets &w)
{
    struct Tip {
        int index;
        const char *name;
        const char *low;  // nullptr: the table's low end
        const char *high; // nullptr: the table's high end
        const char *unit;
    };
    static constexpr Tip Tips[] = {
        {ZoneIndex, "Zone (z#)", "the first", "the last zone of the Map", ""},
        {ToneIndex, "Tone (t#)", "the lowest", "the highest Tone number in the SP", ""},
        {LowIndex, "Low note", nullptr, nullptr, "(MIDI note number, C- to G9)"},
        {HighIndex, "High note", nullptr, nullptr, "(MIDI note number, C- to G9)"},
        {VolumeIndex, "Zone volume", nullptr, nullptr, ""},
        {TransposeIndex, "Transpose", nullptr, nullptr, "semitones"},
        {PanIndex, "Pan", "-99 (left)", "99 (right)", ""},
        {GroupIndex, "Allocation group", nullptr, nullptr, ""},
    };
    for (const Tip &tip : Tips) {
        const auto row = std::find_if(Edited.begin(), Edited.end(), [&](const Parameter &p) { return p.index == tip.index; });
        const QString low = tip.low ? QLatin1String(tip.low) : QString::number(row->low);
        const QString high = tip.high ? QLatin1String(tip.high) : QString::number(row->high);
        QWidget *partner = w.spnMap[static_cast<size_t>(tip.index)];
        if (tip.index == VolumeIndex)
            partner = w.sldMap7;
        else if (tip.index == PanIndex)
            partner = w.sldMapH9;
        ParameterTips::Set({w.txtMap[static_cast<size_t>(tip.index)], partner},
                           ParameterTips::Text(QLatin1String(tip.name), low, high, QLatin1String(tip.unit)));
    }
    w.txtMap[ToneNameIndex]->setToolTip(ParameterTips::Note(QStringLiteral("Tone name"), QStringLiteral("shown only, up to 14 characters")));
    w.txtMap[LowNameIndex]->setToolTip(ParameterTips::Text(QStringLiteral("Low note name"), QStringLiteral("C-"), QStringLiteral("G9")));
    w.txtMap[HighNameIndex]->setToolTip(ParameterTips::Text(QStringLiteral("High note name"), QStringLiteral("C-"), QStringLiteral("G9")));
}

} // namespace

MapWidgets BuildMapLayout(QWidget *page, Keyboard *keyboard)
{
    MapWidgets w;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *top = new QHBoxLayout;
    top->addWidget(ZoneFrame(page, w));
    top->addWidget(RangeFrame(page, w));
    top->addWidget(ChoiceFrames(page, w));
    top->addStretch(1);
    layout->addLayout(top);
    layout->addWidget(keyboard, 1);
    SetTips(w);
    return w;
}
