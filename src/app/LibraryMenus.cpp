#include "app/LibraryMenus.h"

#include "app/ProgressSteps.h"
#include "app/frmCompare.h"
#include "app/frmLibrary.h"
#include "app/frmLibrarySend.h"
#include "app/frmMain.h"
#include "editors/Compare.h"
#include "editors/Session.h"
#include "library/Library.h"
#include "library/ObjectSend.h"
#include "library/SpSnapshot.h"
#include "midi/Notifier.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <algorithm>

namespace LibraryMenus {

namespace {

const QString LibraryCaption = QStringLiteral("Library");
const QString SnapshotCaption = QStringLiteral("Snapshot SP");
const QString CompareCaption = QStringLiteral("Compare Snapshot");
const QString RestoreCaption = QStringLiteral("Restore Snapshot");
const QString SendCaption = QStringLiteral("Send to SP");
const QString RestoreObjectsCaption = QStringLiteral("Restore Objects");

// The main window's library, opened on first use, and its window.
class Holder : public QObject {
public:
    Holder(frmMain &main, Session &session, const QString &path) : QObject(&main), main(main), session(session), path(path)
    {
        setObjectName(QStringLiteral("libraryHolder"));
    }

    Library *library()
    {
        if (opened)
            return opened.get();
        Library::Opened result = Library::Open(path.isEmpty() ? Library::DefaultPath() : path);
        if (!result.notice.isEmpty())
            session.notifier.message(Notifier::Icon::Exclamation, LibraryCaption, result.notice);
        if (!result.library)
            session.notifier.message(Notifier::Icon::Critical, LibraryCaption, result.error);
        opened = std::move(result.library);
        return opened.get();
    }

    frmLibrary *window(bool open)
    {
        if (shown || !open)
            return shown;
        Library *lib = library();
        if (!lib)
            return nullptr;
        frmLibrary::Actions actions;
        actions.snapshot = [this] { Snapshot(); };
        actions.compare = [this](qint64 first, qint64 second) { CompareSnapshots(first, second); };
        actions.restore = [this](qint64 id) { RestoreSnapshot(id); };
        actions.send = [this](qint64 snapshot, int kind, int number) { OfferToSend(snapshot, kind, number); };
        actions.restoreObjects = [this](const QVector<ChosenObject> &objects) { RestoreObjects(objects); };
        shown = new frmLibrary(*lib, std::move(actions), &main);
        shown->setAttribute(Qt::WA_DeleteOnClose);
        return shown;
    }

    void Snapshot()
    {
        Library *lib = library();
        if (!lib || !Ready(SnapshotCaption))
            return;
        const std::optional<QString> note = session.notifier.askText(SnapshotCaption, QStringLiteral("A note for this snapshot (may be left empty):"));
        if (!note)
            return;
        ProgressSteps progress(main.services(), SnapshotCaption, true);
        const SpSnapshot::Taken taken = SpSnapshot::Take(session.io, *lib, *note, progress.step());
        progress.close();
        if (taken.cancelled || progress.cancelled)
            return Tell(Notifier::Icon::Information, SnapshotCaption, QStringLiteral("The snapshot was cancelled; nothing was kept."));
        if (!taken.id)
            return Tell(Notifier::Icon::Critical, SnapshotCaption, taken.error);
        const auto info = lib->Snapshot(*taken.id);
        Tell(Notifier::Icon::Information, SnapshotCaption,
             QStringLiteral("Snapshot %1 keeps %2 objects and the Global settings.").arg(*taken.id).arg(info ? info->objects : 0));
    }

    void CompareSnapshots(qint64 first, qint64 second)
    {
        Library *lib = library();
        if (!lib)
            return;
        const auto a = lib->SnapshotContents(first);
        std::optional<Backup::Contents> b;
        if (second != 0) {
            b = lib->SnapshotContents(second);
        } else if (Ready(CompareCaption)) {
            ProgressSteps progress(main.services(), CompareCaption, true);
            const BackupTransfer::ReadOutcome held = BackupTransfer::ReadSp(session.io, progress.step());
            progress.close();
            if (!held.contents && !held.cancelled && !progress.cancelled)
                session.notifier.message(Notifier::Icon::Critical, CompareCaption, held.error);
            b = held.contents;
        }
        if (!a || !b)
            return;
        auto *window = new frmCompare(QStringLiteral("Snapshot %1").arg(first),
                                      second ? QStringLiteral("Snapshot %1").arg(second) : QStringLiteral("SP"),
                                      Compare::Differences(*a, *b), shown ? static_cast<QWidget *>(shown) : &main);
        window->setWindowFlag(Qt::Window);
        window->show();
    }

    void RestoreSnapshot(qint64 id)
    {
        Library *lib = library();
        if (!lib || !Ready(RestoreCaption))
            return;
        std::optional<SpSnapshot::Prepared> resume = SpSnapshot::PrepareResume(*lib, id);
        if (resume
            && !session.notifier.question(RestoreCaption, SpSnapshot::ResumeQuestion(*resume)
                                                              + QStringLiteral("\n\nResume it, sending only those?")))
            resume.reset();
        ProgressSteps progress(main.services(), RestoreCaption, true);
        const SpSnapshot::Prepared prepared = resume ? std::move(*resume) : SpSnapshot::Prepare(session.io, *lib, id, progress.step());
        progress.close();
        if (prepared.cancelled || progress.cancelled)
            return;
        if (!prepared.error.isEmpty())
            return Tell(Notifier::Icon::Critical, RestoreCaption, prepared.error);
        if (prepared.plan.nothingToDo())
            return Tell(Notifier::Icon::Information, RestoreCaption, BackupTransfer::Summary(prepared.plan));
        if (!prepared.resumed) {
            QString question = BackupTransfer::Summary(prepared.plan);
            if (!prepared.willNotFit.isEmpty())
                question = QStringLiteral("This SP is set up differently from the one the snapshot was taken of:\n")
                           + prepared.willNotFit.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + question;
            if (!session.notifier.question(RestoreCaption, question))
                return;
        }
        progress.reopen(main.services());
        const SpSnapshot::Restored restored = SpSnapshot::Send(session.io, *lib, prepared, progress.step());
        progress.text(QStringLiteral("Downloading SP Data..."));
        main.services().ReadEverything();
        main.services().redisplay();
        progress.close();
        Tell(restored.whole() ? Notifier::Icon::Information : Notifier::Icon::Exclamation, RestoreCaption, restored.report);
    }

    // What the object plays is looked up on the SP first; the question then waits, without
    // blocking, for the user's choice.
    void OfferToSend(qint64 snapshot, int kind, int number)
    {
        Library *lib = library();
        if (!lib || !Ready(SendCaption))
            return;
        const auto contents = lib->SnapshotContents(snapshot);
        if (!contents)
            return Tell(Notifier::Icon::Critical, SendCaption, QStringLiteral("The library holds no snapshot %1.").arg(snapshot));
        ProgressSteps progress(main.services(), SendCaption, true);
        ObjectSend::Offer offer = ObjectSend::Prepare(session.io, *contents, kind, number, progress.step());
        progress.close();
        if (offer.cancelled || progress.cancelled)
            return;
        if (!offer.error.isEmpty())
            return Tell(Notifier::Icon::Critical, SendCaption, offer.error);
        auto *question = new frmLibrarySend(std::move(offer), snapshot, shown ? static_cast<QWidget *>(shown) : &main);
        QObject::connect(question, &frmLibrarySend::sendChosen, this, [this, question](int target, ObjectSend::With with) {
            Send(question->offer(), target, with);
        });
        question->open();
    }

    void Send(const ObjectSend::Offer &offer, int target, ObjectSend::With with)
    {
        if (!Ready(SendCaption))
            return;
        const ObjectSend::Uploads uploads = ObjectSend::Work(offer, target, with);
        if (!uploads.error.isEmpty())
            return Tell(Notifier::Icon::Critical, SendCaption, uploads.error + QStringLiteral(" Nothing was sent."));
        ProgressSteps progress(main.services(), SendCaption, true);
        const ObjectSend::Sent sent = ObjectSend::Send(session.io, uploads.objects, progress.step());
        progress.text(QStringLiteral("Downloading SP Data..."));
        main.services().ReadEverything();
        main.services().redisplay();
        progress.close();
        Tell(sent.whole() ? Notifier::Icon::Information : Notifier::Icon::Exclamation, SendCaption, sent.report);
    }

    // Each chosen object at its own number, with what it plays that the SP lacks or holds
    // differently, after one question naming everything that goes.
    void RestoreObjects(const QVector<ChosenObject> &objects)
    {
        Library *lib = library();
        if (!lib || !Ready(RestoreObjectsCaption))
            return;
        ProgressSteps progress(main.services(), RestoreObjectsCaption, true);
        QVector<Backup::Object> uploads;
        QStringList labels, waves;
        for (const ChosenObject &chosen : objects) {
            const auto contents = lib->SnapshotContents(chosen.snapshot);
            if (!contents)
                continue;
            const ObjectSend::Offer offer = ObjectSend::Prepare(session.io, *contents, chosen.kind, chosen.number, progress.step());
            if (offer.cancelled || progress.cancelled)
                return;
            // A chosen Wave is named with the reason and the others go on.
            if (!offer.error.isEmpty() && chosen.kind != KindWave)
                return Tell(Notifier::Icon::Critical, RestoreObjectsCaption, offer.error);
            if (!offer.error.isEmpty()) {
                if (!waves.contains(offer.error))
                    waves << offer.error;
                continue;
            }
            if (!offer.wavesText().isEmpty() && !waves.contains(offer.wavesText()))
                waves << offer.wavesText();
            for (const Backup::Object &object : ObjectSend::Work(offer, chosen.number, ObjectSend::With::SameNumbers).objects) {
                const bool already = std::any_of(uploads.begin(), uploads.end(), [&](const Backup::Object &o) {
                    return o.kind == object.kind && o.number == object.number;
                });
                if (!already) {
                    uploads.append(object);
                    labels << Backup::ObjectLabel(object.kind, object.number, object.name);
                }
            }
        }
        progress.close();
        if (uploads.isEmpty())
            return Tell(Notifier::Icon::Information, RestoreObjectsCaption, waves.join(QLatin1Char('\n')));
        QString question = QStringLiteral("Send these to the SP at their own numbers, replacing what it holds there?\n")
                           + labels.join(QLatin1Char('\n'));
        if (!waves.isEmpty())
            question += QStringLiteral("\n\n") + waves.join(QLatin1Char('\n'));
        if (!session.notifier.question(RestoreObjectsCaption, question))
            return;
        progress.reopen(main.services());
        const ObjectSend::Sent sent = ObjectSend::Send(session.io, uploads, progress.step());
        progress.text(QStringLiteral("Downloading SP Data..."));
        main.services().ReadEverything();
        main.services().redisplay();
        progress.close();
        Tell(sent.whole() ? Notifier::Icon::Information : Notifier::Icon::Exclamation, RestoreObjectsCaption, sent.report);
    }

private:
    bool Ready(const QString &caption)
    {
        if (!session.link.isOnline()) {
            session.notifier.message(Notifier::Icon::Critical, caption, QStringLiteral("The SP is offline: nothing was read or sent."));
            return false;
        }
        if (session.exchange.refuseIfBusy())
            return false;
        return true;
    }
    void Tell(Notifier::Icon icon, const QString &caption, const QString &text)
    {
        if (shown)
            shown->Refresh();
        session.notifier.message(icon, caption, text);
    }

    frmMain &main;
    Session &session;
    QString path;
    std::unique_ptr<Library> opened;
    QPointer<frmLibrary> shown;
};

Holder *HolderOf(frmMain &main)
{
    return main.findChild<Holder *>(QStringLiteral("libraryHolder"), Qt::FindDirectChildrenOnly);
}

} // namespace

void Install(frmMain &main, Session &session, QMenu *file, const QString &path)
{
    auto *holder = new Holder(main, session, path);
    // Beside the backups, above Exit.
    QAction *before = nullptr;
    const QList<QAction *> actions = file->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (actions[i]->objectName() == QLatin1String("mnuExit"))
            before = i > 0 && actions[i - 1]->isSeparator() ? actions[i - 1] : actions[i];
    }
    auto *open = new QAction(QStringLiteral("Li&brary..."), file);
    open->setObjectName(QStringLiteral("mnuLibrary"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    auto *snapshot = new QAction(QStringLiteral("&Snapshot SP..."), file);
    snapshot->setObjectName(QStringLiteral("mnuSnapshot"));
    file->insertAction(before, open);
    file->insertAction(before, snapshot);
    QObject::connect(open, &QAction::triggered, holder, [holder] {
        if (frmLibrary *window = holder->window(true)) {
            window->show();
            window->raise();
            window->activateWindow();
        }
    });
    QObject::connect(snapshot, &QAction::triggered, holder, [holder] { holder->Snapshot(); });
}

frmLibrary *Window(frmMain &main, bool open)
{
    Holder *holder = HolderOf(main);
    return holder ? holder->window(open) : nullptr;
}

} // namespace LibraryMenus
