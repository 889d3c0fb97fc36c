// SPfrontEnd: the twelve front-panel keys pressed remotely. A press the SP answers also brings
// an offline link back online.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class ExchangeState;
class LinkState;
class MidiComms;
class ResponseWait;
struct SpConfig;

class FrontPanel : public QObject {
    Q_OBJECT
public:
    struct Key {
        int index;
        const char *caption;
        int row, column;
    };
    static constexpr int KeyCount = 12;
    static constexpr int PresetKey = 3;
    static constexpr int ExecKey = 7;
    // The buttons in their places on the window, first row then second.
    static const std::array<Key, KeyCount> &Layout();
    // Indexes 0 to 3 send their codes reversed; 4 to 11 send their own index.
    static int KeyCode(int index);
    static QByteArray KeyMessage(uint8_t deviceId, int keyCode);

    FrontPanel(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, LinkState &link, const SpConfig &sp,
               QObject *parent = nullptr);

    // cmdPushButton's click: sends the key, waits for the SP's status and returns it
    // ("0" on success, "65" on time-out, empty when nothing was sent).
    QByteArray Press(int index);

private:
    MidiComms &comms;
    ResponseWait &wait;
    ExchangeState &exchange;
    LinkState &link;
    const SpConfig &sp;
};
