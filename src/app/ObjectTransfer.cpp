#include "app/ObjectTransfer.h"

#include "editors/Session.h"
#include "midi/Notifier.h"
#include "objects/Backup.h"
#include "objects/BackupTransfer.h"
#include "objects/DumpCheck.h"
#include "objects/GlobalDescription.h"
#include "objects/GlobalObject.h"
#include "device/NibbleCodec.h"

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

bool ObjectTransfer::WriteFile(const QString &path, const QByteArray &bytes)
{
    // Written whole or not at all: a half-written dump must never be imported later.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        Tell(ExportHeading, QStringLiteral("Could not write %1: %2").arg(QFileInfo(path).fileName(), out.errorString()));
        return false;
    }
    return true;
}

bool ObjectTransfer::ExportObject(int kind, const QString &path)
{
    if (kind == KindMulti)
        return ExportGlobalTab(path);
    if (kind < 0 || kind >= NumberedKinds || session.objects.of(kind).Image.isEmpty()) {
        Tell(ExportHeading, QStringLiteral("There is no object shown to export."));
        return false;
    }
    return WriteFile(path, session.objects.of(kind).Image);
}

bool ObjectTransfer::ExportGlobalTab(const QString &path)
{
    // The Global settings are read afresh: the SP's answers are what the file keeps.
    if (session.exchange.refuseIfBusy())
        return false;
    const auto answers = BackupTransfer::ReadGlobal(session.io);
    if (!answers) {
        Tell(ExportHeading, QStringLiteral("The SP's Global settings could not be read: nothing was written."));
        return false;
    }
    Backup::Contents contents;
    contents.global = *answers;
    const QByteArray multi = session.objects.of(KindMulti).Image;
    if (const auto object = Backup::ReadDump(multi); object && object->kind == KindMulti)
        contents.objects.append(*object);
    return WriteFile(path, Backup::Write(contents));
}

bool ObjectTransfer::ImportObject(int kind, const QString &path)
{
    const QString file = QFileInfo(path).fileName();
    const bool haveShown = kind >= 0 && kind < NumberedKinds && session.objects.of(kind).Have
        && !session.objects.of(kind).Image.isEmpty();
    // The Global tab takes a file of Global settings even when the SP holds no Multi.
    if (!haveShown && kind != KindMulti) {
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
    if (kind == KindMulti) {
        const Backup::ReadResult read = Backup::Parse(dump);
        if (read.contents && !read.contents->global.isEmpty())
            return ImportGlobalTab(path, *read.contents);
    }
    const QString kindName = QLatin1String(Kind(kind).name);
    if (!haveShown) {
        Tell(ImportHeading, QStringLiteral("%1 holds no Global settings, and there is no Multi shown to replace.").arg(file));
        return false;
    }
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

bool ObjectTransfer::ImportGlobalTab(const QString &path, const Backup::Contents &contents)
{
    const QString name = QFileInfo(path).fileName();
    const auto values = contents.globalValues();
    const KindState &multi = session.objects.of(KindMulti);
    const Backup::Object *incoming = contents.objects.size() == 1 && contents.objects.first().kind == KindMulti
                                         ? &contents.objects.first()
                                         : nullptr;
    if (!values || (contents.objects.size() != (incoming ? 1 : 0))) {
        Tell(ImportHeading, QStringLiteral("%1 holds more than the Global tab's settings: restore it as a backup.").arg(name));
        return false;
    }
    // Compared with what the SP holds now, not with what the tab last showed: that reading
    // waits for a free SP, as the sending does.
    if (session.exchange.refuseIfBusy())
        return false;
    if (readBack && !readBack(KindGlobal, 0)) {
        Tell(ImportHeading, QStringLiteral("The SP's Global settings could not be read: nothing was sent."));
        return false;
    }
    const bool multiShown = multi.Have && !multi.Image.isEmpty();
    if (incoming && multiShown && readBack)
        readBack(KindMulti, multi.Num);
    const bool replaceMulti = incoming && multiShown && !Backup::SameMessage(multi.Image, incoming->dump);
    QStringList lines;
    if (replaceMulti)
        lines << QStringLiteral("Replace %1 \"%2\" with \"%3\".")
                     .arg(ObjectTitle(KindMulti, multi.Num), multi.ImageName().trimmed(), incoming->name.trimmed());
    QString note;
    if (incoming && !multiShown)
        note = QStringLiteral("\n\nThe file's Multi is not sent: the SP holds no Multi to replace.");
    // What an edit of each setting would send: its address, the value shown, the file's.
    struct Change {
        int parameter;
        ObjectIO::Value before;
        ObjectIO::Value after;
    };
    QVector<Change> changes;
    for (int parameter = GlobalObject::BankName; parameter <= GlobalObject::MasterTune; ++parameter) {
        const QString before = GlobalObject::ValueText(session.objects.global, parameter);
        const QString after = GlobalObject::ValueText(*values, parameter);
        if (before == after)
            continue;
        changes.append({parameter, GlobalObject::Value(session.objects.global, parameter),
                        GlobalObject::Value(*values, parameter)});
        lines << QStringLiteral("%1: %2 to %3").arg(GlobalDescription::Name(parameter), before, after);
    }
    if (lines.isEmpty()) {
        session.notifier.message(Notifier::Icon::Information, ImportHeading,
                                 QStringLiteral("The SP already holds the settings in %1: nothing was sent.").arg(name) + note);
        return true;
    }
    if (!session.notifier.question(ImportHeading, QStringLiteral("Send the settings in %1 to the SP?\n\n").arg(name)
                                                      + lines.join(QLatin1Char('\n')) + note))
        return false;
    if (session.exchange.refuseIfBusy())
        return false;
    bool accepted = true;
    if (replaceMulti) {
        accepted = session.io.SendWhole(incoming->dump, ObjectIO::Refusals::Tell, multi.Num) == 0;
        if (readBack)
            readBack(KindMulti, multi.Num);
    }
    for (const Change &change : changes)
        accepted = session.io.GlobalUpload(change.parameter, change.before, change.after) && accepted;
    // Read back either way, so the tab shows what the SP holds.
    if (readBack && !changes.isEmpty())
        readBack(KindGlobal, 0);
    return accepted;
}
