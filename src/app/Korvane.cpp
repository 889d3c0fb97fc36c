#include "app/Korvane.h"

#include "app/MessageBoxNotifier.h"
#include "midi/Notifier.h"
#include "editors/Session.h"
#include "app/frmMain.h"
#include "app/LibraryMenus.h"
#include "app/frmSplash.h"
#include "midi/RtMidiBackend.h"
#include "settings/Registry.h"
#include "vsp/VirtualSpBackend.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QSettings>

#include <cstdio>

namespace {
const QString NoVirtualSp = QStringLiteral("--no-virtual-sp");
const QString VspWireTiming = QStringLiteral("--vsp-wire-timing");
}

Korvane::Korvane(KorvaneOptions opts) : options(std::move(opts))
{
    if (options.currentDirectory.isEmpty())
        options.currentDirectory = QDir::currentPath();
    if (!options.store) {
        ownStore = std::make_unique<QSettings>(QLatin1String(Registry::Organisation),
                                               QLatin1String(Registry::Application));
        options.store = ownStore.get();
    }
    if (!options.notifier) {
        ownNotifier = std::make_unique<MessageBoxNotifier>();
        options.notifier = ownNotifier.get();
    }
    auto backends = std::move(options.backends);
    const bool withVirtualSp = WantsVirtualSp(options.arguments, *options.store);
    if (backends.empty()) {
        backends = SystemBackends(withVirtualSp, options.arguments.contains(VspWireTiming));
        // Whether any interface was found is told once the main window is built: the ports are
        // listed meanwhile.
        sayWhenNoInterface = withVirtualSp;
        for (const auto &backend : backends) {
            if (const auto *vsp = dynamic_cast<const VirtualSpBackend *>(backend.get()))
                vspWarning = vsp->startupWarning();
        }
    }
    for (const auto &backend : backends) {
        // Told in the window once the exchange that caused it is over, not only on stderr.
        if (auto *vsp = qobject_cast<VirtualSpBackend *>(backend.get())) {
            QObject::connect(
                vsp, &VirtualSpBackend::memoryNotSaved, vsp,
                [notifier = options.notifier](const QString &message) {
                    notifier->message(Notifier::Icon::Critical, QStringLiteral("Korvane Virtual SP"), message);
                },
                Qt::QueuedConnection);
        }
    }
    if (options.tracePath.isEmpty())
        options.tracePath = qEnvironmentVariable(MidiTrace::EnvironmentVariable);
    session_ = std::make_unique<Session>(*options.store, *options.notifier, std::move(backends), options.tracePath);
    // A command-line choice holds for this run only; the stored setting stays as it was.
    session_->settings.VirtualSpEnabled = Registry::ReadVirtualSpEnabled(*options.store);
    session_->wait.setTimeoutCap(options.responseTimeoutCap);
    for (MidiBackend *backend : session_->devices.all()) {
        if (dynamic_cast<const VirtualSpBackend *>(backend))
            session_->devices.setEmulated(backend);
        // RtMidi lists the interfaces once; a fresh one finds those plugged in since.
        if (dynamic_cast<const RtMidiBackend *>(backend))
            session_->devices.setFactory(backend, [] { return std::make_unique<RtMidiBackend>(); });
    }
}

void Korvane::SayWhenNoInterface() const
{
    // The MIDI systems' own complaints about a missing sequencer or server say little to a
    // user; this line says what it means for them.
    for (MidiBackend *backend : session_->devices.all()) {
        if (dynamic_cast<const RtMidiBackend *>(backend) &&
            (!backend->inputPorts().isEmpty() || !backend->outputPorts().isEmpty()))
            return;
    }
    std::fputs("No MIDI interface found: using the Korvane Virtual SP\n", stderr);
}

Korvane::~Korvane()
{
    main.reset();
    splash.reset();
}

bool Korvane::WantsDebugLog(const QStringList &arguments)
{
    const QString line = arguments.join(QLatin1Char(' '));
    return line == QLatin1String("/b") || line == QLatin1String("/B");
}

bool Korvane::WantsVirtualSp(const QStringList &arguments, QSettings &store)
{
    return !arguments.contains(NoVirtualSp) && Registry::ReadVirtualSpEnabled(store);
}

std::vector<std::unique_ptr<MidiBackend>> Korvane::SystemBackends(bool withVirtualSp, bool wireTiming)
{
    std::vector<std::unique_ptr<MidiBackend>> backends;
    // Real interfaces first, so a connected SP is device 0 and chosen on a first start.
    backends.push_back(std::make_unique<RtMidiBackend>());
    if (withVirtualSp)
        backends.push_back(VirtualSpBackend::ForUser(wireTiming));
    return backends;
}

LinkStartup::Outcome Korvane::start()
{
    Session &s = *session_;
    s.settings.HomeDirectory = Registry::ReadHomeDirectory(s.store, options.currentDirectory);
    if (WantsDebugLog(options.arguments)) {
        if (s.log.open(s.settings.HomeDirectory))
            s.log.write(QStringLiteral("frmSplash_load(): Debug initiated."));
        else
            qWarning("Cannot write the debug log in %s", qPrintable(s.settings.HomeDirectory));
    }
    s.log.write(QStringLiteral("frmSplash_load(): CP"));

    splash = std::make_unique<frmSplash>();
    s.log.write(QStringLiteral("frmSplash_load(): Displaying Splash."));
    splash->show();
    splash->repaint();

    s.log.write(QStringLiteral("frmSplash_load(): Loading main form."));
    main = std::make_unique<frmMain>(s, nullptr, options.pagesWhenShown);
    if (QMenu *file = main->findChild<QMenu *>(QStringLiteral("mnuFile")))
        LibraryMenus::Install(*main, s, file, options.libraryPath);
    if (auto *boxes = dynamic_cast<MessageBoxNotifier *>(&s.notifier))
        boxes->setParentWindow(main.get());
    if (sayWhenNoInterface)
        SayWhenNoInterface();
    const LinkStartup::Outcome outcome = main->Load();
    splash->close();
    splash.reset();
    if (outcome == LinkStartup::Outcome::Fatal) {
        s.log.close(); // the program ends here: nothing more happens to log
        return outcome;
    }
    if (s.log.isOn()) {
        s.log.write(QStringLiteral("frmMain_load(): Loading Main Screen."));
        s.log.close();
    }
    main->show();
    if (!vspWarning.isEmpty())
        s.notifier.message(Notifier::Icon::Information, QStringLiteral("Korvane Virtual SP"), vspWarning);
    return outcome;
}
