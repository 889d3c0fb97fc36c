// The whole SP read into the library as one snapshot, and a snapshot sent back to the SP and
// read again to prove it arrived.
#pragma once

#include "library/Library.h"
#include "objects/BackupTransfer.h"

class ObjectIO;

namespace SpSnapshot {

// From the kinds' directory statuses; 0 for what did not come.
SpConfiguration ReadConfiguration(ObjectIO &io);

struct Taken {
    std::optional<qint64> id;
    bool cancelled = false;
    QString error;
};
Taken Take(ObjectIO &io, Library &library, const QString &note, const BackupTransfer::Step &step);

// What a snapshot holds that an SP set up as `sp` could not take: objects numbered above the
// highest it allows, and Waves beyond its sample memory. Empty when it fits or is not known.
QStringList WillNotFit(const Backup::Contents &snapshot, const SpConfiguration &sp);

// The objects that were sent compared with what the SP holds afterwards: one line for each
// that is missing or differs, and for Global settings that differ.
QStringList Differences(const QVector<Backup::Object> &sent, const QVector<QByteArray> &global, const Backup::Contents &after);

// What restoring a snapshot would do, worked out against what the SP holds now, or what is left
// of a restore of it that stopped.
struct Prepared {
    qint64 snapshot = 0;
    BackupTransfer::Plan plan;
    QStringList willNotFit; // as WillNotFit says, for the SP as it is set up now
    std::optional<RestoreJournal> resumed; // the stopped restore this one finishes
    // What the whole restore sends, a resumed one's earlier part included; read back afterwards.
    QVector<Backup::Object> covered;
    QVector<QByteArray> coveredGlobal;
    bool cancelled = false;
    QString error; // nothing could be worked out: why
};
Prepared Prepare(ObjectIO &io, const Library &library, qint64 id, const BackupTransfer::Step &step);
// The rest of the restore of snapshot `id` that the library's journal says stopped before the
// SP had taken everything; nothing when there is none. Nothing is read from the SP.
std::optional<Prepared> PrepareResume(const Library &library, qint64 id);
// "The last restore of snapshot 3 stopped with 4 of 9 items still to send."
QString ResumeQuestion(const Prepared &resume);

struct Restored {
    BackupTransfer::UploadOutcome upload;
    QStringList differences; // after reading the SP again
    bool cancelled = false;
    QString error;
    QString report; // what happened, as the user is told

    bool whole() const { return error.isEmpty() && !cancelled && upload.refused.isEmpty() && differences.isEmpty(); }
};
// Sends what the plan says, each item marked in the library's journal once the SP took it,
// then reads the SP again and compares everything the restore covers.
Restored Send(ObjectIO &io, Library &library, const Prepared &prepared, const BackupTransfer::Step &step);

} // namespace SpSnapshot
