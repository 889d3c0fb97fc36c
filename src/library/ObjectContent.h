// What makes two dumps the same object in the library: everything but the object's number, its
// name and the device ID it was sent under. The number and name are kept beside the content, as
// their raw nibble characters, so that a dump is put together again byte for byte.
#pragma once

#include <QByteArray>

namespace ObjectContent {

struct Parts {
    QByteArray content; // the dump with device ID 7F and the number and name characters zero
    QByteArray number;  // the 4 nibble characters of the object number
    QByteArray name;    // the nibble characters of the name
};

// Nothing for a message too short to hold a number and a name.
bool Splittable(const QByteArray &dump);
Parts Split(const QByteArray &dump);
QByteArray Join(const QByteArray &content, const QByteArray &number, const QByteArray &name);

// The content's key in the library: its kind and a SHA-256 of its bytes, as text.
QByteArray Key(int kind, const QByteArray &content);

} // namespace ObjectContent
