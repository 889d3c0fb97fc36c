#include "app/frmMain.h"
#include "app/EditorTable.h"
#include "app/MainTabs.h"
#include "editors/ControlLists.h"
#include "app/EditHistory.h"
#include "app/ObjectHeader.h"
#include "app/ObjectTransfer.h"
#include "app/PageBuilder.h"
#include "app/StatusPanels.h"
#include "app/WindowPlacement.h"
#include "app/frmProgress.h"
#include "editors/EditRules.h"
#include "editors/KindEditor.h"
#include "editors/Session.h"
#include "widgets/LedWidget.h"
#include "settings/Registry.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
namespace {

struct PanelInfo {
    const char *text;
    const char *tip;
    const char *widest; // the longest text the panel shows, so nothing is clipped
};

const std::array<PanelInfo, frmMain::StatusPanels> PanelTable = {{
    {"p#", "Current Preset", "p# 000"},
    {"m#", "Current Map", "m# 000"},
    {"t#", "Current Tone", "t# 000"},
    {"w#", "Current Wave", "w# 000"},
    {"mu#", "Current Multi", "mu# 000"},
    {"Free Mem:", "Free Sample RAM", "Free RAM: 00000 kw"},
    {"Current Bank:", "", "Current Bank: Nnnnnnnnnnnnnn"},
    {"OFFLINE", "SP Status", "OFFLINE"},
    {"Midi IO", "MIDI Data Flow", "Midi IO"},
}};

constexpr int OnlinePanel = 8;
constexpr const char *BusyNotice = "SP busy: wait for the current exchange to finish";
constexpr int BusyNoticeMs = 3000;
constexpr int TwipsPerPixel = 15;
// The window's designed size.
constexpr int CentreMinWidthTwips = 12000;
constexpr int CentreMinHeightTwips = 8580;

// A tab page's scroller. The window's size comes from its design and the pages scroll, so a
// page's preferred size is never needed: asking for it would lay out every page, hidden ones
// included, before the window is first shown.
class PageScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return minimumSizeHint(); }
};

QPushButton *CommandButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

frmMain::frmMain(Session &session, QWidget *parent, bool pagesWhenShown)
    : QMainWindow(parent), session(session), pagesWhenShown(pagesWhenShown)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Korvane"));

    editRules = new EditRules(session.edit, session.exchange, this);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    auto *top = new QHBoxLayout;
    objectHeader = new ObjectHeader(session, central);
    top->addWidget(objectHeader, 1);
    top->addWidget(BuildFrontPanel());
    layout->addLayout(top);
    layout->addWidget(BuildCommandButtons());
    BuildTabs();
    layout->addWidget(SPFEtab, 1);
    setCentralWidget(central);
    BuildMenus();
    BuildViewMenu();
    BuildStatusBar();
    // The designed size, widened when the status bar's panels need more room.
    QSize size = QSize(CentreMinWidthTwips, CentreMinHeightTwips) / TwipsPerPixel;
    size.setWidth(std::max(size.width(), statusBar()->sizeHint().width() + 24));
    resize(size.expandedTo(minimumSizeHint()));

    progressWindow = new frmProgress(this);
    objectRetrieval = std::make_unique<Retrieval>(session.io, session.link, session.notifier, session.log, *this);
    objectHeader->setRetrieval(objectRetrieval.get());
    // Each kind's dump and display routines, as its editor provides them; a display waits for
    // its page to be made.
    for (const auto &entry : editors) {
        const int kind = entry.first;
        KindEditor *editor = entry.second;
        editor->setRetrieval(objectRetrieval.get());
        objectRetrieval->setRoutines(kind, {[editor](int n) { return editor->ReadDump(n); },
                                            [this, kind] { pageBuilder->Display(kind); }});
    }
    editHistory = new EditHistory(session, *objectRetrieval, [this](int kind) { ShowReadBack(kind); }, this);
    BuildEditMenu();
    qApp->installEventFilter(this);
    objectTransfer = std::make_unique<ObjectTransfer>(
        session, [this](int kind, int16_t number) {
            return kind == KindGlobal ? objectRetrieval->DownloadGlobal() : editHistory->ReadBack(kind, number);
        });
    setAcceptDrops(true);

    connect(&session.link, &LinkState::statusChanged, this, &frmMain::onLinkStatus);
    connect(&session.exchange, &ExchangeState::outLedChanged, ledMIDIout, &LedWidget::setLit);
    connect(&session.exchange, &ExchangeState::inLedChanged, ledMIDIin, &LedWidget::setLit);
    connect(&session.wait, &ResponseWait::failing, progressWindow, &QWidget::hide);
    connect(SPFEtab, &QTabWidget::currentChanged, this, &frmMain::SPFEtab_Switch);
    busyNoticeTimer = new QTimer(this);
    busyNoticeTimer->setSingleShot(true);
    busyNoticeTimer->setInterval(BusyNoticeMs);
    connect(busyNoticeTimer, &QTimer::timeout, this, [this] {
        // Put back what was there, unless something newer has been written meanwhile.
        if (panels[6]->text() == QLatin1String(BusyNotice))
            panels[6]->setText(panel7BeforeNotice);
    });
    connect(&session.exchange, &ExchangeState::refusedWhileBusy, this, &frmMain::ShowBusyNotice);
}

WindowServices frmMain::services()
{
    return {*this, *objectRetrieval, *this, *progressWindow, *editHistory, *objectHeader, [this] { SPFEtab_Switch(); }};
}

void frmMain::ShowBusyNotice()
{
    if (panels[6]->text() != QLatin1String(BusyNotice))
        panel7BeforeNotice = panels[6]->text();
    panels[6]->setText(QLatin1String(BusyNotice));
    busyNoticeTimer->start();
}

frmMain::~frmMain() = default;

QWidget *frmMain::BuildFrontPanel()
{
    auto *frame = new QGroupBox(QStringLiteral("SP Front Panel"), this);
    frame->setObjectName(QStringLiteral("fraFrontPanel"));
    auto *grid = new QGridLayout(frame);
    grid->setSpacing(4);
    for (const FrontPanel::Key &key : FrontPanel::Layout()) {
        auto *button = new QPushButton(QLatin1String(key.caption), frame);
        button->setObjectName(ControlLists::Element("cmdPushButton", key.index));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("Preset")) + 12);
        grid->addWidget(button, key.row - 1, key.column - 1);
        cmdPushButton[static_cast<size_t>(key.index)] = button;
        connect(button, &QPushButton::clicked, this, [this, index = key.index] { cmdPushButton_Click(index); });
    }
    return frame;
}

QWidget *frmMain::BuildCommandButtons()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    cmdDownLoad = CommandButton(QStringLiteral("Download"), "cmdDownLoad", row);
    cmdLoadBank = CommandButton(QStringLiteral("Load Bank..."), "cmdLoadBank", row);
    cmdDeleteObject = CommandButton(QStringLiteral("Delete..."), "cmdDeleteObject", row);
    cmdStereoMerge = CommandButton(QStringLiteral("Stereo Merge..."), "cmdStereoMerge", row);
    cmdPlaySample = CommandButton(QStringLiteral("Play"), "cmdPlaySample", row);
    cmdConfig = CommandButton(QStringLiteral("Config..."), "cmdConfig", row);
    cmdStats = CommandButton(QStringLiteral("SP Stats..."), "cmdStats", row);
    cmdDownLoad->setToolTip(QStringLiteral("Left click: download the current object. Right click: download all objects."));
    cmdDownLoad->installEventFilter(this);
    layout->addWidget(cmdDownLoad);
    connect(cmdDownLoad, &QPushButton::clicked, this, [this] { Download(CurrentObject); });
    for (QPushButton *button : {cmdLoadBank, cmdDeleteObject, cmdStereoMerge})
        layout->addWidget(button);
    connect(cmdLoadBank, &QPushButton::clicked, this, &frmMain::LoadBank);
    connect(cmdDeleteObject, &QPushButton::clicked, this, &frmMain::DeleteObject);
    connect(cmdStereoMerge, &QPushButton::clicked, this, &frmMain::StereoMerge);
    layout->addWidget(cmdPlaySample); // the Wave editor plays the current Wave with it
    layout->addStretch(1);
    for (QPushButton *button : {cmdConfig, cmdStats})
        layout->addWidget(button);
    connect(cmdConfig, &QPushButton::clicked, this, [this] { ShowConfig(-1); });
    // The button waits for the SP to be free; the menu item opens the window regardless.
    connect(cmdStats, &QPushButton::clicked, this, [this] {
        if (!session.exchange.refuseIfBusy())
            ShowStats();
    });
    // Nothing to load, delete, merge or play until the SP has answered.
    for (QPushButton *button : {cmdLoadBank, cmdDeleteObject, cmdStereoMerge, cmdPlaySample})
        button->setEnabled(false);
    return row;
}

void frmMain::BuildTabs()
{
    SPFEtab = new QTabWidget(this);
    SPFEtab->setObjectName(QStringLiteral("SPFEtab"));
    for (size_t i = 0; i < MainTabs::TabTable.size(); ++i) {
        const QString caption = QLatin1String(MainTabs::TabTable[i].caption);
        // A window smaller than a page scrolls it rather than squeezing its controls.
        auto *scroll = new PageScroll(SPFEtab);
        scroll->setObjectName(QStringLiteral("scr") + caption);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // A click on a spin arrow or a label must leave the focus where it was (a box being
        // edited keeps it), not hand it to the scroll area around the page.
        scroll->setFocusPolicy(Qt::NoFocus);
        auto *page = new QWidget(scroll);
        page->setObjectName(QStringLiteral("tab") + caption);
        scroll->setWidget(page);
        SPFEtab->addTab(scroll, caption);
        tabPages[i] = page;
    }
    pageBuilder = new PageBuilder([this](int kind) { DisplayKind(kind); }, [this](int kind) { ClearKindControls(kind); },
                                  [this] { return session.exchange.busy(); }, this);
    const auto add = [this](std::vector<int> tabs, std::vector<int> kinds, std::function<void()> build) {
        // The controls of a kind found before this page was made lack the page's own.
        pageBuilder->add({std::move(tabs), kinds, [this, kinds, build = std::move(build)] {
                              for (int kind : kinds)
                                  kindControls.erase(kind);
                              build();
                          }});
    };
    for (const EditorTable::Entry &entry : EditorTable::Entries()) {
        std::vector<QWidget *> pages;
        std::vector<std::vector<int>> partTabs;
        for (const auto &part : entry.parts) {
            partTabs.emplace_back();
            for (const char *caption : part) {
                const int tab = MainTabs::IndexOf(caption);
                pages.push_back(tabPages[static_cast<size_t>(tab)]);
                partTabs.back().push_back(tab);
            }
        }
        KindEditor *editor = entry.make(session, *editRules, pages, this);
        editors[entry.kind] = editor;
        for (size_t part = 0; part < partTabs.size(); ++part)
            add(partTabs[part], {entry.kind}, [editor, part] { editor->MakePage(static_cast<int>(part)); });
    }
    if (!pagesWhenShown)
        pageBuilder->BuildAll();
}

void frmMain::DisplayKind(int kind)
{
    if (const auto found = editors.find(kind); found != editors.end())
        found->second->Display();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (pagesWhenShown)
        pageBuilder->BuildRestWhenIdle();
}

void frmMain::ShowReadBack(int kind)
{
    if (objectHeader->CurrentKind() != kind)
        return;
    const KindState &state = session.objects.of(kind);
    objectHeader->SetContents(QString::number(state.Num), state.ImageName().trimmed());
}

void frmMain::BuildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stbMainForm"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < StatusPanels; ++i) {
        const PanelInfo &info = PanelTable[static_cast<size_t>(i)];
        // The link state keeps its full width; the others shorten or step aside (StatusPanelFit).
        QLabel *panel = i + 1 == OnlinePanel ? new QLabel(QLatin1String(info.text), bar)
                                             : new StatusPanel(QLatin1String(info.text), QLatin1String(info.widest), bar);
        panel->setObjectName(ControlLists::Element("stbPanel", i + 1));
        panel->setToolTip(QLatin1String(info.tip));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        if (i + 1 == OnlinePanel)
            panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QLatin1String(info.widest)) + 16);
        const int stretch = i == 6 ? 1 : 0;
        bar->addPermanentWidget(panel, stretch);
        panels[static_cast<size_t>(i)] = panel;
    }
    ledMIDIout = new LedWidget(QColor(230, 40, 30), bar);
    ledMIDIout->setObjectName(QStringLiteral("ledMIDIout"));
    ledMIDIout->setToolTip(QStringLiteral("MIDI out"));
    ledMIDIin = new LedWidget(QColor(40, 200, 40), bar);
    ledMIDIin->setObjectName(QStringLiteral("ledMIDIin"));
    ledMIDIin->setToolTip(QStringLiteral("MIDI in"));
    bar->addPermanentWidget(ledMIDIout);
    bar->addPermanentWidget(ledMIDIin);
    // Least important first: the fixed "Midi IO", the Multi, the free memory, then the objects.
    auto panel = [this](int number) -> QWidget * { return panels[static_cast<size_t>(number - 1)]; };
    new StatusPanelFit(bar, {panel(7), panel(OnlinePanel), ledMIDIout, ledMIDIin},
                       {panel(9), panel(5), panel(6), panel(4), panel(3), panel(2), panel(1)});
}

QLabel *frmMain::statusPanel(int number) const
{
    if (number < 1 || number > StatusPanels)
        return nullptr;
    return panels[static_cast<size_t>(number - 1)];
}

void frmMain::PlaceOnScreen()
{
    const QRect remembered = session.settings.window.Geometry;
    const QScreen *screen = QGuiApplication::primaryScreen();
    // The screen that still shows the remembered place whole, if any is left.
    for (const QScreen *candidate : QGuiApplication::screens()) {
        if (remembered.isValid() && candidate->availableGeometry().contains(remembered))
            screen = candidate;
    }
    if (!screen)
        return;
    // The window manager's frame is not known before the first show: the style's title bar and
    // border stand in for it.
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2;
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QMargins frame(border, titleBar + border, border, border);
    const QRect available = screen->availableGeometry();
    // On a screen smaller than the window's least usable size, the screen wins.
    const QSize inside = available.marginsRemoved(frame).size();
    const QSize least = minimumSizeHint();
    if (least.width() > inside.width() || least.height() > inside.height())
        setMinimumSize(least.boundedTo(inside));
    setGeometry(WindowPlacement::FitToScreen(size(), available, remembered, frame));
}

QStringList frmMain::TabCaptions()
{
    QStringList captions;
    for (const MainTabs::TabInfo &tab : MainTabs::TabTable)
        captions << QLatin1String(tab.caption);
    return captions;
}

LinkStartup::Outcome frmMain::Load()
{
    session.log.write(QStringLiteral("frmMain_load()"));
    session.settings.window = Registry::ReadWindow(session.store);
    PlaceOnScreen();
    // The tab shown last comes back before the link starts, so the SP's own page follows it once.
    ShowTab(session.settings.window.LastTab);
    pageBuilder->BuildTab(SPFEtab->currentIndex());
    return Initialise();
}

LinkStartup::Outcome frmMain::Initialise()
{
    LinkStartup startup(session.comms, session.wait, session.exchange, session.link, session.settings,
                        session.store, session.notifier, session.log);
    startup.setDevices(&session.devices);
    const LinkStartup::Outcome outcome = startup.Initialise(nullptr);
    if (outcome == LinkStartup::Outcome::Online) {
        if (!objectRetrieval->AllObjectsDump())
            return session.link.isOnline() ? outcome : LinkStartup::Outcome::Offline;
        // Edit events must not send anything while the header is filled for the first tab.
        session.edit.EditPending = true;
        SPFEtab_Switch();
        session.edit.EditPending = false;
        SetStatusPanel(6, objectRetrieval->FreeRamText());
    } else if (outcome == LinkStartup::Outcome::Offline) {
        for (int kind : {KindWave, KindTone, KindMap, KindPreset, KindMulti, KindGlobal})
            ClearObjDisplay(kind);
        SetDeleteEnabled(false);
        SetMergeEnabled(false);
    }
    return outcome;
}

void frmMain::SPFEtab_Switch()
{
    const int index = SPFEtab->currentIndex();
    if (index < 0 || index >= Tabs)
        return;
    pageBuilder->BuildTab(index);
    const MainTabs::TabInfo &tab = MainTabs::TabTable[static_cast<size_t>(index)];
    objectHeader->SetCaptions(QLatin1String(tab.numCaption), QLatin1String(tab.nameCaption), QLatin1String(tab.prefix));
    mnuDLobject->setText(QLatin1String(tab.downloadCaption));

    const KindState &state = session.objects.of(objectHeader->CurrentKind());
    mnuDLobject->setEnabled(state.Have);
    if (state.Have && state.DirPos >= 0 && state.DirPos < state.Dir.Count()) {
        objectHeader->Lock(false);
        objectHeader->SetContents(QString::number(state.Dir.Entries[state.DirPos].Number), state.ImageName().trimmed());
        SetDeleteEnabled(true);
    } else {
        objectHeader->SetContents(QString(), QStringLiteral("None Loaded"));
        objectHeader->Lock(true);
        SetDeleteEnabled(false);
    }
    if (session.link.isOnline())
        cmdPushButton_Click(tab.frontPanelKey);
}

bool frmMain::ShowTab(const QString &caption)
{
    for (int i = 0; i < SPFEtab->count(); ++i) {
        if (SPFEtab->tabText(i).compare(caption, Qt::CaseInsensitive) == 0) {
            SPFEtab->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void frmMain::ClearObjDisplay(int kind)
{
    objectHeader->nameBox()->setReadOnly(true);
    pageBuilder->Clear(kind);
}

void frmMain::ClearKindControls(int kind)
{
    session.edit.EditPending = true;
    auto found = kindControls.find(kind);
    if (found == kindControls.end())
        found = kindControls.emplace(kind, ControlLists::Find(this, ControlLists::ForKind(kind))).first;
    for (QWidget *control : found->second) {
        if (auto *box = qobject_cast<QLineEdit *>(control))
            box->clear();
        else if (auto *button = qobject_cast<QAbstractButton *>(control); button && button->isCheckable())
            button->setChecked(false);
        else if (auto *slider = qobject_cast<QAbstractSlider *>(control); slider && !control->objectName().startsWith(QLatin1String("hs")))
            slider->setValue(0);
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
        control->setEnabled(false);
    }
    if (const auto editor = editors.find(kind); editor != editors.end())
        editor->second->Clear();
    session.edit.EditPending = false;
}

void frmMain::Download(DownloadMode mode)
{
    if (session.exchange.refuseIfBusy())
        return;
    if (!session.link.isOnline()) {
        session.comms.MidiOutLongMsg(LinkStartup::ProdMessage(static_cast<uint8_t>(session.settings.sp.SysExDeviceID)));
        const QByteArray status = session.wait.GetSpResponse(ResponseWait::DefaultTimeout, ResponseWait::StatusResponse);
        session.exchange.setResponseArrived(false);
        if (status != "0")
            return;
        session.link.setStatus(LinkState::Online);
        if (mode == CurrentObject) {
            SetStatusPanel(7, QStringLiteral("Downloading Global data..."));
            objectRetrieval->DownloadGlobal();
            SetStatusPanel(7, objectRetrieval->CurrentBankText());
        }
    }
    if (mode == CurrentObject) {
        const int kind = objectHeader->CurrentKind();
        if (kind >= 0)
            objectRetrieval->ObjectDownload(kind);
    } else if (mode == AllObjects) {
        progressWindow->Show(QStringLiteral("Download SP Objects"), QStringLiteral("Downloading SP Data..."));
        objectRetrieval->AllObjectsDump();
        progressWindow->hide();
        SetStatusPanel(6, objectRetrieval->FreeRamText());
        SPFEtab_Switch();
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+Z and Ctrl+Shift+Z in this window's boxes undo committed edits, not typing: the
    // boxes are kept from claiming the keys, so the Edit menu's shortcuts get them.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        const QKeyCombination keys = static_cast<QKeyEvent *>(event)->keyCombination();
        if (widget && widget->window() == this
            && (keys == QKeyCombination(Qt::CTRL | Qt::Key_Z) || keys == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)))
            return true;
    }
    // A right click on the download button fetches everything.
    if (watched == cmdDownLoad && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        Download(AllObjects);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::SetStatusPanel(int panel, const QString &text)
{
    if (QLabel *label = statusPanel(panel))
        label->setText(text);
}

void frmMain::SetDeleteEnabled(bool enabled)
{
    cmdDeleteObject->setEnabled(enabled);
    mnuDelete->setEnabled(enabled);
}

void frmMain::SetMergeEnabled(bool enabled)
{
    cmdStereoMerge->setEnabled(enabled);
    mnuStereoMerge->setEnabled(enabled);
}

void frmMain::LockHeader(bool locked)
{
    objectHeader->Lock(locked);
}

QString frmMain::HeaderNumber() const
{
    return objectHeader->NumberText();
}

QString frmMain::HeaderPrefix() const
{
    return objectHeader->Prefix();
}

void frmMain::SetHeader(const QString &number, const QString &name)
{
    objectHeader->SetContents(number, name);
}

void frmMain::SetBusy(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmMain::cmdPushButton_Click(int index)
{
    session.frontPanel.Press(index);
}

void frmMain::onLinkStatus()
{
    const bool online = session.link.isOnline();
    statusPanel(OnlinePanel)->setText(online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    // Coming online makes bank loading possible; going offline leaves the button as it was.
    // The menu item stays enabled throughout: offline it says why it cannot load.
    if (online)
        cmdLoadBank->setEnabled(true);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (isVisible()) {
        session.settings.window.Geometry = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
        session.settings.window.LastTab = SPFEtab->tabText(SPFEtab->currentIndex());
    }
    Registry::SetRegistry(session.store, session.settings, session.comms);
    for (const QPointer<QWidget> &window : secondaryWindows) {
        if (window)
            window->close();
    }
    secondaryWindows.clear();
    session.wait.abort();
    session.comms.ClosePorts();
    event->accept();
}
