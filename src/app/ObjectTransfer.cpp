#include "app/ObjectTransfer.h"

#include "editors/Session.h"
#include "midi/Notifier.h"
#include "objects/DumpCheck.h"
#include "objects/NibbleCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString ExportHeading = QStringLiteral("Export Object");
const QString ImportHeading = QStringLiteral("Import Object");

QString ObjectTitle(int kind, int number)
{
    return QLatin1String(Kind(kind).name) + QLatin1Char(' ') + QLatin1String(Kind(kind).prefix) + QString::number(number);
}

} // namespace

ObjectTransfer::ObjectTransfer(Session &session, std::function<bool(int, int16_t)> readBack)
    : session(session), readBack(std::move(readBack))
{
}

void ObjectTransfer::Tell(const QString &heading, const QString &text)
{
    session.notifier.message(Notifier::Icon::Critical, heading, text);
}

bool ObjectTransfer::ExportObject(int kind, const QString &path)
{
    if (kind < 0 || kind >= NumberedKinds || session.objects.of(kind).Image.isEmpty()) {
        Tell(ExportHeading, QStringLiteral("There is no object shown to export."));
        return false;
    }
    const QString file = QFileInfo(path).fileName();
    // Written whole or not at all: a half-written dump must never be imported later.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(session.objects.of(kind).Image) != session.objects.of(kind).Image.size()
        || !out.commit()) {
        Tell(ExportHeading, QStringLiteral("Could not write %1: %2").arg(file, out.errorString()));
        return false;
    }
    return true;
}

bool ObjectTransfer::ImportObject(int kind, const QString &path)
{
    const QString file = QFileInfo(path).fileName();
    if (kind < 0 || kind >= NumberedKinds || !session.objects.of(kind).Have || session.objects.of(kind).Image.isEmpty()) {
        Tell(ImportHeading, QStringLiteral("Choose the object to replace first: there is none shown."));
        return false;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        Tell(ImportHeading, QStringLiteral("Could not read %1: %2").arg(file, in.errorString()));
        return false;
    }
    if (in.size() > LargestDump) {
        Tell(ImportHeading, QStringLiteral("%1 is too large to be an SP object.").arg(file));
        return false;
    }
    const QByteArray dump = in.readAll();
    const QString kindName = QLatin1String(Kind(kind).name);
    if (!DumpCheck::WellFormed(dump, kind, DumpCheck::AnyNumber, Kind(kind).dumpLength)) {
        for (int other = 0; other < NumberedKinds; ++other) {
            if (other != kind && DumpCheck::WellFormed(dump, other, DumpCheck::AnyNumber, Kind(other).dumpLength)) {
                Tell(ImportHeading, QStringLiteral("%1 holds a %2, not a %3: it can only replace a %2.")
                                        .arg(file, QLatin1String(Kind(other).name), kindName));
                return false;
            }
        }
        Tell(ImportHeading, QStringLiteral("%1 is not an undamaged %2 dump: nothing was sent.").arg(file, kindName));
        return false;
    }
    const KindState &state = session.objects.of(kind);
    const int16_t number = state.Num;
    const QString incoming = NibbleCodec::ReadName(dump, ObjectIO::NamePosition).trimmed();
    const QString question = QStringLiteral("Replace %1 \"%2\" with \"%3\" from %4?")
                                 .arg(ObjectTitle(kind, number), state.ImageName().trimmed(), incoming, file);
    if (!session.notifier.question(ImportHeading, question))
        return false;
    if (session.exchange.refuseIfBusy())
        return false;
    const bool accepted = session.io.SendWhole(dump, ObjectIO::Refusals::Tell, number) == 0;
    // Read back either way, so the window shows what the SP holds.
    if (readBack)
        readBack(kind, number);
    return accepted;
}
