#include "objects/ObjectDelete.h"

#include "device/NibbleCodec.h"
#include "device/ObjectKinds.h"

namespace ObjectDelete {

namespace {

QString Name(int kind)
{
    return QLatin1String(Kind(kind).name);
}

QString Prefix(int kind)
{
    return QLatin1String(Kind(kind).prefix);
}

} // namespace

std::optional<QByteArray> Command(Scope scope, int kind, int number)
{
    if (scope == Scope::ClearMemory) {
        kind = ClearKind;
        number = 0;
    } else if (scope == Scope::AllOfKind) {
        number = -1; // the SP reads FFFF as "every object of the kind"
    }
    if (kind < 0 || kind > ClearKind || number < -1)
        return std::nullopt;
    const auto nibbles = NibbleCodec::EncodeNumber(number, 4);
    if (!nibbles)
        return std::nullopt;
    QByteArray body("\x03", 1);
    body.append(static_cast<char>(kind));
    body.append(QByteArray("\x00\x00\x00\x02", 4));
    return body + *nibbles;
}

KindTexts TextsFor(int kind)
{
    const QString name = Name(kind);
    return {QStringLiteral("Delete Current %1:").arg(name), QStringLiteral("Delete All %1s").arg(name),
            QStringLiteral("Delete %1").arg(name)};
}

QString Question(Scope scope, int kind, const QString &number, const QString &name)
{
    switch (scope) {
    case Scope::ClearMemory:
        return QStringLiteral("Clear All SP Memory ?");
    case Scope::AllOfKind:
        return QStringLiteral("Delete all %1s?").arg(Name(kind));
    case Scope::Current:
        break;
    }
    return QStringLiteral("Delete Current %1: %2%3   %4 ?").arg(Name(kind), Prefix(kind), number, name);
}

QString ProgressText(Scope scope, int kind, const QString &number, const QString &name)
{
    switch (scope) {
    case Scope::ClearMemory:
        return QStringLiteral("Clearing all SP memory...");
    case Scope::AllOfKind:
        return QStringLiteral("Deleting all %1s...").arg(Name(kind));
    case Scope::Current:
        break;
    }
    return QStringLiteral("Deleting %1 %2%3   %4").arg(Name(kind), Prefix(kind), number, name);
}

QString DownloadText(Scope scope)
{
    // After a clear only the Global object is left to read.
    return scope == Scope::ClearMemory ? QStringLiteral("Downloading Global Data...")
                                       : QStringLiteral("Downloading SP Data...");
}

} // namespace ObjectDelete
