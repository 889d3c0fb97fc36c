#include "ScriptedBackend.h"

#include <QTimer>

ScriptedBackend::ScriptedBackend(QStringList inputs, QStringList outputs)
    : inputs(inputs), outputs(outputs), presentInputs(std::move(inputs)), presentOutputs(std::move(outputs))
{
}

void ScriptedBackend::plugIn(const QString &input, const QString &output)
{
    presentInputs << input;
    presentOutputs << output;
}

bool ScriptedBackend::openInput(int port, QString *error)
{
    if (failInputOpen || port < 0 || port >= inputs.size()) {
        if (error)
            *error = QStringLiteral("refused");
        return false;
    }
    inputOpen = true;
    return true;
}

bool ScriptedBackend::openOutput(int port, QString *error)
{
    if (failOutputOpen || port < 0 || port >= outputs.size()) {
        if (error)
            *error = QStringLiteral("refused");
        return false;
    }
    outputOpen = true;
    return true;
}

bool ScriptedBackend::send(const QByteArray &message, QString *error)
{
    if (failSend || !outputOpen) {
        if (error)
            *error = QStringLiteral("send failed");
        return false;
    }
    sent << message;
    if (reply && !message.isEmpty() && static_cast<uint8_t>(message.at(0)) == 0xF0) {
        for (const QByteArray &answer : reply(message))
            deliver(answer);
    }
    return true;
}

void ScriptedBackend::deliver(const QByteArray &bytes)
{
    const int step = pieceSize > 0 ? pieceSize : static_cast<int>(bytes.size());
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        const QByteArray piece = bytes.mid(at, step);
        QTimer::singleShot(0, this, [this, piece] {
            if (inputOpen)
                emit bytesReceived(piece);
        });
    }
}

QByteArray ScriptedBackend::Status(int code)
{
    QByteArray status("\xF0\x00\x00\x1B\x02\x05\x7F\x00", 8);
    status.append(static_cast<char>(code));
    status.append('\xF7');
    return status;
}

ScriptedBackend::Reply ScriptedBackend::StatusReply(int code)
{
    return [code](const QByteArray &) { return QList<QByteArray>{Status(code)}; };
}

QByteArray ScriptedBackend::DirectoryStatus(int kind)
{
    QByteArray status("\xF0\x00\x00\x1B\x02\x05\x7F\x02", 8);
    status.append(static_cast<char>(kind));
    // Figures follow the kind, as in a real status, so that the kind is read from its own place.
    status.append(QByteArray(54, '\x01'));
    status.append('\xF7');
    return status;
}

ScriptedBackend::Reply ScriptedBackend::StatusReplyInStep(int code)
{
    return [code](const QByteArray &sent) {
        const bool directoryStatus = sent.size() == 12 && sent.mid(7, 3) == QByteArray("\x12\x01\x01", 3);
        return QList<QByteArray>{directoryStatus ? DirectoryStatus(sent.at(10)) : Status(code)};
    };
}
