#include "app/CommandLine.h"

namespace {

const QString Help = QStringLiteral("--help");
const QString Tab = QStringLiteral("--tab");
const QString Screenshot = QStringLiteral("--screenshot");
const QString QuitWhenShown = QStringLiteral("--quit-when-shown");
const QString Backup = QStringLiteral("--backup");
const QString Restore = QStringLiteral("--restore");
const QString LibraryFile = QStringLiteral("--library");
const QString Snapshot = QStringLiteral("--snapshot");
const QString Snapshots = QStringLiteral("--snapshots");
const QString Find = QStringLiteral("--find");
const QString RestoreSnapshot = QStringLiteral("--restore-snapshot");
const QString LibraryImport = QStringLiteral("--library-import");
// Read by Korvane itself; known here so that they are not refused.
const QStringList Switches = {QStringLiteral("--no-virtual-sp"), QStringLiteral("--vsp-wire-timing")};

// Qt's own command-line options, which QApplication takes out of the command line itself.
const QStringList QtOptionsWithValue = {
    QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
    QStringLiteral("-plugin"), QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
    QStringLiteral("-qwindowtitle"), QStringLiteral("-display"), QStringLiteral("-geometry"),
    QStringLiteral("-style"), QStringLiteral("-stylesheet"), QStringLiteral("-session"), QStringLiteral("-title"),
    QStringLiteral("-name"), QStringLiteral("-qmljsdebugger")};
const QStringList QtSwitches = {QStringLiteral("-reverse"), QStringLiteral("-nograb"), QStringLiteral("-dograb"),
                                QStringLiteral("-sync"), QStringLiteral("-widgetcount")};

} // namespace

QString CommandLine::Usage(const QStringList &tabs)
{
    return QStringLiteral(
               "Usage: korvane [/b] [--no-virtual-sp] [--vsp-wire-timing] [--tab NAME] [--screenshot FILE] "
               "[--quit-when-shown] [--backup FILE | --restore FILE] [--library FILE] [--snapshot [NOTE] | --snapshots | "
               "--find TEXT | --restore-snapshot ID | --library-import PATH...] [--help] [FILE.syx]\n"
               "  /b                 (or /B, as the whole command line) write the start-up debug log krvn.dbg\n"
               "                     in the home directory\n"
               "  --no-virtual-sp    do not offer the built-in Virtual SP as a MIDI device\n"
               "  --vsp-wire-timing  the Virtual SP answers at the pace of a real MIDI cable\n"
               "  --tab NAME         open on this tab: %1\n"
               "  --screenshot FILE  save a picture of the main window once it is shown, then quit\n"
               "  --quit-when-shown  print a line when the main window is shown, then quit\n"
               "  --backup FILE      read every object and the Global settings into FILE (.syx), no window\n"
               "  --restore FILE     send FILE's objects that differ back to the SP, no window\n"
               "  --library FILE     use this library file instead of the one in the data folder\n"
               "  --snapshot [NOTE]  read the whole SP into the library as a snapshot; prints its id\n"
               "  --snapshots        list the library's snapshots: id, date and time, note, objects\n"
               "  --find TEXT        list the stored objects whose name, tags or note hold TEXT\n"
               "  --restore-snapshot ID  send snapshot ID back to the SP and read it back to verify\n"
               "  --library-import PATH...  add backup files, or folders of them, as snapshots\n"
               "  --help             print these options and quit\n"
               "  FILE.syx           open a backup (compared with the SP) or an exported object (imported\n"
               "                     after asking)\n"
               "Qt's own options (-platform NAME, -style NAME, ...) are accepted too.\n")
        .arg(tabs.join(QStringLiteral(", ")));
}

CommandLine CommandLine::Parse(const QStringList &arguments, const QStringList &tabs)
{
    CommandLine line;
    auto refuse = [&line](const QString &text) {
        if (line.error.isEmpty())
            line.error = text;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        auto value = [&]() -> QString {
            if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1String("--")))
                return arguments.at(++i);
            refuse(QStringLiteral("%1 needs a value").arg(argument));
            return QString();
        };
        if (argument == Help) {
            line.help = true;
        } else if (argument == Tab) {
            line.tab = value();
            if (!line.tab.isEmpty() && !tabs.contains(line.tab, Qt::CaseInsensitive))
                refuse(QStringLiteral("Unknown tab \"%1\": the tabs are %2").arg(line.tab, tabs.join(QStringLiteral(", "))));
        } else if (argument == Screenshot) {
            line.screenshot = value();
        } else if (argument == QuitWhenShown) {
            line.quitWhenShown = true;
        } else if (argument == Backup) {
            line.backup = value();
        } else if (argument == Restore) {
            line.restore = value();
        } else if (argument == LibraryFile) {
            line.library = value();
        } else if (argument == Snapshot) {
            line.snapshot = true;
            if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1String("--")))
                line.snapshotNote = arguments.at(++i);
        } else if (argument == Snapshots) {
            line.snapshots = true;
        } else if (argument == Find) {
            line.find = value();
        } else if (argument == RestoreSnapshot) {
            line.restoreSnapshot = value();
            bool number = false;
            if (!line.restoreSnapshot.isEmpty() && (line.restoreSnapshot.toLongLong(&number), !number))
                refuse(QStringLiteral("--restore-snapshot needs a snapshot id, not \"%1\"").arg(line.restoreSnapshot));
        } else if (argument == LibraryImport) {
            while (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1String("--")))
                line.libraryImport << arguments.at(++i);
            if (line.libraryImport.isEmpty())
                refuse(QStringLiteral("%1 needs a value").arg(argument));
        } else if (Switches.contains(argument) || argument.trimmed().compare(QLatin1String("/b"), Qt::CaseInsensitive) == 0) {
            // The debug log switch counts only as the whole command line; Korvane decides that.
        } else if (argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QLatin1String("--"))) {
            const QString name = argument.section(QLatin1Char('='), 0, 0);
            if (QtOptionsWithValue.contains(name)) {
                if (!argument.contains(QLatin1Char('=')))
                    value();
            } else if (!QtSwitches.contains(argument)) {
                refuse(QStringLiteral("Unknown option \"%1\"").arg(argument));
            }
        } else if (argument.endsWith(QLatin1String(".syx"), Qt::CaseInsensitive) && line.open.isEmpty()) {
            line.open = argument;
        } else {
            refuse(QStringLiteral("Unknown option \"%1\"").arg(argument));
        }
    }
    const int commands = int(!line.backup.isEmpty()) + int(!line.restore.isEmpty()) + int(line.snapshot) + int(line.snapshots)
                         + int(!line.find.isEmpty()) + int(!line.restoreSnapshot.isEmpty()) + int(!line.libraryImport.isEmpty());
    if (commands > 1)
        refuse(QStringLiteral("--backup, --restore, --snapshot, --snapshots, --find, --restore-snapshot and --library-import go one at a time"));
    return line;
}
