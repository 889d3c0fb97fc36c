#include "app/frmMain.h"

#include "app/ControlLists.h"
#include "app/Session.h"
#include "app/frmAbout.h"
#include "editors/SpinButton.h"
#include "midi/LedWidget.h"
#include "midi/Notifier.h"
#include "settings/Registry.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct TabInfo {
    const char *caption;
    const char *numCaption;
    const char *nameCaption;
    const char *prefix;
    const char *downloadCaption;
    int frontPanelKey;
};

// What each tab shows in the header, and the SP key that follows it to the same page.
const std::array<TabInfo, frmMain::Tabs> TabTable = {{
    {"Preset1", "Preset Num", "Preset Name", "p#", "&Current Preset", 3},
    {"Preset2", "Preset Num", "Preset Name", "p#", "&Current Preset", 3},
    {"Map", "Map Num", "Map Name", "m#", "&Current Map", 2},
    {"Tone1", "Tone Num", "Tone Name", "t#", "&Current Tone", 1},
    {"Tone2", "Tone Num", "Tone Name", "t#", "&Current Tone", 1},
    {"Tone3", "Tone Num", "Tone Name", "t#", "&Current Tone", 1},
    {"Wave", "Wave Num", "Wave Name", "w#", "&Current Wave", 0},
    {"Global", "Multi Num", "Multi Name", "mu#", "&Current Multi", 5},
}};

struct PanelInfo {
    const char *text;
    const char *tip;
};

const std::array<PanelInfo, frmMain::StatusPanels> PanelTable = {{
    {"p#", "Current Preset"},
    {"m#", "Current Map"},
    {"t#", "Current Tone"},
    {"w#", "Current Wave"},
    {"mu#", "Current Multi"},
    {"Free Mem:", "Free Sample RAM"},
    {"Current Bank:", ""},
    {"OFFLINE", "SP Status"},
    {"Midi IO", "MIDI Data Flow"},
}};

constexpr int OnlinePanel = 8;
constexpr int TwipsPerPixel = 15;
// The window centres itself only on a work area larger than its designed size.
constexpr int CentreMinWidthTwips = 12000;
constexpr int CentreMinHeightTwips = 8580;

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QPushButton *CommandButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

frmMain::frmMain(Session &session, QWidget *parent) : QMainWindow(parent), session(session)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Korvane"));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    auto *top = new QHBoxLayout;
    top->addWidget(BuildHeader(), 1);
    top->addWidget(BuildFrontPanel());
    layout->addLayout(top);
    layout->addWidget(BuildCommandButtons());
    BuildTabs();
    layout->addWidget(SPFEtab, 1);
    setCentralWidget(central);
    BuildMenus();
    BuildStatusBar();
    resize(QSize(CentreMinWidthTwips, CentreMinHeightTwips) / TwipsPerPixel);

    connect(&session.link, &LinkState::statusChanged, this, &frmMain::onLinkStatus);
    connect(&session.exchange, &ExchangeState::outLedChanged, ledMIDIout, &LedWidget::setLit);
    connect(&session.exchange, &ExchangeState::inLedChanged, ledMIDIin, &LedWidget::setLit);
    connect(SPFEtab, &QTabWidget::currentChanged, this, &frmMain::SPFEtab_Switch);
}

frmMain::~frmMain() = default;

QWidget *frmMain::BuildHeader()
{
    auto *header = new QWidget(this);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);

    pnlObjNum = new QGroupBox(QLatin1String(TabTable[0].numCaption), header);
    pnlObjNum->setObjectName(QStringLiteral("pnlObjNum"));
    auto *numLayout = new QHBoxLayout(pnlObjNum);
    lblObjNumHash = new QLabel(QLatin1String(TabTable[0].prefix), pnlObjNum);
    lblObjNumHash->setObjectName(QStringLiteral("lblObjNumHash"));
    txtObjectNum = new QLineEdit(pnlObjNum);
    txtObjectNum->setObjectName(QStringLiteral("txtObjectNum"));
    txtObjectNum->setMaxLength(3);
    txtObjectNum->setFixedWidth(txtObjectNum->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    spnObjectNum = new SpinButton(pnlObjNum);
    spnObjectNum->setObjectName(QStringLiteral("spnObjectNum"));
    numLayout->addWidget(lblObjNumHash);
    numLayout->addWidget(txtObjectNum);
    numLayout->addWidget(spnObjectNum);

    pnlObjName = new QGroupBox(QLatin1String(TabTable[0].nameCaption), header);
    pnlObjName->setObjectName(QStringLiteral("pnlObjName"));
    auto *nameLayout = new QHBoxLayout(pnlObjName);
    txtObjectName = new QLineEdit(QStringLiteral("No Preset Loaded"), pnlObjName);
    txtObjectName->setObjectName(QStringLiteral("txtObjectName"));
    txtObjectName->setMaxLength(14);
    txtObjectName->setMinimumWidth(txtObjectName->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));
    nameLayout->addWidget(txtObjectName);

    layout->addWidget(pnlObjNum);
    layout->addWidget(pnlObjName, 1);
    return header;
}

QWidget *frmMain::BuildFrontPanel()
{
    auto *frame = new QGroupBox(QStringLiteral("SP Front Panel"), this);
    frame->setObjectName(QStringLiteral("fraFrontPanel"));
    auto *grid = new QGridLayout(frame);
    grid->setSpacing(4);
    for (const FrontPanel::Key &key : FrontPanel::Layout()) {
        auto *button = new QPushButton(QLatin1String(key.caption), frame);
        button->setObjectName(Indexed("cmdPushButton", key.index));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("Preset")) + 16);
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
    for (QPushButton *button : {cmdDownLoad, cmdLoadBank, cmdDeleteObject, cmdStereoMerge, cmdPlaySample}) {
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, &frmMain::notYetAvailable);
    }
    layout->addStretch(1);
    for (QPushButton *button : {cmdConfig, cmdStats}) {
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, &frmMain::notYetAvailable);
    }
    // Nothing to load, delete, merge or play until the SP has answered.
    for (QPushButton *button : {cmdLoadBank, cmdDeleteObject, cmdStereoMerge, cmdPlaySample})
        button->setEnabled(false);
    return row;
}

void frmMain::BuildTabs()
{
    SPFEtab = new QTabWidget(this);
    SPFEtab->setObjectName(QStringLiteral("SPFEtab"));
    for (const TabInfo &tab : TabTable) {
        auto *page = new QWidget(SPFEtab);
        page->setObjectName(QStringLiteral("tab") + QLatin1String(tab.caption));
        SPFEtab->addTab(page, QLatin1String(tab.caption));
    }
}

void frmMain::BuildMenus()
{
    auto add = [this](QMenu *menu, const QString &caption, const char *name) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, QStringLiteral("&Load Disk Bank"), "mnuLoadBank")->setEnabled(false);
    file->addSeparator();
    connect(add(file, QStringLiteral("E&xit"), "mnuExit"), &QAction::triggered, this, &QWidget::close);

    QMenu *config = menuBar()->addMenu(QStringLiteral("C&onfig"));
    config->setObjectName(QStringLiteral("mnuConfig"));
    add(config, QStringLiteral("&Midi"), "mnuConfigMidi")->setEnabled(false);
    add(config, QStringLiteral("&Disk"), "mnuConfigDisk")->setEnabled(false);
    add(config, QStringLiteral("&SP"), "mnuConfigSP")->setEnabled(false);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    QMenu *download = tools->addMenu(QStringLiteral("Down&load"));
    download->setObjectName(QStringLiteral("mnuDownload"));
    mnuDLobject = add(download, QLatin1String(TabTable[0].downloadCaption), "mnuDLobject");
    mnuDLobject->setEnabled(false);
    add(download, QStringLiteral("&All Objects"), "mnuDLall")->setEnabled(false);
    mnuStereoMerge = add(tools, QStringLiteral("Stereo &Merge"), "mnuStereoMerge");
    mnuDelete = add(tools, QStringLiteral("&Delete"), "mnuDelete");
    mnuStereoMerge->setEnabled(false);
    mnuDelete->setEnabled(false);
    tools->addSeparator();
    add(tools, QStringLiteral("SP &Stats"), "mnuStats")->setEnabled(false);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpMenu"));
    add(help, QStringLiteral("Help &Topics"), "mnuHelpTopics")->setEnabled(false);
    add(help, QStringLiteral("&Help"), "mnuHelp")->setEnabled(false);
    help->addSeparator();
    connect(add(help, QStringLiteral("&About"), "mnuAbout"), &QAction::triggered, this, &frmMain::showAbout);
}

void frmMain::BuildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stbMainForm"));
    bar->setSizeGripEnabled(false);
    const int minimum = fontMetrics().horizontalAdvance(QStringLiteral("w# 000"));
    for (int i = 0; i < StatusPanels; ++i) {
        const PanelInfo &info = PanelTable[static_cast<size_t>(i)];
        auto *panel = new QLabel(QLatin1String(info.text), bar);
        panel->setObjectName(Indexed("stbPanel", i + 1));
        panel->setToolTip(QLatin1String(info.tip));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(minimum);
        panel->setContentsMargins(4, 0, 4, 0);
        const int stretch = (i == 5 || i == 6) ? 2 : 0;
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
}

QLabel *frmMain::statusPanel(int number) const
{
    if (number < 1 || number > StatusPanels)
        return nullptr;
    return panels[static_cast<size_t>(number - 1)];
}

void frmMain::CentreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    if (area.width() * TwipsPerPixel > CentreMinWidthTwips && area.height() * TwipsPerPixel >= CentreMinHeightTwips)
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

LinkStartup::Outcome frmMain::Load()
{
    session.log.write(QStringLiteral("frmMain_load()"));
    CentreOnScreen();
    return Initialise();
}

LinkStartup::Outcome frmMain::Initialise()
{
    LinkStartup startup(session.comms, session.wait, session.exchange, session.link, session.settings,
                        session.store, session.notifier, session.log);
    const LinkStartup::Outcome outcome = startup.Initialise(nullptr);
    if (outcome == LinkStartup::Outcome::Online) {
        // Edit events must not send anything while the header is filled for the first tab.
        session.edit.EditPending = true;
        SPFEtab_Switch();
        session.edit.EditPending = false;
    } else if (outcome == LinkStartup::Outcome::Offline) {
        for (int kind : {ControlLists::Wave, ControlLists::Tone, ControlLists::Map, ControlLists::Preset,
                         ControlLists::Multi, ControlLists::Global})
            ClearObjDisplay(kind);
        for (QPushButton *button : {cmdDeleteObject, cmdStereoMerge})
            button->setEnabled(false);
        mnuDelete->setEnabled(false);
        mnuStereoMerge->setEnabled(false);
    }
    return outcome;
}

void frmMain::SPFEtab_Switch()
{
    const int index = SPFEtab->currentIndex();
    if (index < 0 || index >= Tabs)
        return;
    const TabInfo &tab = TabTable[static_cast<size_t>(index)];
    pnlObjNum->setTitle(QLatin1String(tab.numCaption));
    pnlObjName->setTitle(QLatin1String(tab.nameCaption));
    lblObjNumHash->setText(QLatin1String(tab.prefix));
    mnuDLobject->setText(QLatin1String(tab.downloadCaption));

    // No kind has objects loaded until they are retrieved from the SP.
    const bool loaded = false;
    mnuDLobject->setEnabled(loaded);
    txtObjectNum->clear();
    txtObjectName->setText(QStringLiteral("None Loaded"));
    txtObjectNum->setReadOnly(!loaded);
    txtObjectName->setReadOnly(!loaded);
    cmdDeleteObject->setEnabled(loaded);
    mnuDelete->setEnabled(loaded);

    if (session.link.isOnline())
        cmdPushButton_Click(tab.frontPanelKey);
}

void frmMain::ClearObjDisplay(int kind)
{
    session.edit.EditPending = true;
    txtObjectName->setReadOnly(true);
    for (const QString &name : ControlLists::ForKind(kind)) {
        QWidget *control = findChild<QWidget *>(name);
        if (!control)
            continue;
        if (auto *box = qobject_cast<QLineEdit *>(control))
            box->clear();
        else if (auto *button = qobject_cast<QAbstractButton *>(control); button && button->isCheckable())
            button->setChecked(false);
        else if (auto *slider = qobject_cast<QAbstractSlider *>(control); slider && !name.startsWith(QLatin1String("hs")))
            slider->setValue(0);
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
        control->setEnabled(false);
    }
    session.edit.EditPending = false;
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
    if (online)
        cmdLoadBank->setEnabled(true);
}

void frmMain::trackWindow(QWidget *window)
{
    secondaryWindows.append(window);
}

void frmMain::showAbout()
{
    auto *about = new frmAbout(session.notifier, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    trackWindow(about);
    about->show();
}

void frmMain::notYetAvailable()
{
    session.notifier.message(Notifier::Icon::Information, QString(),
                             QStringLiteral("This function is not available in this version of Korvane."));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Registry::SetRegistry(session.store, session.settings);
    for (const QPointer<QWidget> &window : secondaryWindows) {
        if (window)
            window->close();
    }
    secondaryWindows.clear();
    session.wait.abort();
    session.comms.ClosePorts();
    event->accept();
}
