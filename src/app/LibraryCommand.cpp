#include "app/LibraryCommand.h"

#include "app/CommandLine.h"
#include "app/HeadlessKorvane.h"
#include "library/Library.h"
#include "library/LibraryImport.h"
#include "library/SpSnapshot.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace LibraryCommand {

namespace {

// A line at a time, each written out at once: a script reading the output sees every
// snapshot as soon as it is kept.
class Lines {
public:
    explicit Lines(FILE *file) : file(file), stream(&text) {}
    template <typename T>
    Lines &operator<<(const T &value)
    {
        stream << value;
        return *this;
    }
    Lines &operator<<(QTextStream &(*)(QTextStream &))
    {
        stream.flush();
        std::fputs(text.toLocal8Bit().constData(), file);
        std::fputc('\n', file);
        std::fflush(file);
        text.clear();
        return *this;
    }

private:
    FILE *file;
    QString text;
    QTextStream stream;
};

Lines &Out()
{
    static Lines out(stdout);
    return out;
}

Lines &Err()
{
    static Lines err(stderr);
    return err;
}

int ListSnapshots(const Library &library)
{
    for (const SnapshotInfo &s : library.Snapshots())
        Out() << s.id << '\t' << s.taken.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << '\t'
              << (s.note.isEmpty() ? s.source : s.note) << '\t' << s.objects << " objects" << Qt::endl;
    return 0;
}

int FindObjects(const Library &library, const QString &text)
{
    const QVector<LibraryMatch> matches = library.Find(text);
    for (const LibraryMatch &m : matches)
        Out() << Kind(m.kind).name << '\t' << m.number << '\t' << m.name << "\tsnapshots " << SnapshotIdsText(m.snapshots) << Qt::endl;
    if (matches.isEmpty())
        Err() << "Nothing in the library matches \"" << text << "\"." << Qt::endl;
    return matches.isEmpty() ? 1 : 0;
}

int ImportFiles(Library &library, const QStringList &paths)
{
    int failed = 0;
    const auto tell = [&failed](const LibraryImport::FileOutcome &o) {
        if (o.snapshot) {
            Out() << "Imported " << QDir::toNativeSeparators(o.path) << " as snapshot " << *o.snapshot << Qt::endl;
        } else {
            Err() << o.error << Qt::endl;
            ++failed;
        }
    };
    const QVector<LibraryImport::FileOutcome> outcomes = LibraryImport::Import(library, paths, {}, tell);
    if (outcomes.isEmpty()) {
        Err() << "No backup files were found in " << paths.join(QStringLiteral(", ")) << "." << Qt::endl;
        return 1;
    }
    return failed == 0 ? 0 : 1;
}

// The commands that talk to the SP: the whole program started without its window.
int WithSp(const CommandLine &line, const QStringList &arguments, Library &library)
{
    HeadlessKorvane korvane(arguments);
    const HeadlessKorvane::Start started = korvane.start();
    if (started != HeadlessKorvane::Start::Online) {
        if (started == HeadlessKorvane::Start::Offline)
            Err() << "The SP did not answer: nothing was read or sent." << Qt::endl;
        return 1;
    }
    Session &session = korvane.session();
    const BackupTransfer::Step quiet = [](const QString &) { return true; };
    if (line.snapshot) {
        const SpSnapshot::Taken taken = SpSnapshot::Take(session.io, library, line.snapshotNote, quiet);
        if (!taken.id) {
            Err() << taken.error << Qt::endl;
            return 1;
        }
        Out() << *taken.id << Qt::endl;
        return 0;
    }
    // A restore of this snapshot that stopped goes on where it stopped, without reading the SP
    // first; each object sent is said on standard error, so a script sees how far it got.
    const qint64 id = line.restoreSnapshot.toLongLong();
    std::optional<SpSnapshot::Prepared> resume = SpSnapshot::PrepareResume(library, id);
    if (resume)
        Err() << SpSnapshot::ResumeQuestion(*resume) << " Sending only those." << Qt::endl;
    const SpSnapshot::Prepared prepared = resume ? std::move(*resume) : SpSnapshot::Prepare(session.io, library, id, quiet);
    if (!prepared.error.isEmpty()) {
        Err() << prepared.error << Qt::endl;
        return 1;
    }
    for (const QString &misfit : prepared.willNotFit)
        Err() << "Will not fit: " << misfit << Qt::endl;
    if (prepared.plan.nothingToDo()) {
        Out() << BackupTransfer::Summary(prepared.plan) << Qt::endl;
        return 0;
    }
    const BackupTransfer::Step told = [](const QString &text) {
        if (text.startsWith(QLatin1String("Sending ")))
            Err() << text << Qt::endl;
        return true;
    };
    const SpSnapshot::Restored restored = SpSnapshot::Send(session.io, library, prepared, told);
    Out() << restored.report << Qt::endl;
    return restored.whole() ? 0 : 1;
}

} // namespace

int RunFromCommandLine(const CommandLine &line, const QStringList &arguments)
{
    if (!line.wantsLibrary())
        return -1;
    const QString path = line.library.isEmpty() ? Library::DefaultPath() : line.library;
    Library::Opened opened = Library::Open(path);
    if (!opened.notice.isEmpty())
        Err() << opened.notice << Qt::endl;
    if (!opened.library) {
        Err() << opened.error << Qt::endl;
        return 1;
    }
    Library &library = *opened.library;
    if (line.snapshots)
        return ListSnapshots(library);
    if (!line.find.isEmpty())
        return FindObjects(library, line.find);
    if (!line.libraryImport.isEmpty())
        return ImportFiles(library, line.libraryImport);
    return WithSp(line, arguments, library);
}

} // namespace LibraryCommand
