// Opening the library's SQLite file: its tables made on first use, a file that is not a library
// or is damaged set aside under a new name, never written over.
#pragma once

#include <QString>

namespace LibraryFile {

struct Opened {
    QString connection; // empty when nothing could be opened
    QString error;
    QString notice; // set when a damaged file was set aside
};

Opened Open(const QString &path);
void Close(const QString &connection);

// Where a damaged `path` goes: FILE.damaged, or FILE.2.damaged, ... when that is taken.
QString SetAsidePath(const QString &path);

} // namespace LibraryFile
