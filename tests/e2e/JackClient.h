// A JACK MIDI client of a test's own, straight on RtMidi: a third program on the same MIDI
// system, which sends as fast as it likes and keeps every whole message it receives.
#pragma once

#include <rtmidi/RtMidi.h>

#include <QByteArray>
#include <QList>

#include <mutex>
#include <string>
#include <vector>

class JackClient {
public:
    explicit JackClient(const char *name) : in(RtMidi::UNIX_JACK, name), out(RtMidi::UNIX_JACK, name)
    {
        in.ignoreTypes(false, false, false);
        in.setCallback(&JackClient::OnInput, this);
    }
    JackClient(const JackClient &) = delete;
    JackClient &operator=(const JackClient &) = delete;

    // Connects to the first port whose name contains `part`; false when there is none.
    bool connectOutput(const std::string &part) { return Connect(out, part, "to"); }
    bool connectInput(const std::string &part) { return Connect(in, part, "from"); }
    // An input port of its own that other programs send to, "<client name>:<port>".
    void offerInput(const std::string &port) { in.openVirtualPort(port); }

    // Straight into RtMidi, with no pause of any kind.
    void send(const QByteArray &message)
    {
        out.sendMessage(reinterpret_cast<const unsigned char *>(message.constData()), static_cast<size_t>(message.size()));
    }

    QList<QByteArray> received()
    {
        std::lock_guard<std::mutex> lock(guard);
        return messages;
    }

private:
    static bool Connect(RtMidi &port, const std::string &part, const std::string &as)
    {
        for (unsigned i = 0; i < port.getPortCount(); ++i) {
            if (port.getPortName(i).find(part) != std::string::npos) {
                port.openPort(i, as);
                return true;
            }
        }
        return false;
    }

    // RtMidi's thread.
    static void OnInput(double, std::vector<unsigned char> *message, void *self)
    {
        auto *client = static_cast<JackClient *>(self);
        std::lock_guard<std::mutex> lock(client->guard);
        client->messages << QByteArray(reinterpret_cast<const char *>(message->data()),
                                       static_cast<qsizetype>(message->size()));
    }

    RtMidiIn in;
    RtMidiOut out;
    std::mutex guard;
    QList<QByteArray> messages;
};
