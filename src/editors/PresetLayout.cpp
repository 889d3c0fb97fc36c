#include "editors/PresetLayout.h"
#include "editors/ParameterTips.h"
#include "widgets/SignedSlider.h"

#include "widgets/PanelFrame.h"
#include "widgets/SpinButton.h"
#include "editors/ToneControls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

using namespace PresetDescription;
using ToneControls::Indexed;

namespace PresetLayout {

namespace {

constexpr int NameCharacters = 14;

class Builder {
public:
    explicit Builder(Controls &controls) : controls(controls) {}

    QGroupBox *Frame(QWidget *parent, const QString &title, const char *name = nullptr)
    {
        auto *frame = new PanelFrame(title, parent);
        if (name)
            frame->setObjectName(QLatin1String(name));
        return frame;
    }

    // A box with its vertical slider under its caption.
    QWidget *SliderColumn(QWidget *parent, int index)
    {
        const Box &box = Boxes[RowOf(index)];
        const auto column = ToneControls::MakeSliderColumn(parent, QLatin1String(box.caption), Indexed("txtPreset", index),
                                                           Indexed("sldPreset", index), box.low, box.high);
        controls.boxes[static_cast<size_t>(index)] = column.box;
        controls.sliders[static_cast<size_t>(index)] = column.slider;
        return column.column;
    }

    // A box with its spin button beside it.
    QWidget *SpinPair(QWidget *parent, int index)
    {
        auto *pair = new QWidget(parent);
        auto *row = new QHBoxLayout(pair);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(2);
        QLineEdit *box = ToneControls::MakeNumberBox(pair, Indexed("txtPreset", index));
        auto *spin = new SpinButton(pair);
        spin->setObjectName(Indexed("spnPreset", index));
        row->addWidget(box);
        row->addWidget(spin);
        controls.boxes[static_cast<size_t>(index)] = box;
        controls.spins[static_cast<size_t>(index)] = spin;
        return pair;
    }

    // A box that only shows a text the program chose: a note's or a Map's name.
    QLineEdit *ShowBox(QWidget *parent, int index, int characters)
    {
        auto *box = new QLineEdit(parent);
        box->setObjectName(Indexed("txtPreset", index));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('M'))) + 12);
        controls.boxes[static_cast<size_t>(index)] = box;
        return box;
    }

    QComboBox *Combo(QWidget *parent, int index)
    {
        auto *combo = new QComboBox(parent);
        combo->setObjectName(Indexed("cboPreset", index));
        combo->addItems(ComboEntries(Combos[static_cast<size_t>(index)]));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        controls.combos[static_cast<size_t>(index)] = combo;
        return combo;
    }

    // A captioned combo, caption above.
    QWidget *CaptionedCombo(QWidget *parent, int index)
    {
        auto *holder = new QWidget(parent);
        auto *column = new QVBoxLayout(holder);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        column->addWidget(new QLabel(QLatin1String(Combos[static_cast<size_t>(index)].caption), holder));
        column->addWidget(Combo(holder, index));
        return holder;
    }

    // Exclusive options in a titled frame.
    QGroupBox *Options(QWidget *parent, const QString &title, int first, int last, Qt::Orientation orientation)
    {
        QGroupBox *frame = Frame(parent, title);
        auto *layout = new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, frame);
        layout->setSpacing(4);
        auto *exclusive = new QButtonGroup(frame);
        for (int index = first; index <= last; ++index) {
            auto *option = new QRadioButton(QLatin1String(OptionCaptions[static_cast<size_t>(index)]), frame);
            option->setObjectName(Indexed("optPreset", index));
            exclusive->addButton(option);
            layout->addWidget(option);
            controls.options[static_cast<size_t>(index)] = option;
        }
        return frame;
    }

    static QWidget *Labelled(QWidget *parent, const QString &caption, QWidget *control, QWidget *after = nullptr)
    {
        auto *holder = new QWidget(parent);
        auto *column = new QVBoxLayout(holder);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        column->addWidget(new QLabel(caption, holder));
        auto *row = new QHBoxLayout;
        row->setSpacing(4);
        row->addWidget(control);
        if (after)
            row->addWidget(after);
        row->addStretch(1);
        column->addLayout(row);
        return holder;
    }

    // "Preset1": the whole preset.
    void PresetPage(QWidget *page)
    {
        auto *layout = new QHBoxLayout(page);
        layout->setContentsMargins(6, 6, 6, 6);

        auto *left = new QVBoxLayout;
        QGroupBox *mode = Frame(page, QStringLiteral("Preset"), "fraPresetMode");
        auto *modeLayout = new QVBoxLayout(mode);
        modeLayout->addWidget(CaptionedCombo(mode, 0));
        left->addWidget(mode);

        QGroupBox *allocation = Frame(page, QStringLiteral("Voice Allocation"), "fraPresetAllocation");
        auto *grid = new QGridLayout(allocation);
        grid->addWidget(new QLabel(QStringLiteral("Allocation Group"), allocation), 0, 0);
        grid->addWidget(SpinPair(allocation, GroupBox), 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Max Polyphony"), allocation), 1, 0);
        grid->addWidget(SpinPair(allocation, 6), 1, 1);
        grid->addWidget(Options(allocation, QStringLiteral("Priority"), 0, 3, Qt::Vertical), 2, 0);
        grid->addWidget(Options(allocation, QStringLiteral("Overflow"), 4, 5, Qt::Vertical), 2, 1, Qt::AlignTop);
        left->addWidget(allocation);

        left->addStretch(1);
        layout->addLayout(left);

        QGroupBox *layers = Frame(page, QStringLiteral("Layer Combination"), "fraPresetLayers");
        auto *row = new QHBoxLayout(layers);
        auto *detune = new QVBoxLayout;
        detune->addWidget(new QLabel(QStringLiteral("[-a +b]"), layers), 0, Qt::AlignHCenter);
        detune->addWidget(SliderColumn(layers, 0), 1);
        detune->addWidget(new QLabel(QStringLiteral("[+a -b]"), layers), 0, Qt::AlignHCenter);
        detune->addWidget(new QLabel(QStringLiteral("cents"), layers), 0, Qt::AlignHCenter);
        row->addLayout(detune);

        QGroupBox *modulation = Frame(layers, QStringLiteral("Modulation"), "fraPresetModulation");
        auto *modulationRow = new QHBoxLayout(modulation);
        auto *sourceColumn = new QVBoxLayout;
        sourceColumn->addWidget(CaptionedCombo(modulation, 4));
        sourceColumn->addStretch(1);
        modulationRow->addLayout(sourceColumn);
        modulationRow->addWidget(SliderColumn(modulation, 1));
        row->addWidget(modulation);

        QGroupBox *switching = Frame(layers, QStringLiteral("Switch/Xfade"), "fraPresetSwitch");
        auto *switchRow = new QHBoxLayout(switching);
        auto *switchColumn = new QVBoxLayout;
        switchColumn->addWidget(CaptionedCombo(switching, 5));
        switchColumn->addWidget(Labelled(switching, QStringLiteral("Switch/Xfade Pivot Point"), SpinPair(switching, PivotBox),
                                         ShowBox(switching, PivotNameBox, 4)));
        switchColumn->addStretch(1);
        switchRow->addLayout(switchColumn);
        switchRow->addWidget(SliderColumn(switching, 4));
        row->addWidget(switching);
        auto *right = new QVBoxLayout;
        right->addWidget(layers);
        QGroupBox *aux = Frame(page, QStringLiteral("Auxiliary Controllers"), "fraPresetAux");
        auto *auxLayout = new QHBoxLayout(aux);
        for (int index = 1; index <= 3; ++index)
            auxLayout->addWidget(CaptionedCombo(aux, index));
        auxLayout->addStretch(1);
        right->addWidget(aux);
        right->addStretch(1);
        layout->addLayout(right, 1);
    }

    // "Preset2": one layer at a time.
    void LayerPage(QWidget *page)
    {
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(6, 6, 6, 6);
        auto *top = new QHBoxLayout;
        top->addWidget(Options(page, QStringLiteral("Current Layer"), LayerOptionA, LayerOptionA + 1, Qt::Horizontal));
        top->addStretch(1);
        layout->addLayout(top);

        controls.layerFrame = Frame(page, QStringLiteral("Layer A"), "fraLayer");
        QGroupBox *layer = controls.layerFrame;
        auto *rows = new QVBoxLayout(layer);

        auto *upper = new QHBoxLayout;
        QGroupBox *maps = Frame(layer, QStringLiteral("Maps"), "fraLayerMaps");
        auto *mapGrid = new QGridLayout(maps);
        mapGrid->addWidget(CaptionedCombo(maps, 6), 0, 0, 1, 3);
        mapGrid->addWidget(Labelled(maps, QStringLiteral("Level"), SpinPair(maps, LevelBox)), 1, 0);
        mapGrid->addWidget(Labelled(maps, QStringLiteral("Map"), SpinPair(maps, MapBox)), 1, 1);
        mapGrid->addWidget(Labelled(maps, QStringLiteral("Map Name"), ShowBox(maps, MapNameBox, NameCharacters)), 1, 2);
        QGroupBox *points = Frame(maps, QStringLiteral("Map Switch Points"), "fraLayerSwitchPoints");
        auto *pointRow = new QHBoxLayout(points);
        for (int index = FirstSwitchPointBox; index <= LastSwitchPointBox; ++index)
            pointRow->addWidget(SpinPair(points, index));
        pointRow->addStretch(1);
        mapGrid->addWidget(points, 2, 0, 1, 3);
        upper->addWidget(maps);

        QGroupBox *pitch = Frame(layer, QStringLiteral("Pitch"), "fraLayerPitch");
        auto *pitchRow = new QHBoxLayout(pitch);
        pitchRow->addWidget(SliderColumn(pitch, 12));
        auto *bend = new QVBoxLayout;
        bend->addWidget(Labelled(pitch, QStringLiteral("Pitch Bend Range"), SpinPair(pitch, PitchBendBox),
                                 new QLabel(QStringLiteral("semitones"), pitch)));
        bend->addWidget(Options(pitch, QStringLiteral("Output"), 6, 8, Qt::Vertical));
        bend->addStretch(1);
        pitchRow->addLayout(bend);
        upper->addWidget(pitch);
        upper->addStretch(1);
        rows->addLayout(upper);

        auto *lower = new QHBoxLayout;
        QGroupBox *pan = Frame(layer, QStringLiteral("Layer Pan"), "fraLayerPan");
        auto *panGrid = new QGridLayout(pan);
        QLineEdit *panBox = ToneControls::MakeNumberBox(pan, Indexed("txtPreset", LayerPanBox));
        auto *panSlider = new SignedSlider(Qt::Horizontal, pan);
        panSlider->setObjectName(Indexed("hsldPreset", LayerPanBox));
        panSlider->setRange(-99, 99);
        panSlider->setMinimumWidth(140);
        controls.boxes[LayerPanBox] = panBox;
        controls.sliders[LayerPanBox] = panSlider;
        panGrid->addWidget(panBox, 0, 1, Qt::AlignHCenter);
        panGrid->addWidget(new QLabel(QStringLiteral("L"), pan), 1, 0);
        panGrid->addWidget(panSlider, 1, 1);
        panGrid->addWidget(new QLabel(QStringLiteral("R"), pan), 1, 2);
        QGroupBox *track = Frame(pan, QStringLiteral("Keyboard Track Center"), "fraLayerTrack");
        auto *trackRow = new QHBoxLayout(track);
        trackRow->addWidget(SpinPair(track, TrackCentreBox));
        trackRow->addWidget(ShowBox(track, TrackCentreNameBox, 4));
        trackRow->addStretch(1);
        panGrid->addWidget(track, 2, 0, 1, 3);
        panGrid->setRowStretch(3, 1);
        lower->addWidget(pan, 0);

        QGroupBox *levels = Frame(layer, QStringLiteral("Levels"), "fraLayerLevels");
        auto *levelRow = new QHBoxLayout(levels);
        for (int index : {18, 19, 21, 22, 23, 24, 17, 20})
            levelRow->addWidget(SliderColumn(levels, index));
        lower->addWidget(levels, 1);
        rows->addLayout(lower, 1);
        layout->addWidget(layer, 1);
    }

private:
    Controls &controls;
};

// Tooltips from the parameter table; a few captions are too short on their own, a few values
// have a unit or a word at one end.
void SetTips(Controls &controls)
{
    struct Wording {
        int index;
        const char *name; // nullptr: the caption
        const char *low;  // nullptr: the table's low end
        const char *high; // nullptr: the table's high end
        const char *unit;
    };
    static constexpr Wording Wordings[] = {
        {PivotBox, "Switch/crossfade pivot point", nullptr, nullptr, "(MIDI note number)"},
        {MapBox, "Map (m#) at this level", nullptr, nullptr, ""},
        {9, "Switch point 1", nullptr, "128 (shown <<<)", ""},
        {10, "Switch point 2", nullptr, "128 (shown <<<)", ""},
        {11, "Switch point 3", nullptr, "128 (shown <<<)", ""},
        {12, "Layer transpose", nullptr, nullptr, "semitones"},
        {PitchBendBox, "Pitch bend range", nullptr, nullptr, "semitones"},
        {TrackCentreBox, "Keyboard track center", nullptr, nullptr, "(MIDI note number)"},
        {LayerPanBox, "Layer pan", "-99 (left)", "99 (right)", ""},
        {18, "Layer volume", nullptr, nullptr, ""},
    };
    for (const Box &box : Boxes) {
        const auto i = static_cast<size_t>(box.index);
        QString name = QLatin1String(box.caption);
        QString low = QString::number(box.low);
        QString high = QString::number(box.high);
        QString unit;
        for (const Wording &w : Wordings) {
            if (w.index != box.index)
                continue;
            if (w.name)
                name = QLatin1String(w.name);
            if (w.low)
                low = QLatin1String(w.low);
            if (w.high)
                high = QLatin1String(w.high);
            unit = QLatin1String(w.unit);
        }
        QWidget *partner = controls.sliders[i] ? static_cast<QWidget *>(controls.sliders[i]) : controls.spins[i];
        if (controls.boxes[i])
            ParameterTips::Set({controls.boxes[i], partner}, ParameterTips::Text(name, low, high, unit));
    }
    const QString note = QStringLiteral("shown only, C- to G9");
    const std::pair<int, QString> shownOnly[] = {
        {PivotNameBox, ParameterTips::Note(QStringLiteral("Pivot note name"), note)},
        {TrackCentreNameBox, ParameterTips::Note(QStringLiteral("Track center note name"), note)},
        {MapNameBox, ParameterTips::Note(QStringLiteral("Map name"), QStringLiteral("shown only, up to 14 characters"))},
    };
    for (const auto &[index, tip] : shownOnly) {
        if (QLineEdit *box = controls.boxes[static_cast<size_t>(index)])
            box->setToolTip(tip);
    }
}

} // namespace

void BuildPage(Controls &controls, int page, QWidget *parent)
{
    Builder builder(controls);
    if (page == 1)
        builder.PresetPage(parent);
    else
        builder.LayerPage(parent);
    SetTips(controls);
}

} // namespace PresetLayout
