// The SP's answer about a kind: its directory status (counts, number range, memory figures)
// and its directory (number and name of every object), decoded from the SysEx answers.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>

struct ObjDirStatus {
    int16_t HighestAllowed = 0;
    int16_t Loaded = 0;
    int16_t Lowest = 0;
    int16_t Highest = 0;
    int32_t ParmMemUsed = 0;
    int32_t ParmMemFree = 0;
    int32_t FreeParmRAM = 0;
    int32_t InstalledRAM = 0;
    int32_t FreeSampleRAM = 0;
    bool valid = false; // false: the answer was not a status, every field 0

    static constexpr int ResponseLength = 64;
    static ObjDirStatus Parse(const QByteArray &response);
};

struct ObjDirEntry {
    int16_t Position = 0;
    int16_t Number = 0;
    QString Name;
};

struct ObjDir {
    QVector<ObjDirEntry> Entries;
    int Count() const { return static_cast<int>(Entries.size()); }

    static constexpr int MinimumLength = 12;
    static ObjDir Parse(const QByteArray &response);
    // The index of the entry with this number, or -1.
    int IndexOf(int number) const;
};
