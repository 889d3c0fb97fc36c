#include "editors/WaveScrollBars.h"

#include "editors/EditRules.h"
#include "widgets/KeyInput.h"

#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

namespace {

int Percent(double part, double whole)
{
    if (whole <= 0)
        return WaveScrollBars::Lowest;
    // Clamped before the conversion: an odd dump can make the ratio far too large for an int.
    const double percent = std::clamp(part / whole * 100.0, double(WaveScrollBars::Lowest), double(WaveScrollBars::Highest));
    return static_cast<int>(percent);
}

WaveParm Target(int index)
{
    return static_cast<WaveParm>(index);
}

} // namespace

WaveScrollBars::Range WaveScrollBars::RangeOf(int index, const WaveValues &w)
{
    switch (index) {
    case 0:
        return {0, w.loopOn() ? w.loopStart : w.playEnd};
    case 1:
        return {w.loopOn() ? w.loopEnd : int64_t(w.playStart) + 1, int64_t(w.length) - 1};
    case 2:
        return {w.playStart, w.loopEnd};
    case 3:
        return {w.loopStart, w.playEnd};
    default:
        return {0, WaveDump::LargestFraction};
    }
}

int64_t WaveScrollBars::ValueAt(const Range &range, int position)
{
    if (position <= Lowest)
        return range.low;
    if (position >= Highest)
        return range.high;
    return (range.high - range.low) * position / 100 + range.low;
}

int WaveScrollBars::PositionOf(int index, const WaveValues &w)
{
    // With the loop off the play bars measure against the whole Wave rather than the loop.
    if (!w.loopOn() && index == 0) {
        if (w.playStart == 0)
            return Lowest;
        if (w.playStart == w.playEnd - 1)
            return Highest;
        return Percent(w.playStart, w.playEnd);
    }
    if (!w.loopOn() && index == 1) {
        if (w.playEnd == w.playStart + 1)
            return Lowest;
        if (w.playEnd == w.length - 1)
            return Highest;
        return Percent(w.playEnd, double(w.length) - 1);
    }
    if (!w.loopOn() && index != 4)
        return Lowest;
    const Range range = RangeOf(index, w);
    const int64_t value = w.value(Target(index));
    if (value == range.low)
        return Lowest;
    if (value == range.high)
        return Highest;
    return Percent(double(value - range.low), double(range.high - range.low));
}

WaveScrollBars::WaveScrollBars(EditRules &rules, const WaveWidgets &widgets, const WaveValues &wave, QObject *parent)
    : QObject(parent), rules(rules), widgets(widgets), wave(wave)
{
    for (int index = 0; index < WaveWidgets::ScrollBars; ++index) {
        QScrollBar *bar = widgets.hscWave[static_cast<size_t>(index)];
        bar->setRange(Lowest, Highest);
        bar->setPageStep(10);
        // A drag only shows values; the bar commits once, when it is let go.
        bar->setTracking(false);
        connect(bar, &QScrollBar::sliderMoved, this, [this, index](int position) { Scroll(index, position); });
        connect(bar, &QScrollBar::valueChanged, this, [this, index] { Change(index); });
    }
}

void WaveScrollBars::Show()
{
    for (int index = 0; index < WaveWidgets::ScrollBars; ++index)
        widgets.hscWave[static_cast<size_t>(index)]->setValue(PositionOf(index, wave));
}

void WaveScrollBars::Scroll(int index, int position)
{
    if (rules.busy() || (LoopOnly(index) && !wave.loopOn()))
        return;
    QLineEdit *box = widgets[Target(index)];
    const int64_t value = ValueAt(RangeOf(index, wave), position);
    rules.Display([&] { box->setText(ParmText(Target(index), value)); });
    KeyInput::SetPending(box, true);
}

void WaveScrollBars::Change(int index)
{
    if (!rules.PartnerMayCommit() || (LoopOnly(index) && !wave.loopOn()))
        return;
    QScrollBar *bar = widgets.hscWave[static_cast<size_t>(index)];
    QLineEdit *box = widgets[Target(index)];
    const int64_t value = ValueAt(RangeOf(index, wave), bar->value());
    rules.Display([&] { box->setText(ParmText(Target(index), value)); });
    if (value != wave.value(Target(index)))
        rules.CommitFrom(bar, box);
    else
        KeyInput::SetPending(box, false); // back where it was: nothing to send
}
