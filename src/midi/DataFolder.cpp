#include "midi/DataFolder.h"

#include <QStandardPaths>

QString DataFolder()
{
    const QString chosen = qEnvironmentVariable("KORVANE_DATA_DIR");
    return chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : chosen;
}
