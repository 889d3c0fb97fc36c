// The Virtual SP backend: carries each request out at once, then delivers the answers from a
// queue ordered by the time they are due, with one precise timer for the head of the queue.
#include "vsp/VirtualSpBackend.h"

#include "midi/DataFolder.h"
#include "vsp/DiskDrives.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpMemoryFile.h"

#include <QDir>

#include <algorithm>

namespace {

constexpr qint64 NanosecondsPerMs = 1'000'000;
constexpr char SysExEnd = '\xF7';
const QByteArray OurHeader("\xF0\x00\x00\x1B\x02\x05", 6);
constexpr int DeviceIdIndex = 6;

} // namespace

VirtualSpBackend::Options VirtualSpBackend::UserOptions()
{
    const QString folder = DataFolder();
    Options options;
    options.memoryFile = folder + QStringLiteral("/virtual-sp-memory.json");
    options.diskRoot = folder + QStringLiteral("/disks");
    return options;
}

std::unique_ptr<VirtualSpBackend> VirtualSpBackend::ForUser(bool wireTiming)
{
    Options options = UserOptions();
    options.wireTiming = wireTiming;
    options.shipBanks = true;
    return std::make_unique<VirtualSpBackend>(options);
}

QString VirtualSpBackend::Equip(VirtualSp &sp, const Options &options,
                                std::function<void(const QString &why)> saveFailed)
{
    QString warning;
    if (options.memoryFile.isEmpty()) {
        sp.setMemory(Vsp::FactoryBank());
    } else {
        sp.setMemory(Vsp::LoadMemoryOrFactory(options.memoryFile, &warning));
        sp.onChanged = [path = options.memoryFile, saveFailed](const Vsp::SpMemory &memory) {
            QString error;
            if (Vsp::SaveMemory(memory, path, &error)) {
                if (saveFailed)
                    saveFailed(QString());
                return;
            }
            qWarning("The Virtual SP cannot save its memory in %s: %s", qPrintable(path), qPrintable(error));
            if (saveFailed)
                saveFailed(QStringLiteral("The Virtual SP cannot save its memory in %1 (%2). Changes made now "
                                          "are lost when Korvane closes.")
                               .arg(QDir::toNativeSeparators(path), error));
        };
    }
    if (!options.diskRoot.isEmpty()) {
        // Shared so the device's callback can be copied, as std::function requires.
        auto drives = std::make_shared<Vsp::DiskDrives>(options.diskRoot);
        sp.loadBank = [drives, root = options.diskRoot, ship = options.shipBanks](int diskCode, int bank,
                                                                               Vsp::SpMemory &into) mutable {
            // Writing the banks takes milliseconds that a start should not wait for.
            if (ship) {
                Vsp::DiskDrives::InstallShippedBanks(root);
                ship = false;
            }
            QString error;
            return drives->LoadBank(diskCode, bank, into, &error);
        };
    }
    if (!warning.isEmpty())
        qWarning("Virtual SP: %s", qPrintable(warning));
    return warning;
}

VirtualSpBackend::VirtualSpBackend(QObject *parent) : VirtualSpBackend(Options{}, parent) {}

VirtualSpBackend::VirtualSpBackend(const Options &options, QObject *parent)
    : MidiBackend(parent), sp(options.deviceId), timed(options.wireTiming)
{
    warning = Equip(sp, options, [this](const QString &why) {
        // Said once: a user editing on a read-only folder must not get a box for every edit.
        if (why.isEmpty()) {
            saveFailureShown = false;
        } else if (!saveFailureShown) {
            saveFailureShown = true;
            emit memoryNotSaved(why);
        }
    });
    clock.start();
    deliveryTimer.setSingleShot(true);
    deliveryTimer.setTimerType(Qt::PreciseTimer);
    connect(&deliveryTimer, &QTimer::timeout, this, [this] { DeliverDue(); });
}

VirtualSpBackend::~VirtualSpBackend() = default;

bool VirtualSpBackend::openInput(int port, QString *error)
{
    if (port != 0) {
        if (error)
            *error = QStringLiteral("The Virtual SP has one input port");
        return false;
    }
    inputOpen = true;
    return true;
}

bool VirtualSpBackend::openOutput(int port, QString *error)
{
    if (port != 0) {
        if (error)
            *error = QStringLiteral("The Virtual SP has one output port");
        return false;
    }
    outputOpen = true;
    return true;
}

bool VirtualSpBackend::send(const QByteArray &message, QString *error)
{
    if (!outputOpen) {
        if (error)
            *error = QStringLiteral("The Virtual SP output is not open");
        return false;
    }
    record.append({Traffic::In, message});
    const Fault fault = NextFault(message);
    const qint64 now = clock.nsecsElapsed();
    // The SP reads a request only once its last byte has arrived.
    qint64 readyNs = timed ? Transmit(now, message.size()) : now;
    if (fault.kind == Fault::Delay)
        readyNs += std::max(0, fault.value) * NanosecondsPerMs;
    if (fault.kind == Fault::Hold)
        readyNs = HeldNs;
    for (QByteArray &answer : Answer(message, fault)) {
        const qint64 dueNs = timed && readyNs < HeldNs ? Transmit(readyNs, answer.size()) : readyNs;
        Schedule(std::move(answer), dueNs);
    }
    return true;
}

VirtualSpBackend::Fault VirtualSpBackend::NextFault(const QByteArray &request)
{
    if (!queuedFaults.empty()) {
        const Fault fault = queuedFaults.front();
        queuedFaults.pop_front();
        return fault;
    }
    return faultPlan ? faultPlan(request) : Fault{};
}

std::vector<QByteArray> VirtualSpBackend::Answer(const QByteArray &request, const Fault &fault)
{
    if (fault.kind == Fault::Busy || fault.kind == Fault::Status) {
        if (!IsAddressedToUs(request))
            return {};
        const int code = fault.kind == Fault::Busy ? VirtualSp::Busy : fault.value;
        return {sp.StatusMessage(static_cast<uint8_t>(code & 0x7F))};
    }

    std::vector<QByteArray> answers = sp.Receive(request);
    if (answers.empty())
        return answers;
    QByteArray &first = answers.front();
    switch (fault.kind) {
    case Fault::NoAnswer:
        answers.clear();
        break;
    case Fault::Truncate: {
        const qsizetype keep = std::max(1, fault.value);
        if (keep < first.size()) {
            first.truncate(keep - 1);
            first.append(SysExEnd);
        }
        break;
    }
    case Fault::Corrupt: {
        const qsizetype lastData = first.size() - 2;
        const qsizetype index = fault.value > 0 && fault.value <= lastData ? fault.value : lastData;
        if (index > 0)
            first[index] = static_cast<char>(first.at(index) ^ 0x40);
        break;
    }
    default:
        break;
    }
    return answers;
}

qint64 VirtualSpBackend::Transmit(qint64 earliestNs, qsizetype bytes)
{
    // One cable each way, but the SP never talks while it is being talked to: the requests
    // and answers take turns, so one shared wire models it.
    const qint64 startNs = std::max(earliestNs, wireFreeNs);
    const qint64 duration = WireNanoseconds(bytes);
    wireFreeNs = startNs + duration;
    wireBusyNs += duration;
    return wireFreeNs;
}

void VirtualSpBackend::releaseHeld()
{
    const qint64 now = clock.nsecsElapsed();
    for (Pending &p : pending)
        p.dueNs = std::min(p.dueNs, now);
    lastDueNs = std::min(lastDueNs, now);
    ArmTimer();
}

void VirtualSpBackend::deliverFromChain(const QByteArray &bytes)
{
    Schedule(bytes, clock.nsecsElapsed(), true);
}

void VirtualSpBackend::Schedule(QByteArray answer, qint64 dueNs, bool fromChain)
{
    // Never overtake an earlier answer, even when it was delayed.
    lastDueNs = std::max(dueNs, lastDueNs);
    pending.push_back({std::move(answer), lastDueNs, fromChain});
    if (!deliveryTimer.isActive())
        ArmTimer();
}

void VirtualSpBackend::ArmTimer()
{
    if (pending.empty() || pending.front().dueNs >= HeldNs) {
        deliveryTimer.stop(); // a held answer goes only when released
        return;
    }
    // Due times are absolute, so a timer that fires late does not push later answers back.
    // The wait is rounded down and finished off with zero-time passes of the event loop.
    const qint64 remainingNs = pending.front().dueNs - clock.nsecsElapsed();
    deliveryTimer.start(static_cast<int>(std::max<qint64>(0, remainingNs / NanosecondsPerMs)));
}

void VirtualSpBackend::DeliverDue()
{
    while (!pending.empty() && pending.front().dueNs <= clock.nsecsElapsed()) {
        const QByteArray answer = std::move(pending.front().message);
        const bool fromChain = pending.front().fromChain;
        pending.pop_front();
        if (!fromChain)
            record.append({Traffic::Out, answer});
        // A slot may wait in a nested event loop: the rest of the queue must stay armed.
        ArmTimer();
        if (inputOpen)
            emit bytesReceived(answer);
    }
    ArmTimer();
}

bool VirtualSpBackend::IsAddressedToUs(const QByteArray &message) const
{
    if (message.size() <= DeviceIdIndex || !message.startsWith(OurHeader))
        return false;
    const auto id = static_cast<uint8_t>(message.at(DeviceIdIndex));
    return id == sp.deviceId() || id == VirtualSp::BroadcastId;
}
