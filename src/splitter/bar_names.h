// What a bar divides, in words a listener understands, for assistive tools:
//     "Divider between the left and right panes"
//     "Divider between the upper group of panes and the lower pane on the left"
// Worked out from the bar's direction, what its two sides are, and where its container lies among the
// window's other splits, so that every bar of every window is named the same way.
#pragma once

#include <span>
#include <string>

#include "splitter/bar.h"

namespace splitter {

std::string describeBar(const Bar& bar, std::span<const Bar> windowBars);

}  // namespace splitter
