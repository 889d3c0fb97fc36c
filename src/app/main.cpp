#include "app/Korvane.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace {

// Korvane is a window program on Windows, which has no console of its own: started from one,
// its command-line answers (--help, --backup, a refused option) go to that console. Output
// already sent to a pipe or a file stays there.
void WriteToTheStartingConsole()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) {
        // Lines end in a bare newline, as everywhere: scripts reading the output see the same text.
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::FILE *ignored = nullptr;
    ignored = std::freopen("CONOUT$", "w", stdout);
    ignored = std::freopen("CONOUT$", "w", stderr);
    (void)ignored;
}

} // namespace
#endif

int main(int argc, char **argv)
{
#ifdef _WIN32
    WriteToTheStartingConsole();
#endif
    return RunKorvane(argc, argv);
}
