#include "splitter/bar_names.h"

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

}  // namespace

std::string describeBar(const Bar& bar, std::span<const Bar> windowBars)
{
    std::string name = "Divider between the " + sides(bar);
    const std::string place = placeOf(bar.container ? bar.container->get() : nullptr, windowBars);
    if (!place.empty())
        name += " on the " + place;
    return name;
}

}  // namespace splitter
