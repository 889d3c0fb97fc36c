// Reading everything the SP holds into a backup, working out what restoring a backup would
// change, and uploading it in an order the SP accepts. No widgets: the window and the command
// line each show the steps their own way.
#pragma once

#include "objects/Backup.h"
#include "objects/ObjectDirectory.h"

#include <functional>

class ObjectIO;

namespace BackupTransfer {

// Told before each exchange; returning false cancels the run there.
using Step = std::function<bool(const QString &text)>;

struct ReadOutcome {
    std::optional<Backup::Contents> contents;
    bool cancelled = false;
    QString error; // why the read stopped, when it was not cancelled
};

// The kind's whole directory: every number in use with its name; nothing when it did not come whole.
std::optional<ObjDir> ReadDirectory(ObjectIO &io, int kind);
// Every object of every kind (every number the directories list) and the Global settings.
ReadOutcome ReadSp(ObjectIO &io, const Step &step);
// The seven answers that carry the Global settings, as a backup holds them; nothing when one
// did not come whole.
std::optional<QVector<QByteArray>> ReadGlobal(ObjectIO &io);

// What a restore would do, object by object.
struct Plan {
    QVector<Backup::Object> changed;  // the SP holds another version
    QVector<Backup::Object> missing;  // the SP does not hold it (Waves not among them)
    QVector<Backup::Object> skipped;  // Waves the SP does not hold: their samples cannot be sent
    QVector<Backup::Object> extra;    // the SP holds it, the backup does not: left as it is
    bool globalChanged = false;
    QVector<QByteArray> global;       // the backup's Global answers, sent as edits

    bool nothingToDo() const { return changed.isEmpty() && missing.isEmpty() && !globalChanged; }
    // The uploads in the order the SP accepts them: Waves before the Tones that play them,
    // Tones before Maps, Maps before Presets, Presets before Multis; then the Global settings.
    QVector<Backup::Object> uploads() const;
};

Plan PlanRestore(const Backup::Contents &file, const Backup::Contents &sp);
// The question asked before anything is sent.
QString Summary(const Plan &plan);

struct Refusal {
    QString what;   // "t# 7 Snare Tone" or "Global settings"
    int code = 0;   // the SP's status, 65 for no answer
    QString reason; // its text
};

struct UploadOutcome {
    int sent = 0;
    QVector<Refusal> refused;
    bool cancelled = false;
};

// Told of each message the SP took: its place among the uploads, then the Global answers.
using Accepted = std::function<void(int message)>;
UploadOutcome Upload(ObjectIO &io, const Plan &plan, const Step &step, const Accepted &accepted = {});
// "Restored 5 objects." and a line for each refusal and each skipped Wave.
QString Report(const Plan &plan, const UploadOutcome &outcome);

} // namespace BackupTransfer
