// What a real MIDI chain throws at the program, through the whole program: other devices'
// SysEx, messages nobody asked for, answers that come after their time-out, damaged dumps,
// presses made while the SP is busy, and a Virtual SP that cannot save its memory.
#include "VspApp.h"
#include "device/FrontPanel.h"
#include "device/ResponseWait.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
using Fault = VirtualSpBackend::Fault;

const QByteArray OtherMakersSysEx = Wire({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
const QByteArray IdentityReply =
    Wire({0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x00, 0x00, 0x1B, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xF7});
// The SP's own status frame, arriving when nothing was asked.
const QByteArray UnaskedStatus = Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x00, 0x00, 0xF7});

struct ChainApp : VspApp {
    void download() { QTest::mouseClick(find<QPushButton>("cmdDownLoad"), Qt::LeftButton); }
    void press(int key) { QTest::mouseClick(find<QPushButton>(QStringLiteral("cmdPushButton(%1)").arg(key)), Qt::LeftButton); }
    // Lets whatever the Virtual SP and the chain still have on the way arrive.
    bool settle() { return QTest::qWaitFor([this] { return vsp->answersPending() == 0; }); }
};
} // namespace

class UnaskedMessagesTest : public QObject {
    Q_OBJECT

private slots:
    void sysExNobodyAskedForNeverBlocksTheNextRequest()
    {
        ChainApp app;
        app.start();
        app.showTab("Wave");
        app.vsp->clearTraffic();
        app.vsp->deliverFromChain(OtherMakersSysEx);
        app.vsp->deliverFromChain(UnaskedStatus);
        app.vsp->deliverFromChain(IdentityReply);
        QVERIFY(app.settle());
        QVERIFY(!app.session().exchange.busy());

        app.vsp->device().memory().of(Vsp::Wave)[2] = SpRecords::Wave("Renamed Kick", 9000);
        app.download();
        QVERIFY(app.requests().contains(DumpRequest(0, 2)));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Renamed Kick"));
        app.press(5);
        QCOMPARE(app.lastRequest(), FrontPanel::KeyMessage(127, FrontPanel::KeyCode(5)));
        QCOMPARE(app.notifier.texts(), QStringList());
    }

    void anotherDevicesSysExDuringAWaitIsNotTheAnswer()
    {
        ChainApp app;
        app.start();
        app.showTab("Wave");
        app.vsp->device().memory().of(Vsp::Wave)[2] = SpRecords::Wave("Renamed Kick", 9000);
        // The other devices' messages reach the program before every answer of the SP.
        app.vsp->setFaultPlan([&app](const QByteArray &) {
            app.vsp->deliverFromChain(OtherMakersSysEx + IdentityReply);
            return Fault{};
        });
        app.download();
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Renamed Kick"));
        QCOMPARE(app.notifier.texts(), QStringList());
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
    }

    void anAnswerAfterItsTimeOutNeverAnswersTheRetry()
    {
        ChainApp app;
        app.shortTimeouts();
        app.start();
        app.showTab("Wave");
        // The SP answers the first request only after the program has given up on it.
        app.vsp->injectFault({Fault::Hold, 0});
        app.download();
        QCOMPARE(app.notifier.texts(), QStringList{"The specified SP Device is not responding"});
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));

        app.vsp->device().memory().of(Vsp::Wave)[2] = SpRecords::Wave("Fresh Kick", 9000);
        app.vsp->clearTraffic();
        app.vsp->setFaultPlan([&app](const QByteArray &) {
            app.vsp->releaseHeld(); // the late answer is on the wire before anything asked now
            return Fault{};
        });
        app.download();
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Fresh Kick"));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QCOMPARE(app.notifier.texts().size(), 1);
        // The first thing asked makes sure the late answer cannot pass for anything else.
        QCOMPARE(app.requests().first(), ResponseWait::ResyncRequest(127, 1));
    }

    // Every fixed-length kind is read through one checked path: a cut or damaged answer is
    // refused with the kind's own message and never shown.
    void damagedDumpsAreRefusedWithTheirDownloadErrorAndNeverShown()
    {
        ChainApp app;
        app.start();
        const struct { const char *tab; int kind; int number; QByteArray changed; const char *shown; const char *error; } kinds[] = {
            {"Wave", KindWave, 2, SpRecords::Wave("Broken", 9000), "Kick", "WaveObjDump(): Error downloading Wave object from SP"},
            {"Tone1", KindTone, 3, SpRecords::Tone("Broken"), "Kick Tone", "ToneObjDump(): Error downloading Tone object from SP"},
            {"Preset1", KindPreset, 0, SpRecords::Preset("Broken"), "Drum Kit",
             "PresetObjDump(): Error downloading Preset object from SP"},
            {"Global", KindMulti, 0, SpRecords::Multi("Broken"), "Band", "MultiObjDump(): Error downloading Multi object from SP"},
        };
        for (const auto &k : kinds) {
            app.showTab(k.tab);
            app.vsp->device().memory().of(static_cast<Vsp::Kind>(k.kind))[k.number] = k.changed;
            // The kind byte, a nibble of the name, and an answer cut short.
            for (const Fault fault : {Fault{Fault::Corrupt, 8}, Fault{Fault::Corrupt, 40}, Fault{Fault::Truncate, 100}}) {
                app.notifier.messages.clear();
                app.vsp->setFaultPlan(FaultOn(DumpRequestFor(k.kind, k.number), fault));
                app.download();
                QCOMPARE(app.notifier.shown(), QStringList{k.error});
                QCOMPARE(app.box("txtObjectName")->text(), QLatin1String(k.shown));
                QVERIFY(!app.session().exchange.busy());
            }
            app.vsp->setFaultPlan({});
        }

        app.showTab("Global");
        app.notifier.messages.clear();
        app.vsp->device().memory().global.bankName = "Other Bank    ";
        const QByteArray nameRequest = Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x02, 0x01, 0x00, 0xF7});
        // Bit 6 of a name character flipped turns a letter into a control character.
        app.vsp->setFaultPlan([&](const QByteArray &request) {
            return request == nameRequest ? Fault{Fault::Corrupt, 11} : Fault{};
        });
        app.download();
        QCOMPARE(app.notifier.shown(), QStringList{"GlobalObjDump(): Error downloading Global object from SP"});
        QCOMPARE(app.box("txtGlobal(8)")->text(), QStringLiteral("Test Bank     "));
    }

    void aPressRefusedWhileTheSpIsBusyIsToldInTheStatusBar()
    {
        ChainApp app;
        app.start();
        app.vsp->clearTraffic();
        QString shown;
        // While the SP holds its answer to the first press, the user presses another key.
        app.vsp->setFaultPlan([&app, &shown](const QByteArray &) {
            QTimer::singleShot(0, app.vsp, [&app, &shown] {
                app.press(5);
                shown = app.panel(7);
                app.vsp->releaseHeld();
            });
            return Fault{Fault::Hold, 0};
        });
        app.press(3);
        QCOMPARE(shown, QStringLiteral("SP busy: wait for the current exchange to finish"));
        QCOMPARE(app.requests().size(), 1);
        QCOMPARE(app.lastRequest(), FrontPanel::KeyMessage(127, FrontPanel::KeyCode(3)));
        QVERIFY(!app.session().exchange.busy());
    }

    void aVirtualSpThatCannotSaveSaysSoOnceInTheWindow()
    {
        ChainApp app;
        // Its data folder cannot be made: a file of that name is in the way (as root, too).
        QFile blocker(app.file(QStringLiteral("data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        app.vspOptions.memoryFile = app.file(QStringLiteral("data/memory.json"));
        app.start();
        app.showTab("Global");
        for (const char *volume : {"90", "80"})
            app.clearAndType(app.box("txtGlobal(7)"), QString::fromLatin1(volume));
        QCOMPARE(app.vsp->device().memory().global.omniPolyVolume, 80);
        QTRY_COMPARE(app.notifier.messages.size(), 1);
        QVERIFY(app.notifier.messages[0].text.startsWith(QStringLiteral("The Virtual SP cannot save its memory in")));
    }
};

QTEST_MAIN(UnaskedMessagesTest)
#include "UnaskedMessagesTest.moc"
