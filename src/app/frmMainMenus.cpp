// The main window's menus and the windows they open: File, Edit, View, Config and Help,
// export, import and drop of object files, the memory-operation dialogs, the monitor and help.
#include "app/frmMain.h"
#include "app/MainTabs.h"
#include "editors/ControlLists.h"
#include "app/BackupCommand.h"
#include "app/EditHistory.h"
#include "app/ObjectHeader.h"
#include "app/ObjectTransfer.h"
#include "app/frmAbout.h"
#include "app/frmDeleteObject.h"
#include "app/frmHelp.h"
#include "app/frmLoadBank.h"
#include "app/frmMonitor.h"
#include "app/frmStats.h"
#include "app/frmStereoMerge.h"
#include "editors/Session.h"
#include "midi/Notifier.h"
#include "objects/Backup.h"
#include "device/ObjectKinds.h"
#include "app/frmConfig.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QTabWidget>
#include <QUndoStack>

void frmMain::BuildMenus()
{
    auto add = [](QMenu *menu, const QString &caption, const char *name) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuLoadBank = add(file, QStringLiteral("&Load Disk Bank"), "mnuLoadBank");
    connect(mnuLoadBank, &QAction::triggered, this, &frmMain::LoadBank);
    file->addSeparator();
    connect(add(file, QStringLiteral("&Export Object..."), "mnuExportObject"), &QAction::triggered, this,
            &frmMain::ChooseExportFile);
    connect(add(file, QStringLiteral("&Import Object..."), "mnuImportObject"), &QAction::triggered, this,
            &frmMain::ChooseImportFile);
    file->addSeparator();
    connect(add(file, QStringLiteral("E&xit"), "mnuExit"), &QAction::triggered, this, &QWidget::close);

    QMenu *config = menuBar()->addMenu(QStringLiteral("C&onfig"));
    config->setObjectName(QStringLiteral("mnuConfig"));
    connect(add(config, QStringLiteral("&Midi"), "mnuConfigMidi"), &QAction::triggered, this,
            [this] { ShowConfig(frmConfig::MidiPage); });
    connect(add(config, QStringLiteral("&Disk"), "mnuConfigDisk"), &QAction::triggered, this,
            [this] { ShowConfig(frmConfig::DiskPage); });
    connect(add(config, QStringLiteral("&SP"), "mnuConfigSP"), &QAction::triggered, this,
            [this] { ShowConfig(frmConfig::SpPage); });

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    QMenu *download = tools->addMenu(QStringLiteral("Down&load"));
    download->setObjectName(QStringLiteral("mnuDownload"));
    mnuDLobject = add(download, QLatin1String(MainTabs::TabTable[0].downloadCaption), "mnuDLobject");
    mnuDLobject->setEnabled(false);
    connect(mnuDLobject, &QAction::triggered, this, [this] { Download(CurrentObject); });
    connect(add(download, QStringLiteral("&All Objects"), "mnuDLallObjects"), &QAction::triggered, this,
            [this] { Download(AllObjects); });
    mnuStereoMerge = add(tools, QStringLiteral("Stereo &Merge"), "mnuStereoMerge");
    mnuDelete = add(tools, QStringLiteral("&Delete"), "mnuDelete");
    mnuStereoMerge->setEnabled(false);
    mnuDelete->setEnabled(false);
    connect(mnuStereoMerge, &QAction::triggered, this, &frmMain::StereoMerge);
    connect(mnuDelete, &QAction::triggered, this, &frmMain::DeleteObject);
    tools->addSeparator();
    connect(add(tools, QStringLiteral("SP &Stats"), "mnuStats"), &QAction::triggered, this, &frmMain::ShowStats);
    QAction *monitor = add(tools, QStringLiteral("MIDI &Monitor"), "mnuMonitor");
    monitor->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(monitor, &QAction::triggered, this, &frmMain::ShowMonitor);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpMenu"));
    connect(add(help, QStringLiteral("Help &Topics"), "mnuHelpTopics"), &QAction::triggered, this,
            [this] { ShowHelp(QStringLiteral("index")); });
    // The item shows F1. In the main window the key comes through it, for the page of the tab
    // the focus is on; in every other window HelpKey takes it, for that window's page.
    QAction *helpItem = add(help, QStringLiteral("&Help"), "mnuHelp");
    helpItem->setShortcut(Qt::Key_F1);
    connect(helpItem, &QAction::triggered, this, [this] { ShowHelp(HelpPageFor(QApplication::focusWidget())); });
    connect(new HelpKey(this), &HelpKey::pressed, this, [this](QWidget *focus) { ShowHelp(HelpPageFor(focus)); });
    help->addSeparator();
    connect(add(help, QStringLiteral("&About"), "mnuAbout"), &QAction::triggered, this, &frmMain::showAbout);
    BackupCommand::InstallMenus(*this, session, file, tools);
}

void frmMain::BuildEditMenu()
{
    // Between File and Config, where users look for it.
    auto *edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("mnuEdit"));
    const QMenu *config = menuBar()->findChild<QMenu *>(QStringLiteral("mnuConfig"));
    menuBar()->insertMenu(config ? config->menuAction() : nullptr, edit);
    QUndoStack &stack = editHistory->stack();
    struct Item {
        const char *name;
        const char *caption;
        QKeySequence keys;
        void (EditHistory::*step)();
        bool (QUndoStack::*can)() const;
        QString (QUndoStack::*text)() const;
        void (QUndoStack::*canChanged)(bool);
        void (QUndoStack::*textChanged)(const QString &);
    };
    const Item items[] = {
        {"mnuUndo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), &EditHistory::Undo, &QUndoStack::canUndo,
         &QUndoStack::undoText, &QUndoStack::canUndoChanged, &QUndoStack::undoTextChanged},
        {"mnuRedo", "&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &EditHistory::Redo, &QUndoStack::canRedo,
         &QUndoStack::redoText, &QUndoStack::canRedoChanged, &QUndoStack::redoTextChanged},
    };
    for (const Item &item : items) {
        QAction *action = edit->addAction(QLatin1String(item.caption));
        action->setObjectName(QLatin1String(item.name));
        action->setShortcut(item.keys);
        action->setEnabled(false);
        const QString caption = QLatin1String(item.caption);
        // The text names the edit: "&Undo Tone t#3 DCF Cutoff".
        auto retitle = [action, caption](const QString &what) {
            action->setText(what.isEmpty() ? caption : caption + QLatin1Char(' ') + what);
        };
        connect(&stack, item.canChanged, action, &QAction::setEnabled);
        connect(&stack, item.textChanged, action, retitle);
        connect(action, &QAction::triggered, editHistory, item.step);
    }
}

void frmMain::ChooseExportFile()
{
    const int kind = objectHeader->CurrentKind();
    if (kind < 0 || kind >= NumberedKinds)
        return;
    const KindState &state = session.objects.of(kind);
    const QString suggested = QDir(session.settings.HomeDirectory)
                                  .filePath(state.ImageName().trimmed() + QStringLiteral(".syx"));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Object"), suggested,
                                                      QStringLiteral("SysEx files (*.syx)"));
    if (!path.isEmpty())
        objectTransfer->ExportObject(kind, path);
}

void frmMain::ChooseImportFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import Object"), session.settings.HomeDirectory,
                                                      QStringLiteral("SysEx files (*.syx)"));
    if (!path.isEmpty())
        ImportObjectFile(path);
}

bool frmMain::ImportObjectFile(const QString &path)
{
    return objectTransfer->ImportObject(objectHeader->CurrentKind(), path);
}

void frmMain::OpenSysExFile(const QString &path)
{
    QFile in(path);
    const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    // An exported object is one dump; the Global tab exports its Multi with the Global settings
    // or the settings alone, which read as a backup without (or with one) object.
    std::optional<int> kind;
    if (const std::optional<Backup::Object> object = Backup::ReadDump(bytes))
        kind = object->kind;
    const Backup::ReadResult read = Backup::Parse(bytes);
    if (read.contents && read.contents->objects.size() <= 1
        && (read.contents->objects.isEmpty() || read.contents->objects.first().kind == KindMulti))
        kind = KindMulti;
    if (!kind) {
        // A backup, or a file that is none: the compare says which and why.
        BackupCommand::ShowCompare(services(), session, {path});
        return;
    }
    for (const MainTabs::TabInfo &tab : MainTabs::TabTable) {
        if (QLatin1String(tab.prefix) == QLatin1String(Kind(*kind).prefix)) {
            ShowTab(QLatin1String(tab.caption));
            break;
        }
    }
    ImportObjectFile(path);
}

namespace {

// The one local .syx file a drop carries, or nothing.
QString DroppedSysExFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".syx"), Qt::CaseInsensitive))
        return {};
    return url.toLocalFile();
}

} // namespace

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedSysExFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QString path = DroppedSysExFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    ImportObjectFile(path);
}

void frmMain::BuildViewMenu()
{
    QMenu *view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("mnuView"));
    // Before Help, which stays last.
    QAction *helpMenu = nullptr;
    for (QAction *action : menuBar()->actions()) {
        if (action->menu() && action->menu()->objectName() == QLatin1String("mnuHelpMenu"))
            helpMenu = action;
    }
    menuBar()->insertMenu(helpMenu, view);
    auto *tabGroup = new QActionGroup(view);
    for (int i = 0; i < Tabs; ++i) {
        QAction *action = view->addAction(QLatin1String(MainTabs::TabTable[static_cast<size_t>(i)].caption));
        action->setObjectName(ControlLists::Element("mnuTab", i));
        action->setCheckable(true);
        action->setChecked(i == 0);
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        tabGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { SPFEtab->setCurrentIndex(i); });
    }
    connect(SPFEtab, &QTabWidget::currentChanged, tabGroup, [tabGroup](int index) {
        if (QAction *action = tabGroup->actions().value(index))
            action->setChecked(true);
    });
    view->addSeparator();
    // The spin button's steps: each refuses while the SP is busy, as the button does.
    QAction *previous = view->addAction(QStringLiteral("&Previous Object"));
    previous->setObjectName(QStringLiteral("mnuPreviousObject"));
    previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(previous, &QAction::triggered, this, [this] { objectHeader->Spin(false); });
    QAction *next = view->addAction(QStringLiteral("&Next Object"));
    next->setObjectName(QStringLiteral("mnuNextObject"));
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(next, &QAction::triggered, this, [this] { objectHeader->Spin(true); });

    // Download refuses while busy in Download() itself.
    mnuDLobject->setShortcut(QKeySequence(Qt::Key_F5));
    if (QAction *exit = findChild<QAction *>(QStringLiteral("mnuExit")))
        exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

namespace {

// Shown, or brought in front of the others when already open.
void BringForward(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void frmMain::OpenDialog(QWidget *dialog)
{
    trackWindow(dialog);
    BringForward(dialog);
}

void frmMain::LoadBank()
{
    if (!session.link.isOnline()) {
        session.notifier.message(Notifier::Icon::None, QString(), QStringLiteral("Cannot get disk access with SP Offline!"));
        return;
    }
    if (!session.exchange.refuseIfBusy())
        OpenDialog(new frmLoadBank(session, services(), LastBankNum));
}

void frmMain::DeleteObject()
{
    if (!session.exchange.refuseIfBusy())
        OpenDialog(new frmDeleteObject(session, services()));
}

void frmMain::StereoMerge()
{
    if (!session.exchange.refuseIfBusy())
        OpenDialog(new frmStereoMerge(session, services()));
}

void frmMain::ShowStats()
{
    // One statistics window; asking again shows it afresh with the latest figures.
    if (statsWindow)
        statsWindow->close();
    statsWindow = new frmStats(session.objects, this);
    OpenDialog(statsWindow);
}

void frmMain::trackWindow(QWidget *window)
{
    secondaryWindows.append(window);
}

void frmMain::ShowMonitor()
{
    if (!monitorWindow) {
        monitorWindow = new frmMonitor(session.trace, session.notifier, this);
        trackWindow(monitorWindow);
    }
    BringForward(monitorWindow);
}

void frmMain::ShowConfig(int page)
{
    if (session.exchange.refuseIfBusy())
        return;
    // A dialog closed a moment ago is only waiting to be deleted: a new one starts afresh.
    if (configWindow && !configWindow->isVisible())
        configWindow = nullptr;
    if (!configWindow) {
        configWindow = new frmConfig(session, this);
        configWindow->setAttribute(Qt::WA_DeleteOnClose);
        configWindow->Load();
        trackWindow(configWindow);
    }
    configWindow->ShowPage(page);
    BringForward(configWindow);
}

void frmMain::ShowHelp(const QString &page)
{
    // A modal dialog blocks every other window; help asked for there opens over it.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = this;
    if (!helpWindow) {
        helpWindow = new frmHelp(owner);
        helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        trackWindow(helpWindow);
    } else if (helpWindow->parentWidget() != owner) {
        const QRect place = helpWindow->geometry();
        helpWindow->setParent(owner, Qt::Window);
        helpWindow->setGeometry(place);
    }
    helpWindow->ShowPage(page);
    BringForward(helpWindow);
}

QString frmMain::HelpPageFor(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->isWindow()) {
            const QString page = frmHelp::PageForWindow(w->objectName());
            if (!page.isEmpty())
                return page;
            break;
        }
        const int tab = SPFEtab->indexOf(const_cast<QWidget *>(w));
        if (tab >= 0)
            return SPFEtab->tabText(tab).remove(QLatin1Char('&'));
    }
    return SPFEtab->tabText(SPFEtab->currentIndex()).remove(QLatin1Char('&'));
}

void frmMain::showAbout()
{
    auto *about = new frmAbout(session.notifier, this,
                               LinkStartup::VirtualSpNote(session.devices, session.settings.ports));
    about->setAttribute(Qt::WA_DeleteOnClose);
    trackWindow(about);
    about->show();
}
