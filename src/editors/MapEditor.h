// The Map tab: the held Map's current zone in its boxes, sliders and options, edited with the
// common edit rules; each accepted zone edit goes to the SP as a Map Zone upload and the zone
// is read back. The keyboard below shows the zones and plays them.
#pragma once

#include "editors/KindEditor.h"

#include "editors/MapLayout.h"
#include "objects/MapDump.h"

#include <QWidget>

#include <vector>

class EditRules;
class Keyboard;
class Retrieval;
class Session;

class MapEditor : public QWidget, public KindEditor {
    Q_OBJECT
public:
    // The message box's texts of the Map routines' error paths.
    static constexpr const char *DumpErrorHeading = "MapObjDump()";
    static constexpr const char *DumpErrorText = "Error downloading Map object from SP";
    static constexpr const char *ZoneDumpErrorHeading = "MapZoneObjDump()";
    static constexpr const char *ZoneDumpErrorText = "Error downloading Map Zone object from SP";
    static constexpr const char *ChangeErrorHeading = "Change_MapParm()";
    static constexpr const char *ChangeErrorText = "Error updating Map parameter";

    MapEditor(Session &session, EditRules &rules, QWidget *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) override { this->retrieval = retrieval; }
    // Makes the tab's controls and keyboard, once. Reads work before it; the displays only after it.
    void Build();
    void MakePage(int) override { Build(); }
    bool ReadDump(int number) override { return MapObjDump(number); }
    void Display() override { LoadMapDisplay(); }
    void Clear() override { ClearKeyboard(); }

    // Reads Map `number`; false, with the Map shown before kept, unless a whole Map came.
    bool MapObjDump(int number);
    // Reads the current zone again, addressed by its low note; the tab is not refilled.
    bool MapZoneObjDump();
    // Fills the tab and the keyboard from the Map last read, sending nothing.
    void LoadMapDisplay();
    // The keyboard's part of a cleared Map display.
    void ClearKeyboard();

    Keyboard *keyboard() const { return keys; } // none before Build
    const std::vector<MapZone> &zones() const { return mapZones; }

private:
    void AddBox(const MapDescription::Parameter &parameter);
    bool Change_MapParm(const MapDescription::Parameter &parameter);
    bool ChangeZone();
    bool ChangeTone();
    bool ChangeBoundary(const MapDescription::Parameter &parameter);
    bool ChangeValue(const MapDescription::Parameter &parameter);
    bool UploadZoneByte(int zoneByte, int value);
    void optMap_Click(int index);
    void AfterCommit();

    QString StoredText(int index) const;
    QString ToneName(int tone) const;
    int ZoneByte(int zoneByte) const;
    void ShowChoices();
    int LastZoneIndex() const { return static_cast<int>(mapZones.size()) - 1; }
    const MapZone *Current() const;

    Session &session;
    EditRules &rules;
    Retrieval *retrieval = nullptr;
    Keyboard *keys = nullptr;
    MapWidgets widgets;
    std::vector<MapZone> mapZones;
    bool haveMap = false;
};
