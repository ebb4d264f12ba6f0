// The ten splitter bars of the four windows and what sets each apart. Everything else about a drag is
// the same for every bar (see bar_drag.h).
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace splitter {

enum class BarDirection {
    LeftRight,  // a vertical bar: its position is its Left, the pointer's X moves it
    UpDown,     // a horizontal bar: its position is its Top, the pointer's Y moves it
};

struct BarEntry {
    std::string_view window;
    int number;                  // Image<number>, DraggingImage<number>, LayoutForImage<number>
    std::string_view container;  // where the bar and its indicator lie; empty: the window
    std::string_view indicator;
    BarDirection direction;
    // What the upper limit is measured against: empty for the window's client size along the bar's
    // direction, else that control's outer size along it.
    std::string_view limitControl;
    bool halveIndicatorWidth;  // a vertical bar's indicator covers the left half of the bar
};

inline constexpr std::array<BarEntry, 10> kBars = {{
    {"SplitterForm", 1, "", "Picture1", BarDirection::LeftRight, "", true},
    {"Splitter3", 1, "", "Picture1", BarDirection::LeftRight, "", true},
    {"Splitter3", 2, "Picture2", "Picture4", BarDirection::UpDown, "", false},
    {"Splitter4", 1, "", "Picture1", BarDirection::LeftRight, "", true},
    {"Splitter4", 2, "Picture2", "Picture4", BarDirection::UpDown, "", false},
    {"Splitter4", 3, "Picture3", "Picture7", BarDirection::UpDown, "", false},
    {"Splitter5", 1, "", "Picture1", BarDirection::LeftRight, "", true},
    {"Splitter5", 2, "Picture2", "Picture4", BarDirection::UpDown, "", false},
    {"Splitter5", 3, "Picture3", "Picture7", BarDirection::UpDown, "", false},
    {"Splitter5", 4, "Picture5", "Picture10", BarDirection::LeftRight, "Picture5", true},
}};

constexpr const BarEntry* findBar(std::string_view window, int number)
{
    for (const BarEntry& entry : kBars)
        if (entry.window == window && entry.number == number)
            return &entry;
    return nullptr;
}

}  // namespace splitter
