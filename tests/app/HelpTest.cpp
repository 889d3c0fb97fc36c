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

const QStringList TabPages = {"Preset1", "Preset2", "Map", "Tone1", "Tone2", "Tone3", "Wave", "Global"};
const QStringList DialogPages = {"Configuration", "LoadBank", "Delete", "StereoMerge", "Statistics", "Monitor", "Progress",
                                 "Library"};

struct HelpApp : VspApp {
    HelpApp()
    {
        start();
        main()->show();
        QApplication::processEvents();
    }
    QList<frmHelp *> helpWindows() { return main()->findChildren<frmHelp *>(QStringLiteral("frmHelp")); }
    frmHelp *help() { return helpWindows().value(0); }
    QString page() { return help() ? help()->CurrentPage() : QString(); }
    QTextBrowser *browser() { return help()->findChild<QTextBrowser *>(QStringLiteral("txtHelp")); }
    void trigger(const char *name) { find<QAction>(QLatin1String(name))->trigger(); }
    void pressF1(QWidget *inside)
    {
        QApplication::setActiveWindow(inside->window());
        inside->setFocus();
        QTest::keyClick(inside, Qt::Key_F1);
    }
};

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

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    // Topics opens the contents in a modeless window; Help turns that same window to the page
    // of the tab shown; closing the main window closes it.
    void oneModelessWindowTurnsToTheContentsOrTheTabsPage()
    {
        HelpApp app;
        QVERIFY(!app.help());
        app.trigger("mnuHelpTopics");
        QVERIFY(app.help() && app.help()->isVisible() && app.help()->isWindow());
        QCOMPARE(app.help()->windowModality(), Qt::NonModal);
        QCOMPARE(app.page(), QStringLiteral("index"));
        QCOMPARE(app.browser()->documentTitle(), QStringLiteral("Contents"));
        for (const QString &tab : TabPages) {
            app.showTab(tab.toLatin1().constData());
            app.trigger("mnuHelp");
            QCOMPARE(app.page(), tab);
            QVERIFY2(app.browser()->documentTitle().startsWith(tab), qPrintable(app.browser()->documentTitle()));
        }
        app.trigger("mnuHelpTopics");
        QCOMPARE(app.page(), QStringLiteral("index"));
        QCOMPARE(app.helpWindows().size(), 1);
        QPointer<frmHelp> help = app.help();
        app.main()->close();
        QVERIFY(!help || !help->isVisible());
    }

    // F1 opens the page of the tab the focused control is on; from a header box, the tab shown;
    // in a dialog, the dialog's page. Which tab each control is on is checked for every tab below.
    void f1OpensThePageOfTheTabOrDialogTheFocusIsIn()
    {
        HelpApp app;
        const struct {
            const char *tab, *control, *page;
        } cases[] = {{"Tone1", "txtEnv1Att", "Tone1"}, {"Preset2", "txtPreset(16)", "Preset2"}, {"Tone3", "txtObjectNum", "Tone3"}};
        for (const auto &c : cases) {
            app.showTab(c.tab);
            auto *widget = app.find<QWidget>(QLatin1String(c.control));
            QVERIFY2(widget, c.control);
            app.pressF1(widget);
            QCOMPARE(app.page(), QLatin1String(c.page));
        }
        app.trigger("mnuConfigMidi");
        auto *config = app.main()->findChild<QWidget *>(QStringLiteral("frmConfig"));
        QVERIFY(config);
        app.pressF1(config->findChildren<QWidget *>().value(0));
        QCOMPARE(app.page(), QStringLiteral("Configuration"));

        // A control leads to its own tab's page whichever tab is shown.
        app.showTab("Preset1");
        const struct {
            const char *control, *page;
        } rows[] = {{"sldDCA(1)", "Tone2"}, {"sldPan(2)", "Tone3"}, {"hscWave(0)", "Wave"}, {"sldMapH(9)", "Map"},
                    {"sldGlobal(9)", "Global"}, {"hsldPreset(16)", "Preset2"}, {"cboPreset(0)", "Preset1"}};
        for (const auto &row : rows) {
            auto *widget = app.find<QWidget>(QLatin1String(row.control));
            QVERIFY2(widget, row.control);
            QCOMPARE(app.main()->HelpPageFor(widget), QLatin1String(row.page));
        }
        QCOMPARE(app.main()->HelpPageFor(nullptr), QStringLiteral("Preset1"));
    }

    // Every page is there with the shared parts put in, says what to do when the SP does not
    // answer, links only to pages that exist and shows a real grab of the program; tab pages give
    // ranges; the contents link every page.
    void everyPageIsThereLinksResolveAndPicturesAreTheProgramsOwn()
    {
        frmHelp help;
        auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("txtHelp"));
        const QRegularExpression range(QStringLiteral("-?\\d+ to -?\\d+"));
        for (const QString &page : TabPages + DialogPages + QStringList{QStringLiteral("index")}) {
            QVERIFY2(frmHelp::HasPage(page), qPrintable(page));
            const QString html = frmHelp::PageHtml(page);
            for (const char *said : {"MIDI Monitor", "Config &gt; Midi", "Device ID"})
                QVERIFY2(html.contains(QLatin1String(said)), qPrintable(page + ": " + said));
            QVERIFY2(!TabPages.contains(page) || (html.contains(range) && html.contains(QStringLiteral("Enter"))), qPrintable(page));
            help.ShowPage(page);
            QCOMPARE(help.CurrentPage(), page);
            QVERIFY2(browser->toPlainText().contains(QStringLiteral("When the SP does not answer")), qPrintable(page));
            for (const QString &link : Links(*browser->document(), false))
                QVERIFY2(frmHelp::HasPage(QString(link).remove(QStringLiteral(".html"))), qPrintable(page + " links to " + link));
            const QStringList images = Links(*browser->document(), true);
            QVERIFY2(page == QStringLiteral("index") || images.size() == 1, qPrintable(page));
            for (const QString &image : images) {
                const QImage picture(QStringLiteral(":/help/") + image);
                const QSize least = image.startsWith(QLatin1String("tab-")) ? QSize(600, 400) : QSize(100, 40);
                QVERIFY2(picture.width() >= least.width() && picture.height() >= least.height(), qPrintable(image));
            }
        }
        help.ShowPage(QStringLiteral("index"));
        const QStringList contents = Links(*browser->document(), false);
        for (const QString &page : TabPages + DialogPages)
            QVERIFY2(contents.contains(page + QStringLiteral(".html")), qPrintable(page));
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
            {"frmLibrary", [&] { app.trigger("mnuSnapshot"); app.trigger("mnuLibrary"); }},
        };
        for (int i = 0; i < int(std::size(rows)); ++i) {
            const auto &row = rows[i];
            row.open();
            QApplication::processEvents();
            auto *window = app.main()->findChild<QWidget *>(QLatin1String(row.window));
            QVERIFY2(window && window->isVisible(), row.window);
            const QString page = frmHelp::PageForWindow(QLatin1String(row.window));
            QCOMPARE(page, DialogPages[i]); // the rows are in the order of the dialogs' pages
            const QImage picture = window->grab().toImage();
            QVERIFY2(picture.width() >= 100 && picture.height() >= 40, row.window);
            if (!folder.isEmpty())
                QVERIFY(picture.save(QDir(folder).filePath(QStringLiteral("dialog-%1.png").arg(page))));
            window->close();
            QApplication::processEvents();
        }
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
