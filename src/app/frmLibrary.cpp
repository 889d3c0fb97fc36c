#include "app/frmLibrary.h"

#include "device/ObjectKinds.h"
#include "library/Library.h"
#include "library/LibraryImport.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int IdRole = Qt::UserRole;
// A result's kind, number and the snapshot it is sent from.
constexpr int KindRole = Qt::UserRole + 1;
constexpr int NumberRole = Qt::UserRole + 2;
constexpr int SnapshotRole = Qt::UserRole + 3;

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

frmLibrary::frmLibrary(Library &library, Actions actions, QWidget *parent)
    : QWidget(parent, Qt::Window), library(library), actions(std::move(actions))
{
    setObjectName(QStringLiteral("frmLibrary"));
    setWindowTitle(QStringLiteral("Library"));
    setAcceptDrops(true);

    lstSnapshots = Named(new QTreeWidget(this), "lstSnapshots");
    lstSnapshots->setHeaderLabels({QStringLiteral("Snapshot"), QStringLiteral("Taken"), QStringLiteral("Note"),
                                   QStringLiteral("Objects")});
    lstSnapshots->setRootIsDecorated(false);
    lstSnapshots->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSnapshots->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    txtLibrarySearch = Named(new QLineEdit(this), "txtLibrarySearch");
    txtLibrarySearch->setPlaceholderText(QStringLiteral("Search names, tags and notes"));
    txtLibrarySearch->setClearButtonEnabled(true);
    cboLibraryKind = Named(new QComboBox(this), "cboLibraryKind");
    cboLibraryKind->addItem(QStringLiteral("Every kind"), -1);
    for (int kind = 0; kind < NumberedKinds; ++kind)
        cboLibraryKind->addItem(QLatin1String(Kind(kind).name), kind);
    cboLibrarySnapshot = Named(new QComboBox(this), "cboLibrarySnapshot");
    trvLibraryObjects = Named(new QTreeWidget(this), "trvLibraryObjects");
    trvLibraryObjects->setHeaderLabels({QStringLiteral("Kind"), QStringLiteral("Number"), QStringLiteral("Name"),
                                        QStringLiteral("Snapshots")});
    trvLibraryObjects->setRootIsDecorated(false);
    trvLibraryObjects->setSelectionMode(QAbstractItemView::ExtendedSelection);
    trvLibraryObjects->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    txtLibraryTags = Named(new QLineEdit(this), "txtLibraryTags");
    txtLibraryTags->setPlaceholderText(QStringLiteral("Tags, separated by commas"));
    txtLibraryNote = Named(new QLineEdit(this), "txtLibraryNote");
    cmdLibraryKeep = Named(new QPushButton(QStringLiteral("&Keep"), this), "cmdLibraryKeep");
    cmdLibrarySend = Named(new QPushButton(QStringLiteral("Sen&d to SP..."), this), "cmdLibrarySend");
    cmdLibrarySnapshot = Named(new QPushButton(QStringLiteral("&Snapshot SP..."), this), "cmdLibrarySnapshot");
    cmdLibraryImport = Named(new QPushButton(QStringLiteral("&Import..."), this), "cmdLibraryImport");
    cmdLibraryCompare = Named(new QPushButton(QStringLiteral("&Compare"), this), "cmdLibraryCompare");
    cmdLibraryRestore = Named(new QPushButton(QStringLiteral("&Restore..."), this), "cmdLibraryRestore");
    lblLibraryStatus = Named(new QLabel(this), "lblLibraryStatus");
    lblLibraryStatus->setWordWrap(true);

    auto *timeline = new QWidget(this);
    auto *timelineLayout = new QVBoxLayout(timeline);
    timelineLayout->setContentsMargins(0, 0, 0, 0);
    timelineLayout->addWidget(lstSnapshots, 1);
    auto *snapshotButtons = new QHBoxLayout;
    for (QPushButton *button : {cmdLibrarySnapshot, cmdLibraryImport, cmdLibraryCompare, cmdLibraryRestore})
        snapshotButtons->addWidget(button);
    snapshotButtons->addStretch(1);
    timelineLayout->addLayout(snapshotButtons);

    auto *objects = new QWidget(this);
    auto *objectsLayout = new QGridLayout(objects);
    objectsLayout->setContentsMargins(0, 0, 0, 0);
    objectsLayout->addWidget(txtLibrarySearch, 0, 0, 1, 2);
    objectsLayout->addWidget(cboLibraryKind, 0, 2);
    objectsLayout->addWidget(cboLibrarySnapshot, 0, 3, 1, 2);
    objectsLayout->addWidget(trvLibraryObjects, 1, 0, 1, 5);
    objectsLayout->addWidget(new QLabel(QStringLiteral("Tags:"), objects), 2, 0);
    objectsLayout->addWidget(txtLibraryTags, 2, 1, 1, 4);
    objectsLayout->addWidget(new QLabel(QStringLiteral("Note:"), objects), 3, 0);
    objectsLayout->addWidget(txtLibraryNote, 3, 1, 1, 2);
    objectsLayout->addWidget(cmdLibraryKeep, 3, 3);
    objectsLayout->addWidget(cmdLibrarySend, 3, 4);
    objectsLayout->setColumnStretch(1, 1);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(timeline);
    splitter->addWidget(objects);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(lblLibraryStatus);

    connect(txtLibrarySearch, &QLineEdit::textChanged, this, &frmLibrary::Search);
    connect(cboLibraryKind, &QComboBox::currentIndexChanged, this, &frmLibrary::Search);
    connect(cboLibrarySnapshot, &QComboBox::currentIndexChanged, this, &frmLibrary::Search);
    connect(trvLibraryObjects, &QTreeWidget::itemSelectionChanged, this, &frmLibrary::ShowSelectedObject);
    connect(lstSnapshots, &QTreeWidget::itemSelectionChanged, this, &frmLibrary::UpdateButtons);
    connect(cmdLibraryKeep, &QPushButton::clicked, this, &frmLibrary::KeepTagsAndNote);
    connect(txtLibraryNote, &QLineEdit::returnPressed, this, &frmLibrary::KeepTagsAndNote);
    connect(txtLibraryTags, &QLineEdit::returnPressed, this, &frmLibrary::KeepTagsAndNote);
    connect(cmdLibrarySnapshot, &QPushButton::clicked, this, [this] {
        if (this->actions.snapshot)
            this->actions.snapshot();
    });
    connect(cmdLibraryImport, &QPushButton::clicked, this, [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(this, QStringLiteral("Import Backups"), QString(),
                                                                QStringLiteral("SysEx files (*.syx);;All files (*)"));
        if (!paths.isEmpty())
            ImportPaths(paths);
    });
    connect(cmdLibraryCompare, &QPushButton::clicked, this, [this] {
        const QList<qint64> chosen = SelectedSnapshots();
        if (this->actions.compare && !chosen.isEmpty())
            this->actions.compare(chosen.value(0), chosen.value(1));
    });
    // One result goes where the user says; several go back to their own numbers.
    connect(cmdLibrarySend, &QPushButton::clicked, this, [this] {
        QVector<ChosenObject> chosen;
        for (const QTreeWidgetItem *item : trvLibraryObjects->selectedItems())
            chosen.append({item->data(0, SnapshotRole).toLongLong(), item->data(0, KindRole).toInt(), item->data(0, NumberRole).toInt()});
        if (chosen.size() == 1 && this->actions.send)
            this->actions.send(chosen[0].snapshot, chosen[0].kind, chosen[0].number);
        else if (chosen.size() > 1 && this->actions.restoreObjects)
            this->actions.restoreObjects(chosen);
    });
    connect(cmdLibraryRestore, &QPushButton::clicked, this, [this] {
        const QList<qint64> chosen = SelectedSnapshots();
        if (this->actions.restore && chosen.size() == 1)
            this->actions.restore(chosen.first());
    });
    resize(720, 560);
    Refresh();
}

void frmLibrary::Refresh()
{
    ShowSnapshots();
    Search();
}

void frmLibrary::ShowSnapshots()
{
    const QList<qint64> selected = SelectedSnapshots();
    const qint64 filter = cboLibrarySnapshot->currentData().toLongLong();
    const QSignalBlocker blockList(lstSnapshots), blockFilter(cboLibrarySnapshot);
    lstSnapshots->clear();
    cboLibrarySnapshot->clear();
    cboLibrarySnapshot->addItem(QStringLiteral("Every snapshot"), 0);
    for (const SnapshotInfo &s : library.Snapshots()) {
        const QString taken = s.taken.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        auto *item = new QTreeWidgetItem(lstSnapshots, {QString::number(s.id), taken, s.note.isEmpty() ? s.source : s.note,
                                                        QString::number(s.objects)});
        item->setData(0, IdRole, s.id);
        item->setSelected(selected.contains(s.id));
        cboLibrarySnapshot->addItem(QStringLiteral("Snapshot %1, %2").arg(s.id).arg(taken), s.id);
    }
    cboLibrarySnapshot->setCurrentIndex(std::max(0, cboLibrarySnapshot->findData(filter)));
    UpdateButtons();
}

void frmLibrary::Search()
{
    const QSignalBlocker block(trvLibraryObjects);
    trvLibraryObjects->clear();
    const qint64 inSnapshot = cboLibrarySnapshot->currentData().toLongLong();
    const QVector<LibraryMatch> matches = library.Find(txtLibrarySearch->text(), cboLibraryKind->currentData().toInt(), inSnapshot);
    for (const LibraryMatch &m : matches) {
        auto *item = new QTreeWidgetItem(trvLibraryObjects, {QLatin1String(Kind(m.kind).name), QString::number(m.number), m.name,
                                                             SnapshotIdsText(m.snapshots)});
        item->setData(0, IdRole, m.object);
        item->setData(0, KindRole, m.kind);
        item->setData(0, NumberRole, m.number);
        // Sent from the snapshot chosen above, or else from the latest that holds it.
        item->setData(0, SnapshotRole, inSnapshot != 0 || m.snapshots.isEmpty() ? inSnapshot : m.snapshots.last());
    }
    ShowSelectedObject();
}

void frmLibrary::ShowSelectedObject()
{
    const QTreeWidgetItem *item = trvLibraryObjects->currentItem();
    const bool chosen = item && item->isSelected();
    const qint64 object = chosen ? item->data(0, IdRole).toLongLong() : 0;
    txtLibraryTags->setText(chosen ? library.Tags(object).join(QStringLiteral(", ")) : QString());
    txtLibraryNote->setText(chosen ? library.Note(object) : QString());
    for (QWidget *w : std::initializer_list<QWidget *>{txtLibraryTags, txtLibraryNote, cmdLibraryKeep})
        w->setEnabled(chosen);
    cmdLibrarySend->setEnabled(!trvLibraryObjects->selectedItems().isEmpty());
}

void frmLibrary::KeepTagsAndNote()
{
    const QTreeWidgetItem *item = trvLibraryObjects->currentItem();
    if (!item)
        return;
    const qint64 object = item->data(0, IdRole).toLongLong();
    const bool kept = library.SetTags(object, txtLibraryTags->text().split(QLatin1Char(','), Qt::SkipEmptyParts))
                      && library.SetNote(object, txtLibraryNote->text().trimmed());
    lblLibraryStatus->setText(kept ? QStringLiteral("Kept the tags and the note of %1.").arg(item->text(2))
                                   : QStringLiteral("The tags and the note could not be kept in the library."));
}

QList<qint64> frmLibrary::SelectedSnapshots() const
{
    QList<qint64> ids;
    for (int i = 0; i < lstSnapshots->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lstSnapshots->topLevelItem(i);
        if (item->isSelected())
            ids << item->data(0, IdRole).toLongLong();
    }
    return ids;
}

void frmLibrary::UpdateButtons()
{
    const qsizetype chosen = SelectedSnapshots().size();
    // One snapshot is compared with the SP, two with each other.
    cmdLibraryCompare->setEnabled(chosen == 1 || chosen == 2);
    cmdLibraryRestore->setEnabled(chosen == 1);
}

void frmLibrary::ImportPaths(const QStringList &paths)
{
    QStringList refused;
    int imported = 0;
    LibraryImport::Import(library, paths, {}, [&](const LibraryImport::FileOutcome &outcome) {
        if (outcome.snapshot)
            ++imported;
        else
            refused << outcome.error;
    });
    Refresh();
    QString text = QStringLiteral("Imported %1 backup file%2.").arg(imported).arg(imported == 1 ? "" : "s");
    if (!refused.isEmpty())
        text += QLatin1Char('\n') + refused.join(QLatin1Char('\n'));
    lblLibraryStatus->setText(text);
}

QString frmLibrary::status() const
{
    return lblLibraryStatus->text();
}

void frmLibrary::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmLibrary::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    ImportPaths(paths);
}
