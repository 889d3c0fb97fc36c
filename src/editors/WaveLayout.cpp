#include "editors/WaveLayout.h"

#include "editors/ParameterTips.h"
#include "widgets/SpinButton.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace {

constexpr int ScrollBarMinimumWidth = 160;

// Every box is as wide as the widest value, a ten-digit sample position, so the columns line up.
QLineEdit *Box(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 16);
    return box;
}

QLineEdit *ShownBox(const QString &name, QWidget *parent)
{
    QLineEdit *box = Box(name, parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// The box of the shown field whose description names `control`, with the field's tooltip.
QLineEdit *ShownFieldBox(std::string_view control, QWidget *parent)
{
    const auto &fields = WaveDump::ShownFields();
    const auto field = std::find_if(fields.begin(), fields.end(), [&](const auto &f) { return f.control == control; });
    // A name the description lacks still gets its box, without a tip, rather than a read past the table.
    Q_ASSERT(field != fields.end());
    QLineEdit *box = ShownBox(QLatin1String(control.data(), static_cast<qsizetype>(control.size())), parent);
    if (field != fields.end())
        box->setToolTip(QLatin1String(field->tip));
    return box;
}

struct OptionChoice {
    const char *caption;
    const char *name;
    QRadioButton *&option;
};

// Each pair of options sits in its own container, so each pair is exclusive by itself.
QWidget *OptionPair(QWidget *parent, OptionChoice first, OptionChoice second)
{
    auto *pair = new QWidget(parent);
    auto *row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    for (OptionChoice *choice : {&first, &second}) {
        choice->option = new QRadioButton(QString::fromUtf8(choice->caption), pair);
        choice->option->setObjectName(QLatin1String(choice->name));
        row->addWidget(choice->option);
    }
    row->addStretch(1);
    return pair;
}

// Labels of one column share a width, so the boxes of stacked frames line up.
int LabelWidth(const QWidget *widget, std::initializer_list<const char *> captions)
{
    int width = 0;
    for (const char *caption : captions)
        width = std::max(width, widget->fontMetrics().horizontalAdvance(QLatin1String(caption)));
    return width + 8;
}

QLabel *Label(const char *caption, int width, QWidget *parent)
{
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setMinimumWidth(width);
    return label;
}

// One row of an edited parameter: label, box, spin button and, for positions, scroll bar.
void ParmRow(QGridLayout *grid, int row, const char *caption, int labelWidth, WaveWidgets &w, WaveParm parm,
             QWidget *frame)
{
    const size_t i = Index(parm);
    grid->addWidget(Label(caption, labelWidth, frame), row, 0);
    grid->addWidget(w.box[i], row, 1);
    grid->addWidget(w.spin[i], row, 2);
    if (i < WaveWidgets::ScrollBars)
        grid->addWidget(w.hscWave[i], row, 3);
}

void SetTips(WaveWidgets &w)
{
    for (size_t i = 0; i < WaveParmCount; ++i) {
        const WaveParmInfo &info = ParmInfo(static_cast<WaveParm>(i));
        QWidget *scroll = i < WaveWidgets::ScrollBars ? w.hscWave[i] : nullptr;
        ParameterTips::Set({w.box[i], w.spin[i], scroll},
                           ParameterTips::Text(QLatin1String(info.name), QLatin1String(info.lowText),
                                               QLatin1String(info.highText), QLatin1String(info.unit)));
    }
    w.txtWaveNote->setToolTip(QStringLiteral("Note: the pitch as a note name, C- to G9"));
    w.txtWaveMode->setToolTip(QStringLiteral("Mode: Mono or Stereo, shown only"));
}

} // namespace

WaveWidgets BuildWaveLayout(QWidget *tab)
{
    WaveWidgets w;
    for (size_t i = 0; i < WaveParmCount; ++i) {
        const WaveParmInfo &info = ParmInfo(static_cast<WaveParm>(i));
        w.box[i] = Box(QLatin1String(info.box), tab);
        w.spin[i] = new SpinButton(tab);
        w.spin[i]->setObjectName(QLatin1String(info.spin));
        // The arrows stand as tall as their box, so a row is no taller than its box.
        w.spin[i]->setFixedSize(w.box[i]->sizeHint().height() * 2 / 3, w.box[i]->sizeHint().height());
    }
    for (size_t i = 0; i < WaveWidgets::ScrollBars; ++i) {
        w.hscWave[i] = new QScrollBar(Qt::Horizontal, tab);
        w.hscWave[i]->setObjectName(QStringLiteral("hscWave(%1)").arg(i));
        w.hscWave[i]->setMinimumWidth(ScrollBarMinimumWidth);
    }
    w.txtWaveNote = ShownBox(QStringLiteral("txtWaveNote"), tab);
    w.txtWaveMode = ShownBox(QStringLiteral("txtWaveMode"), tab);
    w.txtWaveAddr = ShownFieldBox("txtWaveAddr", tab);
    w.txtWaveSize = ShownFieldBox("txtWaveSize", tab);
    w.txtChecksum = ShownFieldBox("txtChecksum", tab);
    w.txtWaveLen = ShownFieldBox("txtWaveLen", tab);
    w.txtSampPeriod = ShownFieldBox("txtSampPeriod", tab);
    w.txtWaveNorm = ShownFieldBox("txtWaveNorm", tab);

    const int leftLabels = LabelWidth(tab, {"Start", "End", "Fraction", "Loop", "Direction"});
    const int rightLabels = LabelWidth(tab, {"Pitch", "Note", "Fine Tune", "Mode", "Address", "Size", "Checksum",
                                             "Length", "Sample Period", "Normalisation"});

    auto *play = new QGroupBox(QStringLiteral("Play Range"), tab);
    play->setObjectName(QStringLiteral("fraWavePlay"));
    auto *playGrid = new QGridLayout(play);
    ParmRow(playGrid, 0, "Start", leftLabels, w, WaveParm::PlayStart, play);
    ParmRow(playGrid, 1, "End", leftLabels, w, WaveParm::PlayEnd, play);
    playGrid->setColumnStretch(3, 1);

    auto *loop = new QGroupBox(QStringLiteral("Loop"), tab);
    loop->setObjectName(QStringLiteral("fraWaveLoop"));
    auto *loopGrid = new QGridLayout(loop);
    QWidget *onOff = OptionPair(loop, {"On", "optLoopEnb", w.optLoopEnb}, {"Off", "optLoopDis", w.optLoopDis});
    QWidget *direction = OptionPair(loop, {"Forward", "optLoopFwdOnly", w.optLoopFwdOnly},
                                    {"Forward && Reverse", "optLoopFwdRev", w.optLoopFwdRev});
    loopGrid->addWidget(Label("Loop", leftLabels, loop), 0, 0);
    loopGrid->addWidget(onOff, 0, 1, 1, 3);
    loopGrid->addWidget(Label("Direction", leftLabels, loop), 1, 0);
    loopGrid->addWidget(direction, 1, 1, 1, 3);
    ParmRow(loopGrid, 2, "Start", leftLabels, w, WaveParm::LoopStart, loop);
    ParmRow(loopGrid, 3, "End", leftLabels, w, WaveParm::LoopEnd, loop);
    ParmRow(loopGrid, 4, "Fraction", leftLabels, w, WaveParm::LoopFract, loop);
    loopGrid->setColumnStretch(3, 1);

    auto *pitch = new QGroupBox(QStringLiteral("Pitch"), tab);
    pitch->setObjectName(QStringLiteral("fraWavePitch"));
    auto *pitchGrid = new QGridLayout(pitch);
    ParmRow(pitchGrid, 0, "Pitch", rightLabels, w, WaveParm::Pitch, pitch);
    pitchGrid->addWidget(Label("Note", rightLabels, pitch), 1, 0);
    pitchGrid->addWidget(w.txtWaveNote, 1, 1);
    ParmRow(pitchGrid, 2, "Fine Tune", rightLabels, w, WaveParm::FineTune, pitch);
    pitchGrid->setColumnStretch(3, 1);

    auto *memoryFrame = new QGroupBox(QStringLiteral("Memory"), tab);
    memoryFrame->setObjectName(QStringLiteral("fraWaveMemory"));
    auto *memoryGrid = new QGridLayout(memoryFrame);
    const std::pair<const char *, QLineEdit *> shown[] = {
        {"Mode", w.txtWaveMode},       {"Address", w.txtWaveAddr},         {"Size", w.txtWaveSize},
        {"Checksum", w.txtChecksum},   {"Length", w.txtWaveLen},           {"Sample Period", w.txtSampPeriod},
        {"Normalisation", w.txtWaveNorm}};
    int row = 0;
    for (const auto &[caption, box] : shown) {
        memoryGrid->addWidget(Label(caption, rightLabels, memoryFrame), row, 0);
        memoryGrid->addWidget(box, row++, 1);
    }
    memoryGrid->setColumnStretch(2, 1);

    // Two columns, each frame at its own height.
    auto *columns = new QHBoxLayout(tab);
    auto *left = new QVBoxLayout;
    left->addWidget(play);
    left->addWidget(loop);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(pitch);
    right->addWidget(memoryFrame);
    right->addStretch(1);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    SetTips(w);
    return w;
}
