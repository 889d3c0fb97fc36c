// Every parameter of every object, named as its tab names it ("DCF Cutoff", "Layer B Volume",
// "Zone 2 Pan"), built from the editors' own parameter tables. The compare window and the Edit
// menu's Undo and Redo both name what changed through here, so a parameter has one name.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ObjectParameters {

struct Field {
    QString name;
    int position = 0;  // its first nibble character in a whole dump of its kind
    int width = 2;     // nibble characters
    int mask = 0;      // 0: the whole value; otherwise the bits this parameter holds
    bool isSigned = false;
    QStringList words; // what the tab shows for the values 0, 1, ... (after the mask); empty: the number
    std::function<QString(int64_t value)> text; // how the tab writes the number; empty: in decimal
};

// The named parameters of a whole dump of `kind` (Wave to Multi), in position order. Bits of one
// byte are separate parameters that share a position.
const std::vector<Field> &Fields(int kind);

// The parameters that position `position` of a whole dump of `kind` belongs to: the named ones
// covering it, or the data byte it is part of ("byte 37") when no tab shows it.
std::vector<Field> FieldsAt(int kind, int position);

// What a field holds in a dump, as the tab shows it; "-" when the dump does not hold it.
QString ValueText(const QByteArray &dump, const Field &field);

// The name of what an upload of `kind` (also Map Header and Map Zone uploads) changes at
// `position`; `before` and `after` pick the bit when several parameters share a byte.
// Empty when no parameter of that kind sits there.
QString UploadName(int kind, int position, std::optional<int64_t> before = {}, std::optional<int64_t> after = {});

} // namespace ObjectParameters
