#include "editors/ObjectChoice.h"

#include "editors/Session.h"
#include "midi/Notifier.h"

#include <algorithm>

namespace ObjectChoice {

std::optional<int> Existing(const Session &session, int kind, int number)
{
    const KindState &objects = session.objects.of(kind);
    if (!objects.Have)
        return std::nullopt;
    const int lowest = objects.Status.Lowest;
    const int wanted = std::clamp<int>(number, lowest, std::max<int>(lowest, objects.Status.Highest));
    std::optional<int> found;
    for (const ObjDirEntry &entry : objects.Dir.Entries) {
        if (entry.Number >= wanted && (!found || entry.Number < *found))
            found = entry.Number;
    }
    return found;
}

std::optional<int> Step(Session &session, int kind, int number, int step, NoneNotice notice)
{
    KindState &objects = session.objects.of(kind);
    if (!objects.Have) {
        // The objects may have arrived since the box was filled.
        objects.Status = session.io.GetObjDirStatus(kind);
        if (objects.Have)
            objects.Dir = session.io.GetObjDir(kind);
    }
    if (!objects.Have) {
        const QString title = QStringLiteral("Load %1 Object").arg(QLatin1String(Kind(kind).name));
        if (notice == NoneNotice::TitledBox)
            session.notifier.titledMessage(Notifier::Icon::Critical, title, NoObjectsText(kind));
        else
            session.comms.ShowError(-1, title, NoObjectsText(kind));
        return std::nullopt;
    }
    std::optional<int> next;
    for (const ObjDirEntry &entry : objects.Dir.Entries) {
        const int n = entry.Number;
        if (n < objects.Status.Lowest || n > objects.Status.Highest)
            continue;
        if (step > 0 && n > number && (!next || n < *next))
            next = n;
        if (step < 0 && n < number && (!next || n > *next))
            next = n;
    }
    return next ? *next : number;
}

} // namespace ObjectChoice
