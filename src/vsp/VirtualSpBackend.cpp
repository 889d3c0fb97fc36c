#include "vsp/VirtualSpBackend.h"

#include <QTimer>

VirtualSpBackend::VirtualSpBackend(QObject *parent) : MidiBackend(parent) {}

bool VirtualSpBackend::openInput(int port, QString *error)
{
    if (port != 0) {
        if (error)
            *error = QStringLiteral("The Virtual SP has one input port");
        return false;
    }
    inputOpen = true;
    return true;
}

bool VirtualSpBackend::openOutput(int port, QString *error)
{
    if (port != 0) {
        if (error)
            *error = QStringLiteral("The Virtual SP has one output port");
        return false;
    }
    outputOpen = true;
    return true;
}

bool VirtualSpBackend::send(const QByteArray &message, QString *error)
{
    if (!outputOpen) {
        if (error)
            *error = QStringLiteral("The Virtual SP output is not open");
        return false;
    }
    for (const QByteArray &answer : sp.Receive(message)) {
        QTimer::singleShot(0, this, [this, answer] {
            if (inputOpen)
                emit bytesReceived(answer);
        });
    }
    return true;
}
