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
    bool connectOutput(const std::string &part)
    {
        for (unsigned i = 0; i < out.getPortCount(); ++i) {
            if (out.getPortName(i).find(part) != std::string::npos) {
                out.openPort(i, "to");
                return true;
            }
        }
        return false;
    }
    bool connectInput(const std::string &part)
    {
        for (unsigned i = 0; i < in.getPortCount(); ++i) {
            if (in.getPortName(i).find(part) != std::string::npos) {
                in.openPort(i, "from");
                return true;
            }
        }
        return false;
    }
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
    qsizetype receivedCount()
    {
        std::lock_guard<std::mutex> lock(guard);
        return messages.size();
    }

private:
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
