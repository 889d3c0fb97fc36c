// A backup of the SP: its own dump messages one after another, exactly as received (Waves,
// Tones, Maps, Presets, Multis, then the answers that carry the Global settings), saved as a
// standard .syx file. Reading a file checks every message before anything may be sent from it.
// No I/O here, so the reading can be tested and fuzzed alone.
#pragma once

#include "objects/ObjectStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include <optional>

namespace Backup {

// One object of a backup: its dump as the SP sent it, which is also the message that uploads it.
struct Object {
    int kind = 0;
    int number = 0;
    QString name;
    QByteArray dump;
};

// The Global settings travel as seven answers: the bank name, parameters 1 to 5, the tune.
constexpr int GlobalAnswers = 7;

struct Contents {
    QVector<Object> objects;    // Waves, Tones, Maps, Presets, Multis, each by ascending number
    QVector<QByteArray> global; // empty, or the seven answers in their order

    const Object *find(int kind, int number) const;
    // The Global settings the answers carry; nothing when there are none.
    std::optional<GlobalValues> globalValues() const;
};

// "w# 5 Snare": how objects are named in every text.
QString ObjectLabel(int kind, int number, const QString &name);

// Which Global answer this message is (0 the name, 1 to 5 the parameters, 6 the tune), or -1
// when it is not a whole, well-formed one.
int GlobalAnswerIndex(const QByteArray &message);

// The kind's dump checked as a backup may hold it: frame, kind, nibbles, the kind's length
// (a Map's from its own zone count). The number is the one the dump states.
std::optional<Object> ReadDump(const QByteArray &message);

struct ReadResult {
    std::optional<Contents> contents;
    QString error; // what is wrong, when contents is empty
};

// The whole file or nothing: a file that is truncated, holds bytes outside messages, a message
// that is not the SP's, a damaged dump, the same object twice or an incomplete set of Global
// answers is refused, and the error names the message and what is wrong with it.
ReadResult Parse(const QByteArray &file);

// The file's bytes: every dump, then the Global answers.
QByteArray Write(const Contents &contents);

// Two dumps of the same object with the same contents (the device ID byte may differ).
bool SameMessage(const QByteArray &a, const QByteArray &b);

} // namespace Backup
