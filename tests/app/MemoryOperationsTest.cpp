// Loading a disk bank, deleting objects and clearing the memory, merging two Waves into a
// stereo Wave and the statistics window, as a user drives them from the main window against a
// Virtual SP, with the SP's faults.
#include "UserInput.h"
#include "VspApp.h"
#include "app/DevicePicture.h"
#include "app/ObjectHeader.h"
#include "app/frmDeleteObject.h"
#include "app/frmLoadBank.h"
#include "app/frmProgress.h"
#include "app/frmStats.h"
#include "app/frmStereoMerge.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <map>

namespace {

using Fault = VirtualSpBackend::Fault;
constexpr int PresetTab = 0, ToneTab = 3, WaveTab = 6, GlobalTab = 7;
constexpr int LoadCommand = 0x30, DeleteCommand = 0x03, MergeCommand = 0x31, StatusRequest = 0x12;

bool IsCommand(const QByteArray &request, int command)
{
    return request.size() > 8 && static_cast<uint8_t>(request.at(7)) == command;
}

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
    // The floppy, a hard disk at SCSI ID 2 and a CD-ROM at SCSI ID 5; the others not installed.
    void installDisks(int lastDisk = 3)
    {
        store.beginGroup(QStringLiteral("Disk Devices"));
        for (int i = 0; i < 8; ++i)
            store.setValue(QStringLiteral("Dev%1_Installed").arg(i), QStringLiteral("0"));
        const struct {
            int index, type;
            const char *name;
        } disks[] = {{0, 3, "Floppy Disk"}, {3, 1, "Samples HD"}, {6, 0, "CD Library"}};
        for (const auto &d : disks) {
            store.setValue(QStringLiteral("Dev%1_Installed").arg(d.index), QStringLiteral("1"));
            store.setValue(QStringLiteral("Dev%1_Type").arg(d.index), QString::number(d.type));
            store.setValue(QStringLiteral("Dev%1_VolName").arg(d.index), QLatin1String(d.name));
        }
        store.setValue(QStringLiteral("Last Disk Accessed"), QString::number(lastDisk));
        store.endGroup();
    }

    // The SP's disks: bank 5 of SCSI ID 2 and bank 0 of the floppy hold BankFive.
    void insertDisks()
    {
        vsp->device().loadBank = [](int disk, int bank, Vsp::SpMemory &into) {
            if (!((disk == 2 && bank == 5) || (disk == 127 && bank == 0)))
                return false;
            into = BankFive();
            return true;
        };
    }

    // The answers to requests starting with this command byte go wrong as `fault` says.
    void faultOn(int command, Fault fault)
    {
        vsp->setFaultPlan([command, fault](const QByteArray &request) { return IsCommand(request, command) ? fault : Fault{}; });
    }

    QList<QByteArray> commands(int command) const
    {
        QList<QByteArray> found;
        for (const QByteArray &r : requests()) {
            if (IsCommand(r, command))
                found << r;
        }
        return found;
    }
    // The requests sent after the last one starting with `command`.
    QList<QByteArray> after(int command) const
    {
        const QList<QByteArray> all = requests();
        for (int i = static_cast<int>(all.size()) - 1; i >= 0; --i) {
            if (IsCommand(all[i], command))
                return all.mid(i + 1);
        }
        return {};
    }
    bool retrievedAfter(int command) const
    {
        for (const QByteArray &r : after(command)) {
            if (IsCommand(r, StatusRequest))
                return true;
        }
        return false;
    }

    template <typename T>
    T *dialog()
    {
        for (T *window : main()->findChildren<T *>()) {
            if (window->isVisible())
                return window;
        }
        return nullptr;
    }
    template <typename T>
    T *in(QWidget *window, const QString &name) { return window->findChild<T *>(name); }
    // On the button's circle: a radio button takes clicks only on its circle and its caption.
    void choose(QWidget *window, const QString &name)
    {
        auto *option = in<QRadioButton>(window, name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    void click(QWidget *window, const QString &name) { QTest::mouseClick(in<QPushButton>(window, name), Qt::LeftButton); }
    void spin(QWidget *window, const QString &name, bool up)
    {
        QTest::mouseClick(in<SpinButton>(window, name)->findChild<QToolButton *>(up ? "up" : "down"), Qt::LeftButton);
    }

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

    // Records the progress window's caption and text when each request goes out.
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
};

} // namespace

class MemoryOperationsTest : public QObject {
    Q_OBJECT

private slots:
    // ---- Load a disk bank ----

    void theDeviceListHoldsTheFloppyAndTheInstalledDevices()
    {
        MemApp app;
        app.installDisks();
        app.start();
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        auto *dialog = app.dialog<frmLoadBank>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Load Disk Bank"));
        QVERIFY(dialog->isModal());
        auto *combo = app.in<QComboBox>(dialog, "cboLoadBank");
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        QCOMPARE(entries, (QStringList{"Floppy Disk", "Samples HD", "CD Library"}));
        // The device used last is chosen, with the last bank number of this run.
        QCOMPARE(combo->currentText(), QStringLiteral("Samples HD"));
        auto *bank = app.in<QLineEdit>(dialog, "txtBankNum");
        auto *picture = app.in<DevicePicture>(dialog, "picLoadDiskBank");
        QCOMPARE(bank->text(), QStringLiteral("0"));
        QVERIFY(!bank->isReadOnly());
        QCOMPARE(picture->deviceType(), 1);
        // Each device shows its own type; the floppy holds only bank 0.
        combo->setCurrentIndex(2);
        QCOMPARE(picture->deviceType(), 0);
        combo->setCurrentIndex(0);
        QCOMPARE(picture->deviceType(), 3);
        QCOMPARE(bank->text(), QStringLiteral("0"));
        QVERIFY(bank->isReadOnly());
        QVERIFY(!app.in<SpinButton>(dialog, "spnBankNum")->isEnabled());
    }

    void loadingABankFromAScsiDiskSendsItsCodeAndShowsTheNewBankEverywhere()
    {
        MemApp app;
        app.installDisks();
        app.start();
        app.insertDisks();
        app.watchProgress();
        app.showTab(WaveTab);
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        auto *dialog = app.dialog<frmLoadBank>();
        for (int i = 0; i < 6; ++i)
            app.spin(dialog, "spnBankNum", true);
        app.spin(dialog, "spnBankNum", false);
        QCOMPARE(app.in<QLineEdit>(dialog, "txtBankNum")->text(), QStringLiteral("5"));
        app.click(dialog, "cmdLoad");

        QCOMPARE(app.commands(LoadCommand), QList<QByteArray>{SpMessage({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 0, 2, 0, 0, 0, 5})});
        QCOMPARE(app.progressSeen.value(0), QStringLiteral("Load Bank / Loading Bank #5 from Samples HD..."));
        QCOMPARE(app.progressSeen.value(1), QStringLiteral("Download SP Objects / Downloading SP Data..."));
        QVERIFY(!app.main()->progress().isVisible());
        QVERIFY(!app.dialog<frmLoadBank>());
        QVERIFY(app.notifier.messages.isEmpty());
        // Every kind was read again and the tabs show the new bank.
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Bank Five     "));
        QCOMPARE(app.panel(4), QStringLiteral("w# 1"));
        QCOMPARE(app.panel(3), QStringLiteral("t# 4"));
        QCOMPARE(app.panel(2), QStringLiteral("m# -"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Bank Wave"));
        QCOMPARE(app.box("txtWaveSize")->text(), QStringLiteral("4"));
        QCOMPARE(app.session().settings.LastDiskAccessed, uint8_t{3});
        // The next load offers the same device and bank.
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        QCOMPARE(app.in<QLineEdit>(app.dialog<frmLoadBank>(), "txtBankNum")->text(), QStringLiteral("5"));
    }

    void aFloppyLoadWaitsBeyondAnyTimeOut()
    {
        MemApp app;
        app.shortTimeouts();
        app.installDisks(0);
        app.start();
        app.insertDisks();
        // The answer comes well after the (shortened) time-out of every other request.
        app.faultOn(LoadCommand, {Fault::Delay, 3 * TestApp::ShortTimeoutMs});
        bool cancelOffered = false;
        QString text;
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        app.whenWaiting([&] {
            cancelOffered = app.main()->progress().findChild<QPushButton *>("cmdCancel")->isVisible();
            text = app.main()->progress().text();
        });
        app.click(app.dialog<frmLoadBank>(), "cmdLoad");
        QCOMPARE(app.commands(LoadCommand), QList<QByteArray>{SpMessage({0x30, 0x01, 0x00, 0x00, 0x00, 0x03, 7, 15, 0, 0, 0, 0})});
        QVERIFY(cancelOffered);
        QCOMPARE(text, QStringLiteral("Loading Bank from Floppy Disk..."));
        QVERIFY(app.notifier.messages.isEmpty());
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Bank Five     "));
        QVERIFY(!app.main()->progress().findChild<QPushButton *>("cmdCancel")->isVisible());
    }

    void cancelEndsAFloppyWaitAndLeavesTheLinkUsable_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("progress window closed") << true;
    }
    void cancelEndsAFloppyWaitAndLeavesTheLinkUsable()
    {
        QFETCH(bool, byClosing);
        MemApp app;
        app.installDisks(0);
        app.start();
        app.insertDisks();
        app.faultOn(LoadCommand, {Fault::NoAnswer, 0}); // the drive never reports back
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        app.whenWaiting([&] {
            frmProgress &progress = app.main()->progress();
            if (byClosing)
                progress.close();
            else
                QTest::mouseClick(progress.findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
        });
        app.click(app.dialog<frmLoadBank>(), "cmdLoad");

        QCOMPARE(app.commands(LoadCommand).size(), 1);
        QVERIFY(!app.session().wait.isWaiting());
        QVERIFY(!app.session().exchange.busy());
        QVERIFY(!app.main()->progress().isVisible());
        QVERIFY2(app.after(LoadCommand).isEmpty(), "nothing asked of an SP that may still be loading");
        QCOMPARE(app.notifier.messages.size(), 1);
        QCOMPARE(app.notifier.messages[0].heading, QStringLiteral("Load Bank"));
        QVERIFY(app.notifier.messages[0].text.contains(QStringLiteral("cancelled")));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Test Bank     "));
        // The link still works: downloading everything shows what the SP loaded meanwhile.
        QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::RightButton);
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Bank Five     "));
        QCOMPARE(app.notifier.messages.size(), 1);
    }

    void loadFaultsShowTheirTextAndRetrieveNothing_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("online");
        QTest::newRow("SP busy") << 1 << 5 << int(Fault::Busy) << "SP device is busy" << true;
        QTest::newRow("no such bank") << 1 << 6 << int(Fault::None) << "Requested SP operation failed" << true;
        QTest::newRow("SCSI time-out") << 1 << 5 << int(Fault::NoAnswer) << "The specified SP Device is not responding"
                                       << false;
    }
    void loadFaultsShowTheirTextAndRetrieveNothing()
    {
        QFETCH(int, device);
        QFETCH(int, bank);
        QFETCH(int, fault);
        QFETCH(QString, message);
        QFETCH(bool, online);
        MemApp app;
        if (fault == int(Fault::NoAnswer))
            app.shortTimeouts();
        app.installDisks();
        app.start();
        app.insertDisks();
        app.faultOn(LoadCommand, {static_cast<Fault::Kind>(fault), 0});
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        auto *dialog = app.dialog<frmLoadBank>();
        app.in<QComboBox>(dialog, "cboLoadBank")->setCurrentIndex(device);
        auto *box = app.in<QLineEdit>(dialog, "txtBankNum");
        box->clear();
        QTest::keyClicks(box, QString::number(bank));
        app.click(dialog, "cmdLoad");
        QCOMPARE(app.commands(LoadCommand).size(), 1);
        QCOMPARE(app.notifier.texts(), QStringList{message});
        QVERIFY(!app.retrievedAfter(LoadCommand));
        QVERIFY(!app.main()->progress().isVisible());
        QCOMPARE(app.panel(8), online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Test Bank     "));
        QVERIFY(!app.session().exchange.busy());
        QVERIFY(app.find<QPushButton>("cmdLoadBank")->isEnabled());
    }

    void closingTheMainWindowDuringALoadSendsNothingMore()
    {
        MemApp app;
        app.installDisks(0);
        app.start();
        app.insertDisks();
        app.faultOn(LoadCommand, {Fault::NoAnswer, 0});
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        app.whenWaiting([&] { app.main()->close(); });
        app.click(app.dialog<frmLoadBank>(), "cmdLoad");
        QVERIFY(!app.main()->isVisible());
        QVERIFY(app.after(LoadCommand).isEmpty());
        QVERIFY(!app.main()->progress().isVisible());
        QVERIFY(app.notifier.messages.isEmpty());
    }

    void theBankNumberTakesDigitsOnlyAndMustNotBeEmpty()
    {
        MemApp app;
        app.installDisks();
        app.start();
        QTest::mouseClick(app.find<QPushButton>("cmdLoadBank"), Qt::LeftButton);
        auto *dialog = app.dialog<frmLoadBank>();
        auto *box = app.in<QLineEdit>(dialog, "txtBankNum");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1a:2"));
        QCOMPARE(box->text(), QStringLiteral("012"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("012"));
        box->clear();
        app.spin(dialog, "spnBankNum", true); // an empty box does not step
        QCOMPARE(box->text(), QString());
        app.click(dialog, "cmdLoad");
        QCOMPARE(app.notifier.texts(), QStringList{"Please select a valid Bank Number to load."});
        QVERIFY(app.commands(LoadCommand).isEmpty());
        QVERIFY(dialog->isVisible());
        app.click(dialog, "cmdCancel");
        QVERIFY(!dialog->isVisible());
        QVERIFY(app.commands(LoadCommand).isEmpty());
    }

    void droppedTextNeverReachesTheNumberBoxes()
    {
        MemApp app;
        app.installDisks();
        app.start();
        app.insertDisks();
        app.main()->LoadBank();
        auto *dialog = app.dialog<frmLoadBank>();
        auto *bank = app.in<QLineEdit>(dialog, "txtBankNum");
        bank->setFocus();
        bank->selectAll();
        QTest::keyClicks(bank, QStringLiteral("5"));
        QVERIFY(!DropText(bank, QStringLiteral("abc")));
        QCOMPARE(bank->text(), QStringLiteral("5"));
        app.click(dialog, "cmdLoad");
        QCOMPARE(app.commands(LoadCommand),
                 QList<QByteArray>{Wire({0xF0, 0, 0, 0x1B, 2, 5, 0x7F, 0x30, 1, 0, 0, 0, 3, 0, 2, 0, 0, 0, 5, 0xF7})});
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Bank Five     "));

        app.main()->StereoMerge();
        auto *merge = app.dialog<frmStereoMerge>();
        for (const char *name : {"txtMerge(0)", "txtMerge(1)"}) {
            auto *box = app.in<QLineEdit>(merge, QLatin1String(name));
            const QString before = box->text();
            QVERIFY2(!DropText(box, QStringLiteral("abc")), name);
            QVERIFY2(!DropText(box, QStringLiteral("12")), name);
            QCOMPARE(box->text(), before);
        }
    }

    void bankLoadingNeedsTheSpOnline()
    {
        MemApp app;
        app.shortTimeouts();
        QCOMPARE(app.startOffline(), LinkStartup::Outcome::Offline);
        // The button stays off until the SP has answered; the menu item says why it cannot load.
        QVERIFY(!app.find<QPushButton>("cmdLoadBank")->isEnabled());
        auto *item = app.find<QAction>("mnuLoadBank");
        QVERIFY(item->isEnabled());
        app.notifier.messages.clear();
        item->trigger();
        QCOMPARE(app.notifier.texts(), QStringList{"Cannot get disk access with SP Offline!"});
        QVERIFY(!app.dialog<frmLoadBank>());
        QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::RightButton);
        QVERIFY(app.find<QPushButton>("cmdLoadBank")->isEnabled());
        item->trigger();
        QVERIFY(app.dialog<frmLoadBank>());
    }

    // ---- Delete and clear ----

    void noLeavesTheDialogOpenAndYesDeletesAndRetrieves()
    {
        MemApp app;
        app.start();
        app.watchProgress();
        app.showTab(ToneTab);
        app.find<QAction>("mnuDelete")->trigger();
        auto *dialog = app.dialog<frmDeleteObject>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Delete Tone"));
        QCOMPARE(app.in<QRadioButton>(dialog, "optDelObj(0)")->text(), QStringLiteral("Delete Current Tone:"));
        QCOMPARE(app.in<QRadioButton>(dialog, "optDelObj(1)")->text(), QStringLiteral("Delete All Tones"));
        QVERIFY(app.in<QRadioButton>(dialog, "optDelObj(0)")->isChecked());
        QCOMPARE(app.in<QLineEdit>(dialog, "txtDelObj(0)")->text(), QStringLiteral("3"));
        QCOMPARE(app.in<QLineEdit>(dialog, "txtDelObj(1)")->text(), QStringLiteral("Kick Tone"));

        app.notifier.answer = false;
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.notifier.shown(), QStringList{"[Delete Object] Delete Current Tone: t#3   Kick Tone ?"});
        QCOMPARE(app.notifier.messages[0].icon, Notifier::Icon::Exclamation);
        QVERIFY(app.commands(DeleteCommand).isEmpty());
        QVERIFY(dialog->isVisible());

        app.notifier.answer = true;
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.commands(DeleteCommand), QList<QByteArray>{SpMessage({0x03, 0x01, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 3})});
        QCOMPARE(app.progressSeen.value(0), QStringLiteral("Delete Tone / Deleting Tone t#3   Kick Tone"));
        QCOMPARE(app.progressSeen.value(1), QStringLiteral("Download SP Objects / Downloading SP Data..."));
        QVERIFY(!app.dialog<frmDeleteObject>());
        QVERIFY(!app.vsp->device().memory().of(Vsp::Tone).contains(3));
        QVERIFY(app.retrievedAfter(DeleteCommand));
        QCOMPARE(app.panel(3), QStringLiteral("t# 7"));
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("7"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare Tone"));
        QCOMPARE(app.notifier.messages.size(), 2);
    }

    void deletingAllOfAKindLeavesItEmptyAndItsDeleteControlsOff()
    {
        MemApp app;
        app.start();
        app.showTab(PresetTab);
        QTest::mouseClick(app.find<QPushButton>("cmdDeleteObject"), Qt::LeftButton);
        auto *dialog = app.dialog<frmDeleteObject>();
        app.choose(dialog, "optDelObj(1)");
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.notifier.texts(), QStringList{"Delete all Presets?"});
        QCOMPARE(app.commands(DeleteCommand),
                 QList<QByteArray>{SpMessage({0x03, 0x03, 0x00, 0x00, 0x00, 0x02, 15, 15, 15, 15})});
        QCOMPARE(app.panel(1), QStringLiteral("p# -"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("None Loaded"));
        QVERIFY(!app.find<QPushButton>("cmdDeleteObject")->isEnabled());
        QVERIFY(!app.find<QAction>("mnuDelete")->isEnabled());
        QCOMPARE(app.panel(4), QStringLiteral("w# 2")); // the other kinds stay
        // With nothing of the kind left, only the options for all and for clearing remain.
        app.main()->DeleteObject();
        dialog = app.dialog<frmDeleteObject>();
        QVERIFY(!app.in<QRadioButton>(dialog, "optDelObj(0)")->isEnabled());
        QVERIFY(app.in<QRadioButton>(dialog, "optDelObj(1)")->isChecked());
        QCOMPARE(app.in<QLineEdit>(dialog, "txtDelObj(0)")->text(), QString());
    }

    void clearingTheMemoryEmptiesEveryKind()
    {
        MemApp app;
        app.start();
        app.watchProgress();
        app.showTab(GlobalTab);
        app.main()->DeleteObject();
        auto *dialog = app.dialog<frmDeleteObject>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Delete Multi"));
        app.choose(dialog, "optDelObj(2)");
        app.click(dialog, "cmdDelObj");
        QCOMPARE(app.notifier.texts(), QStringList{"Clear All SP Memory ?"});
        QCOMPARE(app.commands(DeleteCommand), QList<QByteArray>{SpMessage({0x03, 0x7F, 0x00, 0x00, 0x00, 0x02, 0, 0, 0, 0})});
        QCOMPARE(app.progressSeen.value(0), QStringLiteral("Delete Multi / Clearing all SP memory..."));
        QCOMPARE(app.progressSeen.value(1), QStringLiteral("Download SP Objects / Downloading Global Data..."));
        for (int n = 1; n <= 5; ++n)
            QVERIFY2(app.panel(n).endsWith(QStringLiteral(" -")), qPrintable(app.panel(n)));
        QVERIFY(!app.find<QPushButton>("cmdStereoMerge")->isEnabled());
        QVERIFY(!app.find<QAction>("mnuStereoMerge")->isEnabled());
    }

    void aRefusedDeleteRetrievesNothing_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("online");
        QTest::newRow("empty object") << int(Fault::Status) << 4 << "Specified SP data object is empty/nonexistent" << true;
        QTest::newRow("busy") << int(Fault::Busy) << 0 << "SP device is busy" << true;
        QTest::newRow("time-out") << int(Fault::NoAnswer) << 0 << "The specified SP Device is not responding" << false;
    }
    void aRefusedDeleteRetrievesNothing()
    {
        QFETCH(int, fault);
        QFETCH(int, value);
        QFETCH(QString, message);
        QFETCH(bool, online);
        MemApp app;
        if (fault == int(Fault::NoAnswer))
            app.shortTimeouts();
        app.start();
        app.showTab(WaveTab);
        app.faultOn(DeleteCommand, {static_cast<Fault::Kind>(fault), value});
        app.main()->DeleteObject();
        app.click(app.dialog<frmDeleteObject>(), "cmdDelObj");
        QCOMPARE(app.notifier.texts(), (QStringList{"Delete Current Wave: w#2   Kick ?", message}));
        QVERIFY(!app.retrievedAfter(DeleteCommand));
        QVERIFY(!app.main()->progress().isVisible());
        QCOMPARE(app.panel(8), online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Kick"));
        QVERIFY(!app.session().exchange.busy());
    }

    // ---- Stereo merge ----

    void mergingTwoMonoWavesSendsLeftThenRightAndRereadsTheMergedWave()
    {
        MemApp app;
        app.start();
        app.watchProgress();
        app.showTab(WaveTab);
        app.find<QAction>("mnuStereoMerge")->trigger();
        auto *dialog = app.dialog<frmStereoMerge>();
        QVERIFY(dialog);
        const auto text = [&](int i) { return app.in<QLineEdit>(dialog, QStringLiteral("txtMerge(%1)").arg(i))->text(); };
        // Both sides start on the current Wave.
        QCOMPARE((QStringList{text(0), text(2), text(4), text(6)}), (QStringList{"2", "Kick", "9", "Mono"}));
        QCOMPARE((QStringList{text(1), text(3), text(5), text(7)}), (QStringList{"2", "Kick", "9", "Mono"}));

        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(app.notifier.messages.size(), 1);
        QCOMPARE(app.notifier.messages[0].icon, Notifier::Icon::Critical);
        QCOMPARE(app.notifier.shown(), QStringList{"[Stereo Merge Error] Must use two different waves!"});
        QVERIFY(app.commands(MergeCommand).isEmpty());

        // The right side moves to Wave 5, which is read from the SP.
        app.spin(dialog, "spnMerge(1)", true);
        QCOMPARE((QStringList{text(1), text(3), text(5), text(7)}), (QStringList{"5", "Snare", "12", "Mono"}));
        QCOMPARE(app.lastRequest(), DumpRequest(0, 5));

        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(app.commands(MergeCommand),
                 QList<QByteArray>{SpMessage({0x31, 0x01, 0x00, 0x00, 0x00, 0x04, 0, 0, 0, 2, 0, 0, 0, 5})});
        QCOMPARE(app.progressSeen.mid(0, 3),
                 (QStringList{"Merge to Stereo / Merging Right Wave w#5 and Left Wave w#2...",
                              "Download SP Objects / Downloading SP Data...",
                              "Download Updated Wave / Downloading merged stereo wave..."}));
        QCOMPARE(app.notifier.messages.size(), 1);
        // The SP holds the merged Wave under the left number; the window shows it again.
        QVERIFY(!app.vsp->device().memory().of(Vsp::Wave).contains(5));
        QVERIFY(app.dialog<frmStereoMerge>() == dialog);
        QCOMPARE((QStringList{text(0), text(4), text(6)}), (QStringList{"2", "21", "Stereo"}));
        QCOMPARE(app.box("txtWaveMode")->text(), QStringLiteral("Stereo"));
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("2"));
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Test Bank     "));
        app.click(dialog, "cmdMerge(1)");
        QVERIFY(!dialog->isVisible());
    }

    void aMergedWaveAboveTheLowestIsTheOneShownAfterwards()
    {
        MemApp app;
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Wave)[9] = SpRecords::Wave("Long Hat", 16000);
        app.start(memory);
        app.showTab(WaveTab);
        app.main()->StereoMerge();
        auto *dialog = app.dialog<frmStereoMerge>();
        app.spin(dialog, "spnMerge(0)", true);
        app.spin(dialog, "spnMerge(1)", true);
        app.spin(dialog, "spnMerge(1)", true);
        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(app.commands(MergeCommand),
                 QList<QByteArray>{SpMessage({0x31, 0x01, 0x00, 0x00, 0x00, 0x04, 0, 0, 0, 5, 0, 0, 0, 9})});
        QVERIFY(app.requests().mid(app.requests().indexOf(app.commands(MergeCommand)[0])).contains(DumpRequest(0, 5)));
        // The Wave tab and its header name the merged Wave, not the lowest one.
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("5"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare"));
        QCOMPARE(app.box("txtWaveMode")->text(), QStringLiteral("Stereo"));
        QCOMPARE(app.panel(4), QStringLiteral("w# 5"));
    }

    void mergeChecksComeBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("message");
        QTest::newRow("right shorter") << "5" << "9" << "Right wave length must be greater than left!";
        QTest::newRow("left stereo") << "7" << "5" << "Left wave is already stereo!";
        QTest::newRow("right stereo") << "2" << "7" << "Right wave is already stereo!";
    }
    void mergeChecksComeBeforeAnythingIsSent()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(QString, message);
        MemApp app;
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Wave)[7] = SpRecords::Wave("Pad", 20000, true);
        app.start(memory);
        app.main()->StereoMerge();
        auto *dialog = app.dialog<frmStereoMerge>();
        for (const auto &[index, number] : {std::pair{0, left}, std::pair{1, right}}) {
            auto *box = app.in<QLineEdit>(dialog, QStringLiteral("txtMerge(%1)").arg(index));
            app.clearAndType(box, number);
        }
        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(app.notifier.shown(), QStringList{"[Stereo Merge Error] " + message});
        QVERIFY(app.commands(MergeCommand).isEmpty());
        QVERIFY(dialog->isVisible());
    }

    void mergeNumberBoxesSettleOnWavesInUse()
    {
        MemApp app;
        app.start();
        app.main()->StereoMerge();
        auto *dialog = app.dialog<frmStereoMerge>();
        auto *box = app.in<QLineEdit>(dialog, "txtMerge(1)");
        const struct {
            const char *typed;
            const char *shown;
            const char *name;
        } rows[] = {{"12", "9", "Hat"}, {"0", "2", "Kick"}, {"7", "2", "Kick"}, {"5", "5", "Snare"}};
        for (const auto &row : rows) {
            app.clearAndType(box, QLatin1String(row.typed), false);
            QVERIFY(KeyInput::IsPending(box));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(box->text(), QLatin1String(row.shown));
            QCOMPARE(app.in<QLineEdit>(dialog, "txtMerge(3)")->text(), QLatin1String(row.name));
            QVERIFY(!KeyInput::IsPending(box));
        }
        // Letters are dropped; an emptied box left behind takes the lowest Wave.
        app.type(box, QStringLiteral("x"), false);
        QCOMPARE(box->text(), QStringLiteral("5"));
        app.clear(box);
        app.in<QLineEdit>(dialog, "txtMerge(0)")->setFocus();
        QCOMPARE(box->text(), QStringLiteral("2"));
        QCOMPARE(app.lastRequest(), DumpRequest(0, 2));
        // The spin steps through the Waves in use and stops at the ends.
        app.spin(dialog, "spnMerge(1)", false);
        QCOMPARE(box->text(), QStringLiteral("2"));
        app.spin(dialog, "spnMerge(1)", true);
        app.spin(dialog, "spnMerge(1)", true);
        app.spin(dialog, "spnMerge(1)", true);
        QCOMPARE(box->text(), QStringLiteral("9"));
        QCOMPARE(app.in<QLineEdit>(dialog, "txtMerge(5)")->text(), QStringLiteral("3"));
    }

    void aMergeTheSpRefusesRetrievesNothingAndTheDialogStays()
    {
        MemApp app;
        app.start();
        app.main()->StereoMerge();
        auto *dialog = app.dialog<frmStereoMerge>();
        app.spin(dialog, "spnMerge(1)", true);
        app.faultOn(MergeCommand, {Fault::Status, 6});
        app.click(dialog, "cmdMerge(0)");
        QCOMPARE(app.commands(MergeCommand).size(), 1);
        QCOMPARE(app.notifier.texts(), QStringList{"Insufficient SP memory to perform this operation"});
        QCOMPARE(app.notifier.messages[0].heading, QStringLiteral("SP Error"));
        QVERIFY(!app.retrievedAfter(MergeCommand));
        QVERIFY(!app.main()->progress().isVisible());
        QVERIFY(dialog->isVisible());
        QCOMPARE(app.in<QLineEdit>(dialog, "txtMerge(0)")->text(), QStringLiteral("2"));
        QCOMPARE(app.in<QLineEdit>(dialog, "txtMerge(6)")->text(), QStringLiteral("Mono"));
        QVERIFY(app.vsp->device().memory().of(Vsp::Wave).contains(5));
    }

    // ---- Statistics ----

    void statisticsShowTheLastStatusesInWordsAndBytesAndAskNothing()
    {
        MemApp app;
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Map).clear();
        app.start(memory);
        const int requestsBefore = static_cast<int>(app.requests().size());
        app.find<QAction>("mnuStats")->trigger();
        auto *stats = app.dialog<frmStats>();
        QVERIFY(stats);
        QCOMPARE(stats->windowTitle(), QStringLiteral("SP Statistics"));
        QVERIFY(!stats->isModal());
        const auto label = [&](const QString &name) { return app.in<QLabel>(stats, name)->text(); };
        const ObjectStore &objects = app.session().objects;
        const ObjDirStatus &waves = objects.of(KindWave).Status;
        QCOMPARE(label("lblParm(0)"), QStringLiteral("3"));
        QCOMPARE(label("lblParm(1)"), QStringLiteral("2"));
        QCOMPARE(label("lblParm(2)"), QStringLiteral("9"));
        QCOMPARE(label("lblParm(3)"), QString::number(waves.HighestAllowed));
        QCOMPARE(label("lblParm(4)"), MemoryStats::HalfText(waves.ParmMemUsed));
        QCOMPARE(label("lblQnt(4)"), QStringLiteral("Words"));
        QCOMPARE(label("lblParm(7)"), QStringLiteral("3")); // lowest Tone
        QCOMPARE(label("lblParm(12)"), QStringLiteral("0")); // no Maps
        QCOMPARE(label("lblParm(13)"), QStringLiteral("N/A"));
        QCOMPARE(label("lblQnt(16)"), QString());
        QCOMPARE(label("lblMem(0)"), QString::number(waves.InstalledRAM));
        QCOMPARE(label("lblQnt(0)"), QStringLiteral("KWords"));
        QCOMPARE(label("lblMem(1)"), QString::number(objects.FreeRAM));
        QCOMPARE(label("lblQnt(2)"), QStringLiteral("Words"));

        app.choose(stats, "optStats(1)");
        QVERIFY(app.in<QRadioButton>(stats, "optStats(1)")->isChecked());
        QCOMPARE(label("lblParm(4)"), QString::number(waves.ParmMemUsed));
        QCOMPARE(label("lblQnt(4)"), QStringLiteral("Bytes"));
        QCOMPARE(label("lblMem(0)"), QString::number(waves.InstalledRAM * 2));
        QCOMPARE(label("lblQnt(0)"), QStringLiteral("KBytes"));
        QCOMPARE(label("lblMem(2)"), QString::number(waves.FreeParmRAM * 2));
        QCOMPARE(label("lblParm(13)"), QStringLiteral("N/A"));
        app.choose(stats, "optStats(0)");
        QCOMPARE(label("lblMem(0)"), QString::number(waves.InstalledRAM));
        QCOMPARE(app.requests().size(), requestsBefore);
        // The main window stays usable beside it; closing the main window closes it.
        QVERIFY(app.find<QPushButton>("cmdDownLoad")->isEnabled());
        app.main()->close();
        QVERIFY(!stats->isVisible());
    }

    void theStatsButtonOpensTheSameWindow()
    {
        MemApp app;
        app.start();
        QCOMPARE(app.main()->findChildren<QAction *>("mnuStats").size(), 1);
        QVERIFY(app.find<QAction>("mnuStats")->isEnabled());
        QVERIFY(app.find<QPushButton>("cmdStats")->isEnabled());
        QTest::mouseClick(app.find<QPushButton>("cmdStats"), Qt::LeftButton);
        QVERIFY(app.dialog<frmStats>());
        app.click(app.dialog<frmStats>(), "cmdOK");
        QVERIFY(!app.dialog<frmStats>());
    }

    // ---- Screenshots for the README (only when asked for) ----

    void screenshots()
    {
        const QString folder = qEnvironmentVariable("KORVANE_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set KORVANE_SCREENSHOTS to a folder to write the windows' pictures");
        QDir().mkpath(folder);
        MemApp app;
        app.installDisks();
        app.start();
        app.showTab(ToneTab);
        const auto save = [&](QWidget *window, const char *name) {
            window->adjustSize();
            QVERIFY(window->grab().save(folder + QLatin1Char('/') + QLatin1String(name)));
        };
        app.main()->LoadBank();
        save(app.dialog<frmLoadBank>(), "load-bank.png");
        app.click(app.dialog<frmLoadBank>(), "cmdCancel");
        app.main()->DeleteObject();
        save(app.dialog<frmDeleteObject>(), "delete-object.png");
        app.click(app.dialog<frmDeleteObject>(), "cmdCancel");
        app.main()->StereoMerge();
        app.spin(app.dialog<frmStereoMerge>(), "spnMerge(1)", true);
        save(app.dialog<frmStereoMerge>(), "stereo-merge.png");
        app.click(app.dialog<frmStereoMerge>(), "cmdMerge(1)");
        app.main()->ShowStats();
        save(app.dialog<frmStats>(), "statistics.png");
        frmProgress &progress = app.main()->progress();
        progress.SetCancellable(true);
        progress.Show(QStringLiteral("Load Bank"), QStringLiteral("Loading Bank from Floppy Disk..."));
        save(&progress, "progress-floppy.png");
        progress.SetCancellable(false);
        progress.hide();
    }
};

QTEST_MAIN(MemoryOperationsTest)
#include "MemoryOperationsTest.moc"
