// The program's working copy of what the SP holds: for each kind its directory status,
// directory, current object and last dump (the working image), the Map's header and zones,
// and the Global settings.
#pragma once

#include "objects/ObjectDirectory.h"
#include "device/ObjectKinds.h"

#include <QVector>

#include <array>

struct KindState {
    ObjDirStatus Status;
    ObjDir Dir;
    int DirPos = 0;
    bool Have = false;  // HaveWaves and the others: Loaded above 0
    QByteArray Image;   // the last dump, whole as received
    int16_t Num = 0;    // WaveNum and the others

    // The name of the current object as its dump holds it.
    QString ImageName() const;
};

struct GlobalValues {
    QString BankName;
    int16_t PlaybackMode = 0;
    int16_t ReceiveMode = 0;
    int16_t OmniPolyChannel = 0;
    int16_t OmniPolyVolume = 0;
    int16_t ProgChange = 0;
    int16_t MasterTune = 0;
};

struct ObjectStore {
    std::array<KindState, NumberedKinds> kinds;
    QByteArray MapHeaderImage;
    QVector<QByteArray> ZoneImages; // each zone's 32 nibble characters
    int CurrentZone = 0;
    GlobalValues global;
    int32_t FreeRAM = 0;

    KindState &of(int kind) { return kinds[static_cast<size_t>(kind)]; }
    const KindState &of(int kind) const { return kinds[static_cast<size_t>(kind)]; }

    // Notes of the current zone, read from its image; -1 when there is none.
    int CurrentZoneNote(int zoneByte) const;
};
