// The Virtual SP offered as a MIDI device pair "Korvane Virtual SP". Answers are delivered
// through the event loop, as a real interface's would be, so the program's wait is exercised.
#pragma once

#include "midi/MidiBackend.h"
#include "vsp/VirtualSp.h"

class VirtualSpBackend : public MidiBackend {
    Q_OBJECT
public:
    static constexpr const char *PortName = "Korvane Virtual SP";

    explicit VirtualSpBackend(QObject *parent = nullptr);

    QStringList inputPorts() const override { return {QString::fromLatin1(PortName)}; }
    QStringList outputPorts() const override { return {QString::fromLatin1(PortName)}; }
    bool openInput(int port, QString *error) override;
    void closeInput() override { inputOpen = false; }
    bool openOutput(int port, QString *error) override;
    void closeOutput() override { outputOpen = false; }
    bool send(const QByteArray &message, QString *error) override;

    VirtualSp &device() { return sp; }

private:
    VirtualSp sp;
    bool inputOpen = false;
    bool outputOpen = false;
};
