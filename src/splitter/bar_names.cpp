#include "splitter/bar_names.h"

#include <algorithm>
#include <cmath>

namespace splitter {
namespace {

const char* sideWord(const Bar& bar, bool first)
{
    if (bar.vertical())
        return first ? "left" : "right";
    return first ? "upper" : "lower";
}

bool isGroup(const rt::ControlRef& side) { return side->role() == rt::ControlRole::Container; }

// "left and right panes", or "upper group of panes and the lower pane" when the sides differ.
std::string sides(const Bar& bar)
{
    const bool firstGroup = isGroup(bar.first), secondGroup = isGroup(bar.second);
    const std::string first = sideWord(bar, true), second = sideWord(bar, false);
    if (firstGroup == secondGroup)
        return first + " and " + second + (firstGroup ? " groups of panes" : " panes");
    const auto noun = [](bool group) { return group ? std::string(" group of panes") : std::string(" pane"); };
    return first + noun(firstGroup) + " and the " + second + noun(secondGroup);
}

// Where a container lies, innermost split first: "upper left" for a container above another bar's split
// that itself lies on the left. Empty for a bar on the window itself.
std::string placeOf(const rt::Control* container, std::span<const Bar> windowBars)
{
    std::string place;
    for (int depth = 0; container && depth < static_cast<int>(windowBars.size()); ++depth) {
        const Bar* outer = nullptr;
        bool first = false;
        for (const Bar& b : windowBars) {
            if (b.first.get() == container || b.second.get() == container) {
                outer = &b;
                first = b.first.get() == container;
                break;
            }
        }
        if (!outer)
            break;
        place += (place.empty() ? "" : " ") + std::string(sideWord(*outer, first));
        container = outer->container ? outer->container->get() : nullptr;
    }
    return place;
}

// "on the upper left", or nothing for the window itself.
std::string onThe(const rt::ControlRef* container, std::span<const Bar> windowBars)
{
    const std::string place = placeOf(container ? container->get() : nullptr, windowBars);
    return place.empty() ? std::string() : " on the " + place;
}

}  // namespace

std::string describeSide(const rt::Control& control, std::span<const Bar> windowBars)
{
    for (const Bar& bar : windowBars) {
        if (bar.first.get() != &control && bar.second.get() != &control)
            continue;
        const char* noun = isGroup(bar.first.get() == &control ? bar.first : bar.second) ? " group of panes" : " pane";
        return sideWord(bar, bar.first.get() == &control) + std::string(noun) + onThe(bar.container, windowBars);
    }
    return {};
}

std::string describePosition(rt::Single position, rt::Single lowest, rt::Single highest, BarDirection direction)
{
    const bool vertical = direction == BarDirection::LeftRight;
    if (!(lowest < highest))
        return "with no room to move";
    if (position <= lowest)
        return vertical ? "at the left limit" : "at the top limit";
    if (position >= highest)
        return vertical ? "at the right limit" : "at the bottom limit";
    const double share = (double(position) - lowest) / (double(highest) - lowest);
    const long percent = std::clamp(std::lround(share * 100), 1L, 99L);
    return std::to_string(percent) + (vertical ? " percent from the left" : " percent from the top");
}

std::string describeBar(const Bar& bar, std::span<const Bar> windowBars)
{
    return "Divider between the " + sides(bar) + onThe(bar.container, windowBars);
}

}  // namespace splitter
