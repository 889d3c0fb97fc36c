// The configuration dialog as a user drives it: opening it, the change flags and Apply, OK and
// Cancel, typing and spinning the audition boxes, the disk devices, choosing MIDI ports (also
// ones plugged in after start), the device ID on the wire, saving the settings, and the hints a
// first start gives.
#include "TestApp.h"
#include "UserInput.h"
#include "VspApp.h"
#include "device/LinkStartup.h"
#include "widgets/SpinButton.h"
#include "midi/RtMidiBackend.h"
#include "app/frmConfig.h"
#include "vsp/VirtualSpBackend.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

// The dialog and its controls, found by name as a user finds them by sight.
struct Dialog {
    frmConfig *w = nullptr;

    template <typename T>
    T *get(const QString &name) const
    {
        T *control = w->findChild<T *>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }
    QLineEdit *sp(int e) const { return get<QLineEdit>(QStringLiteral("txtSPconfig(%1)").arg(e)); }
    QRadioButton *device(int i) const { return get<QRadioButton>(QStringLiteral("optDevice(%1)").arg(i)); }
    QRadioButton *type(int t) const { return get<QRadioButton>(QStringLiteral("optType(%1)").arg(t)); }
    QCheckBox *installed() const { return get<QCheckBox>("chkInstalled"); }
    QLineEdit *volName() const { return get<QLineEdit>("txtVolName"); }
    QListWidget *inputs() const { return get<QListWidget>("lstInputDevice"); }
    QListWidget *outputs() const { return get<QListWidget>("lstOutputDevice"); }
    QPushButton *apply() const { return get<QPushButton>("cmdApply"); }
    QTabWidget *pages() const { return get<QTabWidget>("vstConfig"); }

    void typeInto(int e, const QString &text) const
    {
        sp(e)->selectAll();
        QTest::keyClicks(sp(e), text);
    }
    void spin(int e, bool up) const
    {
        auto *spinner = get<SpinButton>(QStringLiteral("spnSPconfig(%1)").arg(e));
        spinner->findChild<QToolButton *>(up ? "up" : "down")->click();
    }
    // A click on a list entry, as the mouse makes it.
    static void pick(QListWidget *list, int row)
    {
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(list->currentRow(), row);
    }
    QStringList items(QListWidget *list) const
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    bool anyTypeChecked() const { return type(0)->isChecked() || type(1)->isChecked() || type(2)->isChecked(); }
    bool anyTypeEnabled() const { return type(0)->isEnabled() || type(1)->isEnabled() || type(2)->isEnabled(); }
};

Dialog OpenConfig(TestApp &app, const char *menuItem = nullptr)
{
    if (menuItem)
        app.find<QAction>(menuItem)->trigger();
    else
        QTest::mouseClick(app.find<QPushButton>("cmdConfig"), Qt::LeftButton);
    for (frmConfig *open : app.main()->findChildren<frmConfig *>()) {
        if (open->isVisible())
            return {open};
    }
    return {};
}

std::unique_ptr<ScriptedBackend> AnsweringInterface(const QString &name)
{
    auto backend = std::make_unique<ScriptedBackend>(QStringList{name + " In"}, QStringList{name + " Out"});
    backend->reply = ScriptedBackend::StatusReply(0);
    return backend;
}

} // namespace

class ConfigDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void opensOnTheChosenPageOnceAndClosesWithTheMainWindow()
    {
        VspApp app;
        app.start();
        const QList<QPair<const char *, int>> menus = {{"mnuConfigDisk", 1}, {"mnuConfigSP", 2}, {"mnuConfigMidi", 0}};
        frmConfig *first = nullptr;
        for (const auto &[item, page] : menus) {
            QVERIFY2(app.find<QAction>(item)->isEnabled(), item);
            Dialog d = OpenConfig(app, item);
            QVERIFY(d.w);
            first = first ? first : d.w;
            QCOMPARE(d.w, first);
            QVERIFY(d.w->isVisible());
            QVERIFY(!d.w->isModal());
            QCOMPARE(d.w->windowTitle(), QStringLiteral("Configuration"));
            QCOMPARE(d.pages()->currentIndex(), page);
            QCOMPARE(app.main()->findChildren<frmConfig *>().size(), 1); // one instance only
        }
        QCOMPARE(d_pageTexts(Dialog{first}), (QStringList{"Midi", "Disk", "SP"}));
        // The button keeps the page the dialog shows.
        Dialog{first}.pages()->setCurrentIndex(2);
        QCOMPARE(OpenConfig(app).pages()->currentIndex(), 2);

        QPointer<frmConfig> alive(first);
        app.main()->close();
        QVERIFY(alive.isNull() || !alive->isVisible());
    }

    void nothingOpensWhileTheSpIsBusy()
    {
        VspApp app;
        app.start();
        app.session().exchange.setAwaitingResponse(true);
        QVERIFY(!OpenConfig(app, "mnuConfigMidi").w);
        QVERIFY(!OpenConfig(app).w);
        app.session().exchange.setAwaitingResponse(false);
        QVERIFY(OpenConfig(app).w);
    }

    void okAndApplyWhileTheSpIsBusySayWhyAndApplyNothing()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app);
        d.typeInto(1, "99");
        app.session().exchange.setAwaitingResponse(true);
        for (const char *button : {"cmdApply", "cmdOK"}) {
            QTest::mouseClick(d.get<QPushButton>(button), Qt::LeftButton);
            QVERIFY2(d.w->isVisible(), button);
            QCOMPARE(d.get<QLabel>("lblApplyNote")->text(),
                     QStringLiteral("Not applied: the SP is busy with an exchange. Press Apply again once it has answered."));
            QVERIFY(d.get<QLabel>("lblApplyNote")->isVisible());
            QCOMPARE(app.session().settings.sp.PlayBackVelocityOn, 64);
            QVERIFY(d.apply()->isEnabled());
        }
        app.session().exchange.setAwaitingResponse(false);
        d.apply()->click();
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOn, 99);
        QVERIFY(!d.get<QLabel>("lblApplyNote")->isVisible());
    }

    void loadShowsTheSettingsWithNothingToApply()
    {
        TestApp app;
        app.store.setValue("SP Config/PlayBack Note", "72");
        app.store.setValue("SP Config/PlayBack MIDI Channel", "9");
        app.store.setValue("SP Config/SysEx Device ID", "17");
        app.store.setValue("MIDI Interface/Output", "Default Output");
        app.store.setValue("MIDI Interface/MIDI Thru", "1");
        app.startWith([] {
            std::vector<std::unique_ptr<MidiBackend>> b;
            auto first = std::make_unique<ScriptedBackend>(QStringList{"A In"}, QStringList{"A Out"});
            first->reply = ScriptedBackend::StatusReply(0); // an SP that answers: no time-out to wait for
            b.push_back(std::move(first));
            b.push_back(std::make_unique<ScriptedBackend>(QStringList{"B In"}, QStringList{"B Out"}));
            return b;
        }());
        Dialog d = OpenConfig(app);
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "A Out", "B Out"}));
        QCOMPARE(d.outputs()->currentRow(), 0);
        QCOMPARE(app.session().settings.ports.OutputDeviceNum, -1);
        QCOMPARE(d.items(d.inputs()), (QStringList{"A In", "B In"}));
        QCOMPARE(d.inputs()->currentRow(), 0);
        QVERIFY(d.get<QCheckBox>("Check1")->isChecked());
        QCOMPARE(d.sp(0)->text(), QStringLiteral("72"));
        QCOMPARE(d.sp(5)->text(), QStringLiteral("C5"));
        QCOMPARE(d.sp(1)->text(), QStringLiteral("64"));
        QCOMPARE(d.sp(2)->text(), QStringLiteral("64"));
        QCOMPARE(d.sp(3)->text(), QStringLiteral("10")); // channel 9 is shown as 10
        QCOMPARE(d.sp(4)->text(), QStringLiteral("17"));
        QVERIFY(d.device(0)->isChecked());
        QCOMPARE(d.volName()->text(), QStringLiteral("Floppy Disk"));
        QVERIFY(!d.apply()->isEnabled());
        for (auto g : {frmConfig::MidiDevices, frmConfig::MidiThru, frmConfig::DiskDevices, frmConfig::SpSettings})
            QVERIFY(!d.w->Changed(g));
        QCOMPARE(d.get<QLabel>("lblSPconfig(4)")->text(), QStringLiteral(" SysEx Device ID"));
        QCOMPARE(d.get<QPushButton>("cmdCancel")->text(), QStringLiteral("&Cancel"));
        QCOMPARE(d.apply()->text(), QStringLiteral("&Apply"));
        QCOMPARE(d.get<QCheckBox>("Check1")->text(), QStringLiteral("MIDI &Thru"));
    }

    // Each kind of edit raises its own flag and enables Apply; Apply puts that group to use and
    // leaves nothing to apply.
    void eachGroupIsAppliedByItself()
    {
        struct Case {
            const char *what;
            frmConfig::Group group;
            std::function<void(Dialog &)> edit;
            std::function<bool(const Settings &)> applied;
        };
        const QList<Case> cases = {
            {"velocity typed", frmConfig::SpSettings, [](Dialog &d) { d.typeInto(1, "99"); },
             [](const Settings &s) { return s.sp.PlayBackVelocityOn == 99; }},
            {"channel spun", frmConfig::SpSettings, [](Dialog &d) { d.spin(3, true); },
             [](const Settings &s) { return s.sp.PlayBackMidiChannel == 1; }},
            {"thru clicked", frmConfig::MidiThru, [](Dialog &d) { d.get<QCheckBox>("Check1")->click(); },
             [](const Settings &s) { return s.ports.MidiThru == 1; }},
            {"scsi uninstalled", frmConfig::DiskDevices,
             [](Dialog &d) { d.device(3)->click(); d.installed()->click(); },
             [](const Settings &s) { return s.disks[3].Installed == 0 && s.disks[3].Type == -1; }},
            {"volume renamed", frmConfig::DiskDevices,
             [](Dialog &d) { d.device(1)->click(); d.volName()->selectAll(); QTest::keyClicks(d.volName(), "Samples"); },
             [](const Settings &s) { return s.disks[1].VolName == "Samples"; }},
            {"type chosen", frmConfig::DiskDevices, [](Dialog &d) { d.device(2)->click(); d.type(0)->click(); },
             [](const Settings &s) { return s.disks[2].Type == 0; }},
            {"device list clicked", frmConfig::MidiDevices, [](Dialog &d) { Dialog::pick(d.inputs(), 0); },
             [](const Settings &s) { return s.ports.InputDeviceName == "Korvane Virtual SP"; }},
        };
        // Also with a number typed into the main window and not yet committed with Enter.
        for (const bool editPending : {false, true})
        for (const Case &c : cases) {
            VspApp app;
            app.start();
            if (editPending) {
                auto *number = app.find<QLineEdit>("txtObjectNum");
                number->setFocus();
                QTest::keyClicks(number, "1");
                QVERIFY(app.session().edit.EditPending);
            }
            Dialog d = OpenConfig(app);
            c.edit(d);
            QVERIFY2(d.w->Changed(c.group), c.what);
            QVERIFY2(d.apply()->isEnabled(), c.what);
            d.apply()->click();
            QVERIFY2(!d.w->Changed(c.group), c.what);
            QVERIFY2(!d.apply()->isEnabled(), c.what);
            QVERIFY2(c.applied(app.session().settings), c.what);
            QVERIFY2(d.w->isVisible(), c.what);
            QVERIFY2(app.notifier.messages.isEmpty(), c.what);
        }
    }

    void applyWaitsForEveryChangedGroupBeforeItDisables()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app);
        d.typeInto(2, "12");
        d.get<QCheckBox>("Check1")->click();
        QVERIFY(d.w->Changed(frmConfig::SpSettings) && d.w->Changed(frmConfig::MidiThru));
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOff, 64); // not before Apply
        QCOMPARE(app.session().settings.ports.MidiThru, 0);
        QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOff, 12);
        QCOMPARE(app.session().settings.ports.MidiThru, 1);
        QVERIFY(!d.w || !d.w->isVisible());
    }

    void cancelKeepsDiskEditsAndDropsTheRest()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app, "mnuConfigDisk");
        d.device(4)->click();
        QCOMPARE(d.volName()->text(), QStringLiteral("SCSI 3"));
        d.volName()->selectAll();
        QTest::keyClicks(d.volName(), "Drums");
        d.typeInto(0, "40");
        d.get<QCheckBox>("Check1")->click();
        QTest::mouseClick(d.get<QPushButton>("cmdCancel"), Qt::LeftButton);
        const Settings &s = app.session().settings;
        QCOMPARE(s.disks[4].VolName, QStringLiteral("Drums"));
        QCOMPARE(s.sp.PlayBackNote, 60);
        QCOMPARE(s.ports.MidiThru, 0);

        // A dialog opened again starts from the settings, and the new name is saved at the end.
        Dialog again = OpenConfig(app);
        QVERIFY(again.w && again.w->isVisible());
        QCOMPARE(again.sp(0)->text(), QStringLiteral("60"));
        QVERIFY(!again.apply()->isEnabled());
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("Disk Devices/Dev4_VolName").toString(), QStringLiteral("Drums"));
        QVERIFY(app.notifier.messages.isEmpty());
    }

    void typingTakesDigitsOnlyAndClampsAsItGoes()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app, "mnuConfigSP");
        struct Typed {
            int element;
            QString keys;
            QString shown;
        };
        const QList<Typed> table = {
            {1, "200", "127"}, {2, "128", "127"}, {4, "999", "127"}, {3, "20", "16"}, {3, "16", "16"},
            {0, "1x2-", "12"}, {1, "7", "7"},
        };
        for (const Typed &t : table) {
            d.typeInto(t.element, t.keys);
            QCOMPARE(d.sp(t.element)->text(), t.shown);
        }
        QCOMPARE(d.sp(5)->text(), QStringLiteral("C0")); // the note box follows note 12
        // Backspace and other keys change nothing.
        d.sp(1)->end(false);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_A, Qt::Key_Space, Qt::Key_Delete})
            QTest::keyClick(d.sp(1), key);
        QCOMPARE(d.sp(1)->text(), QStringLiteral("7"));
        // Nor does text dropped with the mouse.
        QVERIFY(!DropText(d.sp(1), QStringLiteral("abc")));
        QCOMPARE(d.sp(1)->text(), QStringLiteral("7"));
        // While the SP is busy not even digits get in.
        app.session().exchange.setAwaitingResponse(true);
        QTest::keyClick(d.sp(1), Qt::Key_5);
        app.session().exchange.setAwaitingResponse(false);
        QCOMPARE(d.sp(1)->text(), QStringLiteral("7"));

        d.apply()->click();
        const SpConfig &sp = app.session().settings.sp;
        QCOMPARE(sp.PlayBackNote, 12);
        QCOMPARE(sp.PlayBackVelocityOn, 7);
        QCOMPARE(sp.PlayBackVelocityOff, 127);
        QCOMPARE(sp.PlayBackMidiChannel, 15); // shown 16, stored 15
        QCOMPARE(sp.SysExDeviceID, 127);
    }

    void aChannelTypedAsZeroIsAppliedAsChannelOne()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app);
        d.typeInto(3, "0");
        d.apply()->click();
        QCOMPARE(app.session().settings.sp.PlayBackMidiChannel, 0);
        QCOMPARE(d.sp(3)->text(), QStringLiteral("1"));
    }

    void spinButtonsStepWithinTheRange()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app);
        struct Spin {
            int element;
            QString from;
            bool up;
            QString to;
        };
        const QList<Spin> table = {
            {0, "60", true, "61"}, {0, "60", false, "59"}, {1, "127", true, "127"}, {1, "0", false, "0"},
            {3, "1", false, "1"},  {3, "16", true, "16"},  {3, "", false, "1"},     {3, "", true, "1"},
            {4, "", true, "0"},    {2, "", false, "0"},    {4, "126", true, "127"},
        };
        for (const Spin &s : table) {
            d.sp(s.element)->setText(s.from);
            d.spin(s.element, s.up);
            QCOMPARE(d.sp(s.element)->text(), s.to);
        }
        QCOMPARE(d.sp(5)->text(), QStringLiteral("B3")); // note 59
        QVERIFY(d.w->Changed(frmConfig::SpSettings));
    }

    void floppyAndScsiDevicesFollowTheirRules()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app, "mnuConfigDisk");
        Settings &s = app.session().settings;
        const QStringList captions = {"Floppy", "SCSI 0", "SCSI 1", "SCSI 2", "SCSI 3", "SCSI 4", "SCSI 5", "SCSI 6"};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(d.device(i)->text(), captions[i]);
        QCOMPARE(d.type(2)->text(), QStringLiteral("&Zip/Jaz Drive"));

        // The floppy: its name locked, no type.
        QVERIFY(d.installed()->isChecked());
        QCOMPARE(d.volName()->text(), QStringLiteral("Floppy Disk"));
        QVERIFY(d.volName()->isReadOnly());
        QVERIFY(!d.anyTypeChecked());
        QVERIFY(!d.anyTypeEnabled());

        // A SCSI device shows its type and its name, open to editing.
        d.device(2)->click();
        QVERIFY(d.type(1)->isChecked());
        QVERIFY(d.anyTypeEnabled());
        QCOMPARE(d.volName()->text(), QStringLiteral("SCSI 1"));
        QVERIFY(!d.volName()->isReadOnly());
        QVERIFY(!d.w->Changed(frmConfig::DiskDevices)); // showing a device changes nothing

        // Not installed: no type, nothing to name; its name is kept for when it comes back.
        d.installed()->click();
        QCOMPARE(s.disks[2].Installed, 0);
        QCOMPARE(s.disks[2].Type, -1);
        QVERIFY(!d.anyTypeChecked());
        QVERIFY(!d.anyTypeEnabled());
        QCOMPARE(d.volName()->text(), QString());
        QVERIFY(d.volName()->isReadOnly());
        QCOMPARE(s.disks[2].VolName, QStringLiteral("SCSI 1"));

        // Installed again: the types are offered but none is chosen until one is clicked.
        d.installed()->click();
        QCOMPARE(s.disks[2].Installed, 1);
        QVERIFY(d.anyTypeEnabled());
        QVERIFY(!d.anyTypeChecked());
        QCOMPARE(d.volName()->text(), QStringLiteral("SCSI 1"));
        d.type(2)->click();
        QCOMPARE(s.disks[2].Type, 2);

        // An uninstalled floppy still reads "Floppy Disk".
        d.device(0)->click();
        d.installed()->click();
        QCOMPARE(s.disks[0].Installed, 0);
        QCOMPARE(d.volName()->text(), QStringLiteral("Floppy Disk"));
        QVERIFY(d.volName()->isReadOnly());

        // Coming back to the SCSI device shows what was chosen for it.
        d.device(2)->click();
        QVERIFY(d.type(2)->isChecked());
        QVERIFY(d.installed()->isChecked());
    }

    void aChangedDeviceIdIsUsedInTheVeryNextMessage()
    {
        VspApp app;
        app.vspOptions.deviceId = 16;
        app.shortTimeouts(); // the SP stays silent for an ID it does not have
        QCOMPARE(app.start(), LinkStartup::Outcome::Online); // 127 reaches every SP

        Dialog d = OpenConfig(app, "mnuConfigSP");
        d.typeInto(4, "16");
        d.apply()->click();
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
        QCOMPARE(app.lastRequest(), SpKey(5, 16));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));

        // An ID this SP does not have: the message carries it, and the SP stays silent.
        d.spin(4, true);
        QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
        QCOMPARE(app.lastRequest(), SpKey(5, 17));
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));
    }

    void applyReopensBothPortsOnTheChosenDevices()
    {
        TestApp app;
        auto a = AnsweringInterface("A");
        auto b = AnsweringInterface("B");
        ScriptedBackend *first = a.get();
        ScriptedBackend *second = b.get();
        std::vector<std::unique_ptr<MidiBackend>> backends;
        backends.push_back(std::move(a));
        backends.push_back(std::move(b));
        QCOMPARE(app.startWith(std::move(backends)), LinkStartup::Outcome::Online);
        QVERIFY(first->inputOpen && first->outputOpen);

        Dialog d = OpenConfig(app);
        Dialog::pick(d.inputs(), 1);
        Dialog::pick(d.outputs(), 2);
        QVERIFY(d.w->Changed(frmConfig::MidiDevices));
        QVERIFY(!second->inputOpen); // nothing changes before Apply
        d.apply()->click();
        QVERIFY(!first->inputOpen && !first->outputOpen);
        QVERIFY(second->inputOpen && second->outputOpen);
        const PortSettings &ports = app.session().settings.ports;
        QCOMPARE(ports.InputDeviceNum, 1);
        QCOMPARE(ports.InputDeviceName, QStringLiteral("B In"));
        QCOMPARE(ports.OutputDeviceNum, 1);
        QCOMPARE(ports.OutputDeviceName, QStringLiteral("B Out"));
        const qsizetype sentToA = first->sent.size();
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
        QCOMPARE(second->sent.last(), SpKey(5, 127));
        QCOMPARE(first->sent.size(), sentToA);
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE")); // B's answer came in

        // "Default Output" is the first device offered.
        Dialog::pick(d.outputs(), 0);
        d.apply()->click();
        QCOMPARE(ports.OutputDeviceNum, -1);
        QCOMPARE(ports.OutputDeviceName, QStringLiteral("Default Output"));
        QVERIFY(first->outputOpen && !second->outputOpen);
        QVERIFY(second->inputOpen);
        QVERIFY(app.notifier.messages.isEmpty());
    }

    void aPortThatWillNotOpenKeepsTheDialogAndItsFlag()
    {
        TestApp app;
        std::vector<std::unique_ptr<MidiBackend>> backends;
        backends.push_back(AnsweringInterface("A"));
        auto b = AnsweringInterface("B");
        b->failInputOpen = true;
        ScriptedBackend *broken = b.get();
        backends.push_back(std::move(b));
        app.startWith(std::move(backends));

        Dialog d = OpenConfig(app);
        d.typeInto(1, "50");
        Dialog::pick(d.inputs(), 1);
        QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
        QCOMPARE(app.notifier.texts(), QStringList{"Error opening MIDI input device"});
        QCOMPARE(app.notifier.messages[0].heading, QStringLiteral("OpenInputDevice()"));
        // The dialog says which port and why, beside the buttons that did not apply.
        QCOMPARE(d.get<QLabel>("lblApplyNote")->text(),
                 QStringLiteral("Not applied: the MIDI input \"B In\" cannot be opened (refused). "
                                "Choose another port and press Apply again."));
        QVERIFY(d.w->isVisible());
        QVERIFY(d.w->Changed(frmConfig::MidiDevices));
        QVERIFY(d.w->Changed(frmConfig::SpSettings)); // the later groups wait too
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOn, 64);
        QVERIFY(d.apply()->isEnabled());

        // Another try with the device working goes through.
        broken->failInputOpen = false;
        d.apply()->click();
        QVERIFY(broken->inputOpen);
        QVERIFY(!d.apply()->isEnabled());
        QCOMPARE(d.get<QLabel>("lblApplyNote")->text(), QString());
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOn, 50);
    }

    void anInterfacePluggedInAfterStartIsOffered()
    {
        // The interface in use learns of a new port when asked again.
        TestApp app;
        auto backend = AnsweringInterface("USB");
        ScriptedBackend *usb = backend.get();
        app.start(std::move(backend));
        usb->plugIn("Second In", "Second Out");
        Dialog d = OpenConfig(app);
        QCOMPARE(d.items(d.inputs()), (QStringList{"USB In", "Second In"}));
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "USB Out", "Second Out"}));
        QCOMPARE(d.inputs()->currentRow(), 0);
        QCOMPARE(d.outputs()->currentRow(), 1);
    }

    void anInterfaceInUseIsListedAfreshAndKeepsItsPortUntilApplied()
    {
        // A driver that lists interfaces only when built afresh, with a second one plugged in
        // ahead of the one in use.
        TestApp app;
        auto backend = AnsweringInterface("USB");
        QPointer<ScriptedBackend> original = backend.get();
        app.start(std::move(backend));
        Session &s = app.session();
        ScriptedBackend *rebuilt = nullptr;
        s.devices.setFactory(original, [&rebuilt] {
            auto fresh = std::make_unique<ScriptedBackend>(QStringList{"Second In", "USB In"},
                                                           QStringList{"Second Out", "USB Out"});
            fresh->reply = ScriptedBackend::StatusReply(0);
            if (!rebuilt)
                rebuilt = fresh.get();
            return fresh;
        });

        Dialog d = OpenConfig(app);
        QCOMPARE(d.items(d.inputs()), (QStringList{"Second In", "USB In"}));
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "Second Out", "USB Out"}));
        QCOMPARE(d.inputs()->currentRow(), 1);
        QCOMPARE(d.outputs()->currentRow(), 2);
        QCOMPARE(s.settings.ports.InputDeviceNum, 1);
        QCOMPARE(s.settings.ports.OutputDeviceNum, 1);
        // The port opened at start still carries the traffic.
        QVERIFY(original && original->inputOpen && original->outputOpen);
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
        QCOMPARE(original->sent.last(), SpKey(5, 127));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));

        // Applied, the same interface is opened on the fresh listing.
        Dialog::pick(d.inputs(), 1);
        d.apply()->click();
        QVERIFY(!original->inputOpen && !original->outputOpen);
        QVERIFY(rebuilt && rebuilt->inputOpen && rebuilt->outputOpen);
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
        QCOMPARE(rebuilt->sent.last(), SpKey(5, 127));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));

        // Opened again, the dialog finds the same ports and leaves them be.
        QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
        Dialog again = OpenConfig(app);
        QCOMPARE(again.inputs()->currentRow(), 1);
        QVERIFY(rebuilt->inputOpen && rebuilt->outputOpen);
        QVERIFY(original && !original->inputOpen);
    }

    void aRebuiltIdleBackendMovesTheVirtualSpAlongWithoutLosingIt()
    {
        // No interface at start: the Virtual SP is device 0 and in use.
        TestApp app;
        std::vector<std::unique_ptr<MidiBackend>> backends;
        backends.push_back(std::make_unique<ScriptedBackend>(QStringList{}, QStringList{}));
        auto vspBackend = std::make_unique<VirtualSpBackend>();
        VirtualSpBackend *vsp = vspBackend.get();
        backends.push_back(std::move(vspBackend));
        QCOMPARE(app.startWith(std::move(backends)), LinkStartup::Outcome::Online);
        Session &s = app.session();
        QCOMPARE(s.settings.ports.InputDeviceNum, 0);
        QVERIFY(!s.devices.hasInterface());
        // Then a USB interface is plugged in; its driver lists it only when built afresh.
        int built = 0;
        s.devices.setFactory(s.devices.all().front(), [&built] {
            ++built;
            return std::make_unique<ScriptedBackend>(QStringList{"USB In"}, QStringList{"USB Out"});
        });
        s.devices.setFactory(vsp, [] { return std::unique_ptr<MidiBackend>(); }); // in use: never rebuilt

        Dialog d = OpenConfig(app);
        QCOMPARE(built, 1);
        QVERIFY(s.devices.hasInterface());
        QCOMPARE(d.items(d.inputs()), (QStringList{"USB In", "Korvane Virtual SP"}));
        QCOMPARE(d.inputs()->currentRow(), 1);
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "USB Out", "Korvane Virtual SP"}));
        QCOMPARE(d.outputs()->currentRow(), 2);
        QCOMPARE(s.settings.ports.InputDeviceNum, 1);
        QCOMPARE(s.settings.ports.OutputDeviceNum, 1);
        QVERIFY(!d.apply()->isEnabled());

        // The Virtual SP still answers on the ports opened at start.
        QTest::mouseClick(app.find<QPushButton>("cmdPushButton(3)"), Qt::LeftButton);
        QCOMPARE(vsp->traffic().last().direction, VirtualSpBackend::Traffic::Out);
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("MIDI Interface/Input").toString(), QStringLiteral("Korvane Virtual SP"));
    }

    void settingsThatCannotBeWrittenAreReported()
    {
        QTemporaryDir dir;
        const QString locked = dir.filePath("locked");
        QVERIFY(QDir().mkpath(locked));
        const QString path = locked + "/settings.ini";
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup));
        QFile probe(locked + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            // An administrator writes into any folder; a folder in the file's place stops everyone.
            probe.close();
            probe.remove();
            QVERIFY(QDir().mkpath(path));
        }
        {
            QSettings store(path, QSettings::IniFormat);
            RecordingNotifier notifier;
            KorvaneOptions options;
            options.currentDirectory = dir.path();
            options.store = &store;
            options.notifier = &notifier;
            options.backends.push_back(std::make_unique<VirtualSpBackend>());
            Korvane korvane(std::move(options));
            QCOMPARE(korvane.start(), LinkStartup::Outcome::Online);
            korvane.mainWindow()->close();
            QCOMPARE(notifier.messages.size(), 1);
            QCOMPARE(notifier.messages[0].icon, Notifier::Icon::Critical);
            QCOMPARE(notifier.messages[0].heading, QStringLiteral("SetRegistry()"));
            QCOMPARE(notifier.messages[0].text, QStringLiteral(" Error updating Registry information"));
        }
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void aFirstStartOnASilentInterfaceSaysWhereToChooseThePorts()
    {
        TestApp app;
        app.shortTimeouts();
        QCOMPARE(app.start(std::make_unique<ScriptedBackend>()), LinkStartup::Outcome::Offline);
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));
        const QStringList texts = app.notifier.texts();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0], QStringLiteral("The specified SP Device is not responding"));
        QVERIFY(texts[1].contains("Config > Midi"));
        QVERIFY(texts[1].contains("Config > SP"));
        QVERIFY(texts[1].contains("device ID"));
        app.main()->close();

        // Once the ports were saved, a silent SP is told as before, without the hint.
        TestApp second;
        second.shortTimeouts();
        second.store.setValue("MIDI Interface/Input", "Test In");
        QCOMPARE(second.start(std::make_unique<ScriptedBackend>()), LinkStartup::Outcome::Offline);
        QCOMPARE(second.notifier.texts(), QStringList{"The specified SP Device is not responding"});

        // A silent Virtual SP is no interface to choose.
        VspApp third;
        third.shortTimeouts();
        QCOMPARE(third.startWithFaults(FaultOnAll({VirtualSpBackend::Fault::NoAnswer})), LinkStartup::Outcome::Offline);
        QCOMPARE(third.notifier.texts(), QStringList{"The specified SP Device is not responding"});
    }

    void theAboutBoxSaysWhenTheVirtualSpStandsInForAMissingInterface()
    {
        struct Start {
            const char *what;
            bool withInterface;
            bool noteShown;
        };
        for (const Start &s : {Start{"virtual SP alone", false, true}, Start{"beside an interface", true, false}}) {
            TestApp app;
            std::vector<std::unique_ptr<MidiBackend>> backends;
            if (s.withInterface) {
                auto sp = std::make_unique<ScriptedBackend>();
                sp->reply = ScriptedBackend::StatusReply(0);
                backends.push_back(std::move(sp));
            }
            backends.push_back(std::make_unique<VirtualSpBackend>());
            app.startWith(std::move(backends));
            app.find<QAction>("mnuAbout")->trigger();
            QLabel *note = app.main()->findChild<QLabel *>("lblLinkNote");
            QVERIFY2(note, s.what);
            QCOMPARE(note->isVisibleTo(note->window()), s.noteShown);
            if (s.noteShown)
                QCOMPARE(note->text(), QStringLiteral("The Korvane Virtual SP is in use: no MIDI interface was found."));
        }
    }

    void onAMachineWithoutInterfacesTheSystemDevicesAreFoundAgainAndTheVirtualSpNamed()
    {
        if (!RtMidiBackend().inputPorts().isEmpty())
            QSKIP("this machine has real MIDI ports");
        TestApp app;
        QCOMPARE(app.start(nullptr), LinkStartup::Outcome::Online);
        // The system's interfaces are asked again; the Virtual SP stays the device in use.
        Dialog d = OpenConfig(app, "mnuConfigMidi");
        QCOMPARE(d.items(d.inputs()), QStringList{"Korvane Virtual SP"});
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "Korvane Virtual SP"}));
        QCOMPARE(d.inputs()->currentRow(), 0);
        QCOMPARE(d.outputs()->currentRow(), 1);
        QTest::mouseClick(d.get<QPushButton>("cmdCancel"), Qt::LeftButton);
        app.find<QAction>("mnuAbout")->trigger();
        QLabel *note = app.main()->findChild<QLabel *>("lblLinkNote");
        QVERIFY(note && note->isVisibleTo(note->window()));
        QVERIFY(app.notifier.messages.isEmpty());
    }

    // The pause box: shown from the settings, applied with MIDI Thru, kept within 0 to 1000 and
    // saved as text in the "MIDI Interface" group.
    void thePauseBetweenMessagesIsShownAppliedAndSaved()
    {
        TestApp app;
        app.store.setValue("MIDI Interface/Message Pause", "40");
        app.start(AnsweringInterface("A"));
        QCOMPARE(app.session().settings.ports.MessagePause, 40);
        Dialog d = OpenConfig(app);
        QLineEdit *pause = d.get<QLineEdit>("txtPause");
        QCOMPARE(pause->text(), QStringLiteral("40"));
        QCOMPARE(d.get<QLabel>("lblPause")->text(), QStringLiteral("Pause between messages (ms)"));
        QVERIFY(!d.apply()->isEnabled());

        struct Case {
            const char *typed;
            int applied;
        };
        int16_t previous = 40;
        for (const Case &c : {Case{"250", 250}, Case{"5000", 1000}, Case{"0", 0}, Case{"700", 700}}) {
            pause->selectAll();
            QTest::keyClicks(pause, QLatin1String(c.typed));
            QVERIFY2(d.w->Changed(frmConfig::MidiThru), c.typed);
            QVERIFY2(!d.w->Changed(frmConfig::MidiDevices), c.typed); // the ports are not reopened for it
            QCOMPARE(app.session().settings.ports.MessagePause, previous); // not before Apply
            d.apply()->click();
            QCOMPARE(app.session().settings.ports.MessagePause, c.applied);
            previous = static_cast<int16_t>(c.applied);
            QCOMPARE(pause->text(), QString::number(c.applied));
        }
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("MIDI Interface/Message Pause").toString(), QStringLiteral("700"));
        for (const char *garbled : {"-5", "1001", "soon"}) {
            TestApp again;
            again.store.setValue("MIDI Interface/Input", "A In");
            again.store.setValue("MIDI Interface/Message Pause", garbled);
            again.start(AnsweringInterface("A"));
            QCOMPARE(again.session().settings.ports.MessagePause, 0);
        }
    }

    // With a pause, each SysEx leaves at least that long after the one before; with none, the
    // same messages go out as always. Measured against a lower bound only.
    void aPauseKeepsMessagesApart()
    {
        for (const int pause : {0, 150}) {
            TestApp app;
            auto backend = AnsweringInterface("A");
            ScriptedBackend *wire = backend.get();
            app.start(std::move(backend));
            app.session().settings.ports.MessagePause = static_cast<int16_t>(pause);
            QElapsedTimer clock;
            clock.start();
            QList<qint64> sentAt;
            wire->reply = [&sentAt, &clock](const QByteArray &sent) {
                sentAt << clock.elapsed();
                return ScriptedBackend::StatusReply(0)(sent);
            };
            const qsizetype before = wire->sent.size();
            for (int press = 0; press < 3; ++press)
                QTest::mouseClick(app.find<QPushButton>("cmdPushButton(5)"), Qt::LeftButton);
            QCOMPARE(wire->sent.size() - before, 3);
            for (qsizetype i = before; i < wire->sent.size(); ++i)
                QCOMPARE(wire->sent[i], SpKey(5, 127));
            QCOMPARE(sentAt.size(), 3);
            for (int i = 1; i < sentAt.size(); ++i)
                QVERIFY2(sentAt[i] - sentAt[i - 1] >= pause, qPrintable(QString::number(sentAt[i] - sentAt[i - 1])));
            QVERIFY(app.notifier.messages.isEmpty());
            QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        }
    }

    void theDialogLooksRight()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app);
        const QString out = qEnvironmentVariable("KORVANE_CONFIG_SHOTS");
        for (int page = 0; page < 3; ++page) {
            d.pages()->setCurrentIndex(page);
            // Every control fits inside the window: nothing clipped.
            for (QWidget *w : d.w->findChildren<QWidget *>()) {
                if (!w->isVisibleTo(d.w) || !w->objectName().contains(QRegularExpression("^(txt|opt|chk|lst|cmd|Check|spn)")))
                    continue;
                const QRect inDialog(w->mapTo(d.w, QPoint(0, 0)), w->size());
                QVERIFY2(d.w->rect().contains(inDialog), qPrintable(w->objectName()));
                if (auto *b = qobject_cast<QAbstractButton *>(w))
                    QVERIFY2(b->width() >= b->sizeHint().width() || qobject_cast<QToolButton *>(b), qPrintable(w->objectName()));
            }
            if (!out.isEmpty())
                d.w->grab().save(QStringLiteral("%1/config-page%2.png").arg(out).arg(page));
        }
    }

private:
    static QStringList d_pageTexts(const Dialog &d)
    {
        QStringList texts;
        for (int i = 0; i < d.pages()->count(); ++i)
            texts << d.pages()->tabText(i);
        return texts;
    }
};

QTEST_MAIN(ConfigDialogTest)
#include "ConfigDialogTest.moc"
