// The library's commands from the command line, without a window: --snapshot, --snapshots,
// --find, --restore-snapshot and --library-import, on the library --library names or the one in
// the data folder. Each prints what it did and exits non-zero on any failure.
#pragma once

#include <QStringList>

struct CommandLine;

namespace LibraryCommand {

// The exit code, or -1 when the command line asks for none of them.
int RunFromCommandLine(const CommandLine &line, const QStringList &arguments);

} // namespace LibraryCommand
