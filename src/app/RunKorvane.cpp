// The program's start: the command line, the application object and the event loop.
#include "app/BackupCommand.h"
#include "app/Korvane.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

const char *Usage =
    "Usage: korvane [/b] [--no-virtual-sp] [--vsp-wire-timing] [--tab NAME] [--screenshot FILE] [--quit-when-shown]\n"
    "  /b                 write the start-up debug log krvn.dbg in the home directory\n"
    "  --no-virtual-sp    do not offer the built-in Virtual SP as a MIDI device\n"
    "  --vsp-wire-timing  the Virtual SP answers at the pace of a real MIDI cable\n"
    "  --tab NAME         open on the tab with this caption (Preset1 ... Global)\n"
    "  --screenshot FILE  save a picture of the main window once it is shown, then quit\n"
    "  --quit-when-shown  print a line when the main window is shown, then quit\n";

QString OptionValue(const QStringList &arguments, const QString &option)
{
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

} // namespace

int RunKorvane(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
    QApplication::setOrganizationName(QStringLiteral("Talvern Systems"));
    QApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION_STRING));

    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    // A backup or restore from the command line runs without a window and ends the program.
    if (const int backupExit = BackupCommand::RunFromCommandLine(arguments); backupExit >= 0)
        return backupExit;
    const QString screenshot = OptionValue(arguments, QStringLiteral("--screenshot"));
    const bool quitWhenShown = arguments.contains(QStringLiteral("--quit-when-shown"));

    KorvaneOptions options;
    options.arguments = arguments;
    Korvane korvane(std::move(options));
    if (korvane.start() == LinkStartup::Outcome::Fatal)
        return 1;
    const QString tab = OptionValue(arguments, QStringLiteral("--tab"));
    if (!tab.isEmpty())
        korvane.mainWindow()->ShowTab(tab);

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(0, &app, [&korvane, screenshot] {
            const bool saved = korvane.mainWindow()->grab().save(screenshot);
            QTextStream(stdout) << (saved ? "Screenshot of the main window: " : "Could not write the screenshot: ")
                                << QFileInfo(screenshot).absoluteFilePath() << Qt::endl;
            QApplication::exit(saved ? 0 : 1);
        });
    } else if (quitWhenShown) {
        QTimer::singleShot(0, &app, [] {
            QTextStream(stdout) << "Main window shown" << Qt::endl;
            QApplication::exit(0);
        });
    }
    return app.exec();
}
