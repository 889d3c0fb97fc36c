#include "library/LibraryImport.h"

#include "library/Library.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace LibraryImport {

QStringList Files(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList inside;
        QDirIterator it(path, {QStringLiteral("*.syx"), QStringLiteral("*.SYX")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            inside << it.next();
        inside.removeDuplicates();
        inside.sort(Qt::CaseInsensitive);
        files << inside;
    }
    return files;
}

QVector<FileOutcome> Import(Library &library, const QStringList &paths, const Step &step, const Done &done)
{
    QVector<FileOutcome> outcomes;
    const auto finish = [&](const FileOutcome &outcome) {
        outcomes.append(outcome);
        if (done)
            done(outcome);
    };
    const QStringList files = Files(paths);
    for (int i = 0; i < files.size(); ++i) {
        const QString &path = files[i];
        if (step && !step(path, i, static_cast<int>(files.size())))
            break;
        FileOutcome outcome;
        outcome.path = path;
        const QString shown = QDir::toNativeSeparators(path);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            outcome.error = QStringLiteral("%1 cannot be read: %2").arg(shown, file.errorString());
            finish(outcome);
            continue;
        }
        const Backup::ReadResult read = Backup::Parse(file.readAll());
        if (!read.contents) {
            outcome.error = QStringLiteral("%1 is not an SP backup: %2").arg(shown, read.error);
            finish(outcome);
            continue;
        }
        QString error;
        const QDateTime taken = QFileInfo(path).lastModified().toUTC();
        outcome.snapshot = library.AddSnapshot(*read.contents, QString(), QFileInfo(path).fileName(), {}, &error, taken);
        if (!outcome.snapshot)
            outcome.error = QStringLiteral("%1 could not be kept in the library: %2").arg(shown, error);
        finish(outcome);
    }
    return outcomes;
}

} // namespace LibraryImport
