#include "objects/BackupTransfer.h"

#include "device/StatusCodes.h"
#include "device/SysExFrame.h"
#include "objects/DumpCheck.h"
#include "objects/ObjectIO.h"

#include <algorithm>

namespace BackupTransfer {

namespace {

using SysEx::Bytes;

QString KindName(int kind)
{
    return QLatin1String(Kind(kind).name);
}

// The Global requests, in the order of their answers in a backup.
QVector<QByteArray> GlobalRequests()
{
    QVector<QByteArray> requests{Bytes({0x11, 0x02, 0x01, 0x00})};
    for (int p = 1; p <= 5; ++p)
        requests.append(Bytes({0x11, 0x03, 0x02, p, 0x00}));
    requests.append(Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}));
    return requests;
}

// F0 to the selector, 16 data bytes an entry, F7.
int DirectoryLength(int entries)
{
    return 17 + 32 * entries + 1;
}

QString Labels(const QVector<Backup::Object> &objects)
{
    QStringList labels;
    for (const Backup::Object &object : objects)
        labels << Backup::ObjectLabel(object.kind, object.number, object.name);
    return labels.join(QStringLiteral(", "));
}

} // namespace

std::optional<ObjDir> ReadDirectory(ObjectIO &io, int kind)
{
    // The directory alone lists every number in use; a status first would only add an exchange
    // per kind. A short list would lose objects, so it is not taken.
    const QByteArray answer = io.ReqObjectDump(ObjectIO::DirectoryFormat, Bytes({0x12, 0x02, 0x01}), Bytes({kind}));
    ObjDir dir = ObjDir::Parse(answer);
    if (!DumpCheck::WellFormed(answer, kind, DumpCheck::AnyNumber, DirectoryLength(dir.Count())))
        return std::nullopt;
    return dir;
}

ReadOutcome ReadSp(ObjectIO &io, const Step &step)
{
    ReadOutcome outcome;
    Backup::Contents contents;
    const auto stop = [&](const QString &why) {
        outcome.error = why;
        return outcome;
    };
    for (int kind = 0; kind < NumberedKinds; ++kind) {
        if (!step(QStringLiteral("Reading the %1 directory...").arg(KindName(kind)))) {
            outcome.cancelled = true;
            return outcome;
        }
        const std::optional<ObjDir> dir = ReadDirectory(io, kind);
        if (!dir)
            return stop(QStringLiteral("The SP's %1 directory could not be read.").arg(KindName(kind)));
        for (const ObjDirEntry &entry : dir->Entries) {
            if (!step(QStringLiteral("Reading %1...").arg(Backup::ObjectLabel(kind, entry.Number, entry.Name)))) {
                outcome.cancelled = true;
                return outcome;
            }
            const auto object = Backup::ReadDump(io.RequestObject(kind, entry.Number));
            if (!object || object->kind != kind || object->number != entry.Number)
                return stop(QStringLiteral("%1 did not come whole from the SP.")
                                .arg(Backup::ObjectLabel(kind, entry.Number, entry.Name)));
            contents.objects.append(*object);
        }
    }
    if (!step(QStringLiteral("Reading the Global settings..."))) {
        outcome.cancelled = true;
        return outcome;
    }
    auto global = ReadGlobal(io);
    if (!global)
        return stop(QStringLiteral("The SP's Global settings could not be read."));
    contents.global = std::move(*global);
    outcome.contents = contents;
    return outcome;
}

std::optional<QVector<QByteArray>> ReadGlobal(ObjectIO &io)
{
    QVector<QByteArray> answers;
    const QVector<QByteArray> requests = GlobalRequests();
    for (int index = 0; index < requests.size(); ++index) {
        const QByteArray answer = io.ReqObjectDump(ObjectIO::GlobalFormat, requests[index], {});
        if (Backup::GlobalAnswerIndex(answer) != index)
            return std::nullopt;
        answers.append(answer);
    }
    return answers;
}

QVector<Backup::Object> Plan::uploads() const
{
    QVector<Backup::Object> all = changed + missing;
    std::stable_sort(all.begin(), all.end(), [](const Backup::Object &a, const Backup::Object &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    return all;
}

Plan PlanRestore(const Backup::Contents &file, const Backup::Contents &sp)
{
    Plan plan;
    for (const Backup::Object &object : file.objects) {
        const Backup::Object *held = sp.find(object.kind, object.number);
        if (!held)
            (object.kind == KindWave ? plan.skipped : plan.missing).append(object);
        else if (!Backup::SameMessage(held->dump, object.dump))
            plan.changed.append(object);
    }
    for (const Backup::Object &object : sp.objects) {
        if (!file.find(object.kind, object.number))
            plan.extra.append(object);
    }
    plan.global = file.global;
    for (int index = 0; index < file.global.size(); ++index) {
        if (index >= sp.global.size() || !Backup::SameMessage(file.global[index], sp.global[index]))
            plan.globalChanged = true;
    }
    return plan;
}

QString Summary(const Plan &plan)
{
    QStringList lines;
    if (plan.nothingToDo())
        lines << QStringLiteral("The SP already holds everything in this backup.");
    if (!plan.changed.isEmpty())
        lines << QStringLiteral("Changed on the SP (%1): %2").arg(plan.changed.size()).arg(Labels(plan.changed));
    if (!plan.missing.isEmpty())
        lines << QStringLiteral("Not on the SP (%1): %2").arg(plan.missing.size()).arg(Labels(plan.missing));
    if (!plan.extra.isEmpty())
        lines << QStringLiteral("On the SP but not in the backup, left as they are (%1): %2")
                     .arg(plan.extra.size())
                     .arg(Labels(plan.extra));
    if (!plan.skipped.isEmpty())
        lines << QStringLiteral("Waves the SP does not hold, skipped because their samples cannot be sent (%1): %2")
                     .arg(plan.skipped.size())
                     .arg(Labels(plan.skipped));
    if (plan.globalChanged)
        lines << QStringLiteral("The Global settings differ.");
    if (!plan.nothingToDo())
        lines << QString() << QStringLiteral("Send the changed and missing objects to the SP?");
    return lines.join(QLatin1Char('\n'));
}

UploadOutcome Upload(ObjectIO &io, const Plan &plan, const Step &step, const Accepted &accepted)
{
    UploadOutcome outcome;
    int message = 0;
    const auto send = [&](const QString &what, const QByteArray &bytes) {
        if (!step(QStringLiteral("Sending %1...").arg(what))) {
            outcome.cancelled = true;
            return false;
        }
        // Refusals are gathered for the report at the end, not shown one by one.
        const int code = io.SendWhole(bytes, ObjectIO::Refusals::Collect);
        if (code == 0) {
            ++outcome.sent;
            if (accepted)
                accepted(message);
        } else {
            outcome.refused.append({what, code, code >= 0 ? SpStatus::SPErrorText(code)
                                                          : QStringLiteral("No readable answer from the SP")});
        }
        ++message;
        // Without an answer the link is down: nothing more can be sent.
        return code != SpStatus::TimedOut;
    };
    for (const Backup::Object &object : plan.uploads()) {
        if (!send(Backup::ObjectLabel(object.kind, object.number, object.name), object.dump))
            return outcome;
    }
    if (plan.globalChanged) {
        for (const QByteArray &answer : plan.global) {
            if (!send(QStringLiteral("Global settings"), answer))
                return outcome;
        }
    }
    return outcome;
}

QString Report(const Plan &plan, const UploadOutcome &outcome)
{
    QStringList lines;
    lines << QStringLiteral("Sent %1 of %2 messages to the SP.")
                 .arg(outcome.sent)
                 .arg(plan.uploads().size() + (plan.globalChanged ? plan.global.size() : 0));
    if (outcome.cancelled)
        lines << QStringLiteral("The restore was cancelled; the rest was not sent.");
    for (const Refusal &refusal : outcome.refused)
        lines << QStringLiteral("Refused: %1: %2 (%3)").arg(refusal.what, refusal.reason).arg(refusal.code);
    if (!plan.skipped.isEmpty())
        lines << QStringLiteral("Skipped: %1").arg(Labels(plan.skipped));
    return lines.join(QLatin1Char('\n'));
}

} // namespace BackupTransfer
