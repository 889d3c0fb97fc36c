#include "objects/Compare.h"

#include "objects/GlobalObject.h"
#include "editors/PresetParameters.h"
#include "editors/ToneParameters.h"
#include "editors/WaveRecord.h"
#include "objects/MapDump.h"
#include "objects/NibbleCodec.h"
#include "objects/ObjectIO.h"

#include <array>
#include <map>

namespace Compare {

namespace {

constexpr int FirstDataPosition = 18; // record byte 0's first nibble character
constexpr int NameWidth = NibbleCodec::NameWidth;
constexpr int MapLastZonePosition = 52;

using FieldTable = std::map<int, Field>; // by first position

void Add(FieldTable &table, const QString &name, int position, int width = 2)
{
    table[position] = {name, position, width};
}

FieldTable WaveFields()
{
    using namespace WaveDump;
    FieldTable t;
    const std::pair<const char *, std::array<int, 2>> rows[] = {
        {"Mode", {Mode, 2}},           {"Fine Tune", {FineTune, 2}},    {"Address", {Address, 8}},
        {"Size", {Size, 4}},           {"Checksum", {Checksum, 4}},     {"Play Start", {PlayStart, 8}},
        {"Play End", {PlayEnd, 8}},    {"Length", {Length, 8}},         {"Loop Start", {LoopStart, 8}},
        {"Loop End", {LoopEnd, 8}},    {"Loop Fraction", {LoopFraction, 8}}, {"Sample Period", {SamplePeriod, 8}},
        {"Normalisation", {Normalisation, 4}}, {"Pitch", {Pitch, 4}},
    };
    for (const auto &[name, at] : rows)
        Add(t, QLatin1String(name), at[0], at[1]);
    return t;
}

FieldTable ToneFields()
{
    using namespace ToneParameters;
    FieldTable t;
    for (const Box &box : Boxes)
        Add(t, QStringLiteral("txt%1(%2)").arg(QLatin1String(box.family)).arg(box.index), box.position);
    for (const Combo &combo : Combos)
        Add(t, QStringLiteral("cboTone(%1)").arg(combo.index), combo.position);
    static const char *const groups[] = {"DCA", "DCF", "DCO", "Pan"};
    for (const EnvelopeSelect &select : EnvelopeSelects)
        Add(t, QStringLiteral("%1 Envelope").arg(QLatin1String(groups[select.group])), select.position);
    for (size_t e = 0; e < EnvelopePositions.size(); ++e) {
        for (size_t s = 0; s < StageNames.size(); ++s)
            Add(t, QStringLiteral("Env%1 %2").arg(e + 1).arg(QLatin1String(StageNames[s])), EnvelopePositions[e][s]);
    }
    return t;
}

FieldTable PresetFields()
{
    using namespace PresetParameters;
    FieldTable t;
    for (const Box &box : Boxes) {
        if (box.position > 0 && box.scope == Scope::Preset)
            Add(t, QLatin1String(box.caption), box.position);
    }
    for (const Combo &combo : Combos) {
        if (!combo.layer)
            Add(t, QLatin1String(combo.caption), combo.position);
    }
    return t;
}

FieldTable MapFields()
{
    FieldTable t;
    Add(t, QStringLiteral("Zones"), MapLastZonePosition);
    static const char *const zoneBytes[] = {nullptr, "Tone", "Low Note", "High Note", "Transpose", "Volume",
                                            "Pan", "Output", "Tuning", "Allocation"};
    for (int zone = 0; zone < 64; ++zone) {
        for (int b = 1; b <= 9; ++b)
            Add(t, QStringLiteral("Zone %1 %2").arg(zone).arg(QLatin1String(zoneBytes[b])),
                ObjectDumps::MapZonePosition(zone, b));
    }
    return t;
}

const FieldTable &Fields(int kind)
{
    static const std::array<FieldTable, NumberedKinds> tables = {WaveFields(), ToneFields(), MapFields(),
                                                                 PresetFields(), FieldTable()};
    return tables[static_cast<size_t>(kind >= 0 && kind < NumberedKinds ? kind : NumberedKinds - 1)];
}

QString Value(const QByteArray &dump, const Field &field)
{
    if (field.position == ObjectIO::NamePosition)
        return NibbleCodec::ReadName(dump, field.position).trimmed();
    const auto value = NibbleCodec::Read(dump, field.position, field.width);
    return value ? QString::number(*value) : QStringLiteral("-");
}

void CompareDumps(const Backup::Object &a, const Backup::Object &b, const QString &label, QVector<Difference> &out)
{
    const qsizetype end = std::max(a.dump.size(), b.dump.size()) - 1; // F7 is not data
    for (int position = FirstDataPosition; position < end;) {
        const Field field = FieldAt(a.kind, position);
        const QByteArray left = a.dump.mid(field.position - 1, field.width);
        const QByteArray right = b.dump.mid(field.position - 1, field.width);
        if (left != right)
            out.append({a.kind, a.number, label, field.name, Value(a.dump, field), Value(b.dump, field)});
        position = field.position + field.width;
    }
}

QString Present(const Backup::Object &object)
{
    return object.name.isEmpty() ? QStringLiteral("present") : object.name;
}

} // namespace

Field FieldAt(int kind, int position)
{
    if (position >= ObjectIO::NamePosition && position < ObjectIO::NamePosition + NameWidth)
        return {QStringLiteral("Name"), ObjectIO::NamePosition, NameWidth};
    const FieldTable &table = Fields(kind);
    auto it = table.upper_bound(position);
    if (it != table.begin()) {
        --it;
        if (position < it->second.position + it->second.width)
            return it->second;
    }
    // A whole data byte: its two nibble characters.
    const int byte = (position - FirstDataPosition) / 2;
    return {QStringLiteral("byte %1").arg(byte), FirstDataPosition + 2 * byte, 2};
}

QVector<Difference> Differences(const Backup::Contents &first, const Backup::Contents &second)
{
    QVector<Difference> out;
    for (const Backup::Object &a : first.objects) {
        const QString label = Backup::ObjectLabel(a.kind, a.number, a.name);
        const Backup::Object *b = second.find(a.kind, a.number);
        if (!b)
            out.append({a.kind, a.number, label, QString(), Present(a), QStringLiteral("-")});
        else if (!Backup::SameMessage(a.dump, b->dump))
            CompareDumps(a, *b, label, out);
    }
    for (const Backup::Object &b : second.objects) {
        if (!first.find(b.kind, b.number))
            out.append({b.kind, b.number, Backup::ObjectLabel(b.kind, b.number, b.name), QString(), QStringLiteral("-"),
                        Present(b)});
    }
    const auto a = first.globalValues();
    const auto b = second.globalValues();
    if (a && b) {
        const std::pair<const char *, std::pair<QString, QString>> rows[] = {
            {"Bank Name", {a->BankName.trimmed(), b->BankName.trimmed()}},
            {"Playback Mode", {QString::number(a->PlaybackMode), QString::number(b->PlaybackMode)}},
            {"Receive Mode", {QString::number(a->ReceiveMode), QString::number(b->ReceiveMode)}},
            {"Omni/Poly Channel", {QString::number(a->OmniPolyChannel + 1), QString::number(b->OmniPolyChannel + 1)}},
            {"Omni/Poly Vol", {QString::number(a->OmniPolyVolume), QString::number(b->OmniPolyVolume)}},
            {"Prog Change", {QString::number(a->ProgChange), QString::number(b->ProgChange)}},
            {"Master Tune", {GlobalObject::MasterTuneText(a->MasterTune), GlobalObject::MasterTuneText(b->MasterTune)}},
        };
        for (const auto &[name, values] : rows) {
            if (values.first != values.second)
                out.append({KindGlobal, 0, QStringLiteral("Global"), QLatin1String(name), values.first, values.second});
        }
    }
    return out;
}

} // namespace Compare
