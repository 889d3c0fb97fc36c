// ObjectIO: how the program asks the SP for objects, directories and statuses, and how it
// sends an edited parameter back inside the object's whole dump.
#pragma once

#include "objects/ObjectStore.h"

#include <QByteArray>

#include <variant>

class ExchangeState;
class MidiComms;
class ResponseWait;
struct SpConfig;

class ObjectIO {
public:
    static constexpr uint8_t StatusFormat = 16;
    static constexpr uint8_t DirectoryFormat = 17;
    static constexpr uint8_t GlobalFormat = 18; // no tail
    static constexpr int NamePosition = 20;
    static constexpr int NumberPosition = 14;

    using Value = std::variant<int64_t, QString>;

    ObjectIO(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, const SpConfig &sp, ObjectStore &store);

    // Sends one request and returns the SP's whole answer, or a string shorter than 12
    // characters when there is none.
    QByteArray ReqObjectDump(uint8_t formatCode, const QByteArray &body, const QByteArray &tail);
    // The dump of object `number` of a kind (the Map Zone selector is built by the Map editor).
    QByteArray RequestObject(int kind, int number);

    // Writes `value` at `position` and `width` into the kind's working image and, with `send`,
    // sends a copy of the image to the SP. True when the SP accepted it or nothing was sent.
    bool ObjectUpload(int kind, int16_t objectNumber, const Value &value, int position, int width, bool send);
    // The message ObjectUpload would send, or nothing when the value does not fit its width.
    std::optional<QByteArray> UploadMessage(int kind, int16_t objectNumber, const Value &value, int position,
                                            int width) const;

    // Sends a whole message as the SP sent it (a dump uploads its object, a Global answer sets
    // its value), with the device ID set to ours; returns the status as GetSpResponse does.
    QByteArray SendWhole(QByteArray message);

    // Sends a command body framed for the SP and waits for its status; true on status 0.
    bool SendCommand(const QByteArray &body, int timeoutMs = 5000);

    ObjDirStatus GetObjDirStatus(int kind);
    ObjDir GetObjDir(int kind);

    ObjectStore &store() { return objects; }
    // The error path of every reader: the message, then both flags and lights down.
    void ReportError(const QString &heading, const QString &text);
    uint8_t deviceId() const;

private:
    void Consumed();

    MidiComms &comms;
    ResponseWait &wait;
    ExchangeState &exchange;
    const SpConfig &sp;
    ObjectStore &objects;
};
