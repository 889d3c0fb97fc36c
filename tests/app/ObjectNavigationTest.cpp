// Moving between objects, renaming them and retrieving them again, as a user does it in the main
// window, against a Virtual SP whose memory each test sets.
#include "VspApp.h"
#include "app/ObjectHeader.h"
#include "app/frmProgress.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "device/ObjectKinds.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>

namespace {

// The program started on the standard memory, showing a tab.
struct NavApp : VspApp {
    explicit NavApp(const char *tab)
    {
        start();
        showTab(tab);
    }
};

void Spin(VspApp &app, bool up)
{
    auto *spin = app.find<SpinButton>("spnObjectNum");
    QTest::mouseClick(spin->findChild<QToolButton *>(up ? "up" : "down"), Qt::LeftButton);
}
} // namespace

class ObjectNavigationTest : public QObject {
    Q_OBJECT

private slots:
    // A left click from offline brings the SP back with its Global settings, whose bank name
    // the status bar then shows.
    void aDownloadFromOfflineReadsTheBankBack()
    {
        VspApp app;
        app.shortTimeouts();
        QCOMPARE(app.startOffline(), LinkStartup::Outcome::Offline);
        app.vsp->device().memory().global.bankName = "Gig Bank      ";
        QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::LeftButton);
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QCOMPARE(app.panel(7), QStringLiteral("Current Bank: Gig Bank      "));
    }

    // The other panels are read by the tests that change them.
    void startUpShowsEveryKindInTheStatusBar()
    {
        VspApp app;
        QCOMPARE(app.start(), LinkStartup::Outcome::Online);
        QCOMPARE(app.panel(1), QStringLiteral("p# 0"));
        QCOMPARE(app.panel(5), QStringLiteral("mu# 0"));
        QCOMPARE(app.panel(6), QStringLiteral("Free RAM: %1 kw").arg(app.vsp->device().memory().freeSampleKilowords()));
        QCOMPARE(app.panel(8), QStringLiteral("ONLINE"));
        QVERIFY(app.find<QPushButton>("cmdStereoMerge")->isEnabled()); // three Waves
    }

    // A stereo merge needs two Waves: with one it is off too.
    void anEmptyKindShowsADashAndStaysLocked()
    {
        for (const bool oneWave : {false, true}) {
            VspApp app;
            Vsp::SpMemory memory = VspApp::StandardMemory();
            memory.of(Vsp::Wave).erase(5);
            memory.of(Vsp::Wave).erase(9);
            if (!oneWave)
                memory.of(Vsp::Wave).clear();
            app.start(memory);
            QVERIFY(!app.find<QPushButton>("cmdStereoMerge")->isEnabled());
            QVERIFY(!app.find<QAction>("mnuStereoMerge")->isEnabled());
            if (oneWave)
                continue;
            QCOMPARE(app.panel(4), QStringLiteral("w# -"));
            app.showTab("Wave");
            QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("None Loaded"));
            QVERIFY(app.box("txtObjectNum")->isReadOnly());
            QVERIFY(!app.find<QPushButton>("cmdDeleteObject")->isEnabled());
        }
    }

    void typedNumbersMoveToAnObjectInUse()
    {
        NavApp app("Wave");
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("2"));
        const struct { const char *typed; int shown; const char *name; } cases[] = {
            {"7", 9, "Hat"}, {"12", 9, "Hat"}, {"0", 2, "Kick"}, {"5", 5, "Snare"}};
        for (const auto &c : cases) {
            app.clearAndType(app.box("txtObjectNum"), QLatin1String(c.typed));
            QCOMPARE(app.box("txtObjectNum")->text(), QString::number(c.shown));
            QCOMPARE(app.box("txtObjectName")->text(), QLatin1String(c.name));
            QCOMPARE(app.panel(4), QStringLiteral("w# %1").arg(c.shown));
            QVERIFY2(!KeyInput::IsPending(app.box("txtObjectNum")), c.typed);
            if (c.shown != 2 || QByteArray(c.typed) != "0")
                QVERIFY(app.requests().contains(DumpRequest(0, c.shown)));
        }
    }

    void enterInAnEmptyNumberBoxRestoresWithoutAsking()
    {
        NavApp app("Tone1");
        const qsizetype before = app.requests().size();
        app.clear(app.box("txtObjectNum"));
        QVERIFY(KeyInput::IsPending(app.box("txtObjectNum")));
        QTest::keyClick(app.box("txtObjectNum"), Qt::Key_Return);
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("3"));
        QVERIFY(!KeyInput::IsPending(app.box("txtObjectNum")));
        QCOMPARE(app.requests().size(), before);
    }

    void spinStepsThroughObjectsAndStopsAtTheEnds()
    {
        NavApp app("Tone1");
        const qsizetype before = app.requests().size();
        Spin(app, false);
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("3"));
        QCOMPARE(app.requests().size(), before);
        Spin(app, true);
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("7"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Snare Tone"));
        QCOMPARE(app.panel(3), QStringLiteral("t# 7"));
        QVERIFY(app.requests().contains(DumpRequest(1, 7)));
    }

    void renamingSendsTheNameAndReadsTheObjectBack()
    {
        NavApp app("Tone1");
        app.clearAndType(app.box("txtObjectName"), QStringLiteral("Bass"), false);
        QVERIFY(KeyInput::IsPending(app.box("txtObjectName")));
        QCOMPARE(app.vsp->device().memory().find(Vsp::Tone, 3)->mid(1, 14), QByteArray("Kick Tone     "));
        QTest::keyClick(app.box("txtObjectName"), Qt::Key_Return);
        QCOMPARE(app.vsp->device().memory().find(Vsp::Tone, 3)->mid(1, 14), QByteArray("Bass          "));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Bass"));
        QVERIFY(!KeyInput::IsPending(app.box("txtObjectName")));
        QCOMPARE(app.lastRequest(), DumpRequest(1, 3)); // read back
    }

    void renamingAMapGoesThroughItsHeader()
    {
        NavApp app("Map");
        app.clearAndType(app.box("txtObjectName"), QStringLiteral("Beats"));
        const QList<QByteArray> sent = app.requests();
        QByteArray header;
        for (const QByteArray &m : sent) {
            if (m.size() > 9 && m.at(7) == 0x02 && m.at(8) == 0x05)
                header = m;
        }
        QCOMPARE(header.size(), 84);
        QCOMPARE(header.mid(9, 4), Wire({0, 0, 2, 3}));
        QCOMPARE(header.mid(13, 4), Wire({0, 0, 0, 4}));
        QCOMPARE(app.vsp->device().memory().find(Vsp::Map, 4)->mid(1, 14), QByteArray("Beats         "));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Beats"));
    }

    void aRejectedNameStaysRed()
    {
        NavApp app("Tone1");
        app.vsp->injectFault({VirtualSpBackend::Fault::Status, 11});
        app.clearAndType(app.box("txtObjectName"), QStringLiteral("Nope"));
        QVERIFY(KeyInput::IsPending(app.box("txtObjectName")));
        QCOMPARE(app.notifier.texts(), QStringList{"SP illegal data value encountered"});
        QCOMPARE(app.vsp->device().memory().find(Vsp::Tone, 3)->mid(1, 14), QByteArray("Kick Tone     "));
    }

    void keysAreDiscardedWhileTheSpIsBusy()
    {
        VspApp app;
        app.start();
        app.session().exchange.setAwaitingResponse(true);
        app.type(app.box("txtObjectNum"), QStringLiteral("12"), false);
        app.type(app.box("txtObjectName"), QStringLiteral("xyz"), false);
        QCOMPARE(app.box("txtObjectNum")->text(), QStringLiteral("0"));
        QCOMPARE(app.box("txtObjectName")->text(), QStringLiteral("Drum Kit"));
        app.session().exchange.setAwaitingResponse(false);
    }

    // The left click, for the kind shown, is each tab's own download.
    void aRightClickOnDownloadFetchesEveryKind()
    {
        NavApp app("Wave");
        app.vsp->clearTraffic();
        QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::RightButton);
        for (int kind = 0; kind < 5; ++kind)
            QVERIFY(app.requests().contains(Wire({0xF0, 0, 0, 0x1B, 2, 5, 0x7F, 0x12, 1, 1, kind, 0xF7})));
        QVERIFY(!app.main()->progress().isVisible());
    }

    void aTimeOutDuringRetrievalStopsAfterThatKind()
    {
        VspApp app;
        app.shortTimeouts();
        const auto outcome = app.startWithFaults(FaultOn(DirectoryRequestOf(KindMap, false), {VirtualSpBackend::Fault::NoAnswer}));
        QCOMPARE(outcome, LinkStartup::Outcome::Offline);
        QCOMPARE(app.panel(8), QStringLiteral("OFFLINE"));
        QCOMPARE(app.notifier.texts(), QStringList{"The specified SP Device is not responding"});
        QVERIFY(app.requests().contains(DumpRequest(1, 3)));
        for (const QByteArray &request : app.requests())
            QVERIFY2(!(request.size() == 12 && request.at(10) == 3), "nothing asked about Presets");
    }

    void aLowestNumberMissingFromTheDirectoryIsReported()
    {
        VspApp app;
        // The Tone directory comes back cut after its header: it lists none of the three Tones.
        app.startWithFaults(FaultOn(DirectoryRequestOf(KindTone, true), {VirtualSpBackend::Fault::Truncate, 18}));
        QCOMPARE(app.notifier.shown(), QStringList{"AllObjectsDump(): Error Downloading requested object"});
        QVERIFY(!app.requests().contains(DumpRequest(1, 3)));
        QVERIFY(!app.session().exchange.busy());
    }
};

QTEST_MAIN(ObjectNavigationTest)
#include "ObjectNavigationTest.moc"
