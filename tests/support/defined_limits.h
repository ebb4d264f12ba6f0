// What limits each bar's drag, as the window definitions say, in the form the replay checks take.
#pragma once

#include "replay/invariants.h"
#include "support/defined_bars.h"

namespace testing_support {

inline replay::InvariantChecker::LimitControls definedLimitControls()
{
    replay::InvariantChecker::LimitControls limits;
    for (const DefinedBar& bar : kDefinedBars)
        for (replay::Window window : replay::kWindows)
            if (replay::windowName(window) == bar.window)
                limits[{window, bar.number}] = bar.limitControl;
    return limits;
}

}  // namespace testing_support
