// ObjectTransfer: one object to and from a .syx file. Export writes the kind's working image,
// the dump exactly as the SP sent it; import checks a file's dump and, once the user agrees,
// sends it as the current object of its kind and reads that object back. The Global tab's file
// holds its Multi and, after it, the seven answers that carry the Global settings, as a backup
// holds them; their import sends each setting that differs as its edit would. The routines take
// a path: the file dialogs belong to the main window.
#pragma once

#include "objects/Backup.h"

#include <QString>

#include <functional>

class Session;

class ObjectTransfer {
public:
    // `readBack` reads an object of a kind (or the Global settings) from the SP and shows it;
    // false when it did not come.
    ObjectTransfer(Session &session, std::function<bool(int kind, int16_t number)> readBack);

    // False, with the reason told, when there is nothing to write or the file cannot be written.
    bool ExportObject(int kind, const QString &path);
    // False when the file is refused, the user says no, or the SP does not take it.
    bool ImportObject(int kind, const QString &path);

    // Files larger than this are no dump of the SP's.
    static constexpr qint64 LargestDump = 1 << 20;

private:
    void Tell(const QString &heading, const QString &text);
    bool ExportGlobalTab(const QString &path);
    bool ImportGlobalTab(const QString &path, const Backup::Contents &contents);
    bool WriteFile(const QString &path, const QByteArray &bytes);

    Session &session;
    std::function<bool(int kind, int16_t number)> readBack;
};
