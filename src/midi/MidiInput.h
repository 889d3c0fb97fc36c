// The MIDI input port: opens a device of the list, joins what arrives into whole messages
// and keeps them in a receive queue that the program reads one message at a time.
#pragma once

#include "midi/MidiDeviceList.h"
#include "midi/MidiStreamParser.h"

#include <QObject>

#include <deque>

class MidiTrace;

class MidiInput : public QObject {
    Q_OBJECT
public:
    enum State { Closed = 0, Open = 1, Started = 2 };
    // A flood of messages nobody reads must not eat memory.
    static constexpr int MaxQueued = 4096;

    MidiInput(const MidiDeviceList &devices, MidiTrace &trace, QObject *parent = nullptr);
    ~MidiInput() override;

    int deviceCount() const { return devices.inputCount(); }
    QString deviceName(int device) const { return devices.inputName(device); }
    int deviceNumber() const { return selected; }
    void setDeviceNumber(int device) { selected = device; }

    bool open(QString *error);
    void start() { if (state_ == Open) state_ = Started; }
    void stop() { if (state_ == Started) state_ = Open; }
    void close();
    int state() const { return state_; }

    void setFilter(uint8_t status, bool filtered) { parser.setFiltered(status, filtered); }
    bool filter(uint8_t status) const { return parser.isFiltered(status); }

    int queuedCount() const { return static_cast<int>(queue.size()); }
    // The head message: a whole SysEx, or a short message as three bytes.
    QByteArray head() const { return queue.empty() ? QByteArray() : queue.front(); }
    void discardHead() { if (!queue.empty()) queue.pop_front(); }

signals:
    void messagesArrived();
    void errorEvent(int code, const QString &text);

private:
    void onBytes(const QByteArray &bytes);

    const MidiDeviceList &devices;
    MidiTrace &trace;
    MidiStreamParser parser;
    MidiBackend *backend = nullptr;
    int selected = 0;
    State state_ = Closed;
    std::deque<QByteArray> queue;
};
