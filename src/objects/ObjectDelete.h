// Deleting in the SP one object, every object of a kind, or the whole memory: the command's
// bytes and the texts that ask for confirmation and show progress.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ObjectDelete {

enum class Scope { Current = 0, AllOfKind = 1, ClearMemory = 2 }; // the option buttons' order

constexpr int TimeoutMs = 20000;
constexpr int ClearKind = 0x7F;

// The command body; nothing when the number does not fit four nibble characters.
std::optional<QByteArray> Command(Scope scope, int kind, int number);

// The dialog's texts for a kind (Wave to Multi).
struct KindTexts {
    QString currentOption; // "Delete Current Wave:"
    QString allOption;     // "Delete All Waves"
    QString caption;       // "Delete Wave"
};
KindTexts TextsFor(int kind);

// The confirmation question and the progress text for one delete.
QString Question(Scope scope, int kind, const QString &number, const QString &name);
QString ProgressText(Scope scope, int kind, const QString &number, const QString &name);
// What the progress window says while everything is read again.
QString DownloadText(Scope scope);

} // namespace ObjectDelete
