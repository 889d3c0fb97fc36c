// frmMain: the program's one main window. Tabs, object header, front-panel keys, command
// buttons, status bar with the activity lights, the start-up and shutdown of the link, and
// the view that retrieval fills.
#pragma once

#include "app/MainTabs.h"
#include "app/WindowServices.h"
#include "device/LinkStartup.h"
#include "objects/Retrieval.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <map>
#include <memory>

class EditHistory;
class ObjectTransfer;
class EditRules;
class KindEditor;
class LedWidget;
class ObjectHeader;
class QAction;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
class Session;
class frmProgress;
class frmStats;
class frmMonitor;
class frmConfig;
class frmHelp;
class PageBuilder;

class frmMain : public QMainWindow, public RetrievalView {
    Q_OBJECT
public:
    static constexpr int StatusPanels = 9;
    static constexpr int Tabs = MainTabs::Count;
    enum DownloadMode { Idle = 0, CurrentObject = 1, AllObjects = 2 };

    // Every tab page's controls are made at once, or, with `pagesWhenShown`, each page's when it
    // is first shown and the rest once the window is up.
    explicit frmMain(Session &session, QWidget *parent = nullptr, bool pagesWhenShown = false);
    ~frmMain() override;

    // The window's load: centre it, start the link. The caller shows the window afterwards.
    LinkStartup::Outcome Load();

    // Status bar panels are numbered 1 to 9.
    QLabel *statusPanel(int number) const;
    Retrieval &retrieval() { return *objectRetrieval; }
    ObjectHeader &header() { return *objectHeader; }
    frmProgress &progress() { return *progressWindow; }
    EditRules &rules() { return *editRules; }
    EditHistory &history() { return *editHistory; }

    void SPFEtab_Switch();
    // What the commands and dialogs it opens use of it.
    WindowServices services();
    // The tabs' captions, in order: what --tab accepts.
    static QStringList TabCaptions();
    // Makes the tab with this caption current; false when there is none.
    bool ShowTab(const QString &caption);
    void cmdPushButton_Click(int index);
    void Download(DownloadMode mode);

    // The memory operations' windows. Load, delete and merge are modal and need the SP free;
    // the statistics window is modeless.
    void LoadBank();
    void DeleteObject();
    void StereoMerge();
    void ShowStats();

    // Secondary windows opened from here; they close when the main window closes.
    void trackWindow(QWidget *window);
    // Opens the MIDI monitor, or brings the open one to the front.
    void ShowMonitor();
    // Replaces the current object of the tab's kind with the object in a .syx file, once the
    // user agrees; false when nothing was replaced.
    bool ImportObjectFile(const QString &path);
    // A .syx file opened from outside (a double click, the command line): one exported object is
    // imported on its kind's tab, after the import's question; a backup is compared with the SP.
    void OpenSysExFile(const QString &path);
    ObjectTransfer &transfer() { return *objectTransfer; }
    // Opens the one configuration dialog, or brings it forward; page -1 keeps its page.
    void ShowConfig(int page);
    // Opens the one help window on this page ("index" for the contents), or turns it there.
    void ShowHelp(const QString &page);
    // The help page for a widget: its dialog's page, or the page of the tab it sits on, or the
    // current tab's page.
    QString HelpPageFor(const QWidget *widget) const;
    // The pages whose controls are made on first showing.
    PageBuilder &pages() { return *pageBuilder; }

    // RetrievalView
    void SetStatusPanel(int panel, const QString &text) override;
    void ClearObjDisplay(int kind) override;
    void SetDeleteEnabled(bool enabled) override;
    void SetMergeEnabled(bool enabled) override;
    void LockHeader(bool locked) override;
    QString HeaderNumber() const override;
    QString HeaderPrefix() const override;
    void SetHeader(const QString &number, const QString &name) override;
    void SetBusy(bool busy) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // A local .syx file dropped on the window is imported.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    LinkStartup::Outcome Initialise();
    // Fitted to the screen's free area, or where the user left the window when still on a screen.
    void PlaceOnScreen();
    // The tabs by Ctrl+1 to Ctrl+8, the objects of the kind by Page Up and Page Down.
    void BuildViewMenu();
    QWidget *BuildFrontPanel();
    QWidget *BuildCommandButtons();
    void BuildTabs();
    // The editor routines that fill and empty a kind's controls.
    void DisplayKind(int kind);
    void ClearKindControls(int kind);
    void BuildMenus();
    void BuildEditMenu();
    void ChooseExportFile();
    void ChooseImportFile();
    // The header follows an object read back by undo or redo when its kind is shown.
    void ShowReadBack(int kind);
    void BuildStatusBar();
    void onLinkStatus();
    void showAbout();
    // A press or an edit refused while the SP is busy is said so in panel 7 for a moment.
    void ShowBusyNotice();
    void OpenDialog(QWidget *dialog);
    bool eventFilter(QObject *watched, QEvent *event) override;

    Session &session;
    ObjectHeader *objectHeader = nullptr;
    std::unique_ptr<Retrieval> objectRetrieval;
    EditRules *editRules = nullptr;
    EditHistory *editHistory = nullptr;
    std::unique_ptr<ObjectTransfer> objectTransfer;
    std::map<int, KindEditor *> editors; // by kind, as the editor table makes them
    frmProgress *progressWindow = nullptr;
    QTabWidget *SPFEtab = nullptr;
    std::array<QWidget *, Tabs> tabPages{}; // each inside its tab's scroll area
    std::array<QPushButton *, 12> cmdPushButton{};
    QPushButton *cmdLoadBank = nullptr;
    QPushButton *cmdDeleteObject = nullptr;
    QPushButton *cmdStereoMerge = nullptr;
    QPushButton *cmdDownLoad = nullptr;
    QPushButton *cmdPlaySample = nullptr;
    QPushButton *cmdConfig = nullptr;
    QPushButton *cmdStats = nullptr;
    QAction *mnuDLobject = nullptr;
    QAction *mnuDelete = nullptr;
    QAction *mnuStereoMerge = nullptr;
    QAction *mnuLoadBank = nullptr;
    QPointer<frmStats> statsWindow;
    int LastBankNum = 0; // the bank loaded last in this run; not kept in the settings
    std::array<QLabel *, StatusPanels> panels{};
    LedWidget *ledMIDIin = nullptr;
    LedWidget *ledMIDIout = nullptr;
    QList<QPointer<QWidget>> secondaryWindows;
    QTimer *busyNoticeTimer = nullptr;
    QString panel7BeforeNotice;
    frmMonitor *monitorWindow = nullptr;
    QPointer<frmConfig> configWindow;
    QPointer<frmHelp> helpWindow;
    std::map<int, QList<QWidget *>> kindControls; // what clearing a kind's display walks, found once
    PageBuilder *pageBuilder = nullptr;
    bool pagesWhenShown = false;
};
