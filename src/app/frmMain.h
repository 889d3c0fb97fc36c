// frmMain: the program's one main window. Tabs, object header, front-panel keys, command
// buttons, status bar with the activity lights, and the start-up and shutdown of the link.
#pragma once

#include "device/LinkStartup.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class LedWidget;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class Session;
class SpinButton;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int StatusPanels = 9;
    static constexpr int Tabs = 8;

    explicit frmMain(Session &session, QWidget *parent = nullptr);
    ~frmMain() override;

    // The window's load: centre it, start the link. The caller shows the window afterwards.
    LinkStartup::Outcome Load();

    // Status bar panels are numbered 1 to 9.
    QLabel *statusPanel(int number) const;

    void SPFEtab_Switch();
    void ClearObjDisplay(int kind);
    void cmdPushButton_Click(int index);

    // Secondary windows opened from here; they close when the main window closes.
    void trackWindow(QWidget *window);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    LinkStartup::Outcome Initialise();
    void CentreOnScreen();
    QWidget *BuildHeader();
    QWidget *BuildFrontPanel();
    QWidget *BuildCommandButtons();
    void BuildTabs();
    void BuildMenus();
    void BuildStatusBar();
    void onLinkStatus();
    void showAbout();
    void notYetAvailable();

    Session &session;
    QTabWidget *SPFEtab = nullptr;
    QGroupBox *pnlObjNum = nullptr;
    QGroupBox *pnlObjName = nullptr;
    QLabel *lblObjNumHash = nullptr;
    QLineEdit *txtObjectNum = nullptr;
    QLineEdit *txtObjectName = nullptr;
    SpinButton *spnObjectNum = nullptr;
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
    std::array<QLabel *, StatusPanels> panels{};
    LedWidget *ledMIDIin = nullptr;
    LedWidget *ledMIDIout = nullptr;
    QList<QPointer<QWidget>> secondaryWindows;
};
