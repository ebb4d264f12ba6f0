// Dragging a splitter bar. A press lays the bar's indicator over the bar and shows it; while the button
// is held only the indicator follows the pointer, kept 100 twips from either end; the release lays out
// the window once for the indicator's position and hides the indicator. Any button, any modifiers.
// The handlers trap nothing: a failure ends the handler and goes to the runtime's default handling.
#pragma once

#include "runtime/mouse.h"
#include "splitter/bar.h"

namespace splitter {

inline constexpr rt::Single kDragMargin = 100;

// The indicator position for a pointer at `candidate`, given the size the upper limit is measured
// against. Under the margin gives the margin; at or past size - margin gives size - margin. When the size
// is under twice the margin that limit is itself under the margin, and it is taken as it stands except
// that a negative position becomes 0: a bar above its container's edge could never be grabbed again.
rt::Single limitDragPosition(rt::Single candidate, rt::Single limitSize);

void barMouseDown(const Bar& bar);
void barMouseMove(const Bar& bar, const rt::MouseArgs& args);
void barMouseUp(const Bar& bar);

// What a move does with its candidate position: limits it, and sets the indicator's Left or Top to it if
// the bar is being dragged. Keyboard moves use it too, so they keep to the same limits.
void moveIndicator(const Bar& bar, rt::Single candidate);

// The two ends of the range a drag can put the bar in: where a candidate far below, and one far above,
// ends up. With a limit size under twice the margin the upper end lies below the lower one.
rt::Single lowestDragPosition(const Bar& bar);
rt::Single highestDragPosition(const Bar& bar);

// A whole drag in one go: press, one move to `position`, release. A position that is not a number leaves
// everything as it is; one beyond the single range is taken as the nearest end of the range.
void barDragTo(const Bar& bar, double position);

}  // namespace splitter
