// Real MIDI interfaces through RtMidi: ALSA and JACK on Linux, WinMM on Windows, CoreMIDI on
// macOS. Every MIDI system compiled in that works on the machine offers its ports, so a machine
// with a JACK server but no ALSA sequencer still finds them; one without any lists no ports.
// What is sent leaves at the MIDI cable's pace, so no MIDI system drops part of a burst.
#pragma once

#include "midi/MidiBackend.h"

#include <QString>

#include <future>
#include <memory>
#include <vector>

class MidiWirePacer;

class RtMidiBackend : public MidiBackend {
    Q_OBJECT
public:
    explicit RtMidiBackend(QObject *parent = nullptr);
    ~RtMidiBackend() override;

    QStringList inputPorts() const override
    {
        awaitPorts();
        return inputs;
    }
    QStringList outputPorts() const override
    {
        awaitPorts();
        return outputs;
    }
    bool openInput(int port, QString *error) override;
    void closeInput() override;
    bool openOutput(int port, QString *error) override;
    void closeOutput() override;
    // Returns at once. A message the cable cannot take yet waits for it; when RtMidi later
    // refuses it, the fault arrives as errorOccurred. Closing the output drops what waits.
    bool send(const QByteArray &message, QString *error) override;

    // Software loopbacks and built-in synthesisers are never an SP: they are not offered, so a
    // machine without an interface starts on the Virtual SP.
    static bool IsSoftwarePort(const QString &name);
    // ALSA appends client:port numbers that change when an interface is plugged in again; the
    // stored device name must survive that.
    static QString StableName(const QString &name);
    // The name offered for a port of a MIDI system: the first system compiled in (ALSA,
    // CoreMIDI, WinMM) keeps its plain names, as it always has; the others' carry the system's
    // name ("JACK: ..."), so the same port seen through two systems is never ambiguous and a
    // stored name means the same port on every start.
    static QString OfferedName(const QString &system, const QString &name);

    // WinMM's input buffers: each holds more than the largest SP message (a Map of 64 zones,
    // 2164 bytes), and enough of them wait for a burst of dumps.
    static constexpr unsigned SysExBufferBytes = 4096;
    static constexpr unsigned SysExBufferCount = 16;
    // What RtMidi calls on its own thread with each message or piece of one it receives.
    using InputCallback = void (*)(double deltaTime, std::vector<unsigned char> *message, void *backend);
    static InputCallback DriverInput() { return &OnInput; }

    // Called on RtMidi's thread; real errors reach the user as a driver error.
    void ReportDriverError(bool warning, int code, const QString &text);

    // One MIDI system's RtMidi objects, and where an offered port lives among them.
    struct System;
    struct PortRef {
        size_t system;
        unsigned number; // RtMidi's number of the port
    };

private:
    void ListSystems();
    void awaitPorts() const;
    static void OnInput(double deltaTime, std::vector<unsigned char> *message, void *self);
    bool Transmit(const QByteArray &message, QString *error);

    std::vector<std::unique_ptr<System>> systems;
    QStringList inputs;
    QStringList outputs;
    std::vector<PortRef> inputRefs;
    std::vector<PortRef> outputRefs;
    System *openIn = nullptr;
    System *openOut = nullptr;
    std::unique_ptr<MidiWirePacer> pacer;
    int sendErrorCode = 0; // of the latest message RtMidi refused
    // Listing runs on its own thread from construction; every member above is written only
    // there until awaitPorts() has taken its end.
    mutable std::future<void> listing;
};
