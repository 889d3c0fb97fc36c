// The abstract source of MIDI ports: real interfaces, the Virtual SP, or a test's own.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class MidiBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~MidiBackend() override = default;

    virtual QStringList inputPorts() const = 0;
    virtual QStringList outputPorts() const = 0;
    // Asks the driver again which ports are present, for an interface plugged in after start.
    // A port that is open stays open and keeps its name; numbers may move.
    virtual void rescan() {}

    // Port numbers are the backend's own, 0-based. On failure the error text says why.
    virtual bool openInput(int port, QString *error) = 0;
    virtual void closeInput() = 0;
    virtual bool openOutput(int port, QString *error) = 0;
    virtual void closeOutput() = 0;

    // Sends one whole message (a SysEx F0..F7 or a short message).
    virtual bool send(const QByteArray &message, QString *error) = 0;

signals:
    // Raw bytes from the open input port, in whatever pieces the driver delivers them.
    // Always emitted on the GUI thread.
    void bytesReceived(const QByteArray &bytes);
    // A fault reported by the driver while a port is open.
    void errorOccurred(int code, const QString &text);
};
