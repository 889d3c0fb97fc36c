#include "library/ObjectSend.h"

#include "device/NibbleCodec.h"
#include "library/ObjectContent.h"
#include "objects/ObjectIO.h"
#include "objects/ObjectReferences.h"

#include <algorithm>

namespace ObjectSend {

namespace {

using Place = std::pair<int, int>; // kind, number

QString Label(const Backup::Object &object)
{
    return Backup::ObjectLabel(object.kind, object.number, object.name);
}

// Two dumps of one object whatever number, name and device ID they came under.
bool SameContent(const QByteArray &a, const QByteArray &b)
{
    return ObjectContent::Split(a).content == ObjectContent::Split(b).content;
}

QByteArray WithNumber(QByteArray dump, int number)
{
    if (const auto nibbles = NibbleCodec::EncodeNumber(number, 4))
        NibbleCodec::Overwrite(dump, ObjectIO::NumberPosition, *nibbles, 4);
    return dump;
}

} // namespace

QString Offer::replaced(int number) const
{
    const QMap<int, QString> &held = used[static_cast<size_t>(chosen.kind)];
    return held.contains(number) ? Backup::ObjectLabel(chosen.kind, number, held.value(number)) : QString();
}

bool Offer::offersMore() const
{
    return std::any_of(needs.begin(), needs.end(),
                       [](const Need &need) { return need.object.kind != KindWave && need.held != Held::Same; });
}

QStringList Offer::needLines() const
{
    QStringList lines;
    for (const Need &need : needs) {
        const QString label = Label(need.object);
        switch (need.held) {
        case Held::Same:
            lines << QStringLiteral("%1: the SP holds it as it is").arg(label);
            break;
        case Held::Differs:
            lines << QStringLiteral("%1: the SP holds another %2 at that number").arg(label, QLatin1String(Kind(need.object.kind).name));
            break;
        case Held::Lacking:
            lines << QStringLiteral("%1: the SP lacks it").arg(label);
            break;
        }
    }
    for (const QString &missing : notInSnapshot)
        lines << QStringLiteral("%1: not in the snapshot").arg(missing);
    return lines;
}

QString Offer::wavesText() const
{
    QStringList waves;
    for (const Need &need : needs) {
        if (need.object.kind == KindWave && need.held != Held::Same)
            waves << Label(need.object);
    }
    if (waves.isEmpty())
        return {};
    return QStringLiteral("A Wave the SP lacks cannot be sent, since its samples never travel over MIDI: %1. Load it from "
                          "its disk first; until then the Tones play what the SP holds at that number.")
        .arg(waves.join(QStringLiteral(", ")));
}

Offer Prepare(ObjectIO &io, const Backup::Contents &snapshot, int kind, int number, const BackupTransfer::Step &step)
{
    Offer offer;
    if (kind == KindWave) {
        offer.error = QStringLiteral("A Wave cannot be sent from the library, since its samples never travel over MIDI: "
                                     "load it from its disk.");
        return offer;
    }
    const Backup::Object *chosen = snapshot.find(kind, number);
    if (!chosen) {
        offer.error = QStringLiteral("The snapshot holds no %1 %2.").arg(QLatin1String(Kind(kind).name)).arg(number);
        return offer;
    }
    offer.chosen = *chosen;
    // Everything it plays, however deep; each object once.
    QVector<Place> seen;
    QVector<const Backup::Object *> queue{chosen};
    while (!queue.isEmpty()) {
        const Backup::Object *object = queue.takeFirst();
        for (const ObjectReferences::Reference &reference : ObjectReferences::Of(object->kind, object->dump)) {
            const Place place{reference.kind, reference.number};
            if (seen.contains(place))
                continue;
            seen.append(place);
            if (const Backup::Object *needed = snapshot.find(reference.kind, reference.number)) {
                offer.needs.append({*needed, Held::Lacking});
                queue.append(needed);
            } else {
                offer.notInSnapshot << Backup::ObjectLabel(reference.kind, reference.number, QString());
            }
        }
    }
    std::stable_sort(offer.needs.begin(), offer.needs.end(), [](const Need &a, const Need &b) {
        return a.object.kind != b.object.kind ? a.object.kind < b.object.kind : a.object.number < b.object.number;
    });
    // What the SP holds: the directories of the kinds involved, and each needed number it uses.
    for (int k = 0; k < NumberedKinds; ++k) {
        const bool involved = k == kind || std::any_of(offer.needs.begin(), offer.needs.end(),
                                                       [k](const Need &need) { return need.object.kind == k; });
        if (!involved)
            continue;
        if (!step(QStringLiteral("Reading the %1 directory...").arg(QLatin1String(Kind(k).name)))) {
            offer.cancelled = true;
            return offer;
        }
        const ObjDirStatus status = io.GetObjDirStatus(k);
        const std::optional<ObjDir> dir = BackupTransfer::ReadDirectory(io, k);
        if (!status.valid || !dir) {
            offer.error = QStringLiteral("The SP's %1 directory could not be read.").arg(QLatin1String(Kind(k).name));
            return offer;
        }
        offer.highest[static_cast<size_t>(k)] = status.HighestAllowed;
        for (const ObjDirEntry &entry : dir->Entries)
            offer.used[static_cast<size_t>(k)].insert(entry.Number, entry.Name);
    }
    for (Need &need : offer.needs) {
        if (!offer.used[static_cast<size_t>(need.object.kind)].contains(need.object.number))
            continue;
        if (!step(QStringLiteral("Reading %1...").arg(Label(need.object)))) {
            offer.cancelled = true;
            return offer;
        }
        const auto held = Backup::ReadDump(io.RequestObject(need.object.kind, need.object.number));
        if (!held || held->kind != need.object.kind || held->number != need.object.number) {
            offer.error = QStringLiteral("%1 did not come whole from the SP.").arg(Label(need.object));
            return offer;
        }
        need.held = SameContent(held->dump, need.object.dump) ? Held::Same : Held::Differs;
    }
    return offer;
}

Uploads Work(const Offer &offer, int target, With with)
{
    Uploads uploads;
    QMap<Place, int> moved; // needs sent to another number: where to
    std::array<QMap<int, QString>, NumberedKinds> taken = offer.used;
    const auto rewritten = [&moved](const Backup::Object &object) {
        QByteArray dump = object.dump;
        for (const ObjectReferences::Reference &reference : ObjectReferences::Of(object.kind, object.dump)) {
            const auto to = moved.constFind({reference.kind, reference.number});
            if (to != moved.constEnd())
                dump = ObjectReferences::Renumbered(dump, reference.position, *to);
        }
        return dump;
    };
    // Waves first: what an object plays is sent, and renumbered, before it.
    for (const Need &need : offer.needs) {
        const Backup::Object &object = need.object;
        if (object.kind == KindWave || with == With::Nothing)
            continue;
        const QByteArray dump = rewritten(object);
        if (with == With::SameNumbers) {
            if (need.held != Held::Same)
                uploads.objects.append({object.kind, object.number, object.name, WithNumber(dump, object.number)});
            continue;
        }
        // To free numbers: what the SP holds as it is stays, unless what it plays moved.
        if (need.held == Held::Same && dump == object.dump)
            continue;
        QMap<int, QString> &used = taken[static_cast<size_t>(object.kind)];
        int free = 0;
        while (used.contains(free))
            ++free;
        if (free > offer.highest[static_cast<size_t>(object.kind)]) {
            uploads.objects.clear();
            uploads.error = QStringLiteral("The SP has no free %1 number for %2.").arg(QLatin1String(Kind(object.kind).name), Label(object));
            return uploads;
        }
        used.insert(free, object.name);
        moved.insert({object.kind, object.number}, free);
        uploads.objects.append({object.kind, free, object.name, WithNumber(dump, free)});
    }
    const Backup::Object &chosen = offer.chosen;
    uploads.objects.append({chosen.kind, target, chosen.name, WithNumber(rewritten(chosen), target)});
    return uploads;
}

Sent Send(ObjectIO &io, const QVector<Backup::Object> &objects, const BackupTransfer::Step &step)
{
    Sent sent;
    BackupTransfer::Plan plan;
    plan.changed = objects;
    sent.upload = BackupTransfer::Upload(io, plan, step);
    sent.report = BackupTransfer::Report(plan, sent.upload);
    if (sent.upload.cancelled)
        return sent;
    for (const Backup::Object &object : objects) {
        if (!step(QStringLiteral("Reading back %1...").arg(Backup::ObjectLabel(object.kind, object.number, object.name)))) {
            sent.upload.cancelled = true;
            sent.report += QStringLiteral("\nCancelled before everything was read back.");
            return sent;
        }
        const auto held = Backup::ReadDump(io.RequestObject(object.kind, object.number));
        if (!held || !Backup::SameMessage(held->dump, object.dump))
            sent.differences << QStringLiteral("%1 %2 on the SP.")
                                    .arg(Backup::ObjectLabel(object.kind, object.number, object.name),
                                         held ? QStringLiteral("differs") : QStringLiteral("is not"));
    }
    sent.report += QLatin1Char('\n')
        + (sent.differences.isEmpty() ? QStringLiteral("Read back from the SP: everything sent is there.")
                                      : QStringLiteral("Read back from the SP, these differ:\n") + sent.differences.join(QLatin1Char('\n')));
    return sent;
}

} // namespace ObjectSend
