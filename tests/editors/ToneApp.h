// The program started on a Virtual SP holding the standard memory, with Tone 3 shown on the
// Tone tabs and its record set up by the test; the Tone uploads on the wire at hand.
#pragma once

#include "VspApp.h"
#include "editors/KeyInput.h"
#include "objects/ObjectKinds.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

#include <functional>

namespace ToneTest {

constexpr int Tone1Tab = 3;
constexpr int Tone2Tab = 4;
constexpr int Tone3Tab = 5;
constexpr int ShownTone = 3;
constexpr int DumpLength = 180;

// The record byte whose high nibble travels at a message position.
constexpr int RecordByte(int position)
{
    return (position - 18) / 2;
}

struct Field {
    int position;
    int value; // a negative value is stored as its two's complement byte
};

inline void Set(QByteArray &record, int position, int value)
{
    record[RecordByte(position)] = static_cast<char>(value & 0xFF);
}

struct ToneApp : VspApp {
    explicit ToneApp(std::initializer_list<Field> fields = {}, Vsp::SpMemory memory = StandardMemory())
    {
        QByteArray &tone = memory.of(Vsp::Tone)[ShownTone];
        for (const Field &f : fields)
            Set(tone, f.position, f.value);
        start(std::move(memory));
        showTab(Tone1Tab);
        vsp->clearTraffic();
        notifier.messages.clear();
    }

    // Changes what the SP holds and has the Tone read back and shown, as after an edit.
    void Reload(std::initializer_list<Field> fields)
    {
        for (const Field &f : fields)
            Set(held(), f.position, f.value);
        main()->retrieval().ObjectDownload(KindTone);
        vsp->clearTraffic();
    }

    QLineEdit *txt(const QString &name) { return find<QLineEdit>(name); }
    QSlider *sld(const QString &name) { return find<QSlider>(name); }
    QRadioButton *opt(const char *name, int index) { return find<QRadioButton>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index)); }
    QComboBox *cbo(int index) { return find<QComboBox>(QStringLiteral("cboTone(%1)").arg(index)); }

    QByteArray &held() { return vsp->device().memory().of(Vsp::Tone)[ShownTone]; }
    int heldByte(int position) { return static_cast<uint8_t>(held().at(RecordByte(position))); }
    int heldSigned(int position)
    {
        const int byte = heldByte(position);
        return byte > 127 ? byte - 256 : byte;
    }
    QByteArray image() { return session().objects.of(KindTone).Image; }

    // The Tone uploads sent, without the requests that read the Tone back.
    QList<QByteArray> uploads()
    {
        QList<QByteArray> sent;
        for (const QByteArray &m : requests()) {
            if (m.size() == DumpLength)
                sent << m;
        }
        return sent;
    }

    void clearAndType(QLineEdit *box, const QString &text, bool enter = true)
    {
        clear(box);
        type(box, text, enter);
    }
};

// The upload a change of one field must send: the Tone's image as the SP sent it, with only
// the field's nibble characters replaced.
inline QByteArray ExpectedUpload(QByteArray image, int position, std::initializer_list<int> nibbles)
{
    int at = position - 1;
    for (int n : nibbles)
        image[at++] = static_cast<char>(n);
    return image;
}

} // namespace ToneTest
