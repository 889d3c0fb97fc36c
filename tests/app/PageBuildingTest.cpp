// Tab pages made when first shown, or once the window is up, must look and work exactly as
// pages made before the window showed: same texts, values, choices and enabled states, and
// edits that reach the SP.
#include "VspApp.h"
#include "app/PageBuilder.h"
#include "device/ObjectKinds.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QTest>

namespace {

// Every named control on the tab pages, or with `visibility` on the current page alone: what
// it shows and whether it takes input (and is seen).
QMap<QString, QString> PageControls(frmMain *main, bool visibility = false)
{
    QMap<QString, QString> shown;
    auto *tabs = main->findChild<QTabWidget *>("SPFEtab");
    for (QWidget *control : (visibility ? tabs->currentWidget() : tabs)->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        QString state = control->isEnabled() ? QStringLiteral("on ") : QStringLiteral("off ");
        if (visibility)
            state += control->isVisible() ? QStringLiteral("seen ") : QStringLiteral("unseen ");
        if (auto *box = qobject_cast<QLineEdit *>(control))
            state += box->text();
        else if (auto *slider = qobject_cast<QAbstractSlider *>(control))
            state += QString::number(slider->value());
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            state += QString::number(combo->currentIndex());
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            state += button->isChecked() ? QStringLiteral("checked") : QString();
        shown.insert(name, state);
    }
    return shown;
}

// The names whose state differs, with both states, one a line for a readable failure.
QString Differences(const QMap<QString, QString> &expected, const QMap<QString, QString> &actual)
{
    QStringList differ;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (actual.value(it.key(), QStringLiteral("<missing>")) != it.value())
            differ << it.key() + ": " + it.value() + " / " + actual.value(it.key(), QStringLiteral("<missing>"));
    }
    for (auto it = actual.begin(); it != actual.end(); ++it) {
        if (!expected.contains(it.key()))
            differ << it.key() + ": <missing> / " + it.value();
    }
    return differ.join(QLatin1Char('\n'));
}

struct LateApp : VspApp {
    LateApp() { pagesWhenShown = true; }
    PageBuilder &pages() { return main()->pages(); }
    // The pages the window did not show, made once the event loop runs.
    bool finish()
    {
        return QTest::qWaitFor([this] { return pages().Unbuilt() == 0; });
    }
};

} // namespace

class PageBuildingTest : public QObject {
    Q_OBJECT
private slots:
    // After an offline start too, where every page is cleared.
    void pagesMadeLateShowWhatPagesMadeAtStartShow()
    {
        for (const bool online : {true, false}) {
            VspApp early;
            LateApp late;
            const auto outcome = online ? LinkStartup::Outcome::Online : LinkStartup::Outcome::Offline;
            QCOMPARE(online ? early.start() : early.startOffline(), outcome);
            QCOMPARE(online ? late.start() : late.startOffline(), outcome);
            QVERIFY2(!late.find<QLineEdit>("txtFineTune"), "the Wave tab is not shown at start");
            QVERIFY(!late.pages().IsBuilt(KindWave));
            QVERIFY(late.find<QLineEdit>("txtPreset(0)"));
            QVERIFY2(!late.find<QWidget>("fraLayer"), "nor the Preset2 tab");
            QVERIFY(late.finish());
            QCOMPARE(Differences(PageControls(early.main()), PageControls(late.main())), QString());
        }
    }

    void aKindClearedBeforeItsPageIsMadeIsShownCleared()
    {
        Vsp::SpMemory noMaps = VspApp::StandardMemory();
        noMaps.of(Vsp::Map).clear();
        VspApp early;
        QCOMPARE(early.start(noMaps), LinkStartup::Outcome::Online);

        // The Map was shown (its page not made yet), then deleted on the SP and read again.
        LateApp late;
        QCOMPARE(late.start(), LinkStartup::Outcome::Online);
        QVERIFY(!late.pages().IsBuilt(KindMap));
        late.vsp->device().setMemory(noMaps);
        late.main()->Download(frmMain::AllObjects);
        QVERIFY(late.finish());
        QCOMPARE(late.find<QLineEdit>("txtMap(0)")->text(), QString());
        QCOMPARE(Differences(PageControls(early.main()), PageControls(late.main())), QString());
    }

    // Chosen after the start, or the tab the last run ended on, made first of all.
    void eachTabShownBeforeItsPageIsMadeIsMadeAtOnceAsAtStart()
    {
        const QStringList captions = frmMain::TabCaptions();
        for (int tab = 0; tab < frmMain::Tabs; ++tab) {
            VspApp early;
            QCOMPARE(early.start(), LinkStartup::Outcome::Online);
            early.showTab(tab);
            const QMap<QString, QString> expected = PageControls(early.main(), true);
            for (const bool lastRun : {false, true}) {
                LateApp late;
                if (lastRun)
                    late.store.setValue("Application/Last Tab", captions.at(tab));
                QCOMPARE(late.start(), LinkStartup::Outcome::Online);
                if (!lastRun)
                    late.showTab(tab);
                const QString differ = Differences(expected, PageControls(late.main(), true));
                QVERIFY2(differ.isEmpty(), qPrintable(captions.at(tab) + (lastRun ? " at start:\n" : ":\n") + differ));
            }
        }
    }

    void editsOnPagesMadeLateSendWhatPagesMadeAtStartSend()
    {
        const struct { const char *tab; const char *box; const char *typed; } edits[] = {
            {"Preset1", "txtPreset(0)", "5"}, {"Preset2", "txtPreset(12)", "-3"}, {"Wave", "txtFineTune", "-7"}};
        VspApp early;
        QCOMPARE(early.start(), LinkStartup::Outcome::Online);
        LateApp late;
        QCOMPARE(late.start(), LinkStartup::Outcome::Online);
        QVERIFY(late.finish());
        for (const auto &edit : edits) {
            for (VspApp *app : {&early, static_cast<VspApp *>(&late)}) {
                app->showTab(edit.tab);
                app->vsp->clearTraffic();
                app->clearAndType(app->box(edit.box), QLatin1String(edit.typed));
            }
            QVERIFY2(!early.requests().isEmpty(), edit.box);
            QVERIFY2(late.requests() == early.requests(), edit.box);
        }
    }
};

QTEST_MAIN(PageBuildingTest)
#include "PageBuildingTest.moc"
