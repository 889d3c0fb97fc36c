// The start-up debug log krvn.dbg: one plain line per traced step, CR LF ended, only while
// the command line asked for it and only until the main window is shown.
#pragma once

#include <QFile>
#include <QString>

class DebugLog {
public:
    static constexpr const char *FileName = "krvn.dbg";

    // Replaces any earlier log in the folder.
    bool open(const QString &folder);
    void close();
    bool isOn() const { return file.isOpen(); }
    QString path() const { return file.fileName(); }

    void write(const QString &line);

private:
    QFile file;
};
