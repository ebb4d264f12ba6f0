// Moving one bar from the keyboard, built from the drag's own steps: taking the bar is a press, each key
// move is a move through the same limits, a commit is the release at the indicator's position, and a
// cancel puts the indicator back as it was before and hides it, with no other control touched.
#pragma once

#include "runtime/geometry.h"
#include "runtime/keyboard.h"
#include "splitter/bar.h"

namespace splitter {

// Ctrl+arrow, Page Up and Page Down move this many logical pixels at once.
inline constexpr int kLargeKeyStep = 10;

enum class BarKeyAction {
    NotOurs,    // the key has no meaning for a bar: the window passes it on
    Nothing,    // an arrow across the bar's axis: taken, and nothing happens
    Move,       // by `pixels` logical pixels, negative towards the left or top
    ToLowest,   // to the lower end of the drag's range
    ToHighest,  // to the upper end
    Commit,
    Cancel,
};

struct BarKeyEffect {
    BarKeyAction action;
    int pixels = 0;
    bool operator==(const BarKeyEffect&) const = default;
};

// The key table for a bar in keyboard mode. Keys held with Alt belong to the window system.
BarKeyEffect barKeyEffect(BarDirection direction, const rt::KeyArgs& key);

// Where the indicator was before the bar was taken, for a cancel to restore.
struct IndicatorBefore {
    rt::Rect bounds;
};

// Takes the bar: its indicator is laid over it and shown and its drag flag set, exactly as a press does.
IndicatorBefore barKeyboardTake(const Bar& bar);
// Moves the indicator for a Move, ToLowest or ToHighest effect; one pixel is `twipsPerPixel` twips.
void barKeyboardMove(const Bar& bar, const BarKeyEffect& effect, double twipsPerPixel);
// Lays the window out for the indicator's position, hides it and clears the flag: the release.
void barKeyboardCommit(const Bar& bar);
// Puts the indicator back where it was, hides it and clears the flag; nothing is laid out.
void barKeyboardCancel(const Bar& bar, const IndicatorBefore& before);

}  // namespace splitter
