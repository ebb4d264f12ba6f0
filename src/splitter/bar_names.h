// What a bar divides, where it stands, and what a pane or group of panes is, in words a listener
// understands, for assistive tools:
//     "Divider between the left and right panes"
//     "Divider between the upper group of panes and the lower pane on the left"
//     "45 percent from the left", "at the top limit"
//     "upper pane on the left", "left group of panes"
// Worked out from the bar's direction, what its two sides are, and where its container lies among the
// window's other splits, so that every bar and pane of every window is named the same way.
#pragma once

#include <span>
#include <string>

#include "splitter/bar.h"

namespace splitter {

std::string describeBar(const Bar& bar, std::span<const Bar> windowBars);

// A pane or a container that is one side of a bar; empty for any other control.
std::string describeSide(const rt::Control& control, std::span<const Bar> windowBars);

// Where a bar at `position` stands in the range its drags span, lowest to highest (the drag's own
// ends, which cross when its container is too small for the margins): at a limit, or a share of the way
// from the left or top in whole percent, never 0 or 100 unless it is at a limit.
std::string describePosition(rt::Single position, rt::Single lowest, rt::Single highest, BarDirection direction);

}  // namespace splitter
