// What assistive tools see of a form's window: the window named after its form, and below its surface
// one accessible object per control (panes, containers, bars, drag indicators), placed where the
// runtime's bounds put it. Panes and indicators are named after their control; a bar is named for what
// it divides, keeps its control's name as its description, has a value (its position, with the drag's
// range) that tools can set, and has the focus while the keyboard moves it. The controls are painted, not
// widgets, so the surface provides them itself.
#pragma once

namespace rt {
class Control;
}

namespace qthost {

class Surface;

// Registers the accessibility factory for the host's windows and surfaces; calling it again does nothing.
void installAccessibility();

// After a key, a press or a lost focus: tells assistive tools which control now has the keyboard inside the
// surface, when it changed from `before` or `retaken` says the same bar was taken again, and which bars a
// commit moved.
void announceKeyboardFocus(Surface& surface, const rt::Control* before, bool retaken);
// After a release or a position set by a tool: tells them of every bar now at a new position.
void announceBarValues(Surface& surface);

}  // namespace qthost
