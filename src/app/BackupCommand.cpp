#include "app/BackupCommand.h"

#include "app/HeadlessKorvane.h"
#include "app/ProgressSteps.h"
#include "app/Korvane.h"
#include "editors/Session.h"
#include "app/frmCompare.h"
#include "app/frmMain.h"
#include "app/frmProgress.h"
#include "midi/Notifier.h"
#include "objects/BackupTransfer.h"
#include "editors/Compare.h"
#include "vsp/SpBackupFile.h"
#include "vsp/VirtualSpBackend.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace BackupCommand {

namespace {

const QString BackupCaption = QStringLiteral("Back Up SP");
const QString RestoreCaption = QStringLiteral("Restore from Backup");
const QString CompareCaption = QStringLiteral("Compare Backup");
const QString FileFilter = QStringLiteral("SysEx files (*.syx);;All files (*)");

Outcome Failed(const QString &text)
{
    return {Result::Failed, text};
}


std::optional<Outcome> RefuseToStart(Session &session)
{
    if (!session.link.isOnline())
        return Failed(QStringLiteral("The SP is offline: nothing was read or sent."));
    if (session.exchange.refuseIfBusy())
        return Outcome{Result::Failed, QStringLiteral("The SP is busy: try again when it has answered.")};
    return std::nullopt;
}

std::optional<Backup::Contents> ReadFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    const Backup::ReadResult read = Backup::Parse(file.readAll());
    if (!read.contents)
        *error = QStringLiteral("%1 is not a backup that can be used: %2")
                     .arg(QFileInfo(path).fileName(), read.error);
    return read.contents;
}

void ReadEverythingAgain(const WindowServices &main, ProgressSteps &progress)
{
    progress.text(QStringLiteral("Downloading SP Data..."));
    main.ReadEverything();
    main.redisplay();
}

void Tell(Session &session, const QString &caption, const Outcome &outcome)
{
    if (outcome.result == Result::Declined || outcome.text.isEmpty())
        return;
    session.notifier.message(outcome.result == Result::Failed ? Notifier::Icon::Critical : Notifier::Icon::Information,
                             caption, outcome.text);
}

} // namespace

Outcome Backup(const WindowServices &main, Session &session, const QString &path, bool showProgress)
{
    if (const auto refused = RefuseToStart(session))
        return *refused;
    ProgressSteps progress(main, BackupCaption, showProgress);
    const BackupTransfer::ReadOutcome read = BackupTransfer::ReadSp(session.io, progress.step());
    progress.close();
    if (read.cancelled || progress.cancelled)
        return {Result::Cancelled, QStringLiteral("The backup was cancelled; no file was written.")};
    if (!read.contents)
        return Failed(read.error + QStringLiteral(" No file was written."));
    // Written whole or not at all: an older backup of the same name survives a failed write.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Backup::Write(*read.contents)) < 0 || !file.commit())
        return Failed(QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return {Result::Done, QStringLiteral("Backed up %1 objects and the Global settings to %2.")
                              .arg(read.contents->objects.size())
                              .arg(QDir::toNativeSeparators(path))};
}

Outcome Restore(const WindowServices &main, Session &session, const QString &path, bool ask, bool showProgress)
{
    QString error;
    const auto file = ReadFile(path, &error);
    if (!file)
        return Failed(error + QStringLiteral("\nNothing was sent to the SP."));
    if (const auto refused = RefuseToStart(session))
        return *refused;
    ProgressSteps progress(main, RestoreCaption, showProgress);
    const BackupTransfer::ReadOutcome held = BackupTransfer::ReadSp(session.io, progress.step());
    if (held.cancelled || progress.cancelled)
        return {Result::Cancelled, QStringLiteral("The restore was cancelled; nothing was sent to the SP.")};
    if (!held.contents)
        return Failed(held.error + QStringLiteral(" Nothing was sent to the SP."));
    const BackupTransfer::Plan plan = BackupTransfer::PlanRestore(*file, *held.contents);
    if (plan.nothingToDo())
        return {Result::Done, BackupTransfer::Summary(plan)};
    if (ask) {
        progress.close();
        if (!session.notifier.question(RestoreCaption, BackupTransfer::Summary(plan)))
            return {Result::Declined, QStringLiteral("Nothing was sent to the SP.")};
        progress.reopen(main);
    }
    const BackupTransfer::UploadOutcome sent = BackupTransfer::Upload(session.io, plan, progress.step());
    if (session.link.isOnline())
        ReadEverythingAgain(main, progress);
    progress.close();
    const QString report = BackupTransfer::Report(plan, sent);
    if (sent.cancelled)
        return {Result::Cancelled, report};
    return {sent.refused.isEmpty() ? Result::Done : Result::Failed, report};
}

VirtualSpBackend *VirtualSpInUse(Session &session)
{
    const MidiOutput &output = session.comms.output();
    if (!output.state() || output.deviceName(output.deviceNumber()) != QLatin1String(VirtualSpBackend::PortName))
        return nullptr;
    for (MidiBackend *backend : session.devices.all()) {
        if (auto *vsp = qobject_cast<VirtualSpBackend *>(backend))
            return vsp;
    }
    return nullptr;
}

Outcome VspLoadBackup(const WindowServices &main, Session &session, const QString &path)
{
    VirtualSpBackend *vsp = VirtualSpInUse(session);
    if (!vsp)
        return Failed(QStringLiteral("The Virtual SP is not the device in use."));
    Vsp::SpMemory memory = vsp->device().memory();
    QString error;
    if (!Vsp::LoadBackup(path, memory, &error))
        return Failed(QStringLiteral("The Virtual SP cannot load %1: %2").arg(QFileInfo(path).fileName(), error));
    vsp->device().setMemory(memory);
    if (vsp->device().onChanged)
        vsp->device().onChanged(vsp->device().memory());
    main.ReadEverything();
    main.redisplay();
    return {Result::Done, QStringLiteral("The Virtual SP now holds %1.").arg(QFileInfo(path).fileName())};
}

Outcome VspSaveBackup(Session &session, const QString &path)
{
    VirtualSpBackend *vsp = VirtualSpInUse(session);
    if (!vsp)
        return Failed(QStringLiteral("The Virtual SP is not the device in use."));
    QString error;
    if (!Vsp::SaveBackup(vsp->device().memory(), path, &error))
        return Failed(QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), error));
    return {Result::Done, QStringLiteral("The Virtual SP's memory was saved to %1.").arg(QDir::toNativeSeparators(path))};
}

frmCompare *ShowCompare(const WindowServices &main, Session &session, const QStringList &paths)
{
    if (paths.isEmpty() || paths.size() > 2)
        return nullptr;
    QString error;
    const auto first = ReadFile(paths.at(0), &error);
    if (!first) {
        session.notifier.message(Notifier::Icon::Critical, CompareCaption, error);
        return nullptr;
    }
    std::optional<Backup::Contents> second;
    QString secondTitle = QStringLiteral("SP");
    if (paths.size() == 2) {
        second = ReadFile(paths.at(1), &error);
        secondTitle = QFileInfo(paths.at(1)).fileName();
    } else if (const auto refused = RefuseToStart(session)) {
        error = refused->text;
    } else {
        ProgressSteps progress(main, CompareCaption, true);
        const BackupTransfer::ReadOutcome held = BackupTransfer::ReadSp(session.io, progress.step());
        second = held.contents;
        if (!held.contents)
            error = held.cancelled ? QString() : held.error;
    }
    if (!second) {
        if (!error.isEmpty())
            session.notifier.message(Notifier::Icon::Critical, CompareCaption, error);
        return nullptr;
    }
    auto *window = new frmCompare(QFileInfo(paths.at(0)).fileName(), secondTitle, Compare::Differences(*first, *second),
                                  &main.window);
    window->setWindowFlag(Qt::Window);
    window->show();
    return window;
}

void InstallMenus(frmMain &main, Session &session, QMenu *file, QMenu *tools)
{
    const auto add = [](QMenu *menu, QAction *before, const QString &caption, const char *name) {
        auto *action = new QAction(caption, menu);
        action->setObjectName(QLatin1String(name));
        menu->insertAction(before, action);
        return action;
    };
    // Beside the other memory operations, above Exit.
    QAction *before = nullptr;
    const QList<QAction *> actions = file->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (actions[i]->objectName() == QLatin1String("mnuExit"))
            before = i > 0 && actions[i - 1]->isSeparator() ? actions[i - 1] : actions[i];
    }
    const QString home = session.settings.HomeDirectory;
    QObject::connect(add(file, before, QStringLiteral("&Back Up SP..."), "mnuBackup"), &QAction::triggered, &main,
                     [&main, &session, home] {
                         const QString path = QFileDialog::getSaveFileName(&main, BackupCaption, home, FileFilter);
                         if (!path.isEmpty())
                             Tell(session, BackupCaption, Backup(main.services(), session, path));
                     });
    QObject::connect(add(file, before, QStringLiteral("&Restore from Backup..."), "mnuRestore"), &QAction::triggered,
                     &main, [&main, &session, home] {
                         const QString path = QFileDialog::getOpenFileName(&main, RestoreCaption, home, FileFilter);
                         if (!path.isEmpty())
                             Tell(session, RestoreCaption, Restore(main.services(), session, path));
                     });
    QObject::connect(add(file, before, QStringLiteral("&Compare Backup..."), "mnuCompare"), &QAction::triggered, &main,
                     [&main, &session, home] {
                         // One file is compared with the SP, two with each other.
                         const QStringList paths = QFileDialog::getOpenFileNames(&main, CompareCaption, home, FileFilter);
                         if (!paths.isEmpty())
                             ShowCompare(main.services(), session, paths.mid(0, 2));
                     });

    QAction *load = add(tools, nullptr, QStringLiteral("Virtual SP: Load Backup..."), "mnuVspLoadBackup");
    QAction *save = add(tools, nullptr, QStringLiteral("Virtual SP: Save as Backup..."), "mnuVspSaveBackup");
    const auto update = [&session, load, save] {
        const bool shown = VirtualSpInUse(session) != nullptr;
        load->setVisible(shown);
        save->setVisible(shown);
    };
    update();
    QObject::connect(tools, &QMenu::aboutToShow, &main, update);
    QObject::connect(load, &QAction::triggered, &main, [&main, &session, home] {
        const QString path = QFileDialog::getOpenFileName(&main, QStringLiteral("Virtual SP: Load Backup"), home, FileFilter);
        if (!path.isEmpty())
            Tell(session, QStringLiteral("Korvane Virtual SP"), VspLoadBackup(main.services(), session, path));
    });
    QObject::connect(save, &QAction::triggered, &main, [&main, &session, home] {
        const QString path = QFileDialog::getSaveFileName(&main, QStringLiteral("Virtual SP: Save as Backup"), home, FileFilter);
        if (!path.isEmpty())
            Tell(session, QStringLiteral("Korvane Virtual SP"), VspSaveBackup(session, path));
    });
}

int RunFromCommandLine(const QStringList &arguments)
{
    const qsizetype backupAt = arguments.indexOf(QStringLiteral("--backup"));
    const qsizetype restoreAt = arguments.indexOf(QStringLiteral("--restore"));
    if (backupAt < 0 && restoreAt < 0)
        return -1;
    const qsizetype at = backupAt >= 0 ? backupAt : restoreAt;
    const QString path = arguments.value(at + 1);
    QTextStream out(stdout);
    if (path.isEmpty() || (backupAt >= 0 && restoreAt >= 0)) {
        QTextStream(stderr) << "korvane: --backup FILE or --restore FILE, one at a time" << Qt::endl;
        return 2;
    }
    HeadlessKorvane korvane(arguments);
    const HeadlessKorvane::Start started = korvane.start();
    if (started != HeadlessKorvane::Start::Online) {
        if (started == HeadlessKorvane::Start::Offline)
            out << "The SP did not answer: nothing was read or sent." << Qt::endl;
        return 1;
    }
    frmMain &main = korvane.main();
    Session &session = korvane.session();
    const Outcome outcome =
        backupAt >= 0 ? Backup(main.services(), session, path, false)
                       : Restore(main.services(), session, path, false, false);
    out << outcome.text << Qt::endl;
    return outcome.result == Result::Done ? 0 : 1;
}

} // namespace BackupCommand
