#include "midi/DebugLog.h"

#include <QDir>

bool DebugLog::open(const QString &folder)
{
    close();
    file.setFileName(QDir(folder).filePath(QString::fromLatin1(FileName)));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void DebugLog::close()
{
    if (file.isOpen())
        file.close();
}

void DebugLog::write(const QString &line)
{
    if (!file.isOpen())
        return;
    file.write(line.toLocal8Bit());
    file.write("\r\n");
    file.flush();
}
