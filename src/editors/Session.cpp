#include "editors/Session.h"

Session::Session(QSettings &store, Notifier &notifier, std::vector<std::unique_ptr<MidiBackend>> backends,
                 const QString &tracePath)
    : store(store), notifier(notifier), trace(tracePath),
      comms(devices, settings.ports, exchange, notifier, log, trace),
      wait(comms, exchange, link, settings.sp), frontPanel(comms, wait, exchange, link, settings.sp),
      io(comms, wait, exchange, settings.sp, objects)
{
    for (auto &backend : backends)
        devices.add(std::move(backend));
}

Session::~Session()
{
    wait.abort();
    comms.ClosePorts();
}
