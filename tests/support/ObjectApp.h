// The program started on a Virtual SP with one object of a kind shown on its tab and its
// record set up by the test; that object as the SP holds it and its uploads on the wire at hand.
#pragma once

#include "VspApp.h"

#include <QLineEdit>

#include <initializer_list>

struct Field {
    int position; // the message position of the byte's high nibble
    int value;    // a negative value is stored as its two's complement byte
};

struct ObjectApp : VspApp {
    ObjectApp(int kind, int number, int dumpLength, std::initializer_list<Field> fields, Vsp::SpMemory memory)
        : kind(kind), number(number), dumpLength(dumpLength)
    {
        QByteArray &record = memory.of(static_cast<Vsp::Kind>(kind))[number];
        for (const Field &f : fields)
            SpRecords::SetAt(record, f.position, f.value);
        start(std::move(memory));
    }

    // Shows the tab and forgets what the start sent and said.
    void settleOn(const char *tab)
    {
        showTab(tab);
        vsp->clearTraffic();
        notifier.messages.clear();
    }

    QByteArray &held() { return vsp->device().memory().of(static_cast<Vsp::Kind>(kind))[number]; }
    int heldByte(int position) { return SpRecords::ByteAt(held(), position); }
    QByteArray image() { return session().objects.of(kind).Image; }

    // The object's uploads, without the requests that read it back.
    QList<QByteArray> uploads()
    {
        QList<QByteArray> sent;
        for (const QByteArray &m : requests()) {
            if (m.size() == dumpLength)
                sent << m;
        }
        return sent;
    }

    const int kind;
    const int number;
    const int dumpLength;
};

// The upload a change of one field must send: the image as the SP sent it, with only the
// field's nibble characters replaced.
inline QByteArray WithNibbles(QByteArray image, int position, std::initializer_list<int> nibbles)
{
    int at = position - 1;
    for (int n : nibbles)
        image[at++] = static_cast<char>(n);
    return image;
}
