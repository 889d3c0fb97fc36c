// Which objects an object plays: a Tone its Wave, a Map each zone's Tone, a Preset the Map of
// each level of both layers, a Multi each channel's Preset. An object sent to another SP needs
// these there too, at the numbers it names.
#pragma once

#include <QByteArray>
#include <QVector>

namespace ObjectReferences {

struct Reference {
    int kind = 0;     // of the object referred to
    int number = 0;
    int position = 0; // of the byte's high nibble in the referring dump
};

// Every reference in a dump of `kind`, in the dump's order; the same object may be named more
// than once. Nothing for a kind that refers to none or a dump too short to hold them.
QVector<Reference> Of(int kind, const QByteArray &dump);

// The dump with the reference at `position` naming `number` instead.
QByteArray Renumbered(QByteArray dump, int position, int number);

} // namespace ObjectReferences
