// The MIDI output port: opens a device of the list and transmits whole messages.
#pragma once

#include "midi/MidiDeviceList.h"

#include <QObject>

class MidiTrace;

class MidiOutput : public QObject {
    Q_OBJECT
public:
    MidiOutput(const MidiDeviceList &devices, MidiTrace &trace, QObject *parent = nullptr);
    ~MidiOutput() override;

    int deviceCount() const { return devices.outputCount(); }
    QString deviceName(int device) const { return devices.outputName(device); }
    int deviceNumber() const { return selected; }
    void setDeviceNumber(int device) { selected = device; }

    bool open(QString *error);
    void stop() {}
    void close();
    int state() const { return backend ? 1 : 0; }

    bool sendLong(const QByteArray &message, QString *error);
    // Sends a channel or system message; only as many data bytes as its status needs go out.
    bool sendShort(uint8_t status, uint8_t data1, uint8_t data2, QString *error);

signals:
    void errorEvent(int code, const QString &text);

private:
    bool send(const QByteArray &message, QString *error);

    const MidiDeviceList &devices;
    MidiTrace &trace;
    MidiBackend *backend = nullptr;
    int selected = 0;
};
