#include "editors/MapEditor.h"

#include "editors/ControlLists.h"
#include "editors/Session.h"
#include "device/SysExFrame.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "editors/Keyboard.h"
#include "editors/MapZoneRules.h"
#include "midi/NoteNames.h"
#include "editors/ObjectChoice.h"
#include "widgets/SpinButton.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectDumps.h"
#include "objects/Retrieval.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

using namespace MapDescription;

MapEditor::MapEditor(Session &session, EditRules &rules, QWidget *parent)
    : QWidget(parent), session(session), rules(rules)
{
    setObjectName(QStringLiteral("MapEditor"));
}

void MapEditor::Build()
{
    keys = new Keyboard(session, this);
    widgets = BuildMapLayout(this, keys);
    for (const Parameter &parameter : Edited)
        AddBox(parameter);
    for (size_t i = 0; i < widgets.optMap.size(); ++i)
        connect(widgets.optMap[i], &QRadioButton::clicked, this, [this, i] { optMap_Click(static_cast<int>(i)); });
}

void MapEditor::AddBox(const Parameter &parameter)
{
    const auto index = static_cast<size_t>(parameter.index);
    EditRules::Box box;
    box.box = widgets.txtMap[index];
    box.spin = widgets.spnMap[index];
    box.keys = parameter.isSigned ? EditRules::Keys::Signed : EditRules::Keys::Unsigned;
    box.spinLow = parameter.low;
    box.spinHigh = parameter.high;
    if (parameter.index == VolumeIndex)
        box.slider = widgets.sldMap7;
    if (parameter.index == PanIndex)
        box.slider = widgets.sldMapH9;
    if (parameter.index == ZoneIndex)
        box.spinStep = [this](int zone, int step) { return std::clamp(zone + step, 0, std::max(0, LastZoneIndex())); };
    if (parameter.index == ToneIndex)
        box.spinStep = [this](int tone, int step) {
            return ObjectChoice::Step(session, KindTone, tone, step, ObjectChoice::NoneNotice::TitledBox);
        };
    box.commit = [this, parameter] { return Change_MapParm(parameter); };
    box.afterCommit = [this] { AfterCommit(); };
    box.storedText = [this, parameter] { return StoredText(parameter.index); };
    rules.Add(box);
}

const MapZone *MapEditor::Current() const
{
    const int zone = session.objects.CurrentZone;
    if (!haveMap || zone < 0 || zone > LastZoneIndex())
        return nullptr;
    return &mapZones[static_cast<size_t>(zone)];
}

bool MapEditor::MapObjDump(int number)
{
    // Through the same checks as every kind; the Map's length then follows from its zone count.
    const auto dump = ObjectDumps::CheckedDump(session.io, KindMap, number, DumpErrorHeading, DumpErrorText);
    if (!dump)
        return false; // told the user; the Map shown stays as it was
    if (!ObjectDumps::ParseMap(*dump, number, session.objects)) {
        session.comms.ReportError(QLatin1String(DumpErrorHeading), QLatin1String(DumpErrorText));
        return false;
    }
    std::vector<MapZone> parsed;
    for (const QByteArray &image : session.objects.ZoneImages)
        parsed.push_back(ObjectDumps::ReadZone(image).value_or(MapZone{}));
    mapZones = std::move(parsed);
    haveMap = true;
    return true;
}

bool MapEditor::MapZoneObjDump()
{
    const MapZone *zone = Current();
    if (!session.objects.of(KindMap).Have || !zone)
        return false;
    // The SP finds the zone by a note inside it.
    const int note = zone->LowNote & 0xFF;
    const int map = session.objects.of(KindMap).Num & 0xFF;
    const QByteArray dump = session.io.ReqObjectDump(KindMapZone, SysEx::Bytes({0x01, KindMapZone, 0, 0, 0, 2}),
                                                     SysEx::Bytes({note / 16, note % 16, map / 16, map % 16}));
    if (dump.size() < ObjDir::MinimumLength)
        return false;
    const auto image = ObjectDumps::ZoneImageOfDump(dump);
    const auto parsed = image ? ObjectDumps::ReadZone(*image) : std::nullopt;
    if (!parsed) {
        session.comms.ReportError(QLatin1String(ZoneDumpErrorHeading), QLatin1String(ZoneDumpErrorText));
        return false;
    }
    const int current = session.objects.CurrentZone;
    session.objects.ZoneImages[current] = *image;
    mapZones[static_cast<size_t>(current)] = *parsed;
    // The whole Map's image follows, so an option sent inside the Map carries this zone as the
    // SP now holds it.
    NibbleCodec::Overwrite(session.objects.of(KindMap).Image, ObjectDumps::MapZonePosition(current, 0), *image,
                           ObjectDumps::ZoneCharacters);
    return true;
}

int MapEditor::ZoneByte(int zoneByte) const
{
    const MapZone *zone = Current();
    if (!zone)
        return 0;
    switch (zoneByte) {
    case ToneByte: return zone->Tone;
    case LowByte: return zone->LowNote;
    case HighByte: return zone->HighNote;
    case TransposeByte: return zone->Transpose;
    case VolumeByte: return zone->Volume;
    case PanByte: return zone->Pan;
    case OutputByte: return zone->Output;
    case TuningByte: return zone->Tuning;
    case AllocationByte: return zone->Allocation;
    default: return 0;
    }
}

QString MapEditor::StoredText(int index) const
{
    if (!Current())
        return QString();
    switch (index) {
    case ZoneIndex: return QString::number(session.objects.CurrentZone);
    case LowNameIndex: return FormatNoteName(ZoneByte(LowByte));
    case HighNameIndex: return FormatNoteName(ZoneByte(HighByte));
    case GroupIndex: return QString::number(ZoneByte(AllocationByte) & GroupBits);
    default: break;
    }
    for (const Parameter &parameter : Edited) {
        if (parameter.index == index)
            return QString::number(ZoneByte(parameter.zoneByte));
    }
    return QString();
}

QString MapEditor::ToneName(int tone) const
{
    const ObjDir &dir = session.objects.of(KindTone).Dir;
    const int index = dir.IndexOf(tone);
    return index < 0 ? QString() : dir.Entries[index].Name.trimmed();
}

void MapEditor::ShowChoices()
{
    for (const OptionPair &pair : Options) {
        const bool set = (ZoneByte(pair.zoneByte) & pair.bit) != 0;
        widgets.optMap[static_cast<size_t>(set ? pair.set : pair.clear)]->setChecked(true);
    }
}

void MapEditor::LoadMapDisplay()
{
    const MapZone *zone = Current();
    if (!zone)
        return;
    rules.Display([&] {
        for (QWidget *control : findChildren<QWidget *>())
            control->setEnabled(true);
        for (int index = 0; index < Boxes; ++index) {
            QLineEdit *box = widgets.txtMap[static_cast<size_t>(index)];
            if (index == ToneNameIndex) {
                // A Tone the directory does not list leaves the name shown before.
                if (const QString name = ToneName(zone->Tone); !name.isEmpty())
                    box->setText(name);
                continue;
            }
            box->setText(StoredText(index));
            rules.ShowStored(box);
        }
        widgets.sldMap7->setValue(zone->Volume);
        widgets.sldMapH9->setValue(zone->Pan);
        ShowChoices();
        std::vector<ZoneStrip::Zone> ranges;
        for (const MapZone &z : mapZones)
            ranges.push_back({z.LowNote, z.HighNote});
        keys->SetZones(std::move(ranges), session.objects.CurrentZone);
        keys->hsbKey_Change();
    });
}

void MapEditor::ClearKeyboard()
{
    keys->Clear();
}

void MapEditor::AfterCommit()
{
    MapZoneObjDump();
    LoadMapDisplay();
}

bool MapEditor::UploadZoneByte(int zoneByte, int value)
{
    rules.state().LastEditKey = 0;
    if (!session.io.ObjectUpload(KindMapZone, session.objects.of(KindMap).Num, int64_t{value},
                                 ZoneUploadPosition(zoneByte), Width, true))
        return false;
    // The SP holds the value now: the zone is read back by its new low note.
    const int current = session.objects.CurrentZone;
    QByteArray &image = session.objects.ZoneImages[current];
    NibbleCodec::Overwrite(image, 1 + 2 * zoneByte, NibbleCodec::EncodeNumber(value & 0xFF, Width).value_or(QByteArray()),
                           Width);
    if (const auto zone = ObjectDumps::ReadZone(image))
        mapZones[static_cast<size_t>(current)] = *zone;
    return true;
}

bool MapEditor::Change_MapParm(const Parameter &parameter)
{
    if (!Current()) {
        session.comms.ReportError(QLatin1String(ChangeErrorHeading), QLatin1String(ChangeErrorText));
        return false;
    }
    switch (parameter.index) {
    case ZoneIndex: return ChangeZone();
    case ToneIndex: return ChangeTone();
    case LowIndex:
    case HighIndex: return ChangeBoundary(parameter);
    default: return ChangeValue(parameter);
    }
}

bool MapEditor::ChangeZone()
{
    QLineEdit *box = widgets.txtMap[ZoneIndex];
    const std::optional<int> zone = rules.CommitValue(box, false);
    if (!zone)
        return false;
    if (*zone < 0 || *zone > LastZoneIndex()) {
        rules.Restore(box, StoredText(ZoneIndex));
        return false;
    }
    session.objects.CurrentZone = *zone;
    LoadMapDisplay();
    rules.Committed(box, true);
    return false; // a selection: nothing was sent
}

bool MapEditor::ChangeTone()
{
    QLineEdit *box = widgets.txtMap[ToneIndex];
    const bool enter = rules.state().LastEditKey == EditState::Enter;
    const std::optional<int> typed = rules.CommitValue(box, false);
    if (!typed)
        return false;
    int tone = *typed;
    if (enter) {
        // Typed numbers move up to a Tone the SP holds; the spin button only steps onto one.
        const std::optional<int> existing = ObjectChoice::Existing(session, KindTone, tone);
        if (!existing) {
            rules.Restore(box, StoredText(ToneIndex));
            return false;
        }
        if (*existing != tone)
            rules.Rewrite(box, QString::number(*existing));
        tone = *existing;
    }
    rules.Display([&] { widgets.txtMap[ToneNameIndex]->setText(ToneName(tone)); });
    rules.Committed(box, UploadZoneByte(ToneByte, tone));
    return true;
}

bool MapEditor::ChangeBoundary(const Parameter &parameter)
{
    const bool low = parameter.index == LowIndex;
    QLineEdit *box = widgets.txtMap[static_cast<size_t>(parameter.index)];
    QLineEdit *otherBox = widgets.txtMap[low ? HighIndex : LowIndex];
    const std::optional<int> typed = rules.CommitValue(box, false);
    if (!typed)
        return false;
    std::vector<MapZoneRules::Range> ranges;
    for (const MapZone &z : mapZones)
        ranges.push_back({z.LowNote, z.HighNote});
    const int zone = session.objects.CurrentZone;
    const int otherShown = otherBox->text().toInt();
    const MapZoneRules::Boundary boundary = low ? MapZoneRules::LowNote(ranges, zone, *typed, otherShown)
                                                : MapZoneRules::HighNote(ranges, zone, *typed, otherShown);
    if (!boundary.send) {
        rules.Restore(box, StoredText(parameter.index));
        return false;
    }
    if (boundary.value != *typed)
        rules.Rewrite(box, QString::number(boundary.value));
    rules.Display([&] {
        widgets.txtMap[low ? LowNameIndex : HighNameIndex]->setText(FormatNoteName(boundary.value));
    });
    if (boundary.other) {
        // The other boundary moves first and the zone is read back, so the SP never holds an
        // upside-down zone and the next upload finds the zone by a note it still holds.
        rules.Display([&] {
            otherBox->setText(QString::number(*boundary.other));
            widgets.txtMap[low ? HighNameIndex : LowNameIndex]->setText(FormatNoteName(*boundary.other));
        });
        if (!UploadZoneByte(low ? HighByte : LowByte, *boundary.other) || !MapZoneObjDump()) {
            rules.Committed(box, false);
            return true;
        }
    }
    rules.Committed(box, UploadZoneByte(parameter.zoneByte, boundary.value));
    return true;
}

bool MapEditor::ChangeValue(const Parameter &parameter)
{
    QLineEdit *box = widgets.txtMap[static_cast<size_t>(parameter.index)];
    const std::optional<int> value = rules.CommitValue(box, parameter.isSigned, parameter.low, parameter.high);
    if (!value)
        return false;
    int byte = NibbleCodec::ByteOfSigned(*value);
    // The group shares its byte with the exclusive bit, which stays as it is.
    if (parameter.zoneByte == AllocationByte)
        byte = (ZoneByte(AllocationByte) & ~GroupBits & 0xFF) | *value;
    rules.Committed(box, UploadZoneByte(parameter.zoneByte, byte));
    return true;
}

void MapEditor::optMap_Click(int index)
{
    const MapZone *zone = Current();
    const auto pair = std::find_if(Options.begin(), Options.end(),
                                   [index](const OptionPair &p) { return p.clear == index || p.set == index; });
    if (!zone || pair == Options.end())
        return;
    const int byte = ZoneByte(pair->zoneByte);
    const bool set = (byte & pair->bit) != 0;
    const bool wanted = index == pair->set;
    if (rules.busy() || rules.state().EditPending || wanted == set) {
        ShowChoices(); // the click changed nothing on the SP
        return;
    }
    // The tuning byte is all or nothing; the others keep their other bits.
    const int sent = pair->zoneByte == TuningByte ? (set ? 0 : FixedTuning) : byte ^ pair->bit;
    const int zoneIndex = session.objects.CurrentZone;
    const bool accepted = session.io.ObjectUpload(KindMap, session.objects.of(KindMap).Num, int64_t{sent & 0xFF},
                                                  ObjectDumps::MapZonePosition(zoneIndex, pair->zoneByte), Width, true);
    if (accepted) {
        AfterCommit();
    } else if (retrieval) {
        retrieval->ObjectDownload(KindMap);
    } else {
        ShowChoices();
    }
}
