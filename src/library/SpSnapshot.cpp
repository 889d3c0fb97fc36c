#include "library/SpSnapshot.h"

#include "device/NibbleCodec.h"
#include "objects/ObjectIO.h"
#include "objects/WaveDescription.h"

namespace SpSnapshot {

SpConfiguration ReadConfiguration(ObjectIO &io)
{
    SpConfiguration configuration;
    for (int kind = 0; kind < NumberedKinds; ++kind) {
        const ObjDirStatus status = io.GetObjDirStatus(kind);
        if (!status.valid)
            continue;
        configuration.highestAllowed[static_cast<size_t>(kind)] = status.HighestAllowed;
        if (kind == KindWave)
            configuration.installedKilowords = status.InstalledRAM;
    }
    return configuration;
}

Taken Take(ObjectIO &io, Library &library, const QString &note, const BackupTransfer::Step &step)
{
    Taken taken;
    if (!step(QStringLiteral("Reading the SP's configuration..."))) {
        taken.cancelled = true;
        return taken;
    }
    const SpConfiguration configuration = ReadConfiguration(io);
    const BackupTransfer::ReadOutcome read = BackupTransfer::ReadSp(io, step);
    taken.cancelled = read.cancelled;
    taken.error = read.error;
    if (!read.contents)
        return taken;
    taken.id = library.AddSnapshot(*read.contents, note, QStringLiteral("SP"), configuration, &taken.error);
    if (!taken.id)
        taken.error = QStringLiteral("The snapshot could not be kept in the library: %1").arg(taken.error);
    return taken;
}

QStringList WillNotFit(const Backup::Contents &snapshot, const SpConfiguration &sp)
{
    QStringList problems;
    if (!sp.known())
        return problems;
    for (const Backup::Object &object : snapshot.objects) {
        const int highest = sp.highestAllowed[static_cast<size_t>(object.kind)];
        if (object.number > highest)
            problems << QStringLiteral("%1: this SP takes %2 numbers up to %3 only.")
                            .arg(Backup::ObjectLabel(object.kind, object.number, object.name), QLatin1String(Kind(object.kind).name))
                            .arg(highest);
    }
    // The Waves in number order, as far as the installed memory holds them.
    int kilowords = 0;
    QStringList beyond;
    for (const Backup::Object &object : snapshot.objects) {
        if (object.kind != KindWave)
            continue;
        kilowords += static_cast<int>(NibbleCodec::Read(object.dump, WaveDump::Size, 4).value_or(0));
        if (kilowords > sp.installedKilowords)
            beyond << Backup::ObjectLabel(object.kind, object.number, object.name);
    }
    if (!beyond.isEmpty())
        problems << QStringLiteral("The Waves take %1 kilowords of sample memory; this SP has %2 installed, too little for %3.")
                        .arg(kilowords)
                        .arg(sp.installedKilowords)
                        .arg(beyond.join(QStringLiteral(", ")));
    return problems;
}

QStringList Differences(const QVector<Backup::Object> &sent, const QVector<QByteArray> &global, const Backup::Contents &after)
{
    QStringList differences;
    for (const Backup::Object &object : sent) {
        const Backup::Object *held = after.find(object.kind, object.number);
        const QString label = Backup::ObjectLabel(object.kind, object.number, object.name);
        if (!held)
            differences << QStringLiteral("%1 is not on the SP.").arg(label);
        else if (!Backup::SameMessage(held->dump, object.dump))
            differences << QStringLiteral("%1 differs on the SP.").arg(label);
    }
    if (!global.isEmpty()) {
        bool same = global.size() == after.global.size();
        for (qsizetype i = 0; same && i < global.size(); ++i)
            same = Backup::SameMessage(global[i], after.global[i]);
        if (!same)
            differences << QStringLiteral("The Global settings differ on the SP.");
    }
    return differences;
}

Prepared Prepare(ObjectIO &io, const Library &library, qint64 id, const BackupTransfer::Step &step)
{
    Prepared prepared;
    prepared.snapshot = id;
    const auto snapshot = library.SnapshotContents(id);
    if (!snapshot) {
        prepared.error = QStringLiteral("The library holds no snapshot %1.").arg(id);
        return prepared;
    }
    if (!step(QStringLiteral("Reading the SP's configuration..."))) {
        prepared.cancelled = true;
        return prepared;
    }
    prepared.willNotFit = WillNotFit(*snapshot, ReadConfiguration(io));
    const BackupTransfer::ReadOutcome held = BackupTransfer::ReadSp(io, step);
    if (!held.contents) {
        prepared.cancelled = held.cancelled;
        prepared.error = held.error;
        return prepared;
    }
    prepared.plan = BackupTransfer::PlanRestore(*snapshot, *held.contents);
    prepared.covered = prepared.plan.uploads();
    if (prepared.plan.globalChanged)
        prepared.coveredGlobal = prepared.plan.global;
    return prepared;
}

std::optional<Prepared> PrepareResume(const Library &library, qint64 id)
{
    std::optional<RestoreJournal> journal = library.UnfinishedRestore();
    if (!journal || journal->snapshot != id || journal->unsent() == 0)
        return std::nullopt;
    const auto snapshot = library.SnapshotContents(id);
    if (!snapshot)
        return std::nullopt;
    Prepared prepared;
    prepared.snapshot = id;
    prepared.plan.global = snapshot->global;
    for (const RestoreJournal::Item &item : journal->items) {
        if (item.kind == KindGlobal) {
            prepared.coveredGlobal = snapshot->global;
            prepared.plan.globalChanged = !item.sent;
            continue;
        }
        const Backup::Object *object = snapshot->find(item.kind, item.number);
        if (!object)
            continue;
        prepared.covered.append(*object);
        if (!item.sent)
            prepared.plan.changed.append(*object);
    }
    prepared.resumed = std::move(journal);
    return prepared;
}

QString ResumeQuestion(const Prepared &resume)
{
    if (!resume.resumed)
        return {};
    return QStringLiteral("The last restore of snapshot %1 stopped with %2 of %3 items still to send.")
        .arg(resume.snapshot)
        .arg(resume.resumed->unsent())
        .arg(resume.resumed->items.size());
}

namespace {

QVector<std::pair<int, int>> JournalItems(const BackupTransfer::Plan &plan)
{
    QVector<std::pair<int, int>> items;
    for (const Backup::Object &object : plan.uploads())
        items.append({object.kind, object.number});
    if (plan.globalChanged)
        items.append({KindGlobal, 0});
    return items;
}

} // namespace

Restored Send(ObjectIO &io, Library &library, const Prepared &prepared, const BackupTransfer::Step &step)
{
    Restored restored;
    const BackupTransfer::Plan &plan = prepared.plan;
    const std::optional<qint64> journal = prepared.resumed ? std::optional<qint64>(prepared.resumed->id)
                                                           : library.BeginRestore(prepared.snapshot, JournalItems(plan));
    if (!journal) {
        restored.error = QStringLiteral("The library could not keep a journal of the restore: nothing was sent.");
        restored.report = restored.error;
        return restored;
    }
    const QVector<Backup::Object> uploads = plan.uploads();
    int globalTaken = 0;
    const auto taken = [&](int message) {
        if (message < uploads.size())
            library.MarkSent(*journal, uploads[message].kind, uploads[message].number);
        else if (++globalTaken == plan.global.size())
            library.MarkSent(*journal, KindGlobal, 0);
    };
    restored.upload = BackupTransfer::Upload(io, plan, step, taken);
    restored.report = BackupTransfer::Report(plan, restored.upload);
    if (prepared.resumed)
        restored.report.prepend(QStringLiteral("Resumed the restore of snapshot %1: %2 of %3 items had been sent before.\n")
                                    .arg(prepared.snapshot)
                                    .arg(prepared.resumed->items.size() - prepared.resumed->unsent())
                                    .arg(prepared.resumed->items.size()));
    const qsizetype messages = uploads.size() + (plan.globalChanged ? plan.global.size() : 0);
    if (restored.upload.sent == messages)
        library.FinishRestore(*journal);
    if (restored.upload.cancelled) {
        restored.cancelled = true;
        return restored;
    }
    const BackupTransfer::ReadOutcome after = BackupTransfer::ReadSp(io, step);
    if (!after.contents) {
        restored.cancelled = after.cancelled;
        restored.error = after.cancelled ? QStringLiteral("Cancelled before the SP was read back.") : after.error;
        restored.report += QLatin1Char('\n') + restored.error;
        return restored;
    }
    restored.differences = Differences(prepared.covered, prepared.coveredGlobal, *after.contents);
    restored.report += QLatin1Char('\n')
        + (restored.differences.isEmpty() ? QStringLiteral("Read back from the SP: everything sent is there.")
                                          : QStringLiteral("Read back from the SP, these differ:\n") + restored.differences.join(QLatin1Char('\n')));
    return restored;
}

} // namespace SpSnapshot
