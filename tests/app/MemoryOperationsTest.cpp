// Loading a disk bank, deleting objects and clearing the memory, merging two Waves into a
// stereo Wave and the statistics window, as a user drives them from the main window against a
// Virtual SP, with the SP's faults.
#include "AppKit.h"
#include "UserInput.h"
#include "app/DevicePicture.h"
#include "app/frmDeleteObject.h"
#include "app/frmLoadBank.h"
#include "app/frmProgress.h"
#include "app/frmStats.h"
#include "app/frmStereoMerge.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

using Fault = VirtualSpBackend::Fault;
constexpr int LoadCommand = 0x30, DeleteCommand = 0x03, MergeCommand = 0x31, StatusRequest = 0x12;
const QString TestBank = QStringLiteral("Current Bank: Test Bank     ");
const QString BankFiveLoaded = QStringLiteral("Current Bank: Bank Five     ");

// A bank on disk: one Wave, one Tone, one Preset, under its own bank name.
Vsp::SpMemory BankFive()
{
    using namespace SpRecords;
    Vsp::SpMemory m;
    m.of(Vsp::Wave)[1] = Wave("Bank Wave", 4000);
    m.of(Vsp::Tone)[4] = Tone("Bank Tone");
    m.of(Vsp::Preset)[2] = Preset("Bank Preset");
    m.global.bankName = "Bank Five     ";
    return m;
}

struct MemApp : VspApp {
    // The floppy, a hard disk at SCSI ID 2 and a CD-ROM at SCSI ID 5, the others not installed;
    // on the SP's disks bank 5 of SCSI ID 2 and bank 0 of the floppy hold BankFive.
    void startWithDisks(int lastDisk = 3)
    {
        store.beginGroup(QStringLiteral("Disk Devices"));
        for (int i = 0; i < 8; ++i)
            store.setValue(QStringLiteral("Dev%1_Installed").arg(i), QStringLiteral("0"));
        const struct { int index, type; const char *name; } disks[] = {
            {0, 3, "Floppy Disk"}, {3, 1, "Samples HD"}, {6, 0, "CD Library"}};
        for (const auto &d : disks) {
            store.setValue(QStringLiteral("Dev%1_Installed").arg(d.index), QStringLiteral("1"));
            store.setValue(QStringLiteral("Dev%1_Type").arg(d.index), QString::number(d.type));
            store.setValue(QStringLiteral("Dev%1_VolName").arg(d.index), QLatin1String(d.name));
        }
        store.setValue(QStringLiteral("Last Disk Accessed"), QString::number(lastDisk));
        store.endGroup();
        start();
        vsp->device().loadBank = [](int disk, int bank, Vsp::SpMemory &into) {
            if (!((disk == 2 && bank == 5) || (disk == 127 && bank == 0)))
                return false;
            into = BankFive();
            return true;
        };
    }

    void faultOn(int command, Fault fault)
    {
        vsp->setFaultPlan([command, fault](const QByteArray &request) { return IsCommand(request, command) ? fault : Fault{}; });
    }

    QList<QByteArray> after(int command) const
    {
        const QList<QByteArray> all = requests();
        for (qsizetype i = all.size() - 1; i >= 0; --i) {
            if (IsCommand(all[i], command))
                return all.mid(i + 1);
        }
        return {};
    }
    bool retrievedAfter(int command) const
    {
        return std::ranges::any_of(after(command), [](const QByteArray &r) { return IsCommand(r, StatusRequest); });
    }

    template <typename T> T *dialog() { return ShownChild<T>(main()); }
    template <typename T> T *in(QWidget *window, const QString &name) { return window->findChild<T *>(name); }
    QLineEdit *line(QWidget *window, const QString &name) { return in<QLineEdit>(window, name); }
    // On the button's circle: a radio button takes clicks only on its circle and its caption.
    void choose(QWidget *window, const QString &name)
    {
        auto *option = in<QRadioButton>(window, name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    void click(QWidget *window, const QString &name) { QTest::mouseClick(in<QPushButton>(window, name), Qt::LeftButton); }
    void click(const char *name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void spin(QWidget *window, const QString &name, bool up, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(in<SpinButton>(window, name)->findChild<QToolButton *>(up ? "up" : "down"), Qt::LeftButton);
    }
    frmLoadBank *openLoadBank() { click("cmdLoadBank"); return dialog<frmLoadBank>(); }
    frmStereoMerge *openMerge() { main()->StereoMerge(); return dialog<frmStereoMerge>(); }
    // Status bar panel n (the kind's), and the number and name the page shows.
    QStringList shown(int n) { return {panel(n), box("txtObjectNum")->text(), box("txtObjectName")->text()}; }

    // Runs `act` once the program is waiting for the SP's answer (from inside that wait).
    void whenWaiting(std::function<void()> act)
    {
        auto *poll = new QTimer(main());
        poll->setInterval(0);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act] {
            if (!session().wait.isWaiting())
                return;
            poll->stop();
            poll->deleteLater();
            act();
        });
        poll->start();
    }

    QStringList progressSeen;
    void watchProgress()
    {
        vsp->setFaultPlan([this](const QByteArray &) {
            frmProgress &p = main()->progress();
            const QString seen = p.isVisible() ? p.windowTitle() + QStringLiteral(" / ") + p.text() : QString();
            if (!seen.isEmpty() && (progressSeen.isEmpty() || progressSeen.last() != seen))
                progressSeen << seen;
            return Fault{};
        });
    }

    // After a refused command: no retrieval, no progress, the link as `online` says.
    void checkNothingRetrieved(int command, bool online)
    {
        QVERIFY(!retrievedAfter(command));
        QVERIFY(!main()->progress().isVisible());
        QVERIFY(!session().exchange.busy());
        QCOMPARE(panel(8), online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    }
};

} // namespace

class MemoryOperationsTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogOffersTheInstalledDevicesAndTakesOnlyABankNumber()
    {
        MemApp app;
        app.startWithDisks();
        auto *dialog = app.openLoadBank();
        QVERIFY(dialog);
        auto *combo = app.in<QComboBox>(dialog, "cboLoadBank");
        // The device used last is chosen, with the last bank number of this run.
        QCOMPARE(combo->currentText(), QStringLiteral("Samples HD"));
        auto *bank = app.line(dialog, "txtBankNum");
        auto *picture = app.in<DevicePicture>(dialog, "picLoadDiskBank");
        auto *spinner = app.in<SpinButton>(dialog, "spnBankNum");
        // Only the installed devices, each showing its own type; the floppy holds only bank 0.
        QCOMPARE(combo->count(), 3);
        const struct { int row; const char *name; int type; bool floppy; } devices[] = {
            {1, "Samples HD", 1, false}, {2, "CD Library", 0, false}, {0, "Floppy Disk", 3, true}};
        for (const auto &d : devices) {
            combo->setCurrentIndex(d.row);
            QVERIFY2(combo->currentText() == d.name && picture->deviceType() == d.type && bank->text() == "0", d.name);
            QVERIFY2(bank->isReadOnly() == d.floppy && spinner->isEnabled() != d.floppy, d.name);
        }

        // On a hard disk the bank number takes digits only, and must not be empty.
        combo->setCurrentIndex(1);
        bank->setFocus();
        QTest::keyClicks(bank, QStringLiteral("1a:2"));
        QTest::keyClick(bank, Qt::Key_Backspace);
        QVERIFY(!DropText(bank, QStringLiteral("abc")));
        QCOMPARE(bank->text(), QStringLiteral("012"));
        bank->clear();
        app.spin(dialog, "spnBankNum", true); // an empty box does not step
        QCOMPARE(bank->text(), QString());
        app.click(dialog, "cmdLoad");
        QCOMPARE(app.notifier.texts(), QStringList{"Please select a valid Bank Number to load."});
        QVERIFY(dialog->isVisible());
        app.click(dialog, "cmdCancel");
        QVERIFY(!dialog->isVisible());
        QVERIFY(Commands(app, LoadCommand).isEmpty());
    }

    void loadingABankFromAScsiDiskSendsItsCodeAndShowsTheNewBankEverywhere()
    {
        MemApp app;
        app.startWithDisks();
        app.watchProgress();
        app.showTab("Wave");
        auto *dialog = app.openLoadBank();
        app.spin(dialog, "spnBankNum", true, 6);
        app.spin(dialog, "spnBankNum", false);
        QCOMPARE(app.line(dialog, "txtBankNum")->text(), QStringLiteral("5"));
        app.click(dialog, "cmdLoad");

        QCOMPARE(Commands(app, LoadCommand), QList<QByteArray>{SpMessage({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 0, 2, 0, 0, 0, 5})});
        QCOMPARE(app.progressSeen.mid(0, 2), (QStringList{"Load Bank / Loading Bank #5 from Samples HD...",
                                                          "Download SP Objects / Downloading SP Data..."}));
        QVERIFY(!app.dialog<frmLoadBank>());
        QVERIFY(app.notifier.messages.isEmpty());
        QCOMPARE(app.panel(7), BankFiveLoaded);
        QCOMPARE(app.shown(4) << app.panel(3) << app.panel(2), (QStringList{"w# 1", "1", "Bank Wave", "t# 4", "m# -"}));
        QCOMPARE(app.box("txtWaveSize")->text(), QStringLiteral("4"));
        QCOMPARE(app.session().settings.LastDiskAccessed, uint8_t{3});
        QCOMPARE(app.line(app.openLoadBank(), "txtBankNum")->text(), QStringLiteral("5"));
    }

    void aFloppyLoadWaitsBeyondAnyTimeOut()
    {
        MemApp app;
        app.shortTimeouts();
        app.startWithDisks(0);
        // The answer comes well after the (shortened) time-out of every other request.
        app.faultOn(LoadCommand, {Fault::Delay, 3 * TestApp::ShortTimeoutMs});
        QString seen;
        auto *dialog = app.openLoadBank();
        app.whenWaiting([&] {
            const bool cancelOffered = app.main()->progress().findChild<QPushButton *>("cmdCancel")->isVisible();
            seen = app.main()->progress().text() + (cancelOffered ? " / Cancel" : "");
        });
        app.click(dialog, "cmdLoad");
        QCOMPARE(seen, QStringLiteral("Loading Bank from Floppy Disk... / Cancel"));
        QVERIFY(app.notifier.messages.isEmpty());
        QCOMPARE(app.panel(7), BankFiveLoaded);
        QVERIFY(!app.main()->progress().findChild<QPushButton *>("cmdCancel")->isVisible());
    }

    // By the Cancel button, by closing the progress window or the main window, and nothing more is
    // asked of an SP that may still be loading. The edits made before are forgotten, since the SP
    // may have loaded the bank meanwhile.
    void endingAFloppyWaitSendsNothingMoreAndLeavesTheLinkUsable()
    {
        enum End { CancelButton, CloseProgress, CloseMain };
        const char *const ways[] = {"by Cancel", "by closing the progress window", "by closing the main window"};
        for (const End end : {CancelButton, CloseProgress, CloseMain}) {
            MemApp app;
            app.startWithDisks(0);
            app.showTab("Global");
            app.clearAndType(app.box("txtGlobal(7)"), QStringLiteral("90"));
            QVERIFY(app.find<QAction>("mnuUndo")->isEnabled());
            app.faultOn(LoadCommand, {Fault::NoAnswer, 0}); // the drive never reports back
            auto *dialog = app.openLoadBank();
            app.whenWaiting([&] {
                frmProgress &progress = app.main()->progress();
                if (end == CloseMain)
                    app.main()->close();
                else if (end == CloseProgress)
                    progress.close();
                else
                    QTest::mouseClick(progress.findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
            });
            app.click(dialog, "cmdLoad");

            QCOMPARE(Commands(app, LoadCommand).size(), 1);
            QVERIFY2(app.after(LoadCommand).isEmpty(), ways[end]);
            if (end == CloseMain) {
                QVERIFY(!app.main()->isVisible() && !app.main()->progress().isVisible() && app.notifier.messages.isEmpty());
                continue;
            }
            QVERIFY(!app.session().wait.isWaiting());
            app.checkNothingRetrieved(LoadCommand, true);
            QCOMPARE(app.notifier.messages.size(), 1);
            QVERIFY(app.notifier.shown()[0].startsWith(QStringLiteral("Load Bank: The wait for the SP was cancelled.")));
            QVERIFY(!app.find<QAction>("mnuUndo")->isEnabled());
            QCOMPARE(app.panel(7), TestBank);
            // The link still works: downloading everything shows what the SP loaded meanwhile.
            QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::RightButton);
            QCOMPARE(app.panel(7), BankFiveLoaded);
            QCOMPARE(app.notifier.messages.size(), 1);
        }
    }

    void loadFaultsShowTheirTextAndRetrieveNothing()
    {
        const struct { int device, bank; Fault::Kind fault; const char *message; bool online; } cases[] = {
            {1, 5, Fault::Busy, "SP device is busy", true},
            {1, 6, Fault::None, "Requested SP operation failed", true}, // no such bank
            {1, 5, Fault::NoAnswer, "The specified SP Device is not responding", false},
        };
        for (const auto &c : cases) {
            MemApp app;
            if (c.fault == Fault::NoAnswer)
                app.shortTimeouts();
            app.startWithDisks();
            app.faultOn(LoadCommand, {c.fault, 0});
            auto *dialog = app.openLoadBank();
            app.in<QComboBox>(dialog, "cboLoadBank")->setCurrentIndex(c.device);
            app.line(dialog, "txtBankNum")->clear();
            QTest::keyClicks(app.line(dialog, "txtBankNum"), QString::number(c.bank));
            app.click(dialog, "cmdLoad");
            QCOMPARE(Commands(app, LoadCommand).size(), 1);
            QCOMPARE(app.notifier.texts(), QStringList{c.message});
            app.checkNothingRetrieved(LoadCommand, c.online);
            QCOMPARE(app.panel(7), TestBank);
            QVERIFY(app.find<QPushButton>("cmdLoadBank")->isEnabled());
        }
    }

    void bankLoadingNeedsTheSpOnline()
    {
        MemApp app;
        app.shortTimeouts();
        QCOMPARE(app.startOffline(), LinkStartup::Outcome::Offline);
        // The menu item says why it cannot load (the button stays off until the SP has answered).
        auto *item = app.find<QAction>("mnuLoadBank");
        app.notifier.messages.clear();
        item->trigger();
        QCOMPARE(app.notifier.texts(), QStringList{"Cannot get disk access with SP Offline!"});
        QVERIFY(!app.dialog<frmLoadBank>());
        QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::RightButton);
        item->trigger();
        QVERIFY(app.dialog<frmLoadBank>());
    }

    void noLeavesTheDialogOpenAndYesDeletesAndRetrieves()
    {
        MemApp app;
        app.start();
        app.watchProgress();
        app.showTab("Tone1");
        app.find<QAction>("mnuDelete")->trigger();
        auto *dialog = app.dialog<frmDeleteObject>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Delete Tone"));
        QVERIFY(app.in<QRadioButton>(dialog, "optDelObj(0)")->isChecked());
        QCOMPARE(app.line(dialog, "txtDelObj(0)")->text(), QStringLiteral("3"));
        QCOMPARE(app.line(dialog, "txtDelObj(1)")->text(), QStringLiteral("Kick Tone"));

        app.notifier.answer = false;
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.notifier.shown(), QStringList{"[Delete Object] Delete Current Tone: t#3   Kick Tone ?"});
        QCOMPARE(app.notifier.messages[0].icon, Notifier::Icon::Exclamation);
        QVERIFY(Commands(app, DeleteCommand).isEmpty());
        QVERIFY(dialog->isVisible());

        app.notifier.answer = true;
        app.click(dialog, "cmdDelObj");
        QCOMPARE(Commands(app, DeleteCommand), QList<QByteArray>{SpMessage({0x03, 0x01, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 3})});
        QCOMPARE(app.progressSeen.mid(0, 2), (QStringList{"Delete Tone / Deleting Tone t#3   Kick Tone",
                                                          "Download SP Objects / Downloading SP Data..."}));
        QVERIFY(!app.dialog<frmDeleteObject>());
        QVERIFY(!app.vsp->device().memory().of(Vsp::Tone).contains(3));
        QVERIFY(app.retrievedAfter(DeleteCommand));
        QCOMPARE(app.shown(3), (QStringList{"t# 7", "7", "Snare Tone"}));
        QCOMPARE(app.notifier.messages.size(), 2);
    }

    void deletingAllOfAKindOrClearingTheMemoryLeavesThemEmptyAndTheirControlsOff()
    {
        MemApp app;
        app.start();
        app.showTab("Preset1");
        app.click("cmdDeleteObject");
        auto *dialog = app.dialog<frmDeleteObject>();
        app.choose(dialog, "optDelObj(1)");
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.notifier.texts(), QStringList{"Delete all Presets?"});
        QCOMPARE(Commands(app, DeleteCommand), QList<QByteArray>{SpMessage({0x03, 0x03, 0x00, 0x00, 0x00, 0x02, 15, 15, 15, 15})});
        QCOMPARE(app.shown(1), (QStringList{"p# -", "", "None Loaded"}));
        QVERIFY(!app.find<QPushButton>("cmdDeleteObject")->isEnabled() && !app.find<QAction>("mnuDelete")->isEnabled());
        QCOMPARE(app.panel(4), QStringLiteral("w# 2")); // the other kinds stay
        // With nothing of the kind left, only the options for all and for clearing remain.
        app.main()->DeleteObject();
        dialog = app.dialog<frmDeleteObject>();
        QVERIFY(!app.in<QRadioButton>(dialog, "optDelObj(0)")->isEnabled());
        QVERIFY(app.in<QRadioButton>(dialog, "optDelObj(1)")->isChecked());
        QCOMPARE(app.line(dialog, "txtDelObj(0)")->text(), QString());

        app.watchProgress();
        app.choose(dialog, "optDelObj(2)");
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.notifier.texts().value(1), QStringLiteral("Clear All SP Memory ?"));
        QCOMPARE(Commands(app, DeleteCommand).value(1), SpMessage({0x03, 0x7F, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 0}));
        QCOMPARE(app.progressSeen.mid(0, 2), (QStringList{"Delete Preset / Clearing all SP memory...",
                                                          "Download SP Objects / Downloading Global Data..."}));
        for (int n = 1; n <= 5; ++n)
            QVERIFY2(app.panel(n).endsWith(QStringLiteral(" -")), qPrintable(app.panel(n)));
        QVERIFY(!app.find<QPushButton>("cmdStereoMerge")->isEnabled() && !app.find<QAction>("mnuStereoMerge")->isEnabled());
    }

    // The merged Wave keeps the left number, here above the lowest, and is the one shown afterwards.
    void mergingTwoMonoWavesSendsLeftThenRightAndShowsTheMergedWave()
    {
        MemApp app;
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Wave)[9] = SpRecords::Wave("Long Hat", 16000);
        app.start(memory);
        app.watchProgress();
        app.showTab("Wave");
        app.find<QAction>("mnuStereoMerge")->trigger();
        auto *dialog = app.dialog<frmStereoMerge>();
        QVERIFY(dialog);
        // Number, name, size and mode of the left (even boxes) and the right Wave (odd boxes).
        const auto side = [&](int first, std::initializer_list<int> boxes = {0, 2, 4, 6}) {
            QStringList texts;
            for (int i : boxes)
                texts << app.line(dialog, QStringLiteral("txtMerge(%1)").arg(first + i))->text();
            return texts;
        };
        QCOMPARE(side(0), (QStringList{"2", "Kick", "9", "Mono"}));
        QCOMPARE(side(1), (QStringList{"2", "Kick", "9", "Mono"}));

        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(app.notifier.shown(), QStringList{"[Stereo Merge Error] Must use two different waves!"});
        QCOMPARE(app.notifier.messages[0].icon, Notifier::Icon::Critical);
        QVERIFY(Commands(app, MergeCommand).isEmpty());

        app.spin(dialog, "spnMerge(0)", true);
        app.spin(dialog, "spnMerge(1)", true, 2);
        QCOMPARE(side(0), (QStringList{"5", "Snare", "12", "Mono"}));
        QCOMPARE(side(1), (QStringList{"9", "Long Hat", "16", "Mono"}));
        QCOMPARE(app.lastRequest(), DumpRequest(0, 9));

        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(Commands(app, MergeCommand), QList<QByteArray>{SpMessage({0x31, 0x01, 0x00, 0x00, 0x00, 0x04, 0, 0, 0, 5, 0, 0, 0, 9})});
        QCOMPARE(app.progressSeen.mid(0, 3), (QStringList{"Merge to Stereo / Merging Right Wave w#9 and Left Wave w#5...",
                                                          "Download SP Objects / Downloading SP Data...",
                                                          "Download Updated Wave / Downloading merged stereo wave..."}));
        QCOMPARE(app.notifier.messages.size(), 1);
        // The SP holds the merged Wave under the left number; the window and the Wave tab show it.
        QVERIFY(!app.vsp->device().memory().of(Vsp::Wave).contains(9));
        QCOMPARE(app.dialog<frmStereoMerge>(), dialog);
        QCOMPARE(side(0, {0, 4, 6}), (QStringList{"5", "28", "Stereo"}));
        QCOMPARE(app.shown(4), (QStringList{"w# 5", "5", "Snare"}));
        QCOMPARE(app.box("txtWaveMode")->text(), QStringLiteral("Stereo"));
        QCOMPARE(app.panel(7), TestBank);
        app.click(dialog, "cmdMerge(1)");
        QVERIFY(!dialog->isVisible());
    }

    // Which Wave a typed number settles on is the merge rules' own; here, that a typed number
    // is taken on Enter and shown with its name, an emptied box left behind takes the lowest Wave,
    // and dropped text is refused.
    void mergeNumberBoxesSettleOnWavesInUse()
    {
        MemApp app;
        app.start();
        auto *dialog = app.openMerge();
        auto *box = app.line(dialog, "txtMerge(1)");
        app.clearAndType(box, QStringLiteral("12x"), false);
        QVERIFY(KeyInput::IsPending(box));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!KeyInput::IsPending(box));
        QCOMPARE(box->text(), QStringLiteral("9"));
        QCOMPARE(app.line(dialog, "txtMerge(3)")->text(), QStringLiteral("Hat"));
        QCOMPARE(app.lastRequest(), DumpRequest(0, 9));
        for (const char *name : {"txtMerge(0)", "txtMerge(1)"})
            QVERIFY2(!DropText(app.line(dialog, name), QStringLiteral("5")), name);
        QCOMPARE(box->text(), QStringLiteral("9"));
        app.clear(box);
        app.line(dialog, "txtMerge(0)")->setFocus();
        QCOMPARE(box->text(), QStringLiteral("2"));
        QCOMPARE(app.line(dialog, "txtMerge(3)")->text(), QStringLiteral("Kick"));
    }

    void aMergeTheSpRefusesRetrievesNothingAndTheDialogStays()
    {
        MemApp app;
        app.start();
        auto *dialog = app.openMerge();
        app.spin(dialog, "spnMerge(1)", true);
        app.faultOn(MergeCommand, {Fault::Status, 6});
        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(Commands(app, MergeCommand).size(), 1);
        QCOMPARE(app.notifier.shown(), QStringList{"SP Error: Insufficient SP memory to perform this operation"});
        app.checkNothingRetrieved(MergeCommand, true);
        QVERIFY(dialog->isVisible());
        QCOMPARE(app.line(dialog, "txtMerge(0)")->text(), QStringLiteral("2"));
        QCOMPARE(app.line(dialog, "txtMerge(6)")->text(), QStringLiteral("Mono"));
    }

    // The texts themselves are the statistics' own; here, that each label shows its kind's figure
    // in the unit chosen, from the statuses already read.
    void statisticsShowTheLastStatusesInWordsAndBytesAndAskNothing()
    {
        MemApp app;
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Map).clear();
        app.start(memory);
        const qsizetype requestsBefore = app.requests().size();
        app.click("cmdStats");
        app.click(app.dialog<frmStats>(), "cmdOK");
        QVERIFY(!app.dialog<frmStats>());
        app.find<QAction>("mnuStats")->trigger();
        auto *stats = app.dialog<frmStats>();
        QVERIFY(stats && !stats->isModal());
        const auto labels = [&](std::initializer_list<const char *> names) {
            QStringList texts;
            for (const char *name : names)
                texts << app.in<QLabel>(stats, QLatin1String(name))->text();
            return texts;
        };
        const ObjDirStatus &waves = app.session().objects.of(KindWave).Status;
        // The Waves' count, lowest and highest, the Tones' lowest, the Maps' count and lowest.
        QCOMPARE(labels({"lblParm(0)", "lblParm(1)", "lblParm(2)", "lblParm(7)", "lblParm(12)", "lblParm(13)"}),
                 (QStringList{"3", "2", "9", "3", "0", "N/A"}));
        // The free parameter memory in words, as the SP holds it.
        const int freeWords = app.vsp->device().memory().parameterBytesFree() / 2;
        QCOMPARE(labels({"lblParm(4)", "lblQnt(4)", "lblMem(0)", "lblQnt(0)", "lblMem(2)"}),
                 (QStringList{MemoryStats::HalfText(waves.ParmMemUsed), "Words", QString::number(waves.InstalledRAM), "KWords",
                              QString::number(freeWords)}));
        app.choose(stats, "optStats(1)");
        QCOMPARE(labels({"lblParm(4)", "lblQnt(4)", "lblMem(0)", "lblQnt(0)", "lblMem(2)"}),
                 (QStringList{QString::number(waves.ParmMemUsed), "Bytes", QString::number(waves.InstalledRAM * 2), "KBytes",
                              QString::number(freeWords * 2)}));
        QCOMPARE(app.requests().size(), requestsBefore);
        // The main window stays usable beside it; closing the main window closes it.
        QVERIFY(app.find<QPushButton>("cmdDownLoad")->isEnabled());
        app.main()->close();
        QVERIFY(!stats->isVisible());
    }
};

QTEST_MAIN(MemoryOperationsTest)
#include "MemoryOperationsTest.moc"
