// The Virtual SP offered as a MIDI device pair "Korvane Virtual SP". Answers are delivered
// through the event loop, as a real interface's would be, so the program's wait is exercised;
// optionally at the pace of a real MIDI cable, with faults injected, keeping a record of traffic.
#pragma once

#include "midi/MidiBackend.h"
#include "vsp/VirtualSp.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>

#include <deque>
#include <limits>
#include <functional>
#include <memory>

class VirtualSpBackend : public MidiBackend {
    Q_OBJECT
public:
    static constexpr const char *PortName = "Korvane Virtual SP";

    // MIDI runs at 31250 baud with a start and a stop bit around each byte: 320 us a byte.
    static constexpr qint64 BaudRate = 31250;
    static constexpr qint64 BitsPerByte = 10;
    static constexpr qint64 WireNanoseconds(qint64 bytes) { return bytes * BitsPerByte * 1'000'000'000 / BaudRate; }

    struct Options {
        QString memoryFile; // empty: the factory bank, nothing saved
        QString diskRoot;   // empty: no disk drive answers
        bool wireTiming = false;
        uint8_t deviceId = VirtualSp::BroadcastId;
        // The demo banks are put on an empty floppy when a bank is first loaded, not at start.
        bool shipBanks = false;
    };
    // The user's own Virtual SP: memory and disks kept in the program's data folder.
    static Options UserOptions();
    // The backend the running program offers: UserOptions, with the shipped disk banks.
    static std::unique_ptr<VirtualSpBackend> ForUser(bool wireTiming = false);

    // Gives `sp` the memory and disks the options name, saving after every change when there
    // is a memory file. Returns a warning about the memory file, or an empty string.
    // `saveFailed` hears why a save failed, each time one does.
    static QString Equip(VirtualSp &sp, const Options &options,
                         std::function<void(const QString &why)> saveFailed = {});

    struct Traffic {
        enum Direction { In, Out }; // In: into the SP, Out: an answer from it
        Direction direction;
        QByteArray message;
        bool operator==(const Traffic &) const = default;
    };

    // What goes wrong with the answer to one request:
    //  NoAnswer  the SP carries the request out but its answers are lost;
    //  Delay     the answers leave `value` ms later (later answers wait behind them);
    //  Busy      the SP does not carry the request out and answers status 9;
    //  Status    the SP does not carry the request out and answers status `value`;
    //  Truncate  the first answer is cut to `value` bytes, the last of them F7;
    //  Corrupt   bit 6 of byte `value` of the first answer is flipped, so a data nibble reads
    //            above 15 (value <= 0 or past the end: the last byte before F7);
    //  Hold      the answers wait until releaseHeld() (later answers wait behind them), as
    //            from an SP that answers after the program has stopped waiting.
    // Busy and Status affect only messages addressed to this SP; the others stay unanswered.
    struct Fault {
        enum Kind { None, NoAnswer, Delay, Busy, Status, Truncate, Corrupt, Hold };
        Kind kind = None;
        int value = 0;
    };
    using FaultPlan = std::function<Fault(const QByteArray &request)>;

    explicit VirtualSpBackend(QObject *parent = nullptr);
    explicit VirtualSpBackend(const Options &options, QObject *parent = nullptr);
    ~VirtualSpBackend() override;

    QStringList inputPorts() const override { return {QString::fromLatin1(PortName)}; }
    QStringList outputPorts() const override { return {QString::fromLatin1(PortName)}; }
    bool openInput(int port, QString *error) override;
    void closeInput() override { inputOpen = false; }
    bool openOutput(int port, QString *error) override;
    void closeOutput() override { outputOpen = false; }
    bool send(const QByteArray &message, QString *error) override;

    VirtualSp &device() { return sp; }
    const QString &startupWarning() const { return warning; }

signals:
    // The memory could not be saved; emitted once, until a save succeeds again.
    void memoryNotSaved(const QString &message);

public:

    // An answer is recorded when it leaves the SP, whether or not the input port is open.
    const QList<Traffic> &traffic() const { return record; }
    void clearTraffic() { record.clear(); }

    // Faults queued here apply to the next requests, one each, before the plan is asked.
    void injectFault(Fault fault) { queuedFaults.push_back(fault); }
    void setFaultPlan(FaultPlan plan) { faultPlan = std::move(plan); }
    // Lets held answers go, in order, through the event loop.
    void releaseHeld();
    // Another device on the same MIDI chain: its bytes reach the program's input after the
    // answers already on their way, as a merger would pass them on. Not the SP's traffic.
    void deliverFromChain(const QByteArray &bytes);

    bool wireTiming() const { return timed; }
    // How long the simulated cable has carried bytes in both directions so far.
    qint64 simulatedWireNanoseconds() const { return wireBusyNs; }
    // When the latest answer was due, on the backend's own clock (ns since it was made).
    qint64 lastAnswerDueNanoseconds() const { return lastDueNs; }
    qint64 clockNanoseconds() const { return clock.nsecsElapsed(); }
    int answersPending() const { return static_cast<int>(pending.size()); }

private:
    struct Pending {
        QByteArray message;
        qint64 dueNs;
        bool fromChain = false;
    };
    static constexpr qint64 HeldNs = std::numeric_limits<qint64>::max() / 4;

    Fault NextFault(const QByteArray &request);
    std::vector<QByteArray> Answer(const QByteArray &request, const Fault &fault);
    qint64 Transmit(qint64 earliestNs, qsizetype bytes);
    void Schedule(QByteArray answer, qint64 dueNs, bool fromChain = false);
    void ArmTimer();
    void DeliverDue();
    bool IsAddressedToUs(const QByteArray &message) const;

    VirtualSp sp;
    QString warning;
    bool timed = false;
    bool saveFailureShown = false;
    bool inputOpen = false;
    bool outputOpen = false;

    QList<Traffic> record;
    std::deque<Fault> queuedFaults;
    FaultPlan faultPlan;

    QElapsedTimer clock;
    QTimer deliveryTimer;
    std::deque<Pending> pending; // in delivery order, due times never decreasing
    qint64 wireFreeNs = 0;       // when the cable is next idle
    qint64 wireBusyNs = 0;
    qint64 lastDueNs = 0;
};
