// frmConfig: the configuration dialog. Chooses the MIDI ports and MIDI Thru, describes the
// disk devices attached to the SP, and sets the audition settings and the SP's device ID.
// It edits the settings in memory; Apply puts each changed group to use at once.
#pragma once

#include "editors/EditState.h"
#include "app/frmConfigLayout.h"

#include <QDialog>

#include <array>

class Session;
struct DiskDevice;

class frmConfig : public QDialog {
    Q_OBJECT
public:
    enum Page { MidiPage = 0, DiskPage = 1, SpPage = 2 };
    // One change flag per group, applied group by group in this order.
    enum Group { MidiDevices = 0, MidiThru = 1, DiskDevices = 2, SpSettings = 3, Groups = 4 };

    explicit frmConfig(Session &session, QWidget *parent = nullptr);

    // Fills every control from the settings, with the devices present now; nothing is changed.
    void Load();
    void ShowPage(int page);
    bool Changed(Group group) const { return changed[static_cast<size_t>(group)]; }

    // Applies every changed group; false when a port would not open (the MIDI flag stays set).
    bool Apply();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Connect();
    void SetChanged(Group group);
    void UpdateApply();
    DiskDevice &ShownDisk();
    // The note beside the buttons when a port would not open: which one, and the system's reason.
    QString PortNote(const QString &direction, const QString &name) const;
    void ShowApplyNote(const QString &note); // an empty note hides it

    void optDevice_Click(int index);
    void chkInstalled_Click();
    void optType_Click(int type);
    void txtVolName_Change();
    void txtSPconfig_Change(int element);
    void spnSPconfig_Spin(int element, int step);
    void ClearTypes(bool enabled);
    // A write of the program's own into a control: it counts as no change.
    template <typename Write>
    void Quietly(Write write);

    Session &session;
    // The dialog's own edit state: a box left uncommitted in the main window must not make
    // the dialog take its own writes for the user's, nor the user's for its own.
    EditState edit;
    ConfigControls c;
    std::array<bool, Groups> changed{};
    int shownDisk = 0;
};
