// The ten bars as the window definitions describe them, written out by hand rather than read from the
// windows' own bar tables, so that a wrong entry in a table is seen as a difference from this one.
// Sizes are those of each window at its defined client size, after its first layout:
//   SplitterForm 5145 x 4215, Splitter3 7020 x 6360, Splitter4 7530 x 6360, Splitter5 8910 x 8370;
//   Splitter5's upper-left container Picture5 is laid out as wide as the left container, 4560.
// A drag is kept 100 twips inside the size that bounds it, so its far end is that size less 100.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testing_support {

struct DefinedBar {
    const char* window;
    int number;            // Image<number>
    bool leftRight;        // a vertical bar, moved by the pointer's X
    const char* container;  // where it lies; "" for the window's client area
    const char* indicator;
    const char* limitControl;  // whose outer size bounds its drag; "" for the window's client area
    float position;            // its Left or Top after the first layout
    float farEnd;              // where a drag far to the right or far down ends
    float indicatorAt;         // the indicator's defined Left or Top, which no layout sets
    std::string label() const { return std::string(window) + "_Image" + std::to_string(number); }
};

inline constexpr DefinedBar kDefinedBars[] = {
    {"SplitterForm", 1, true, "", "Picture1", "", 2340, 5145 - 100, 4800},
    {"Splitter3", 1, true, "", "Picture1", "", 3360, 7020 - 100, 6660},
    {"Splitter3", 2, false, "Picture2", "Picture4", "", 2700, 6360 - 100, 120},
    {"Splitter4", 1, true, "", "Picture1", "", 3360, 7530 - 100, 7260},
    {"Splitter4", 2, false, "Picture2", "Picture4", "", 2700, 6360 - 100, 120},
    {"Splitter4", 3, false, "Picture3", "Picture7", "", 2760, 6360 - 100, 180},
    {"Splitter5", 1, true, "", "Picture1", "", 4560, 8910 - 100, 8520},
    {"Splitter5", 2, false, "Picture2", "Picture4", "", 4020, 8370 - 100, 120},
    {"Splitter5", 3, false, "Picture3", "Picture7", "", 3960, 8370 - 100, 180},
    {"Splitter5", 4, true, "Picture5", "Picture10", "Picture5", 1620, 4560 - 100, 3000},
};

// How many bars each window has, and so how far F8 goes before it wraps round.
inline int definedBarCount(std::string_view window)
{
    int count = 0;
    for (const DefinedBar& bar : kDefinedBars)
        count += window == bar.window;
    return count;
}

inline const DefinedBar& definedBar(std::string_view window, int number)
{
    for (const DefinedBar& bar : kDefinedBars)
        if (window == bar.window && number == bar.number)
            return bar;
    throw std::logic_error("no defined bar " + std::string(window) + " Image" + std::to_string(number));
}

inline void PrintTo(const DefinedBar& bar, std::ostream* out) { *out << bar.window << " Image" << bar.number; }

}  // namespace testing_support
