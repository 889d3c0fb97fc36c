#include "objects/ObjectParameters.h"

#include "objects/MapDescription.h"
#include "objects/PresetDescription.h"
#include "objects/ToneDescription.h"
#include "objects/WaveDescription.h"
#include "objects/GlobalDescription.h"
#include "objects/GlobalObject.h"
#include "objects/MapDump.h"
#include "objects/MultiDescription.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectIO.h"
#include "device/ObjectKinds.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <bit>
#include <span>

namespace ObjectParameters {

namespace {

constexpr int FirstDataPosition = 18; // data byte 0's first nibble character
constexpr int ByteWidth = 2;
constexpr int MapLastZonePosition = 52;
constexpr int MapZones = 64;

QStringList Words(std::initializer_list<const char *> words)
{
    QStringList list;
    for (const char *word : words)
        list << QLatin1String(word);
    return list;
}

template <typename List> QStringList Words(const List &words)
{
    QStringList list;
    for (const char *word : words)
        list << QLatin1String(word);
    return list;
}

class Table {
public:
    Table() { Add(QStringLiteral("Name"), ObjectIO::NamePosition, NibbleCodec::NameWidth); }
    void Add(const QString &name, int position, int width = ByteWidth, int mask = 0, bool isSigned = false,
             const QStringList &words = {}, std::function<QString(int64_t)> text = {})
    {
        fields.push_back({name, position, width, mask, isSigned, words, std::move(text)});
    }
    std::vector<Field> Sorted()
    {
        std::stable_sort(fields.begin(), fields.end(),
                         [](const Field &a, const Field &b) { return a.position < b.position; });
        return std::move(fields);
    }

private:
    std::vector<Field> fields;
};

std::vector<Field> WaveFields()
{
    using namespace WaveDump;
    Table t;
    for (int parm = 0; parm < WaveParmCount; ++parm) {
        const WaveParmInfo &info = ParmInfo(static_cast<WaveParm>(parm));
        t.Add(QLatin1String(info.name), info.position, info.width, 0, info.isSigned, {}, [parm](int64_t v) { return ParmText(static_cast<WaveParm>(parm), v); });
    }
    for (const ShownField &field : ShownFields())
        t.Add(QLatin1String(field.name), field.position, field.width, 0, false, {}, field.text);
    t.Add(QStringLiteral("Loop"), Mode, ByteWidth, LoopOn, false, Words({"off", "on"}));
    t.Add(QStringLiteral("Loop direction"), Mode, ByteWidth, LoopFwdRev, false, Words({"forward", "forward/reverse"}));
    t.Add(QStringLiteral("Stereo"), Mode, ByteWidth, Stereo, false, Words({"no", "yes"}));
    return t.Sorted();
}

std::vector<Field> ToneFields()
{
    using namespace ToneDescription;
    Table t;
    t.Add(QStringLiteral("Wave (w#)"), WavePosition);
    const auto quantize = [](int64_t v) { return QuantizeText(static_cast<int>(v)); };
    for (const Box &box : Boxes)
        t.Add(QLatin1String(box.name), box.position, Width, 0, box.isSigned, {},
              box.position == WaveStartQuantizePosition ? std::function<QString(int64_t)>(quantize) : nullptr);
    for (const Combo &combo : Combos)
        t.Add(QLatin1String(combo.name), combo.position, Width, 0, false, Words(combo.entries));
    for (const EnvelopeSelect &select : EnvelopeSelects)
        t.Add(QLatin1String(select.name), select.position, Width, 0, false, Words(select.captions));
    for (const ModeBit &mode : ModeBits) {
        const int width = mode.position == PhaseNibblePosition ? 1 : Width;
        t.Add(QLatin1String(mode.name), mode.position, width, mode.bit, false, Words({mode.clearCaption, mode.setCaption}));
    }
    for (size_t e = 0; e < EnvelopePositions.size(); ++e) {
        for (size_t s = 0; s < StageCaptions.size(); ++s)
            t.Add(EnvelopeStageName(e, s), EnvelopePositions[e][s], Width, 0, s == Attack);
    }
    return t.Sorted();
}

// Zone parameters by zone byte, as the Map tab names them: where zone `zone` holds them in a
// whole Map, or where a Map Zone upload holds them for a zone below 0.
std::vector<Field> ZoneFields(const QString &prefix, int zone)
{
    using namespace MapDescription;
    const auto at = [zone](int zoneByte) {
        return zone < 0 ? ZoneUploadPosition(zoneByte) : ObjectDumps::MapZonePosition(zone, zoneByte);
    };
    std::vector<Field> fields;
    for (const Parameter &p : Edited) {
        if (p.zoneByte < 0)
            continue;
        const int mask = p.zoneByte == AllocationByte ? GroupBits : 0;
        fields.push_back({prefix + QLatin1String(p.name), at(p.zoneByte), Width, mask, p.isSigned, {}, {}});
    }
    for (const OptionPair &o : Options)
        fields.push_back({prefix + QLatin1String(o.frame), at(o.zoneByte), Width, o.bit, false,
                          Words({o.clearCaption, o.setCaption}), {}});
    return fields;
}

std::vector<Field> MapFields()
{
    Table t;
    t.Add(QStringLiteral("Zones"), MapLastZonePosition);
    for (int zone = 0; zone < MapZones; ++zone) {
        for (const Field &f : ZoneFields(QStringLiteral("Zone %1 ").arg(zone), zone))
            t.Add(f.name, f.position, f.width, f.mask, f.isSigned, f.words);
    }
    return t.Sorted();
}

std::vector<Field> PresetFields()
{
    using namespace PresetDescription;
    const QStringList priorities = Words(std::span(OptionCaptions).subspan(0, 4));
    const QStringList overflow = Words(std::span(OptionCaptions).subspan(4, 2));
    const QStringList outputs = Words(std::span(OptionCaptions).subspan(6, 3));
    Table t;
    for (const Combo &combo : Combos) {
        const QStringList words = combo.values == ComboValues::ListIndex ? ComboEntries(combo) : QStringList();
        if (!combo.layer)
            t.Add(QLatin1String(combo.caption), combo.position, Width, 0, false, words);
    }
    for (int g = 0; g < Groups; ++g) {
        const QString group = QStringLiteral("Allocation Group %1 ").arg(g);
        for (const Box &box : Boxes) {
            if (box.scope == Scope::Group)
                t.Add(group + QLatin1String(box.caption), box.position + 2 * g);
        }
        t.Add(group + QStringLiteral("Priority"), PriorityPosition + 2 * g, Width, 0, false, priorities);
        t.Add(group + QStringLiteral("Overflow"), OverflowPosition, Width, 1 << g, false, overflow);
    }
    for (int layer = 0; layer < 2; ++layer) {
        const QString prefix = layer == 0 ? QStringLiteral("Layer A ") : QStringLiteral("Layer B ");
        const int offset = layer * LayerBOffset;
        for (const Combo &combo : Combos) {
            if (combo.layer)
                t.Add(prefix + QLatin1String(combo.caption), combo.position + offset, Width, 0, false, ComboEntries(combo));
        }
        t.Add(prefix + QStringLiteral("Output"), OutputPosition + offset, Width, 0, false, outputs);
        for (const Box &box : Boxes) {
            const QString caption = QLatin1String(box.caption);
            if (box.scope == Scope::Layer) {
                // The switch point boxes are captioned by their number inside their frame.
                const bool switchPoint = box.index >= FirstSwitchPointBox && box.index <= LastSwitchPointBox;
                t.Add(prefix + (switchPoint ? QStringLiteral("Map Switch Point ") : QString()) + caption,
                      box.position + offset, Width, 0, box.isSigned);
            } else if (box.scope == Scope::Level) {
                for (int level = 1; level <= Levels; ++level)
                    t.Add(prefix + QStringLiteral("Level %1 ").arg(level) + caption,
                          box.position + offset + 2 * (level - 1));
            }
        }
    }
    for (const Box &box : Boxes) {
        if (box.scope == Scope::Preset)
            t.Add(QLatin1String(box.caption), box.position, Width, 0, box.isSigned);
    }
    return t.Sorted();
}

std::vector<Field> MultiFields()
{
    using namespace MultiDescription;
    Table t;
    for (int g = 0; g < Groups; ++g) {
        const QString group = BoxCaption(0) + QStringLiteral(" %1 ").arg(g);
        t.Add(group + BoxCaption(PolyphonyBox), PolyphonyPosition + 2 * g);
        t.Add(group + QStringLiteral("Priority"), PriorityPosition + 2 * g, ByteWidth, 0, false,
              Words(std::span(OptionCaptions).first(FirstOverflowOption)));
        t.Add(group + QStringLiteral("Overflow"), OverflowPosition, ByteWidth, 1 << g, false,
              Words(std::span(OptionCaptions).subspan(FirstOverflowOption, 2)));
    }
    for (int ch = 0; ch < Channels; ++ch) {
        const QString channel = QStringLiteral("Channel %1 ").arg(ch);
        t.Add(channel + QStringLiteral("Multi Enable"), OfflinePosition, OfflineWidth, 1 << ch, false,
              Words(std::span(OptionCaptions).subspan(FirstEnableOption, 2)));
        t.Add(channel + BoxCaption(PresetBox), PresetPosition + 2 * ch);
        t.Add(channel + BoxCaption(VolumeBox), VolumePosition + 2 * ch);
    }
    return t.Sorted();
}

bool Covers(const Field &field, int position)
{
    return position >= field.position && position < field.position + field.width;
}

int64_t Masked(int64_t value, const Field &field)
{
    if (!field.mask)
        return value;
    return (value & field.mask) >> std::countr_zero(static_cast<unsigned>(field.mask));
}

} // namespace

const std::vector<Field> &Fields(int kind)
{
    static const std::array<std::vector<Field>, NumberedKinds> tables = {WaveFields(), ToneFields(), MapFields(),
                                                                         PresetFields(), MultiFields()};
    static const std::vector<Field> none;
    return kind >= 0 && kind < NumberedKinds ? tables[static_cast<size_t>(kind)] : none;
}

std::vector<Field> FieldsAt(int kind, int position)
{
    const std::vector<Field> &fields = Fields(kind);
    // The first field starting past the position; those covering it start at most a name's
    // width before it.
    const auto after = std::upper_bound(fields.begin(), fields.end(), position,
                                        [](int at, const Field &field) { return at < field.position; });
    auto first = after;
    while (first != fields.begin() && std::prev(first)->position > position - NibbleCodec::NameWidth)
        --first;
    std::vector<Field> found;
    for (auto it = first; it != after; ++it) {
        if (Covers(*it, position))
            found.push_back(*it);
    }
    if (found.empty()) {
        // A data byte no tab shows, or the part of it before a named nibble.
        const int byte = (position - FirstDataPosition) / 2;
        const int start = std::max(FirstDataPosition + 2 * byte, position);
        int width = FirstDataPosition + 2 * byte + ByteWidth - start;
        if (after != fields.end())
            width = std::min(width, after->position - start);
        found.push_back({QStringLiteral("byte %1").arg(byte), start, width, 0, false, {}, {}});
    }
    return found;
}

QString ValueText(const QByteArray &dump, const Field &field)
{
    if (field.position == ObjectIO::NamePosition && field.width == NibbleCodec::NameWidth)
        return NibbleCodec::ReadName(dump, field.position).trimmed();
    const auto raw = NibbleCodec::Read(dump, field.position, field.width);
    if (!raw)
        return QStringLiteral("-");
    int64_t value = Masked(*raw, field);
    if (!field.words.isEmpty())
        return value >= 0 && value < field.words.size() ? field.words.at(static_cast<qsizetype>(value)) : QString::number(value);
    if (field.isSigned && field.width == ByteWidth)
        value = NibbleCodec::SignedByte(static_cast<int>(value));
    return field.text ? field.text(value) : QString::number(value);
}

QString UploadName(int kind, int position, std::optional<int64_t> before, std::optional<int64_t> after)
{
    if (kind == KindGlobal)
        return GlobalDescription::Name(position);
    if (kind == KindMapZone) {
        // A Map Zone upload carries the current zone alone: zone byte n at 20 + 2n.
        for (const Field &field : ZoneFields(QStringLiteral("Zone "), -1)) {
            if (field.position == position
                && (!field.mask || !before || !after || ((*before ^ *after) & field.mask)))
                return field.name;
        }
        return {};
    }
    const int dumpKind = kind == KindMapHeader ? static_cast<int>(KindMap) : kind;
    for (const Field &field : Fields(dumpKind)) {
        if (field.position == position
            && (!field.mask || !before || !after || ((*before ^ *after) & field.mask)))
            return field.name;
    }
    return {};
}

} // namespace ObjectParameters
