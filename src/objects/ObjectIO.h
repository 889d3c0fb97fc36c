// ObjectIO: how the program asks the SP for objects, directories and statuses, and how it
// sends an edited parameter back inside the object's whole dump.
#pragma once

#include "objects/ObjectStore.h"

#include <QByteArray>
#include <QList>

#include <functional>
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

    // One parameter as an accepted upload changed it, by address only, so that either value can
    // be sent again later whatever the window shows by then.
    struct ParameterEdit {
        int kind = 0;         // 0 to 6; KindGlobal with `position` the setting's own address
        int16_t number = 0;   // the object's number (the Map's for header and zone edits)
        int position = 0;
        int width = 0;
        Value before;
        Value after;
        int zoneNote = -1;    // Map Zone: a note of the zone that the edit leaves inside it
    };
    // Told of every accepted edit: the writes made into the image since the last upload, then
    // the value that upload carried.
    using EditRecorder = std::function<void(const QList<ParameterEdit> &)>;
    void setEditRecorder(EditRecorder recorder) { this->recorder = std::move(recorder); }
    // Who sends an upload: an edit, which the recorder is told of once the SP took it, or the
    // history sending a recorded edit again (undo, redo), which records nothing.
    enum class Source { Edit, History };

    ObjectIO(MidiComms &comms, ResponseWait &wait, ExchangeState &exchange, const SpConfig &sp, ObjectStore &store);

    // Sends one request and returns the SP's whole answer, or a string shorter than 12
    // characters when there is none.
    QByteArray ReqObjectDump(uint8_t formatCode, const QByteArray &body, const QByteArray &tail);
    // The dump of object `number` of a kind (the Map Zone selector is built by the Map editor).
    QByteArray RequestObject(int kind, int number);

    // Writes `value` at `position` and `width` into the kind's working image and, with `send`,
    // sends a copy of the image to the SP. True when the SP accepted it or nothing was sent.
    bool ObjectUpload(int kind, int16_t objectNumber, const Value &value, int position, int width, bool send,
                      Source source = Source::Edit);
    // The message ObjectUpload would send, or nothing when the value does not fit its width.
    std::optional<QByteArray> UploadMessage(int kind, int16_t objectNumber, const Value &value, int position,
                                            int width) const;

    // How the SP's refusal of a whole message is told: at once, as any refused upload is, or
    // only to the caller, which gathers the refusals of a long run into one report.
    enum class Refusals { Tell, Collect };
    static constexpr int KeepNumber = -1;
    // Sends a whole message as the SP sent it (a dump uploads its object, a Global answer sets
    // its value) with the device ID set to ours and, given a `number`, that object number
    // written into the dump. Returns the SP's status code (0: taken), SpStatus::TimedOut when
    // it did not answer, or -1 when nothing could be sent or the answer could not be read.
    int SendWhole(QByteArray message, Refusals refusals, int number = KeepNumber);
    // The value a kind's working image holds at a position (the current zone's for Map Zone).
    std::optional<Value> ImageValue(int kind, int position, int width) const;
    // Sends one Global setting by its address; recorded like any upload once the SP took it.
    bool GlobalUpload(int parameter, const Value &before, const Value &after, Source source = Source::Edit);
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
    void Record(QList<ParameterEdit> edits, Source source);

    MidiComms &comms;
    ResponseWait &wait;
    ExchangeState &exchange;
    const SpConfig &sp;
    ObjectStore &objects;
    EditRecorder recorder;
    QList<ParameterEdit> pendingEdits; // image writes waiting for the upload that carries them
};
