// Seeds made by our own code: with KORVANE_FUZZ_SEEDS set to a folder, a target's start writes
// its seeds there (named after the target) and the program ends.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <utility>
#include <vector>

namespace FuzzSeeds {

using Seeds = std::vector<std::pair<QString, QByteArray>>;

inline QString Folder() { return qEnvironmentVariable("KORVANE_FUZZ_SEEDS"); }

inline void WriteAndExit(const Seeds &seeds)
{
    QDir().mkpath(Folder());
    for (const auto &[name, bytes] : seeds) {
        QFile file(QDir(Folder()).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::_Exit(1);
    }
    // No static destructors: Qt's application object is never torn down in these programs.
    std::_Exit(0);
}

} // namespace FuzzSeeds
