// The SP's object kinds as the program names and addresses them.
#pragma once

#include <QString>

enum ObjectKind : int {
    KindWave = 0,
    KindTone = 1,
    KindMap = 2,
    KindPreset = 3,
    KindMulti = 4,
    KindMapHeader = 5,
    KindMapZone = 6,
    KindGlobal = 18,
};
constexpr int NumberedKinds = 5; // Wave to Multi: the kinds with numbered objects

// The exact length of each kind's dump, F0 to F7; 0 for the Map, whose zone count sets it.
constexpr int DumpLengths[NumberedKinds] = {148, 180, 0, 532, 212};

struct KindInfo {
    int kind;
    const char *name;        // in texts: "Wave", "Tone", ...
    const char *prefix;      // shown before object numbers: "w#", ...
    int dumpLength;          // exact length of a dump, 0 for the variable Map
    const char *emptyTitle;  // heading when the SP holds none (none for Multi)
    int statusPanel;         // the status bar panel showing the current number
};

// Wave to Multi, by kind code.
const KindInfo &Kind(int kind);
// The kind whose prefix this is, or -1.
int KindOfPrefix(const QString &prefix);
QString NoObjectsText(int kind);   // "There are no Wave Objects loaded into the SP"
QString UploadKindName(int kind);  // "Wave", ..., "Map Header", "Map Zone"
