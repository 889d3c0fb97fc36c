// Real MIDI interfaces through RtMidi: ALSA or JACK on Linux, WinMM on Windows, CoreMIDI on
// macOS. A machine without a MIDI system simply lists no ports.
#pragma once

#include "midi/MidiBackend.h"

#include <memory>

class RtMidiIn;
class RtMidiOut;

class RtMidiBackend : public MidiBackend {
    Q_OBJECT
public:
    explicit RtMidiBackend(QObject *parent = nullptr);
    ~RtMidiBackend() override;

    QStringList inputPorts() const override { return inputs; }
    QStringList outputPorts() const override { return outputs; }
    bool openInput(int port, QString *error) override;
    void closeInput() override;
    bool openOutput(int port, QString *error) override;
    void closeOutput() override;
    bool send(const QByteArray &message, QString *error) override;

    // Software loopbacks and built-in synthesisers are never an SP: they are not offered, so a
    // machine without an interface starts on the Virtual SP.
    static bool IsSoftwarePort(const QString &name);
    // ALSA appends client:port numbers that change when an interface is plugged in again; the
    // stored device name must survive that.
    static QString StableName(const QString &name);

    // Called on RtMidi's thread; real errors reach the user as a driver error.
    void ReportDriverError(bool warning, int code, const QString &text);

private:
    static void OnInput(double deltaTime, std::vector<unsigned char> *message, void *self);

    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    QStringList inputs;
    QStringList outputs;
    std::vector<unsigned> inputPortNumbers;  // RtMidi's numbers of the ports offered
    std::vector<unsigned> outputPortNumbers;
};
