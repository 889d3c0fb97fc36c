#include "library/ObjectContent.h"

#include "device/NibbleCodec.h"
#include "device/SysExFrame.h"
#include "objects/ObjectIO.h"

#include <QCryptographicHash>

namespace ObjectContent {

namespace {

using SysEx::DeviceIdPosition;
constexpr int NumberPosition = ObjectIO::NumberPosition;
constexpr int NumberCharacters = 4;
constexpr int NamePosition = ObjectIO::NamePosition;
constexpr int NameCharacters = NibbleCodec::NameWidth;
constexpr char AllDevices = 0x7F;

void Blank(QByteArray &dump, int position, int characters)
{
    dump.replace(position - 1, characters, QByteArray(characters, '\0'));
}

} // namespace

bool Splittable(const QByteArray &dump)
{
    // The F7 follows the name.
    return dump.size() > NamePosition - 1 + NameCharacters;
}

Parts Split(const QByteArray &dump)
{
    Parts parts;
    if (!Splittable(dump))
        return parts;
    parts.number = dump.mid(NumberPosition - 1, NumberCharacters);
    parts.name = dump.mid(NamePosition - 1, NameCharacters);
    parts.content = dump;
    parts.content[DeviceIdPosition - 1] = AllDevices;
    Blank(parts.content, NumberPosition, NumberCharacters);
    Blank(parts.content, NamePosition, NameCharacters);
    return parts;
}

QByteArray Join(const QByteArray &content, const QByteArray &number, const QByteArray &name)
{
    QByteArray dump = content;
    if (!Splittable(dump) || number.size() != NumberCharacters || name.size() != NameCharacters)
        return {};
    dump.replace(NumberPosition - 1, NumberCharacters, number);
    dump.replace(NamePosition - 1, NameCharacters, name);
    return dump;
}

QByteArray Key(int kind, const QByteArray &content)
{
    return QByteArray::number(kind) + ':' + QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
}

} // namespace ObjectContent
