// What limits each bar's drag, as the window definitions say, in the form the replay checks take.
#pragma once

#include "replay/invariants.h"
#include "support/defined_bars.h"

namespace testing_support {

inline replay::LimitControls definedLimitControls()
{
    replay::LimitControls limits;
    for (const DefinedBar& bar : kDefinedBars)
        limits[{replay::windowNamed(bar.window).value(), bar.number}] = bar.limitControl;
    return limits;
}

}  // namespace testing_support
