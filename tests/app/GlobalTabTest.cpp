// The Global tab: the SP's global settings shown as the SP holds them, and each edit sent as the
// SP expects it, with the box rules that every parameter box follows.
#include "VspApp.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

namespace {

struct GlobalApp : VspApp {
    GlobalApp()
    {
        start();
        showTab("Global");
        vsp->clearTraffic();
    }
    QLineEdit *txt(int index) { return find<QLineEdit>(QStringLiteral("txtGlobal(%1)").arg(index)); }
    QSlider *sld(int index) { return find<QSlider>(QStringLiteral("sldGlobal(%1)").arg(index)); }
    QRadioButton *opt(int index) { return find<QRadioButton>(QStringLiteral("optGlobal(%1)").arg(index)); }
    // On the button's circle: in some styles a radio button takes clicks only there and on its caption.
    void choose(int index) { QTest::mouseClick(opt(index), Qt::LeftButton, {}, QPoint(6, opt(index)->height() / 2)); }
    const Vsp::GlobalSettings &held() { return vsp->device().memory().global; }
    // The edits sent, without the read-back requests that follow them.
    QList<QByteArray> edits()
    {
        QList<QByteArray> sent;
        for (const QByteArray &m : requests()) {
            const bool readBack = (m.size() == 12 && m.at(7) == 0x11 && m.at(8) == 0x02 && m.at(9) == 0x01)
                                  || (m.size() == 13 && m.at(8) == 0x03 && m.at(9) == 0x02)
                                  || (m.size() == 18 && m.at(7) == 0x32 && m.at(12) == 0x02)
                                  || (m.size() == 12 && m.at(7) == 0x11 && m.at(8) == 0x01);
            if (!readBack)
                sent << m;
        }
        return sent;
    }
};
} // namespace

class GlobalTabTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheSettingsTheSpHolds()
    {
        GlobalApp app;
        QVERIFY(app.opt(11)->isChecked());
        QCOMPARE(app.find<QComboBox>("cboGlobal(0)")->currentText(), QStringLiteral("MIDI Rcv Mode"));
        QVERIFY(app.edits().isEmpty());
    }

    // The tune as two's complement hundredths, its ends included; a volume above 127 as 127.
    void typedValuesAreSentAsTheSpTakesThemAndShownAsReadBack()
    {
        const struct { int box; const char *typed; QByteArray sent; int held; const char *shown; int slider; } cases[] = {
            {9, "-3.5", SpMessage({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 15, 14, 10, 2}), -350, "-3.5", -3}, // FEA2
            {9, "120", SpMessage({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 2, 14, 14, 0}), 12000, "120", 120},
            {9, "-120", SpMessage({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 13, 1, 2, 0}), -12000, "-120", -120},
            {7, "200", SpMessage({0x11, 0x03, 0x03, 0x04, 0x01, 0x7F}), 127, "127", 127},
        };
        for (const auto &c : cases) {
            GlobalApp app;
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            QCOMPARE(app.edits(), QList<QByteArray>{c.sent});
            QCOMPARE(c.box == 9 ? app.held().masterTune : app.held().omniPolyVolume, c.held);
            QCOMPARE(c.box == 9 ? app.session().objects.global.MasterTune : app.session().objects.global.OmniPolyVolume, c.held);
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.shown));
            QCOMPARE(app.sld(c.box)->value(), c.slider);
            QVERIFY2(!KeyInput::IsPending(app.txt(c.box)), c.typed);
        }
    }

    // A tune out of range or a lone minus is put back; text that is no number is reported.
    void whatTheSpCannotTakeIsNotSent()
    {
        const QString error = QStringLiteral("Change_GlobalParm(): Error updating Global Parameter");
        const struct { int box; const char *typed; bool reported; } cases[] = {
            {9, "120.5", false}, {9, "-", false}, {9, "-121", false}, {9, "1.2.3", true}, {7, "1..2", true}};
        for (const auto &c : cases) {
            GlobalApp app;
            app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            QVERIFY2(app.edits().isEmpty(), c.typed);
            QCOMPARE(app.held().masterTune, -250);
            QCOMPARE(app.held().omniPolyVolume, 100);
            QCOMPARE(app.notifier.shown(), c.reported ? QStringList{error} : QStringList{});
            if (c.reported)
                continue;
            QCOMPARE(app.txt(9)->text(), QStringLiteral("-2.5"));
            QVERIFY2(!KeyInput::IsPending(app.txt(9)), c.typed);
        }
    }

    void optionsSendTheirValues()
    {
        GlobalApp app;
        app.choose(10);
        app.choose(12);
        QCOMPARE(app.edits(), (QList<QByteArray>{SpMessage({0x11, 0x03, 0x03, 0x02, 0x01, 0x02}),
                                                 SpMessage({0x11, 0x03, 0x03, 0x05, 0x01, 0x01})}));
        QCOMPARE(app.held().receiveMode, 2);
        QCOMPARE(app.held().progChange, 1);
        QVERIFY(app.opt(10)->isChecked());
    }

    void aRejectedOptionShowsTheStoredChoiceAgain()
    {
        GlobalApp app;
        app.vsp->injectFault({VirtualSpBackend::Fault::Busy, 0});
        app.choose(8);
        QCOMPARE(app.notifier.texts(), QStringList{"SP device is busy"});
        QVERIFY(app.opt(9)->isChecked());
        QCOMPARE(app.held().receiveMode, 1);
    }

    void playbackModeIsSentWhenChosen()
    {
        GlobalApp app;
        auto *combo = app.find<QComboBox>("cboGlobal(0)");
        combo->setCurrentIndex(3); // a program write: nothing is sent
        QVERIFY(app.edits().isEmpty());
        emit combo->activated(4);
        QCOMPARE(app.edits(), QList<QByteArray>{SpMessage({0x11, 0x03, 0x03, 0x01, 0x01, 0x04})});
        QCOMPARE(app.held().playbackMode, 4);
        emit combo->activated(4); // the mode already shown
        QCOMPARE(app.edits().size(), 1);
    }

    void channelChangesOnlyThroughItsSpinButtonWithinOneTo16()
    {
        GlobalApp app;
        app.type(app.txt(6), QStringLiteral("9"));
        // The channel box takes no keys.
        QCOMPARE(app.txt(6)->text(), QStringLiteral("5"));
        auto *spin = app.find<SpinButton>("spnGlobal(6)");
        auto *up = spin->findChild<QToolButton *>("up");
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(app.edits(), QList<QByteArray>{SpMessage({0x11, 0x03, 0x03, 0x03, 0x01, 0x05})});
        QCOMPARE(app.txt(6)->text(), QStringLiteral("6"));
        app.vsp->device().memory().global.omniPolyChannel = 15;
        app.main()->retrieval().DownloadGlobal();
        app.vsp->clearTraffic();
        QTest::mouseClick(up, Qt::LeftButton);
        QVERIFY2(app.edits().isEmpty(), "16 is the top");
        QCOMPARE(app.txt(6)->text(), QStringLiteral("16"));
    }

};

QTEST_MAIN(GlobalTabTest)
#include "GlobalTabTest.moc"
