#include "editors/ToneLayout.h"

#include "editors/ToneControls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <vector>

using namespace ToneDescription;

namespace ToneLayout {

namespace {

// What a panel holds: amounts are slider columns side by side; the other items stack in a
// column on the panel's left.
enum class ItemKind { Amount, EnvelopeSelect, Mode, Source };

struct Item {
    ItemKind kind;
    const char *family; // Amount only
    int index;          // the box index, the envelope select group, the even mode option, the combo
    const char *caption;
};

struct Panel {
    const char *title;
    std::vector<Item> items;
    // Mode pairs stand their two options one above the other, or side by side where a panel
    // holds so many pairs that stacking them would make the whole section taller.
    Qt::Orientation pairs = Qt::Vertical;
};

struct Section {
    const char *title;
    const char *name;
    std::vector<Panel> panels;
};

Item Amount(const char *family, int index, const char *caption) { return {ItemKind::Amount, family, index, caption}; }
Item EnvelopeChoice(int group) { return {ItemKind::EnvelopeSelect, nullptr, group, ""}; }
Item Mode(int even, const char *caption) { return {ItemKind::Mode, nullptr, even, caption}; }
Item Source(int combo, const char *caption) { return {ItemKind::Source, nullptr, combo, caption}; }

const Section &DCA()
{
    static const Section s{"DCA", "fraDCA", {
        {"Envelope", {EnvelopeChoice(0)}},
        {"Modulation", {Amount("DCA", 0, "Vel Sens"), Amount("DCA", 1, "LFO Amt"), Amount("DCA", 2, "Aux Amt"),
                        Source(0, "Aux Source"), Mode(0, "LFO Phase")}},
    }};
    return s;
}

const Section &DCF()
{
    static const Section s{"DCF", "fraDCF", {
        {"Envelope", {EnvelopeChoice(1), Amount("DCF", 3, "Env Amt"), Amount("DCF", 4, "Cutoff")}},
        {"Modulation", {Amount("DCF", 0, "Vel Sens"), Amount("DCF", 1, "LFO Amt"), Amount("DCF", 2, "Aux Amt"),
                        Source(1, "Aux Source"), Mode(2, "LFO Phase")}},
    }};
    return s;
}

const Section &LFO()
{
    static const Section s{"LFO", "fraLFO", {
        {"Base Setup", {Amount("LFO", 0, "Speed"), Amount("LFO", 1, "Amount"), Source(4, "Waveshape")}},
        {"Speed Modulation", {Source(5, "Source"), Amount("LFO", 2, "Amt")}},
        {"Amount Modulation", {Source(6, "Source"), Amount("LFO", 3, "Amt")}},
        {"Wave Start Modulation", {Source(7, "Source"), Amount("LFO", 4, "Amt"), Amount("LFO", 5, "Quantize")}},
    }};
    return s;
}

// The DCO and the pan share one shape; only their boxes, options and source differ.
struct ModulatedShape {
    const char *title;
    const char *name;
    const char *family;
    int group;
    int envelopeAmount, velocityAmount, lfoAmount, auxAmount;
    int envelopeMode, velocityMode, lfoMode, lfoPolarity, lfoPhase, auxMode, auxPolarity;
    int auxSource;
};

Section Modulated(const ModulatedShape &m)
{
    return {m.title, m.name, {
        {"Envelope", {EnvelopeChoice(m.group), Amount(m.family, m.envelopeAmount, "Amt"), Mode(m.envelopeMode, "Mode")}},
        {"Velocity", {Amount(m.family, m.velocityAmount, "Amt"), Mode(m.velocityMode, "Mode")}},
        {"LFO", {Amount(m.family, m.lfoAmount, "Amt"), Mode(m.lfoMode, "Mode"), Mode(m.lfoPolarity, ""),
                 Mode(m.lfoPhase, "Phase")}, Qt::Horizontal},
        {"Auxiliary", {Source(m.auxSource, "Source"), Amount(m.family, m.auxAmount, "Amt"), Mode(m.auxMode, "Mode"),
                       Mode(m.auxPolarity, "")}},
    }};
}

const Section &DCO()
{
    static const Section s = Modulated({"DCO", "fraDCO", "DCO", 2, 3, 0, 1, 2, 6, 8, 10, 12, 4, 14, 16, 2});
    return s;
}

const Section &Pan()
{
    static const Section s = Modulated({"Pan", "fraPan", "Pan", 3, 0, 1, 2, 3, 18, 20, 22, 24, 26, 28, 30, 3});
    return s;
}

class Builder {
public:
    explicit Builder(Controls &controls) : controls(controls) {}

    QGroupBox *MakeSection(QWidget *parent, const Section &section)
    {
        auto *frame = new QGroupBox(QLatin1String(section.title), parent);
        frame->setObjectName(QLatin1String(section.name));
        auto *row = new QHBoxLayout(frame);
        for (const Panel &panel : section.panels)
            row->addWidget(MakePanel(frame, panel));
        return frame;
    }

private:
    QGroupBox *MakePanel(QWidget *parent, const Panel &panel)
    {
        auto *frame = new QGroupBox(QLatin1String(panel.title), parent);
        auto *row = new QHBoxLayout(frame);
        row->setSpacing(8);
        QVBoxLayout *stack = nullptr;
        for (const Item &item : panel.items) {
            if (item.kind == ItemKind::Amount) {
                const size_t r = RowOf(item.family, item.index);
                const Box &box = Boxes[r];
                const QString family = QLatin1String(box.family);
                const auto column = ToneControls::MakeSliderColumn(
                    frame, QLatin1String(item.caption), ToneControls::Indexed(("txt" + family).toLatin1().constData(), box.index),
                    ToneControls::Indexed(("sld" + family).toLatin1().constData(), box.index), box.sliderLow, box.sliderHigh,
                    QLatin1String(box.name));
                controls.boxes[r] = column.box;
                controls.sliders[r] = column.slider;
                row->addWidget(column.column);
                continue;
            }
            if (!stack) {
                stack = new QVBoxLayout;
                stack->setSpacing(4);
                row->insertLayout(0, stack);
            }
            if (item.kind == ItemKind::EnvelopeSelect)
                stack->addWidget(MakeEnvelopeSelect(frame, item.index));
            else if (item.kind == ItemKind::Mode)
                stack->addWidget(MakeModePair(frame, item.index, QLatin1String(item.caption), panel.pairs));
            else
                AddSource(frame, stack, item.index, QLatin1String(item.caption));
        }
        if (stack)
            stack->addStretch(1);
        return frame;
    }

    QWidget *MakeEnvelopeSelect(QWidget *parent, int group)
    {
        // Its own parent keeps the three options exclusive among themselves only.
        auto *holder = new QWidget(parent);
        auto *layout = new QVBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        auto *exclusive = new QButtonGroup(holder);
        const EnvelopeSelect &select = EnvelopeSelects[static_cast<size_t>(group)];
        for (int place = 0; place < 3; ++place) {
            const int index = 3 * group + place;
            auto *option = new QRadioButton(QLatin1String(select.captions[static_cast<size_t>(place)]), holder);
            option->setObjectName(ToneControls::Indexed("optToneEnvSel", index));
            exclusive->addButton(option);
            layout->addWidget(option);
            controls.envelopeSelects[static_cast<size_t>(index)] = option;
        }
        return holder;
    }

    QWidget *MakeModePair(QWidget *parent, int even, const QString &caption, Qt::Orientation orientation)
    {
        const ModeBit &mode = ModeBitOf(even);
        auto *frame = new QGroupBox(caption, parent);
        frame->setFlat(caption.isEmpty());
        auto *layout = new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, frame);
        layout->setContentsMargins(6, caption.isEmpty() ? 2 : 4, 6, 2);
        layout->setSpacing(1);
        auto *exclusive = new QButtonGroup(frame);
        for (int odd = 0; odd < 2; ++odd) {
            const int index = even + odd;
            auto *option = new QRadioButton(QLatin1String(odd ? mode.setCaption : mode.clearCaption), frame);
            option->setObjectName(ToneControls::Indexed("optToneModMode", index));
            exclusive->addButton(option);
            layout->addWidget(option);
            controls.modes[static_cast<size_t>(index)] = option;
        }
        return frame;
    }

    void AddSource(QWidget *parent, QVBoxLayout *stack, int index, const QString &caption)
    {
        auto *combo = new QComboBox(parent);
        combo->setObjectName(ToneControls::Indexed("cboTone", index));
        for (const char *entry : Combos[static_cast<size_t>(index)].entries)
            combo->addItem(QLatin1String(entry));
        stack->addWidget(new QLabel(caption, parent));
        stack->addWidget(combo);
        controls.combos[static_cast<size_t>(index)] = combo;
    }

    Controls &controls;
};

QVBoxLayout *PageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    return layout;
}

} // namespace

Controls Build(const std::array<QWidget *, 3> &pages, QWidget *waveFrame, QWidget *envelope1, QWidget *envelope2)
{
    Controls controls;
    Builder builder(controls);

    // The envelopes one above the other, the Wave beside them.
    auto *first = new QHBoxLayout(pages[0]);
    first->setContentsMargins(6, 6, 6, 6);
    auto *envelopes = new QVBoxLayout;
    envelopes->addWidget(envelope1, 1);
    envelopes->addWidget(envelope2, 1);
    first->addLayout(envelopes);
    auto *side = new QVBoxLayout;
    side->addWidget(waveFrame);
    side->addStretch(1);
    first->addLayout(side, 1);

    QVBoxLayout *second = PageLayout(pages[1]);
    auto *amplifierAndFilter = new QHBoxLayout;
    amplifierAndFilter->addWidget(builder.MakeSection(pages[1], DCA()));
    amplifierAndFilter->addWidget(builder.MakeSection(pages[1], DCF()));
    second->addLayout(amplifierAndFilter, 1);
    second->addWidget(builder.MakeSection(pages[1], LFO()), 1);

    QVBoxLayout *third = PageLayout(pages[2]);
    third->addWidget(builder.MakeSection(pages[2], DCO()), 1);
    third->addWidget(builder.MakeSection(pages[2], Pan()), 1);
    return controls;
}

} // namespace ToneLayout
