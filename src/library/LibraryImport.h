// Backup files into the library, each file its own snapshot: a folder stands for every .syx file
// inside it. A file that is not an SP backup is refused with its reason and the rest go on.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class Library;

namespace LibraryImport {

struct FileOutcome {
    QString path;
    std::optional<qint64> snapshot;
    QString error; // "FILE is not an SP backup: why", when no snapshot was made
};

// The files the paths stand for, in name order, folders searched through.
QStringList Files(const QStringList &paths);

// Told before each file; false stops before it.
using Step = std::function<bool(const QString &path, int index, int count)>;
// Told after each file.
using Done = std::function<void(const FileOutcome &outcome)>;
QVector<FileOutcome> Import(Library &library, const QStringList &paths, const Step &step = {}, const Done &done = {});

} // namespace LibraryImport
