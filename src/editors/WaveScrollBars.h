// The Wave tab's five position scroll bars: where each one stands for a stored value, the value
// a scroll position stands for, showing that value while the thumb is dragged, and committing
// it through the target box when the bar is let go or stepped.
#pragma once

#include "editors/WaveWidgets.h"

#include <QObject>

class EditRules;

class WaveScrollBars : public QObject {
    Q_OBJECT
public:
    static constexpr int Lowest = 1;
    static constexpr int Highest = 100;

    struct Range {
        int64_t low;
        int64_t high;
    };
    // The values bar `index` sweeps between, from the other points of the Wave.
    static Range RangeOf(int index, const WaveValues &wave);
    // The value at a bar position: the low end exactly at 1, the high end exactly at 100.
    static int64_t ValueAt(const Range &range, int position);
    // Where bar `index` stands for the stored values.
    static int PositionOf(int index, const WaveValues &wave);
    // The loop bars do nothing while the loop is off.
    static bool LoopOnly(int index) { return index >= 2; }

    WaveScrollBars(EditRules &rules, const WaveWidgets &widgets, const WaveValues &wave, QObject *parent = nullptr);

    // Sets every bar to the stored values; the caller fills the tab under EditPending.
    void Show();

private:
    void Scroll(int index, int position);
    void Change(int index);

    EditRules &rules;
    const WaveWidgets &widgets;
    const WaveValues &wave;
};
