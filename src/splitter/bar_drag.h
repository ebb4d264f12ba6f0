// Dragging a splitter bar. A press lays the bar's indicator over the bar and shows it; while the button
// is held only the indicator follows the pointer, kept 100 twips from either end; the release lays out
// the window once for the indicator's position and hides the indicator. Any button, any modifiers.
// The handlers trap nothing: a failure ends the handler and goes to the runtime's default handling.
#pragma once

#include <string>

#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/mouse.h"
#include "splitter/bar_table.h"

namespace splitter {

inline constexpr rt::Single kDragMargin = 100;

// The indicator position for a pointer at `candidate`, given the size the upper limit is measured
// against. Under the margin gives the margin; at or past size - margin gives size - margin. When the size
// is under twice the margin that limit is itself under the margin, and it is taken as it stands except
// that a negative position becomes 0: a bar above its container's edge could never be grabbed again.
rt::Single limitDragPosition(rt::Single candidate, rt::Single limitSize);

// One bar of one window instance, resolved to its live controls.
struct BarWiring {
    const BarEntry& entry;
    rt::Form& form;
    rt::Control& bar;
    rt::Control& indicator;
    const rt::Control* limitControl;  // null: the window's client size
    bool& dragging;
    void (*layout)(rt::Form& form, rt::Single position);
};

void barMouseDown(const BarWiring& wiring);
void barMouseMove(const BarWiring& wiring, const rt::MouseArgs& args);
void barMouseUp(const BarWiring& wiring);

// Runs the bar's handler for a mouse event.
void barMouseEvent(const BarWiring& wiring, rt::MouseEvent event, const rt::MouseArgs& args);

}  // namespace splitter
