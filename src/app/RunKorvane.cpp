// The program's start: the command line, the application object and the event loop.
#include "app/BackupCommand.h"
#include "app/CommandLine.h"
#include "app/LibraryCommand.h"
#include "app/Korvane.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

int RunKorvane(int argc, char **argv)
{
    // Read before QApplication exists: --help and a mistyped option must answer even where no
    // display can be opened, and must start nothing.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const QStringList tabs = frmMain::TabCaptions();
    const CommandLine line = CommandLine::Parse(raw, tabs);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "korvane: %s\n%s", qPrintable(line.error), qPrintable(CommandLine::Usage(tabs)));
        return CommandLine::UsageError;
    }
    if (line.help) {
        std::fputs(qPrintable(CommandLine::Usage(tabs)), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
    QApplication::setOrganizationName(QStringLiteral("Talvern Systems"));
    QApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION_STRING));
    QApplication::setDesktopFileName(QStringLiteral("korvane"));
    // A backup or restore from the command line runs without a window and ends the program.
    if (const int backupExit = BackupCommand::RunFromCommandLine(QApplication::arguments().mid(1)); backupExit >= 0)
        return backupExit;
    if (const int libraryExit = LibraryCommand::RunFromCommandLine(line, QApplication::arguments().mid(1)); libraryExit >= 0)
        return libraryExit;

    KorvaneOptions options;
    options.arguments = QApplication::arguments().mid(1);
    options.pagesWhenShown = true;
    options.libraryPath = line.library;
    Korvane korvane(std::move(options));
    if (korvane.start() == LinkStartup::Outcome::Fatal)
        return 1;
    // Asked for on this start: it wins over the tab remembered from the last one.
    if (!line.tab.isEmpty())
        korvane.mainWindow()->ShowTab(line.tab);

    if (!line.open.isEmpty()) {
        // Once the window is up: the file may ask a question.
        QTimer::singleShot(0, &app, [&korvane, path = line.open] { korvane.mainWindow()->OpenSysExFile(path); });
    }

    if (!line.screenshot.isEmpty()) {
        QTimer::singleShot(0, &app, [&korvane, screenshot = line.screenshot] {
            const bool saved = korvane.mainWindow()->grab().save(screenshot);
            QTextStream(stdout) << (saved ? "Screenshot of the main window: " : "Could not write the screenshot: ")
                                << QFileInfo(screenshot).absoluteFilePath() << Qt::endl;
            // Ended as a user ends it, by closing the window: the settings are saved.
            korvane.mainWindow()->close();
            QApplication::exit(saved ? 0 : 1);
        });
    } else if (line.quitWhenShown) {
        QTimer::singleShot(0, &app, [&korvane] {
            QTextStream(stdout) << "Main window shown" << Qt::endl;
            korvane.mainWindow()->close();
            QApplication::exit(0);
        });
    }
    return app.exec();
}
