// A MIDI backend whose device answers every request with the next answer of a script of bytes,
// however broken: for fuzzing the whole exchange through the real response wait. When the
// script runs out the device stays silent, so the wait ends in its time-out.
//
// Script format, repeated until the bytes run out:
//   control  bit 7: no answer to this request (the wait times out)
//            bit 6: the answer also arrives a second time
//            bits 0-5: piece size the answer arrives in (0: one piece)
//   length   two bytes, big-endian: the answer's length (cut short at the script's end)
//   answer   the bytes themselves, delivered through the event loop as a driver would.
#pragma once

#include "midi/MidiBackend.h"

#include <QList>

#include <functional>

class FuzzBackend : public MidiBackend {
    Q_OBJECT
public:
    // Answers the requests from a device that does answer, such as the Virtual SP.
    using Device = std::function<QList<QByteArray>(const QByteArray &request)>;

    FuzzBackend() = default;

    QStringList inputPorts() const override { return {QStringLiteral("Fuzz In")}; }
    QStringList outputPorts() const override { return {QStringLiteral("Fuzz Out")}; }
    bool openInput(int port, QString *error) override;
    void closeInput() override { inputOpen = false; }
    bool openOutput(int port, QString *error) override;
    void closeOutput() override { outputOpen = false; }
    bool send(const QByteArray &message, QString *error) override;

    // The answers to come; replaces whatever was left.
    void setScript(const QByteArray &bytes);
    bool exhausted() const { return !recordingDevice && at >= script.size(); }

    // Answers from `device` instead of the script, recording them in the script's format so a
    // real exchange can be saved as a seed. Each new device starts a new record.
    void recordFrom(Device device)
    {
        recordingDevice = std::move(device);
        if (recordingDevice) {
            recording.clear();
            recordedList.clear();
        }
    }
    const QByteArray &recorded() const { return recording; }
    const QList<QByteArray> &recordedAnswers() const { return recordedList; }

    // One answer in the script's format.
    static QByteArray Encode(const QByteArray &answer, bool silent = false, int pieceSize = 0, bool twice = false);

    int requests = 0; // SysEx requests sent

private:
    void deliver(const QByteArray &bytes, int pieceSize);

    QByteArray script;
    qsizetype at = 0;
    Device recordingDevice;
    QByteArray recording;
    QList<QByteArray> recordedList;
    bool inputOpen = false;
    bool outputOpen = false;
};
