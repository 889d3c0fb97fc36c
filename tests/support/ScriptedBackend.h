// A MIDI backend for tests: records what the program sends and answers as the test scripts it,
// in chosen pieces, always through the event loop as a real driver would.
#pragma once

#include "midi/MidiBackend.h"

#include <QList>

#include <functional>

class ScriptedBackend : public MidiBackend {
    Q_OBJECT
public:
    using Reply = std::function<QList<QByteArray>(const QByteArray &sent)>;

    explicit ScriptedBackend(QStringList inputs = {QStringLiteral("Test In")},
                             QStringList outputs = {QStringLiteral("Test Out")});

    QStringList inputPorts() const override { return inputs; }
    QStringList outputPorts() const override { return outputs; }
    bool openInput(int port, QString *error) override;
    void closeInput() override { inputOpen = false; }
    bool openOutput(int port, QString *error) override;
    void closeOutput() override { outputOpen = false; }
    bool send(const QByteArray &message, QString *error) override;
    // Lists what the driver sees now, as a real driver does only when asked again.
    void rescan() override { inputs = presentInputs; outputs = presentOutputs; }
    // An interface plugged in: the driver sees it, the lists show it after the next rescan.
    void plugIn(const QString &input, const QString &output);

    // Answers every SysEx with the given status code.
    static Reply StatusReply(int code);
    static QByteArray Status(int code);
    // A directory status as long as the SP's, with every figure 0.
    static QByteArray DirectoryStatus(int kind);
    // Answers directory status requests as the SP does (so the link can be brought back in
    // step after a time-out) and everything else with the status code.
    static Reply StatusReplyInStep(int code);

    Reply reply;          // none: the device stays silent
    int pieceSize = 0;    // >0: answers arrive in pieces of this many bytes
    bool failInputOpen = false;
    bool failOutputOpen = false;
    bool failSend = false;
    QList<QByteArray> sent;
    bool inputOpen = false;
    bool outputOpen = false;

    // Bytes arriving unasked, delivered through the event loop.
    void deliver(const QByteArray &bytes);

private:
    QStringList inputs;
    QStringList outputs;
    QStringList presentInputs;
    QStringList presentOutputs;
};
