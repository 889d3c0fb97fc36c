#include "device/ObjectKinds.h"

#include <array>

namespace {

const std::array<KindInfo, NumberedKinds> Kinds = {{
    {KindWave, "Wave", "w#", DumpLengths[KindWave], "Download wave Object", 4},
    {KindTone, "Tone", "t#", DumpLengths[KindTone], "Download Tone Object", 3},
    {KindMap, "Map", "m#", DumpLengths[KindMap], "Download map Object", 2},
    {KindPreset, "Preset", "p#", DumpLengths[KindPreset], "Download Preset Object", 1},
    {KindMulti, "Multi", "mu#", DumpLengths[KindMulti], "", 5},
}};

} // namespace

const KindInfo &Kind(int kind)
{
    return Kinds[static_cast<size_t>(kind >= 0 && kind < NumberedKinds ? kind : 0)];
}

int KindOfPrefix(const QString &prefix)
{
    for (const KindInfo &info : Kinds) {
        if (prefix == QLatin1String(info.prefix))
            return info.kind;
    }
    return -1;
}

QString NoObjectsText(int kind)
{
    return QStringLiteral("There are no %1 Objects loaded into the SP").arg(QLatin1String(Kind(kind).name));
}

QString UploadKindName(int kind)
{
    if (kind == KindMapHeader)
        return QStringLiteral("Map Header");
    if (kind == KindMapZone)
        return QStringLiteral("Map Zone");
    return QLatin1String(Kind(kind).name);
}
