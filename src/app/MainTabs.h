// The main window's tabs: what each shows in the header, and the SP key that follows it to the
// same page. Shared by the window's construction and its menus.
#pragma once

#include <array>
#include <string_view>

namespace MainTabs {

struct TabInfo {
    const char *caption;
    const char *numCaption;
    const char *nameCaption;
    const char *prefix;
    const char *downloadCaption;
    int frontPanelKey;
};

inline constexpr int Count = 8;

// What each tab shows in the header, and the SP key that follows it to the same page.
inline constexpr std::array<TabInfo, Count> TabTable = {{
    {"Preset1", "Preset Num", "Preset Name", "p#", "&Current Preset", 3},
    {"Preset2", "Preset Num", "Preset Name", "p#", "&Current Preset", 3},
    {"Map", "Map Num", "Map Name", "m#", "&Current Map", 2},
    {"Tone1", "Tone Num", "Tone Name", "t#", "&Current Tone", 1},
    {"Tone2", "Tone Num", "Tone Name", "t#", "&Current Tone", 1},
    {"Tone3", "Tone Num", "Tone Name", "t#", "&Current Tone", 1},
    {"Wave", "Wave Num", "Wave Name", "w#", "&Current Wave", 0},
    {"Global", "Multi Num", "Multi Name", "mu#", "&Current Multi", 5},
}};

// The tab with this caption; -1 for none.
constexpr int IndexOf(std::string_view caption)
{
    for (size_t i = 0; i < TabTable.size(); ++i) {
        if (TabTable[i].caption == caption)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace MainTabs
