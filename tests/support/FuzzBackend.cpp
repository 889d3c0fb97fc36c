#include "FuzzBackend.h"

#include <QTimer>

namespace {

constexpr uint8_t Silent = 0x80;
constexpr uint8_t Twice = 0x40;
constexpr uint8_t PieceMask = 0x3F;
constexpr int LongestAnswer = 0xFFFF;

} // namespace

bool FuzzBackend::openInput(int port, QString *error)
{
    if (port != 0) {
        if (error)
            *error = QStringLiteral("no such port");
        return false;
    }
    inputOpen = true;
    return true;
}

bool FuzzBackend::openOutput(int port, QString *error)
{
    if (port != 0) {
        if (error)
            *error = QStringLiteral("no such port");
        return false;
    }
    outputOpen = true;
    return true;
}

void FuzzBackend::setScript(const QByteArray &bytes)
{
    script = bytes;
    at = 0;
}

QByteArray FuzzBackend::Encode(const QByteArray &answer, bool silent, int pieceSize, bool twice)
{
    const auto length = static_cast<int>(std::min<qsizetype>(answer.size(), LongestAnswer));
    QByteArray out;
    out.append(static_cast<char>((silent ? Silent : 0) | (twice ? Twice : 0) | (pieceSize & PieceMask)));
    out.append(static_cast<char>(length >> 8));
    out.append(static_cast<char>(length & 0xFF));
    out.append(answer.left(length));
    return out;
}

bool FuzzBackend::send(const QByteArray &message, QString *error)
{
    if (!outputOpen) {
        if (error)
            *error = QStringLiteral("port closed");
        return false;
    }
    if (message.isEmpty() || static_cast<uint8_t>(message.at(0)) != 0xF0)
        return true;
    ++requests;
    if (recordingDevice) {
        const QList<QByteArray> answers = recordingDevice(message);
        if (answers.isEmpty())
            recording += Encode({}, true);
        for (const QByteArray &answer : answers) {
            recording += Encode(answer);
            recordedList.append(answer);
            deliver(answer, 0);
        }
        return true;
    }
    if (exhausted())
        return true;
    const auto control = static_cast<uint8_t>(script.at(at++));
    int length = 0;
    for (int i = 0; i < 2 && at < script.size(); ++i)
        length = (length << 8) | static_cast<uint8_t>(script.at(at++));
    const QByteArray answer = script.mid(at, length);
    at += answer.size();
    if (control & Silent)
        return true;
    deliver(answer, control & PieceMask);
    if (control & Twice)
        deliver(answer, control & PieceMask);
    return true;
}

void FuzzBackend::deliver(const QByteArray &bytes, int pieceSize)
{
    const qsizetype step = pieceSize > 0 ? pieceSize : std::max<qsizetype>(bytes.size(), 1);
    for (qsizetype from = 0; from < bytes.size(); from += step) {
        const QByteArray piece = bytes.mid(from, step);
        QTimer::singleShot(0, this, [this, piece] {
            if (inputOpen)
                emit bytesReceived(piece);
        });
    }
}
