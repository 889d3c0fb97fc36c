#include "app/frmStats.h"

#include "objects/ObjectStore.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct KindFrame {
    const char *title;
    const char *loaded;
    const char *prefix;
};
constexpr std::array<KindFrame, MemoryStats::Kinds> Frames = {{
    {"Waves", "Waves Loaded:", "w#"},
    {"Tones", "Tones Loaded:", "t#"},
    {"Maps", "Maps Loaded:", "m#"},
    {"Presets", "Presets Loaded:", "p#"},
}};
constexpr const char *GlobalRowCaptions[MemoryStats::GlobalRows] = {"Installed RAM:", "Free Sample RAM:",
                                                                    "Free Parameter RAM:"};

QLabel *Value(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000000.5")));
    return label;
}

QLabel *Unit(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("KBytes")));
    return label;
}

} // namespace

frmStats::frmStats(const ObjectStore &store, QWidget *parent) : QDialog(parent), store(store)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("SP Statistics"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    auto *kinds = new QGridLayout;
    for (int k = 0; k < MemoryStats::Kinds; ++k) {
        const KindFrame &info = Frames[static_cast<size_t>(k)];
        auto *frame = new QGroupBox(QLatin1String(info.title), this);
        frame->setObjectName(QStringLiteral("fraStats(%1)").arg(k));
        auto *grid = new QGridLayout(frame);
        const QString prefix = QLatin1String(info.prefix);
        const QString rows[MemoryStats::RowsPerKind] = {
            QLatin1String(info.loaded),          QStringLiteral("Lowest %1:").arg(prefix),
            QStringLiteral("Highest %1:").arg(prefix), QStringLiteral("Highest Allowable %1:").arg(prefix),
            QStringLiteral("Parm Mem Used:"),    QStringLiteral("Parm Mem Free:")};
        for (int row = 0; row < MemoryStats::RowsPerKind; ++row) {
            const int index = k * MemoryStats::RowsPerKind + row;
            grid->addWidget(new QLabel(rows[row], frame), row, 0);
            lblParm[static_cast<size_t>(index)] = Value(QStringLiteral("lblParm(%1)").arg(index), frame);
            grid->addWidget(lblParm[static_cast<size_t>(index)], row, 1);
            if (row >= 4) {
                lblQnt[static_cast<size_t>(index)] = Unit(QStringLiteral("lblQnt(%1)").arg(index), frame);
                grid->addWidget(lblQnt[static_cast<size_t>(index)], row, 2);
            }
        }
        kinds->addWidget(frame, k / 2, k % 2);
    }
    layout->addLayout(kinds);

    auto *bottom = new QHBoxLayout;
    auto *global = new QGroupBox(QStringLiteral("Global Memory"), this);
    global->setObjectName(QStringLiteral("fraGlobalMemory"));
    auto *globalGrid = new QGridLayout(global);
    for (int row = 0; row < MemoryStats::GlobalRows; ++row) {
        globalGrid->addWidget(new QLabel(QLatin1String(GlobalRowCaptions[row]), global), row, 0);
        lblMem[static_cast<size_t>(row)] = Value(QStringLiteral("lblMem(%1)").arg(row), global);
        globalGrid->addWidget(lblMem[static_cast<size_t>(row)], row, 1);
        lblQnt[static_cast<size_t>(row)] = Unit(QStringLiteral("lblQnt(%1)").arg(row), global);
        globalGrid->addWidget(lblQnt[static_cast<size_t>(row)], row, 2);
    }
    bottom->addWidget(global, 1);

    auto *right = new QVBoxLayout;
    auto *units = new QGroupBox(QStringLiteral("Display Memory Stats as"), this);
    units->setObjectName(QStringLiteral("fraDisplayUnits"));
    auto *unitLayout = new QVBoxLayout(units);
    const char *unitCaptions[] = {"Words", "Bytes"};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(QLatin1String(unitCaptions[i]), units);
        option->setObjectName(QStringLiteral("optStats(%1)").arg(i));
        optStats[static_cast<size_t>(i)] = option;
        unitLayout->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this, i] { optStats_Click(i); });
    }
    right->addWidget(units);
    right->addStretch(1);
    auto *cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    right->addWidget(cmdOK);
    bottom->addLayout(right);
    layout->addLayout(bottom);

    optStats[0]->setChecked(true);
    optStats_Click(0);
}

void frmStats::optStats_Click(int index)
{
    const MemoryStats::Texts texts =
        MemoryStats::Compute(store, index == 1 ? MemoryStats::Unit::Bytes : MemoryStats::Unit::Words);
    for (size_t i = 0; i < texts.lblParm.size(); ++i) {
        lblParm[i]->setText(texts.lblParm[i]);
        if (lblQnt[i])
            lblQnt[i]->setText(texts.lblQnt[i]);
    }
    for (size_t i = 0; i < texts.lblMem.size(); ++i)
        lblMem[i]->setText(texts.lblMem[i]);
}
