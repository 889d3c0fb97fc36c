// One object from the library sent to the SP at a number the user chooses, with what it plays:
// a Multi's Presets, a Preset's Maps, a Map's Tones, a Tone's Wave. Before anything is sent, the
// SP is asked what it holds at those numbers; afterwards every object sent is read back.
#pragma once

#include "objects/Backup.h"
#include "objects/BackupTransfer.h"

#include <QMap>

#include <array>

class ObjectIO;

namespace ObjectSend {

// What the SP holds at a needed object's number.
enum class Held { Same, Differs, Lacking };

struct Need {
    Backup::Object object; // as the snapshot holds it
    Held held = Held::Lacking;
};

struct Offer {
    Backup::Object chosen;
    QVector<Need> needs;      // everything it plays, directly or not, Waves first
    QStringList notInSnapshot; // numbers it plays that the snapshot holds nothing at
    std::array<QMap<int, QString>, NumberedKinds> used{}; // the numbers the SP holds with their names, by kind
    std::array<int, NumberedKinds> highest{};       // the highest number the SP allows, by kind
    bool cancelled = false;
    QString error;

    // The label of what the SP holds at `number` of the chosen object's kind, or nothing.
    QString replaced(int number) const;
    // A Need that is not Same and is no Wave: the user is asked about sending it.
    bool offersMore() const;
    // A line for each need, as the user is shown it.
    QStringList needLines() const;
    // The Waves the SP lacks or holds differently, which cannot be sent.
    QString wavesText() const;
};

// Works out what sending `kind` `number` of the snapshot would need from the SP.
Offer Prepare(ObjectIO &io, const Backup::Contents &snapshot, int kind, int number, const BackupTransfer::Step &step);

// Which of the needs go too.
enum class With {
    Nothing,     // the chosen object alone
    SameNumbers, // what the SP lacks or holds differently, at the numbers the snapshot had
    FreeNumbers, // the same to numbers the SP does not use, the references changed to match
};

struct Uploads {
    QVector<Backup::Object> objects; // in the order the SP takes them, numbers written in
    QString error;                   // why they cannot be worked out (no free number)
};
Uploads Work(const Offer &offer, int target, With with);

struct Sent {
    BackupTransfer::UploadOutcome upload;
    QStringList differences; // read back from the SP
    QString report;

    bool whole() const { return !upload.cancelled && upload.refused.isEmpty() && differences.isEmpty(); }
};
Sent Send(ObjectIO &io, const QVector<Backup::Object> &objects, const BackupTransfer::Step &step);

} // namespace ObjectSend
