#include "app/EditHistory.h"

#include "objects/ObjectParameters.h"
#include "editors/Session.h"
#include "midi/Notifier.h"
#include "objects/MapDump.h"
#include "objects/Retrieval.h"

#include <QUndoCommand>

#include <algorithm>
#include <array>

namespace {

// Map Header and Map Zone edits belong to the Map.
int ObjectKindOf(int kind)
{
    return kind == KindMapHeader || kind == KindMapZone ? static_cast<int>(KindMap) : kind;
}

} // namespace

// One accepted edit (or the few image writes sent with it), by address. The history sends it
// again and moves the stack past it only once the SP has taken it, so that the stack's own
// undo and redo, which only follow, send nothing.
class ParameterEditCommand : public QUndoCommand {
public:
    explicit ParameterEditCommand(QList<ObjectIO::ParameterEdit> edits)
        : QUndoCommand(EditHistory::Describe(edits.last())), edits(std::move(edits))
    {
    }
    void undo() override {}
    void redo() override {}

    const QList<ObjectIO::ParameterEdit> edits;
};

EditHistory::EditHistory(Session &session, Retrieval &retrieval, std::function<void(int kind)> shown, QObject *parent)
    : QObject(parent), session(session), retrieval(retrieval), shown(std::move(shown))
{
    session.io.setEditRecorder([this](const QList<ObjectIO::ParameterEdit> &edits) { Record(edits); });
}

EditHistory::~EditHistory()
{
    session.io.setEditRecorder({});
}

QString EditHistory::Describe(const ObjectIO::ParameterEdit &edit)
{
    if (edit.kind == KindGlobal)
        return QStringLiteral("Global ") + ObjectParameters::UploadName(KindGlobal, edit.position);
    const KindInfo &info = Kind(ObjectKindOf(edit.kind));
    const QString object = QLatin1String(info.name) + QLatin1Char(' ') + QLatin1String(info.prefix)
        + QString::number(edit.number) + QLatin1Char(' ');
    if (edit.position == ObjectIO::NamePosition && edit.kind != KindMapZone)
        return object + QStringLiteral("Name");
    const auto number = [](const ObjectIO::Value &value) {
        const auto *held = std::get_if<int64_t>(&value);
        return held ? std::optional<int64_t>(*held) : std::nullopt;
    };
    const QString name = ObjectParameters::UploadName(edit.kind, edit.position, number(edit.before), number(edit.after));
    // A position no tab names still tells two edits apart.
    return object + (name.isEmpty() ? QStringLiteral("parameter %1").arg(edit.position) : name);
}

void EditHistory::Record(const QList<ObjectIO::ParameterEdit> &edits)
{
    undoStack.push(new ParameterEditCommand(edits));
}

void EditHistory::Undo()
{
    Step(true);
}

void EditHistory::Redo()
{
    Step(false);
}

void EditHistory::Step(bool undo)
{
    if (undo ? !undoStack.canUndo() : !undoStack.canRedo())
        return;
    if (session.exchange.refuseIfBusy())
        return;
    const int index = undoStack.index();
    const auto *command = static_cast<const ParameterEditCommand *>(undoStack.command(undo ? index - 1 : index));
    const QString text = command->text();
    if (Send(QList(command->edits), undo)) {
        undoStack.setIndex(undo ? index - 1 : index + 1);
        return;
    }
    // The SP still holds what it held: the command stays where it was.
    session.notifier.message(Notifier::Icon::Information, undo ? QStringLiteral("Undo") : QStringLiteral("Redo"),
                             (undo ? QStringLiteral("The SP did not take the undo of %1; it can still be undone.")
                                   : QStringLiteral("The SP did not take the redo of %1; it can still be redone."))
                                 .arg(text));
}

bool EditHistory::Send(const QList<ObjectIO::ParameterEdit> &edits, bool before)
{
    if (edits.isEmpty())
        return false;
    bool accepted = false;
    const ObjectIO::ParameterEdit &last = edits.last();
    if (last.kind == KindGlobal) {
        accepted = session.io.GlobalUpload(last.position, before ? last.after : last.before,
                                           before ? last.before : last.after, ObjectIO::Source::History);
        // The Global is read back whether or not the SP took it, so the tab shows what it holds.
        retrieval.DownloadGlobal();
    } else {
        accepted = SendObjectEdits(edits, before);
    }
    return accepted;
}

bool EditHistory::SendObjectEdits(const QList<ObjectIO::ParameterEdit> &edits, bool before)
{
    const ObjectIO::ParameterEdit &last = edits.last();
    const int kind = ObjectKindOf(last.kind);
    const KindState &state = session.objects.of(kind);
    // The whole image goes back to the SP: it must be this object's, as the SP holds it.
    if ((state.Num != last.number || state.Image.isEmpty() || last.kind == KindMapZone)
        && !ReadBack(kind, last.number))
        return false;
    bool accepted = false;
    if (last.kind == KindMapZone) {
        accepted = SendZoneEdit(last, before ? last.before : last.after);
    } else {
        for (qsizetype i = 0; i + 1 < edits.size(); ++i) {
            const ObjectIO::ParameterEdit &e = edits[i];
            session.io.ObjectUpload(e.kind, e.number, before ? e.before : e.after, e.position, e.width, false,
                                    ObjectIO::Source::History);
        }
        accepted = session.io.ObjectUpload(last.kind, last.number, before ? last.before : last.after, last.position,
                                           last.width, true, ObjectIO::Source::History);
    }
    // Read back either way: a refused upload leaves image writes that the SP does not hold.
    ReadBack(kind, last.number);
    return accepted;
}

bool EditHistory::SendZoneEdit(const ObjectIO::ParameterEdit &edit, const ObjectIO::Value &value)
{
    ObjectStore &objects = session.objects;
    // The zone is found again by the note the edit left inside it.
    for (int zone = 0; zone < objects.ZoneImages.size(); ++zone) {
        const auto range = ObjectDumps::ReadZone(objects.ZoneImages[zone]);
        if (range && edit.zoneNote >= range->LowNote && edit.zoneNote <= range->HighNote) {
            objects.CurrentZone = zone;
            return session.io.ObjectUpload(KindMapZone, edit.number, value, edit.position, edit.width, true,
                                           ObjectIO::Source::History);
        }
    }
    session.notifier.message(Notifier::Icon::Information, QStringLiteral("Undo"),
                             QStringLiteral("Map %1 has no zone holding that note any more.").arg(edit.number));
    return false;
}

bool EditHistory::ReadBack(int kind, int16_t number)
{
    const int zone = session.objects.CurrentZone;
    const bool sameMap = kind == KindMap && session.objects.of(KindMap).Num == number;
    const Retrieval::Routines &r = retrieval.routines(kind);
    if (!r.dump || !r.dump(number))
        return false;
    KindState &state = session.objects.of(kind);
    const int position = state.Dir.IndexOf(state.Num);
    if (position >= 0)
        state.DirPos = position;
    // Reading a Map starts at its first zone; the zone being edited stays the one shown.
    if (sameMap && zone < session.objects.ZoneImages.size())
        session.objects.CurrentZone = zone;
    if (r.display)
        r.display();
    if (shown)
        shown(kind);
    return true;
}
