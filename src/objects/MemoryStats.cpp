#include "objects/MemoryStats.h"

namespace MemoryStats {

QString HalfText(int64_t bytes)
{
    const QString whole = QString::number(bytes / 2);
    if (bytes % 2 == 0)
        return whole;
    // -1 / 2 is 0 in C++: the sign would be lost.
    return (bytes < 0 && bytes / 2 == 0 ? QStringLiteral("-") : QString()) + whole + QStringLiteral(".5");
}

Texts Compute(const ObjectStore &store, Unit unit)
{
    const bool bytes = unit == Unit::Bytes;
    const ObjDirStatus &wave = store.of(KindWave).Status;
    // The sample memory counts in kilowords, the parameter memory in words; a word is two bytes.
    const int64_t factor = bytes ? 2 : 1;
    Texts texts;
    texts.lblMem = {QString::number(int64_t{wave.InstalledRAM} * factor), QString::number(int64_t{store.FreeRAM} * factor),
                    QString::number(int64_t{wave.FreeParmRAM} * factor)};
    texts.lblQnt[0] = bytes ? QStringLiteral("KBytes") : QStringLiteral("KWords");
    texts.lblQnt[1] = texts.lblQnt[0];
    texts.lblQnt[2] = bytes ? QStringLiteral("Bytes") : QStringLiteral("Words");

    for (int kind = 0; kind < Kinds; ++kind) {
        const KindState &state = store.of(kind);
        const size_t b = static_cast<size_t>(kind * RowsPerKind);
        texts.lblParm[b] = QString::number(state.Status.Loaded);
        if (!state.Have) {
            for (size_t row = 1; row < RowsPerKind; ++row)
                texts.lblParm[b + row] = QStringLiteral("N/A");
            continue;
        }
        texts.lblParm[b + 1] = QString::number(state.Status.Lowest);
        texts.lblParm[b + 2] = QString::number(state.Status.Highest);
        texts.lblParm[b + 3] = QString::number(state.Status.HighestAllowed);
        const int64_t used = state.Status.ParmMemUsed;
        const int64_t free = state.Status.ParmMemFree;
        texts.lblParm[b + 4] = bytes ? QString::number(used) : HalfText(used);
        texts.lblParm[b + 5] = bytes ? QString::number(free) : HalfText(free);
        texts.lblQnt[b + 4] = bytes ? QStringLiteral("Bytes") : QStringLiteral("Words");
        texts.lblQnt[b + 5] = texts.lblQnt[b + 4];
    }
    return texts;
}

} // namespace MemoryStats
