// The configuration dialog as a user drives it: opening it, the change flags and Apply, OK and
// Cancel, typing and spinning the audition boxes, the disk devices, choosing MIDI ports (also
// ones plugged in after start), saving the settings, and the hints a first start gives.
#include "AppKit.h"
#include "UserInput.h"
#include "device/LinkStartup.h"
#include "widgets/SpinButton.h"
#include "app/frmConfig.h"
#include "vsp/VirtualSpBackend.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
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
    QStringList spTexts() const
    {
        QStringList texts;
        for (int e = 0; e < 6; ++e)
            texts << sp(e)->text();
        return texts;
    }
    QRadioButton *device(int i) const { return get<QRadioButton>(QStringLiteral("optDevice(%1)").arg(i)); }
    QRadioButton *type(int t) const { return get<QRadioButton>(QStringLiteral("optType(%1)").arg(t)); }
    QCheckBox *installed() const { return get<QCheckBox>("chkInstalled"); }
    QCheckBox *thru() const { return get<QCheckBox>("Check1"); }
    QLineEdit *volName() const { return get<QLineEdit>("txtVolName"); }
    QListWidget *inputs() const { return get<QListWidget>("lstInputDevice"); }
    QListWidget *outputs() const { return get<QListWidget>("lstOutputDevice"); }
    QPushButton *apply() const { return get<QPushButton>("cmdApply"); }
    QLabel *note() const { return get<QLabel>("lblApplyNote"); }
    QTabWidget *pages() const { return get<QTabWidget>("vstConfig"); }
    void click(const char *button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }

    void typeInto(QLineEdit *box, const QString &text) const { box->selectAll(); QTest::keyClicks(box, text); }
    void typeInto(int e, const QString &text) const { typeInto(sp(e), text); }
    void spin(int e, bool up) const
    {
        get<SpinButton>(QStringLiteral("spnSPconfig(%1)").arg(e))->findChild<QToolButton *>(up ? "up" : "down")->click();
    }
    static void pick(QListWidget *list, int row)
    {
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(list->currentRow(), row);
    }
    static QStringList items(QListWidget *list)
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
    return {ShownChild<frmConfig>(app.main())};
}

void PressKey(TestApp &app, int key)
{
    QTest::mouseClick(app.find<QPushButton>(QStringLiteral("cmdPushButton(%1)").arg(key)), Qt::LeftButton);
}

} // namespace

class ConfigDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // One dialog, on the page of the menu item; the button keeps the page it shows.
    void opensOnTheChosenPageOnceAndClosesWithTheMainWindow()
    {
        VspApp app;
        app.start();
        Dialog d;
        for (const auto &[item, page] : QList<QPair<const char *, int>>{{"mnuConfigDisk", 1}, {"mnuConfigSP", 2}, {"mnuConfigMidi", 0}}) {
            d = OpenConfig(app, item);
            QVERIFY2(d.w && !d.w->isModal(), item);
            QCOMPARE(d.pages()->currentIndex(), page);
            QCOMPARE(app.main()->findChildren<frmConfig *>().size(), 1);
        }
        d.pages()->setCurrentIndex(2);
        QCOMPARE(OpenConfig(app).pages()->currentIndex(), 2);
        QPointer<frmConfig> alive(d.w);
        app.main()->close();
        QVERIFY(alive.isNull() || !alive->isVisible());
    }

    // While the SP is busy the dialog neither opens nor applies, and says why; then OK applies
    // every changed group and closes.
    void whileTheSpIsBusyNothingOpensOrIsApplied()
    {
        VspApp app;
        app.start();
        app.session().exchange.setAwaitingResponse(true);
        QVERIFY(!OpenConfig(app, "mnuConfigMidi").w && !OpenConfig(app).w);
        app.session().exchange.setAwaitingResponse(false);
        Dialog d = OpenConfig(app);
        d.typeInto(2, "12");
        d.thru()->click();
        const Settings &s = app.session().settings;
        app.session().exchange.setAwaitingResponse(true);
        for (const char *button : {"cmdApply", "cmdOK"}) {
            d.click(button);
            QVERIFY2(d.w->isVisible() && d.apply()->isEnabled() && d.note()->isVisible(), button);
            QCOMPARE(d.note()->text(),
                     QStringLiteral("Not applied: the SP is busy with an exchange. Press Apply again once it has answered."));
            QCOMPARE((QList<int>{s.sp.PlayBackVelocityOff, s.ports.MidiThru}), (QList<int>{64, 0}));
        }
        app.session().exchange.setAwaitingResponse(false);
        d.click("cmdOK");
        QCOMPARE((QList<int>{s.sp.PlayBackVelocityOff, s.ports.MidiThru}), (QList<int>{12, 1}));
        QVERIFY(!d.w->isVisible());
    }

    void loadShowsTheSettingsWithNothingToApply()
    {
        TestApp app;
        app.store.setValue("SP Config/PlayBack Note", "72");
        app.store.setValue("SP Config/PlayBack MIDI Channel", "9");
        app.store.setValue("SP Config/SysEx Device ID", "17");
        app.store.setValue("MIDI Interface/Output", "Default Output");
        app.store.setValue("MIDI Interface/MIDI Thru", "1");
        auto a = AnsweringInterface("A");
        ScriptedBackend *first = a.get();
        app.startWith(Backends(std::move(a), AnsweringInterface("B")));
        Dialog d = OpenConfig(app);
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "A Out", "B Out"}));
        QCOMPARE(d.outputs()->currentRow(), 0);
        QCOMPARE(app.session().settings.ports.OutputDeviceNum, -1);
        QCOMPARE(d.items(d.inputs()), (QStringList{"A In", "B In"}));
        QCOMPARE(d.inputs()->currentRow(), 0);
        QVERIFY(d.thru()->isChecked());
        // Note, velocities, channel (9 is shown as 10), device ID, the note's name.
        QCOMPARE(d.spTexts(), (QStringList{"72", "64", "64", "10", "17", "C5"}));
        QVERIFY(d.device(0)->isChecked());
        QCOMPARE(d.volName()->text(), QStringLiteral("Floppy Disk"));
        QVERIFY(!d.apply()->isEnabled()); // so no group is flagged changed

        // A port plugged into the interface since is offered when the dialog opens again.
        d.click("cmdCancel");
        first->plugIn("Second In", "Second Out");
        d = OpenConfig(app);
        QCOMPARE(d.items(d.inputs()), (QStringList{"A In", "Second In", "B In"}));
        QCOMPARE(d.items(d.outputs()), (QStringList{"Default Output", "A Out", "Second Out", "B Out"}));
        QCOMPARE(d.inputs()->currentRow(), 0);
    }

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
            {"device ID typed", frmConfig::SpSettings, [](Dialog &d) { d.typeInto(4, "16"); },
             [](const Settings &s) { return s.sp.SysExDeviceID == 16; }},
            {"thru clicked", frmConfig::MidiThru, [](Dialog &d) { d.thru()->click(); },
             [](const Settings &s) { return s.ports.MidiThru == 1; }},
            {"scsi uninstalled", frmConfig::DiskDevices, [](Dialog &d) { d.device(3)->click(); d.installed()->click(); },
             [](const Settings &s) { return s.disks[3].Installed == 0 && s.disks[3].Type == -1; }},
            {"volume renamed", frmConfig::DiskDevices, [](Dialog &d) { d.device(1)->click(); d.typeInto(d.volName(), "Samples"); },
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
                app.box("txtObjectNum")->setFocus();
                QTest::keyClicks(app.box("txtObjectNum"), "1");
                QVERIFY(app.session().edit.EditPending);
            }
            Dialog d = OpenConfig(app);
            c.edit(d);
            QVERIFY2(d.w->Changed(c.group) && d.apply()->isEnabled(), c.what);
            d.apply()->click();
            QVERIFY2(!d.w->Changed(c.group) && !d.apply()->isEnabled() && d.w->isVisible(), c.what);
            QVERIFY2(c.applied(app.session().settings) && app.notifier.messages.isEmpty(), c.what);
        }
    }

    void cancelKeepsDiskEditsAndDropsTheRest()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app, "mnuConfigDisk");
        d.device(4)->click();
        QCOMPARE(d.volName()->text(), QStringLiteral("SCSI 3"));
        d.typeInto(d.volName(), "Drums");
        d.typeInto(0, "40");
        d.thru()->click();
        d.click("cmdCancel");
        const Settings &s = app.session().settings;
        QCOMPARE(s.disks[4].VolName, QStringLiteral("Drums"));
        QCOMPARE((QList<int>{s.sp.PlayBackNote, s.ports.MidiThru}), (QList<int>{60, 0}));
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("Disk Devices/Dev4_VolName").toString(), QStringLiteral("Drums"));
        QVERIFY(app.notifier.messages.isEmpty());
    }

    void typingAndSpinningKeepTheBoxesWithinTheirRanges()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app, "mnuConfigSP");
        const struct {
            int element;
            const char *keys;
            const char *shown;
        } table[] = {{1, "200", "127"}, {2, "128", "127"}, {4, "999", "127"}, {3, "20", "16"},
                     {3, "16", "16"},   {0, "1x2-", "12"}, {1, "7", "7"}};
        for (const auto &t : table) {
            d.typeInto(t.element, QLatin1String(t.keys));
            QCOMPARE(d.sp(t.element)->text(), QLatin1String(t.shown));
        }
        QCOMPARE(d.sp(5)->text(), QStringLiteral("C0")); // the note box follows note 12
        d.sp(1)->end(false);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_A, Qt::Key_Space, Qt::Key_Delete})
            QTest::keyClick(d.sp(1), key);
        QVERIFY(!DropText(d.sp(1), QStringLiteral("abc")));
        app.session().exchange.setAwaitingResponse(true);
        QTest::keyClick(d.sp(1), Qt::Key_5);
        app.session().exchange.setAwaitingResponse(false);
        QCOMPARE(d.sp(1)->text(), QStringLiteral("7"));

        d.apply()->click();
        const SpConfig &sp = app.session().settings.sp;
        // Note, velocities, channel (shown 16, stored 15), device ID.
        QCOMPARE((QList<int>{sp.PlayBackNote, sp.PlayBackVelocityOn, sp.PlayBackVelocityOff, sp.PlayBackMidiChannel,
                             sp.SysExDeviceID}),
                 (QList<int>{12, 7, 127, 15, 127}));
        d.typeInto(3, "0");
        d.apply()->click();
        QCOMPARE(sp.PlayBackMidiChannel, 0);
        QCOMPARE(d.sp(3)->text(), QStringLiteral("1"));

        const struct { int element; const char *from; bool up; const char *to; } spins[] = {
            {0, "60", true, "61"}, {0, "60", false, "59"}, {1, "127", true, "127"}, {1, "0", false, "0"},
            {3, "1", false, "1"},  {3, "16", true, "16"},  {3, "", false, "1"},     {3, "", true, "1"},
            {4, "", true, "0"},    {2, "", false, "0"},    {4, "126", true, "127"},
        };
        for (const auto &t : spins) {
            d.sp(t.element)->setText(QLatin1String(t.from));
            d.spin(t.element, t.up);
            QCOMPARE(d.sp(t.element)->text(), QLatin1String(t.to));
        }
        QCOMPARE(d.sp(5)->text(), QStringLiteral("B3")); // note 59
        QVERIFY(d.w->Changed(frmConfig::SpSettings));
    }

    void floppyAndScsiDevicesFollowTheirRules()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app, "mnuConfigDisk");
        const Settings &s = app.session().settings;
        const auto shown = [&d] {
            return QStringList{d.installed()->isChecked() ? "installed" : "-", d.anyTypeEnabled() ? "types" : "-",
                               d.anyTypeChecked() ? "typed" : "-", d.volName()->text(), d.volName()->isReadOnly() ? "locked" : "open"};
        };
        QCOMPARE(shown(), (QStringList{"installed", "-", "-", "Floppy Disk", "locked"})); // the floppy has no type
        d.device(2)->click();
        QCOMPARE(shown(), (QStringList{"installed", "types", "typed", "SCSI 1", "open"}));
        QVERIFY(d.type(1)->isChecked());
        QVERIFY(!d.w->Changed(frmConfig::DiskDevices)); // showing a device changes nothing
        d.installed()->click();
        QCOMPARE(shown(), (QStringList{"-", "-", "-", "", "locked"}));
        QCOMPARE(s.disks[2].VolName, QStringLiteral("SCSI 1"));
        d.installed()->click();
        QCOMPARE(shown(), (QStringList{"installed", "types", "-", "SCSI 1", "open"}));
        QCOMPARE(s.disks[2].Installed, 1);
        d.type(2)->click();
        QCOMPARE(s.disks[2].Type, 2);
        d.device(0)->click();
        d.installed()->click();
        QCOMPARE(s.disks[0].Installed, 0);
        QCOMPARE(shown(), (QStringList{"-", "-", "-", "Floppy Disk", "locked"}));
        d.device(2)->click();
        QVERIFY(d.type(2)->isChecked() && d.installed()->isChecked());
    }

    void applyReopensBothPortsOnTheChosenDevices()
    {
        TestApp app;
        auto a = AnsweringInterface("A");
        auto b = AnsweringInterface("B");
        ScriptedBackend *first = a.get(), *second = b.get();
        second->failInputOpen = true;
        QCOMPARE(app.startWith(Backends(std::move(a), std::move(b))), LinkStartup::Outcome::Online);

        Dialog d = OpenConfig(app);
        d.typeInto(1, "50");
        Dialog::pick(d.inputs(), 1);
        Dialog::pick(d.outputs(), 2);
        QVERIFY(!second->outputOpen);
        d.click("cmdOK");
        QCOMPARE(app.notifier.shown(), QStringList{"OpenInputDevice(): Error opening MIDI input device"});
        QCOMPARE(d.note()->text(), QStringLiteral("Not applied: the MIDI input \"B In\" cannot be opened (refused). "
                                                  "Choose another port and press Apply again."));
        QVERIFY(d.w->isVisible() && d.apply()->isEnabled());
        QVERIFY(d.w->Changed(frmConfig::MidiDevices) && d.w->Changed(frmConfig::SpSettings));
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOn, 64);

        second->failInputOpen = false;
        d.apply()->click();
        QVERIFY(!d.apply()->isEnabled());
        QCOMPARE(d.note()->text(), QString());
        QCOMPARE(app.session().settings.sp.PlayBackVelocityOn, 50);
        QVERIFY(!first->inputOpen && !first->outputOpen);
        QVERIFY(second->inputOpen && second->outputOpen);
        const PortSettings &ports = app.session().settings.ports;
        const auto chosen = [&ports] { return QStringList{QString::number(ports.InputDeviceNum), ports.InputDeviceName,
                                                          QString::number(ports.OutputDeviceNum), ports.OutputDeviceName}; };
        QCOMPARE(chosen(), (QStringList{"1", "B In", "1", "B Out"}));
        const qsizetype sentToA = first->sent.size();
        PressKey(app, 5);
        QCOMPARE(second->sent.last(), SpKey(5, 127));
        QCOMPARE(first->sent.size(), sentToA);
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE")); // B's answer came in

        Dialog::pick(d.outputs(), 0);
        d.apply()->click();
        QCOMPARE(chosen(), (QStringList{"1", "B In", "-1", "Default Output"}));
        QVERIFY(first->outputOpen && !second->outputOpen && second->inputOpen);
        QCOMPARE(app.notifier.messages.size(), 1);
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
        QCOMPARE((QList<int>{s.settings.ports.InputDeviceNum, s.settings.ports.OutputDeviceNum}), (QList<int>{1, 1}));
        QVERIFY(original && original->inputOpen && original->outputOpen);
        PressKey(app, 5);
        QCOMPARE(original->sent.last(), SpKey(5, 127));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));

        Dialog::pick(d.inputs(), 1);
        d.apply()->click();
        QVERIFY(!original->inputOpen && !original->outputOpen);
        QVERIFY(rebuilt && rebuilt->inputOpen && rebuilt->outputOpen);
        PressKey(app, 5);
        QCOMPARE(rebuilt->sent.last(), SpKey(5, 127));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));

        d.click("cmdOK");
        QCOMPARE(OpenConfig(app).inputs()->currentRow(), 1);
        QVERIFY(rebuilt->inputOpen && rebuilt->outputOpen);
        QVERIFY(original && !original->inputOpen);
    }

    void aRebuiltIdleBackendMovesTheVirtualSpAlongWithoutLosingIt()
    {
        // No interface at start: the Virtual SP is device 0 and in use.
        TestApp app;
        auto vspBackend = std::make_unique<VirtualSpBackend>();
        VirtualSpBackend *vsp = vspBackend.get();
        QCOMPARE(app.startWith(Backends(std::make_unique<ScriptedBackend>(QStringList{}, QStringList{}), std::move(vspBackend))),
                 LinkStartup::Outcome::Online);
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
        QCOMPARE((QList<int>{s.settings.ports.InputDeviceNum, s.settings.ports.OutputDeviceNum}), (QList<int>{1, 1}));
        QVERIFY(!d.apply()->isEnabled());

        PressKey(app, 3);
        QCOMPARE(vsp->traffic().last().direction, VirtualSpBackend::Traffic::Out);
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("MIDI Interface/Input").toString(), QStringLiteral("Korvane Virtual SP"));
    }

    void settingsThatCannotBeWrittenAreReported()
    {
        VspApp app;
        // A folder in the file's place stops everyone, an administrator too.
        QVERIFY(QDir().mkpath(app.file("settings.ini")));
        QCOMPARE(app.start(), LinkStartup::Outcome::Online);
        app.main()->close();
        QCOMPARE(app.notifier.shown(), QStringList{"SetRegistry():  Error updating Registry information"});
        QCOMPARE(app.notifier.messages[0].icon, Notifier::Icon::Critical);
    }

    // Where the ports are chosen is told on a first start only, and never for the Virtual SP.
    void noPortHintOnceThePortsWereSavedOrOnTheVirtualSp()
    {
        TestApp saved;
        saved.shortTimeouts();
        saved.store.setValue("MIDI Interface/Input", "Test In");
        QCOMPARE(saved.start(std::make_unique<ScriptedBackend>()), LinkStartup::Outcome::Offline);
        QCOMPARE(saved.notifier.texts(), QStringList{"The specified SP Device is not responding"});

        VspApp vsp;
        vsp.shortTimeouts();
        QCOMPARE(vsp.startWithFaults(FaultOnAll({VirtualSpBackend::Fault::NoAnswer})), LinkStartup::Outcome::Offline);
        QCOMPARE(vsp.notifier.texts(), QStringList{"The specified SP Device is not responding"});
    }

    void theAboutBoxSaysWhenTheVirtualSpStandsInForAMissingInterface()
    {
        for (const bool withInterface : {false, true}) {
            TestApp app;
            auto backends = Backends(std::make_unique<VirtualSpBackend>());
            if (withInterface)
                backends.insert(backends.begin(), AnsweringInterface());
            app.startWith(std::move(backends));
            app.find<QAction>("mnuAbout")->trigger();
            QLabel *note = app.find<QLabel>("lblLinkNote");
            QVERIFY(note);
            QCOMPARE(note->isVisibleTo(note->window()), !withInterface);
            if (!withInterface)
                QCOMPARE(note->text(), QStringLiteral("The Korvane Virtual SP is in use: no MIDI interface was found."));
        }
    }

    // Each SysEx then leaves at least the pause after the one before: a lower bound only, as a
    // loaded machine may send later.
    void thePauseBetweenMessagesIsShownAppliedSavedAndKept()
    {
        TestApp app;
        app.store.setValue("MIDI Interface/Message Pause", "40");
        auto backend = AnsweringInterface("A");
        ScriptedBackend *wire = backend.get();
        app.start(std::move(backend));
        Dialog d = OpenConfig(app);
        QLineEdit *pause = d.get<QLineEdit>("txtPause");
        QCOMPARE(pause->text(), QStringLiteral("40"));
        QVERIFY(!d.apply()->isEnabled());
        int previous = 40;
        for (const auto &[typed, applied] : QList<QPair<const char *, int>>{{"250", 250}, {"5000", 1000}, {"0", 0}, {"150", 150}}) {
            d.typeInto(pause, QLatin1String(typed));
            // The ports are not reopened for it.
            QVERIFY2(d.w->Changed(frmConfig::MidiThru) && !d.w->Changed(frmConfig::MidiDevices), typed);
            QCOMPARE(app.session().settings.ports.MessagePause, previous); // not before Apply
            d.apply()->click();
            QCOMPARE(app.session().settings.ports.MessagePause, applied);
            QCOMPARE(pause->text(), QString::number(applied));
            previous = applied;
        }
        QElapsedTimer clock;
        clock.start();
        QList<qint64> sentAt;
        wire->reply = [&sentAt, &clock](const QByteArray &sent) {
            sentAt << clock.elapsed();
            return ScriptedBackend::StatusReply(0)(sent);
        };
        const qsizetype before = wire->sent.size();
        for (int press = 0; press < 3; ++press)
            PressKey(app, 5);
        QCOMPARE(wire->sent.mid(before), QList<QByteArray>(3, SpKey(5, 127)));
        QCOMPARE(sentAt.size(), 3);
        for (int i = 1; i < sentAt.size(); ++i)
            QVERIFY2(sentAt[i] - sentAt[i - 1] >= 150, qPrintable(QString::number(sentAt[i] - sentAt[i - 1])));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QVERIFY(app.notifier.messages.isEmpty());
        app.main()->close();
        app.store.sync();
        QCOMPARE(app.store.value("MIDI Interface/Message Pause").toString(), QStringLiteral("150"));
    }

    // Every control fits inside the window on every page: nothing clipped.
    void theDialogLooksRight()
    {
        VspApp app;
        app.start();
        Dialog d = OpenConfig(app);
        for (int page = 0; page < 3; ++page) {
            d.pages()->setCurrentIndex(page);
            for (QWidget *w : d.w->findChildren<QWidget *>()) {
                if (!w->isVisibleTo(d.w) || !w->objectName().contains(QRegularExpression("^(txt|opt|chk|lst|cmd|Check|spn)")))
                    continue;
                QVERIFY2(d.w->rect().contains(QRect(w->mapTo(d.w, QPoint(0, 0)), w->size())), qPrintable(w->objectName()));
                if (auto *b = qobject_cast<QAbstractButton *>(w))
                    QVERIFY2(b->width() >= b->sizeHint().width() || qobject_cast<QToolButton *>(b), qPrintable(w->objectName()));
            }
        }
    }
};

QTEST_MAIN(ConfigDialogTest)
#include "ConfigDialogTest.moc"
