// What a real MIDI chain throws at the program, through the whole program: other devices'
// messages before every answer, damaged dumps, and a Virtual SP that cannot save its memory.
#include "VspApp.h"

#include <QFile>
#include <QPushButton>

namespace {
using Fault = VirtualSpBackend::Fault;

struct ChainApp : VspApp {
    void download() { QTest::mouseClick(find<QPushButton>("cmdDownLoad"), Qt::LeftButton); }
};
} // namespace

class UnaskedMessagesTest : public QObject {
    Q_OBJECT

private slots:
    // The other devices' messages come in on the chain before each of the SP's answers.
    void anotherDevicesSysExDuringAWaitIsNotTheAnswer()
    {
        ChainApp app;
        app.start();
        app.showTab("Wave");
        app.vsp->device().memory().of(Vsp::Wave)[2] = SpRecords::Wave("Renamed Kick", 9000);
        app.vsp->setFaultPlan([&app](const QByteArray &) {
            app.vsp->deliverFromChain(Wire({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
                                      + Wire({0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x00, 0x00, 0x1B, 0x01, 0x00, 0x01, 0x00,
                                              0x01, 0x00, 0x00, 0xF7}));
            return Fault{};
        });
        app.download();
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Renamed Kick"));
        QCOMPARE(app.notifier.texts(), QStringList());
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QVERIFY(app.session().exchange.strayCount() >= 2); // they did arrive, and were let pass
    }

    // Which dumps are damaged is the dump check's; here, that each kind's refusal is said in its
    // own words and the damaged dump never shown.
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
            app.notifier.messages.clear();
            app.vsp->setFaultPlan(FaultOn(DumpRequestFor(k.kind, k.number), {Fault::Corrupt, 40})); // a nibble of the name
            app.download();
            QCOMPARE(app.notifier.shown(), QStringList{k.error});
            QCOMPARE(app.box("txtObjectName")->text(), QLatin1String(k.shown));
            QVERIFY(!app.session().exchange.busy());
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
