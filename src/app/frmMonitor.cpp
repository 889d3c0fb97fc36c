#include "app/frmMonitor.h"

#include "app/MidiMonitorModel.h"
#include "objects/MessageDescription.h"
#include "midi/MidiTrace.h"
#include "midi/Notifier.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTextStream>
#include <QVBoxLayout>

frmMonitor::frmMonitor(MidiTrace &trace, Notifier &notifier, QWidget *parent)
    : QWidget(parent, Qt::Window), trace(trace), notifier(notifier)
{
    setObjectName(QStringLiteral("frmMonitor"));
    setWindowTitle(QStringLiteral("MIDI Monitor"));
    rows = new MidiMonitorModel(this);

    auto *buttons = new QHBoxLayout;
    cmdMonitorPause = new QPushButton(QStringLiteral("&Pause"), this);
    cmdMonitorPause->setObjectName(QStringLiteral("cmdMonitorPause"));
    cmdMonitorPause->setCheckable(true);
    auto *cmdMonitorClear = new QPushButton(QStringLiteral("&Clear"), this);
    cmdMonitorClear->setObjectName(QStringLiteral("cmdMonitorClear"));
    auto *cmdMonitorSave = new QPushButton(QStringLiteral("&Save as Text..."), this);
    cmdMonitorSave->setObjectName(QStringLiteral("cmdMonitorSave"));
    lblMonitorCount = new QLabel(this);
    lblMonitorCount->setObjectName(QStringLiteral("lblMonitorCount"));
    buttons->addWidget(cmdMonitorPause);
    buttons->addWidget(cmdMonitorClear);
    buttons->addWidget(cmdMonitorSave);
    buttons->addStretch(1);
    buttons->addWidget(lblMonitorCount);

    lstMonitor = new QTableView(this);
    lstMonitor->setObjectName(QStringLiteral("lstMonitor"));
    lstMonitor->setModel(rows);
    lstMonitor->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstMonitor->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMonitor->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstMonitor->setWordWrap(false);
    lstMonitor->setShowGrid(false);
    lstMonitor->setAlternatingRowColors(true);
    // Fixed row heights: the view never measures ten thousand rows.
    lstMonitor->verticalHeader()->hide();
    lstMonitor->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstMonitor->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView *header = lstMonitor->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    header->resizeSection(MidiMonitorModel::TimeColumn, digit * 12);
    header->resizeSection(MidiMonitorModel::DirectionColumn, digit * 5);
    header->resizeSection(MidiMonitorModel::LengthColumn, digit * 7);
    header->resizeSection(MidiMonitorModel::MeaningColumn, digit * 54);

    txtMonitorDetail = new QPlainTextEdit(this);
    txtMonitorDetail->setObjectName(QStringLiteral("txtMonitorDetail"));
    txtMonitorDetail->setReadOnly(true);
    txtMonitorDetail->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtMonitorDetail->setPlaceholderText(QStringLiteral("Select a message to see all its bytes."));

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(lstMonitor);
    split->addWidget(txtMonitorDetail);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);
    resize(digit * 150, 480);

    connect(cmdMonitorPause, &QPushButton::toggled, this, &frmMonitor::Pause);
    connect(cmdMonitorClear, &QPushButton::clicked, this, &frmMonitor::Clear);
    connect(cmdMonitorSave, &QPushButton::clicked, this, &frmMonitor::ChooseFileAndSave);
    connect(lstMonitor->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &frmMonitor::ShowDetail);
    // Keep following the newest message, unless the user has scrolled back to read.
    connect(rows, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar *bar = lstMonitor->verticalScrollBar();
        following = bar->value() == bar->maximum();
    });
    connect(rows, &QAbstractItemModel::rowsInserted, this, [this] {
        if (following)
            lstMonitor->scrollToBottom();
        UpdateCount();
    });
    connect(rows, &QAbstractItemModel::modelReset, this, &frmMonitor::UpdateCount);
    UpdateCount();
}

frmMonitor::~frmMonitor()
{
    Listen(false);
}

void frmMonitor::showEvent(QShowEvent *event)
{
    Listen(true);
    QWidget::showEvent(event);
}

void frmMonitor::hideEvent(QHideEvent *event)
{
    Listen(false);
    rows->flush();
    QWidget::hideEvent(event);
}

void frmMonitor::Listen(bool on)
{
    if (on && !listener)
        listener = trace.addListener([this](const MidiTrace::Event &event) { rows->push(event); });
    else if (!on && listener) {
        trace.removeListener(listener);
        listener = 0;
    }
}

void frmMonitor::Pause(bool on)
{
    rows->setPaused(on);
    if (cmdMonitorPause->isChecked() != on)
        cmdMonitorPause->setChecked(on);
    cmdMonitorPause->setText(on ? QStringLiteral("&Resume") : QStringLiteral("&Pause"));
    UpdateCount();
}

void frmMonitor::Clear()
{
    rows->clear();
    txtMonitorDetail->clear();
}

bool frmMonitor::SaveAsText(const QString &path, QString *error) const
{
    rows->flush();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QTextStream out(&file);
    rows->Write(out);
    out.flush();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void frmMonitor::ChooseFileAndSave()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save MIDI Monitor"),
                                                      QStringLiteral("midi-monitor.txt"),
                                                      QStringLiteral("Text files (*.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!SaveAsText(path, &error))
        notifier.message(Notifier::Icon::Critical, QStringLiteral("MIDI Monitor"),
                         QStringLiteral("Cannot save %1: %2").arg(path, error));
}

void frmMonitor::ShowDetail()
{
    const int row = lstMonitor->currentIndex().row();
    const QByteArray message = rows->message(row);
    QString text = QStringLiteral("%1 ms  %2  %3 bytes  %4\n")
                       .arg(rows->text(row, MidiMonitorModel::TimeColumn),
                            rows->text(row, MidiMonitorModel::DirectionColumn),
                            rows->text(row, MidiMonitorModel::LengthColumn),
                            rows->text(row, MidiMonitorModel::MeaningColumn));
    for (qsizetype at = 0; at < message.size(); at += 16)
        text += QStringLiteral("\n%1  %2").arg(at, 4, 10, QLatin1Char(' ')).arg(MessageDescription::Hex(message.mid(at, 16)));
    txtMonitorDetail->setPlainText(row < 0 ? QString() : text);
}

void frmMonitor::UpdateCount()
{
    QString text = QStringLiteral("%1 messages").arg(rows->rowCount());
    if (rows->isPaused())
        text += QStringLiteral(" (paused)");
    lblMonitorCount->setText(text);
}
