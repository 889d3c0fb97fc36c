#include "objects/ObjectDumps.h"

#include "objects/DumpCheck.h"
#include "objects/MapDump.h"
#include "objects/ObjectIO.h"

namespace ObjectDumps {

bool FixedDump(ObjectIO &io, int kind, int number)
{
    const QByteArray dump = io.RequestObject(kind, number);
    if (!DumpCheck::WellFormed(dump, kind, number, Kind(kind).dumpLength))
        return false;
    KindState &state = io.store().of(kind);
    state.Image = dump;
    state.Num = static_cast<int16_t>(number);
    return true;
}

std::optional<QByteArray> CheckedDump(ObjectIO &io, int kind, int number, const char *heading, const char *text)
{
    const QByteArray dump = io.RequestObject(kind, number);
    if (dump.size() < DumpCheck::AnswerMinimum)
        return std::nullopt;
    if (!DumpCheck::WellFormed(dump, kind, number, Kind(kind).dumpLength)) {
        io.ReportError(QLatin1String(heading), QLatin1String(text));
        return std::nullopt;
    }
    return dump;
}

bool MapObjDump(ObjectIO &io, int number)
{
    return ParseMap(io.RequestObject(KindMap, number), number, io.store());
}

bool DumpObject(ObjectIO &io, int kind, int number)
{
    return kind == KindMap ? MapObjDump(io, number) : FixedDump(io, kind, number);
}

} // namespace ObjectDumps
