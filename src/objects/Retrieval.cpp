#include "objects/Retrieval.h"

#include "midi/DebugLog.h"
#include "device/LinkState.h"
#include "midi/Notifier.h"
#include "objects/GlobalObject.h"
#include "objects/ObjectDumps.h"
#include "objects/ObjectIO.h"

namespace {

constexpr int FreeRamPanel = 6;
constexpr int ProgressPanel = 7;

QString KindName(int kind)
{
    return QLatin1String(Kind(kind).name);
}

QString NumberText(int kind, int number)
{
    return QLatin1String(Kind(kind).prefix) + QLatin1Char(' ') + QString::number(number);
}

QString SelectNumberText(int kind)
{
    // The Map's text has always been in lower case.
    const QString name = kind == KindMap ? QStringLiteral("map") : KindName(kind);
    return QStringLiteral("Please select a %1 number to download").arg(name);
}

} // namespace

Retrieval::Retrieval(ObjectIO &io, LinkState &link, Notifier &notifier, DebugLog &log, RetrievalView &view)
    : io(io), link(link), notifier(notifier), log(log), view(view)
{
    for (int kind = 0; kind < NumberedKinds; ++kind)
        table[static_cast<size_t>(kind)].dump = [this, kind](int number) { return ObjectDumps::DumpObject(this->io, kind, number); };
    table[GlobalRoutines].dump = [this](int) { return GlobalObject::GlobalObjDump(this->io, this->io.store().global); };
}

void Retrieval::setRoutines(int kind, Routines routines)
{
    const size_t slot = kind == KindGlobal ? GlobalRoutines : static_cast<size_t>(kind);
    if (routines.dump)
        table[slot].dump = std::move(routines.dump);
    if (routines.display)
        table[slot].display = std::move(routines.display);
}

const Retrieval::Routines &Retrieval::routines(int kind) const
{
    return table[kind == KindGlobal ? GlobalRoutines : static_cast<size_t>(kind)];
}

QString Retrieval::FreeRamText() const
{
    return QStringLiteral("Free RAM: %1 kw").arg(io.store().FreeRAM);
}

QString Retrieval::CurrentBankText() const
{
    const QString bank = io.store().global.BankName;
    return bank.isEmpty() ? QStringLiteral("Current Bank: -") : QStringLiteral("Current Bank: ") + bank;
}

bool Retrieval::DownloadGlobal()
{
    const Routines &global = routines(KindGlobal);
    if (!global.dump(0))
        return false;
    if (global.display)
        global.display();
    return true;
}

bool Retrieval::AllObjectsDump()
{
    log.write(QStringLiteral("AllObjectsDump()"));
    if (!link.isOnline())
        return false;
    view.SetBusy(true);
    for (int kind = KindWave; kind < NumberedKinds; ++kind) {
        log.write(QStringLiteral("AllObjectsDump(): Downloading %1 data.").arg(KindName(kind)));
        if (!RetrieveKind(kind) || !link.isOnline()) {
            view.SetBusy(false);
            return false;
        }
    }
    log.write(QStringLiteral("AllObjectsDump(): Downloading Global data."));
    view.SetStatusPanel(ProgressPanel, QStringLiteral("Downloading Global data..."));
    DownloadGlobal();
    view.SetStatusPanel(ProgressPanel, CurrentBankText());
    view.SetBusy(false);
    return link.isOnline();
}

bool Retrieval::RetrieveKind(int kind)
{
    KindState &state = io.store().of(kind);
    view.SetStatusPanel(ProgressPanel, QStringLiteral("Checking %1 status...").arg(KindName(kind)));
    state.Status = io.GetObjDirStatus(kind);
    view.SetStatusPanel(FreeRamPanel, FreeRamText());
    if (!state.Have) {
        view.SetDeleteEnabled(false);
        if (kind == KindWave)
            view.SetMergeEnabled(false);
        view.LockHeader(true);
        view.SetStatusPanel(Kind(kind).statusPanel, QLatin1String(Kind(kind).prefix) + QStringLiteral(" -"));
        view.ClearObjDisplay(kind);
        return true;
    }
    state.Dir = io.GetObjDir(kind);
    state.DirPos = state.Dir.IndexOf(state.Status.Lowest);
    if (state.DirPos < 0) {
        // The SP named a lowest object that its own directory does not list.
        state.DirPos = 0;
        notifier.message(Notifier::Icon::Critical, QStringLiteral("AllObjectsDump()"),
                         QStringLiteral("Error Downloading requested object"));
        return false;
    }
    const int number = state.Status.Lowest;
    view.SetStatusPanel(ProgressPanel, QStringLiteral("Downloading %1 %2%3...")
                                           .arg(KindName(kind), QLatin1String(Kind(kind).prefix))
                                           .arg(number));
    const Routines &r = routines(kind);
    if (r.dump(number)) {
        view.SetStatusPanel(Kind(kind).statusPanel, NumberText(kind, number));
        if (r.display)
            r.display();
    }
    view.SetDeleteEnabled(true);
    if (kind == KindWave)
        view.SetMergeEnabled(state.Status.Loaded > 1); // a merge needs two Waves
    return true;
}

void Retrieval::ObjectDownload(int kind)
{
    if (kind < 0 || kind >= NumberedKinds)
        return;
    KindState &state = io.store().of(kind);
    state.Status = io.GetObjDirStatus(kind);
    view.SetStatusPanel(FreeRamPanel, FreeRamText());
    // No status at all (the SP did not answer or answered with an error, already reported) says
    // nothing about what the SP holds: "no objects" would be untrue.
    if (!state.Status.valid)
        return;
    if (!state.Have) {
        if (kind == KindMulti) {
            view.LockHeader(true);
            view.ClearObjDisplay(KindMulti);
            DownloadGlobal();
        } else {
            notifier.message(Notifier::Icon::Critical, QLatin1String(Kind(kind).emptyTitle), NoObjectsText(kind));
        }
        return;
    }
    state.Dir = io.GetObjDir(kind);
    const QString numberText = view.HeaderNumber();
    if (numberText.isEmpty()) {
        notifier.message(Notifier::Icon::None, QString(), SelectNumberText(kind));
        view.LockHeader(false);
        return;
    }
    const int number = numberText.toInt();
    const Routines &r = routines(kind);
    r.dump(number);
    if (kind == KindMulti)
        DownloadGlobal();
    if (r.display)
        r.display();
    const int position = state.Dir.IndexOf(state.Num);
    if (position >= 0)
        state.DirPos = position;
    view.LockHeader(false);
    const QString shown = state.Dir.Entries.isEmpty() ? QString::number(state.Num)
                                                      : QString::number(state.Dir.Entries.value(state.DirPos).Number);
    view.SetHeader(shown, state.ImageName().trimmed());
    view.SetStatusPanel(Kind(kind).statusPanel, QLatin1String(Kind(kind).prefix) + QLatin1Char(' ') + shown);
    view.SetStatusPanel(ProgressPanel, CurrentBankText());
}
