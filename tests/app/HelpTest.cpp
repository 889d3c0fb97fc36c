// The help window: opened from the Help menu and with F1, one modeless window that turns to the
// page of the tab or dialog the user is in, and pages that all exist, link to each other and
// show the program's own pictures.
#include "VspApp.h"
#include "app/frmHelp.h"
#include "app/frmMain.h"
#include "app/frmProgress.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>

#include <functional>

namespace {

const QStringList TabPages = {QStringLiteral("Preset1"), QStringLiteral("Preset2"), QStringLiteral("Map"),
                              QStringLiteral("Tone1"),   QStringLiteral("Tone2"),   QStringLiteral("Tone3"),
                              QStringLiteral("Wave"),    QStringLiteral("Global")};
const QStringList DialogPages = {QStringLiteral("Configuration"), QStringLiteral("LoadBank"), QStringLiteral("Delete"),
                                 QStringLiteral("StereoMerge"),   QStringLiteral("Statistics"), QStringLiteral("Monitor"),
                                 QStringLiteral("Progress")};

struct HelpApp : VspApp {
    HelpApp()
    {
        start();
        main()->show();
        QApplication::processEvents();
    }
    QList<frmHelp *> helpWindows() { return main()->findChildren<frmHelp *>(QStringLiteral("frmHelp")); }
    frmHelp *help() { return helpWindows().value(0); }
    QTextBrowser *browser() { return help() ? help()->findChild<QTextBrowser *>(QStringLiteral("txtHelp")) : nullptr; }
    void trigger(const char *name) { find<QAction>(QLatin1String(name))->trigger(); }
};

// The link targets and image sources a page holds.
QStringList Links(const QTextDocument &document, bool images)
{
    QStringList found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (images && format.isImageFormat())
                found << format.toImageFormat().name();
            if (!images && format.isAnchor() && !format.anchorHref().isEmpty())
                found << format.anchorHref();
        }
    }
    found.removeDuplicates();
    return found;
}

QString PageText(const QString &page)
{
    return frmHelp::PageHtml(page);
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void menuItemsAreEnabledAndTopicsOpensTheContentsInOneModelessWindow()
    {
        HelpApp app;
        for (const char *name : {"mnuHelpTopics", "mnuHelp"})
            QVERIFY2(app.find<QAction>(QLatin1String(name))->isEnabled(), name);
        QVERIFY(!app.help());
        app.trigger("mnuHelpTopics");
        QVERIFY(app.help());
        QVERIFY(app.help()->isVisible());
        QCOMPARE(app.help()->windowModality(), Qt::NonModal);
        QVERIFY(app.help()->isWindow());
        QCOMPARE(app.help()->CurrentPage(), QStringLiteral("index"));
        QCOMPARE(app.browser()->documentTitle(), QStringLiteral("Contents"));
        // Asking again turns the same window.
        app.showTab(6);
        app.trigger("mnuHelp");
        app.trigger("mnuHelpTopics");
        app.trigger("mnuHelp");
        QCOMPARE(app.helpWindows().size(), 1);
        QCOMPARE(app.help()->CurrentPage(), QStringLiteral("Wave"));
    }

    void helpOpensTheCurrentTabsPage_data()
    {
        QTest::addColumn<int>("tab");
        for (int i = 0; i < TabPages.size(); ++i)
            QTest::newRow(qPrintable(TabPages[i])) << i;
    }
    void helpOpensTheCurrentTabsPage()
    {
        QFETCH(int, tab);
        HelpApp app;
        app.showTab(tab);
        app.trigger("mnuHelp");
        QCOMPARE(app.help()->CurrentPage(), TabPages[tab]);
        QVERIFY2(app.browser()->documentTitle().startsWith(TabPages[tab]), qPrintable(app.browser()->documentTitle()));
    }

    void f1OpensThePageOfTheTabOrDialogTheFocusIsIn_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("page");
        QTest::newRow("tone filter") << 4 << "txtDCF(4)" << "Tone2";
        QTest::newRow("envelope") << 3 << "txtEnv1Att" << "Tone1";
        QTest::newRow("map pan") << 2 << "txtMap(9)" << "Map";
        QTest::newRow("wave pitch") << 6 << "txtWavePitch" << "Wave";
        QTest::newRow("master tune") << 7 << "txtGlobal(9)" << "Global";
        QTest::newRow("layer pan") << 1 << "txtPreset(16)" << "Preset2";
        QTest::newRow("header box: the tab shown") << 5 << "txtObjectNum" << "Tone3";
    }
    void f1OpensThePageOfTheTabOrDialogTheFocusIsIn()
    {
        QFETCH(int, tab);
        QFETCH(QString, control);
        QFETCH(QString, page);
        HelpApp app;
        app.showTab(tab);
        auto *widget = app.find<QWidget>(control);
        QVERIFY(widget);
        QApplication::setActiveWindow(app.main());
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1);
        QVERIFY(app.help());
        QCOMPARE(app.help()->CurrentPage(), page);
    }

    void aControlLeadsToItsOwnTabsPageWhicheverTabIsShown()
    {
        HelpApp app;
        app.showTab(0);
        const struct { const char *control; const char *page; } rows[] = {
            {"sldDCA(1)", "Tone2"}, {"sldPan(2)", "Tone3"}, {"hscWave(0)", "Wave"}, {"sldMapH(9)", "Map"},
            {"sldGlobal(9)", "Global"}, {"hsldPreset(16)", "Preset2"}, {"cboPreset(0)", "Preset1"}};
        for (const auto &row : rows) {
            auto *widget = app.find<QWidget>(QLatin1String(row.control));
            QVERIFY2(widget, row.control);
            QCOMPARE(app.main()->HelpPageFor(widget), QLatin1String(row.page));
        }
        QCOMPARE(app.main()->HelpPageFor(nullptr), QStringLiteral("Preset1"));
    }

    void f1InADialogOpensTheDialogsPage()
    {
        HelpApp app;
        app.trigger("mnuConfigMidi");
        auto *config = app.main()->findChild<QWidget *>(QStringLiteral("frmConfig"));
        QVERIFY(config);
        QApplication::setActiveWindow(config);
        auto *inside = config->findChildren<QWidget *>().value(0);
        QVERIFY(inside);
        QTest::keyClick(inside, Qt::Key_F1);
        QVERIFY(app.help());
        QCOMPARE(app.help()->CurrentPage(), QStringLiteral("Configuration"));

        app.trigger("mnuMonitor");
        auto *monitor = app.main()->findChild<QWidget *>(QStringLiteral("frmMonitor"));
        QCOMPARE(app.main()->HelpPageFor(monitor->findChildren<QWidget *>().value(0)), QStringLiteral("Monitor"));
        for (const QString &page : DialogPages)
            QVERIFY2(frmHelp::HasPage(page), qPrintable(page));
        QCOMPARE(frmHelp::PageForWindow(QStringLiteral("frmLoadBank")), QStringLiteral("LoadBank"));
        QCOMPARE(frmHelp::PageForWindow(QStringLiteral("frmMain")), QString());
    }

    void closingTheMainWindowClosesHelp()
    {
        HelpApp app;
        app.trigger("mnuHelpTopics");
        QPointer<frmHelp> help = app.help();
        QVERIFY(help->isVisible());
        app.main()->close();
        QVERIFY(!help || !help->isVisible());
    }

    void everyPageIsThereLinksResolveAndPicturesAreTheProgramsOwn()
    {
        frmHelp help;
        QStringList pages = TabPages + DialogPages;
        pages << QStringLiteral("index");
        auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("txtHelp"));
        for (const QString &page : pages) {
            QVERIFY2(frmHelp::HasPage(page), qPrintable(page));
            help.ShowPage(page);
            QCOMPARE(help.CurrentPage(), page);
            // The shared parts are put into the page shown.
            QVERIFY2(browser->toPlainText().contains(QStringLiteral("When the SP does not answer")), qPrintable(page));
            for (const QString &link : Links(*browser->document(), false)) {
                const QString target = QString(link).remove(QStringLiteral(".html"));
                QVERIFY2(frmHelp::HasPage(target), qPrintable(page + QStringLiteral(" links to ") + link));
            }
            const QStringList images = Links(*browser->document(), true);
            if (page != QStringLiteral("index"))
                QVERIFY2(images.size() == 1, qPrintable(page));
            for (const QString &image : images) {
                // A real grab of a window, not a placeholder.
                const QImage picture(QStringLiteral(":/help/") + image);
                const QSize least = image.startsWith(QLatin1String("tab-")) ? QSize(600, 400) : QSize(100, 40);
                QVERIFY2(picture.width() >= least.width() && picture.height() >= least.height(), qPrintable(image));
            }
        }
        // The contents page links every tab's and dialog's page.
        help.ShowPage(QStringLiteral("index"));
        const QStringList contents = Links(*browser->document(), false);
        for (const QString &page : TabPages + DialogPages)
            QVERIFY2(contents.contains(page + QStringLiteral(".html")), qPrintable(page));
        // An unknown page falls back to the contents.
        help.ShowPage(QStringLiteral("NoSuchPage"));
        QCOMPARE(help.CurrentPage(), QStringLiteral("index"));
    }

    // The dialogs as the help shows them, grabbed off screen from the running program; with
    // KORVANE_HELP_PICTURES set (scripts/help-screenshots.sh) they are written there.
    void dialogsCanBeGrabbedForTheHelp()
    {
        HelpApp app;
        const QString folder = qEnvironmentVariable("KORVANE_HELP_PICTURES");
        const struct { const char *window; std::function<void()> open; } rows[] = {
            {"frmConfig", [&] { app.trigger("mnuConfigMidi"); }},
            {"frmLoadBank", [&] { app.main()->LoadBank(); }},
            {"frmDeleteObject", [&] { app.main()->DeleteObject(); }},
            {"frmStereoMerge", [&] { app.main()->StereoMerge(); }},
            {"frmStats", [&] { app.main()->ShowStats(); }},
            {"frmMonitor", [&] { app.main()->ShowMonitor(); }},
            {"frmProgress", [&] { app.main()->progress().Show(QStringLiteral("Progress"), QStringLiteral("Downloading Wave w#5...")); }},
        };
        for (const auto &row : rows) {
            row.open();
            QApplication::processEvents();
            auto *window = app.main()->findChild<QWidget *>(QLatin1String(row.window));
            QVERIFY2(window && window->isVisible(), row.window);
            const QString page = frmHelp::PageForWindow(QLatin1String(row.window));
            QVERIFY2(frmHelp::HasPage(page), row.window);
            const QImage picture = window->grab().toImage();
            QVERIFY2(picture.width() >= 100 && picture.height() >= 40, row.window);
            if (!folder.isEmpty())
                QVERIFY(picture.save(QDir(folder).filePath(QStringLiteral("dialog-%1.png").arg(page))));
            window->close();
            QApplication::processEvents();
        }
    }

    void tabPagesGiveRangesAndSayWhatToDoWhenTheSpDoesNotAnswer()
    {
        const QRegularExpression range(QStringLiteral("-?\\d+ to -?\\d+"));
        for (const QString &page : TabPages + DialogPages + QStringList{QStringLiteral("index")}) {
            const QString text = PageText(page);
            QVERIFY2(text.contains(QStringLiteral("MIDI Monitor")), qPrintable(page));
            QVERIFY2(text.contains(QStringLiteral("Config &gt; Midi")), qPrintable(page));
            QVERIFY2(text.contains(QStringLiteral("Device ID")), qPrintable(page));
            if (TabPages.contains(page)) {
                QVERIFY2(text.contains(range), qPrintable(page));
                QVERIFY2(text.contains(QStringLiteral("Enter")), qPrintable(page));
            }
        }
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
