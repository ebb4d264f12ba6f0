// What assistive tools see of a form's window: the window named after its form and described by how to
// move its dividers from the keyboard, and below its surface one accessible object per pane, container
// and bar, placed where the runtime's bounds put it. Everything is named in words a listener understands;
// the control's own name is its help text, which screen readers do not speak. A bar is named for what it
// divides, described by where it stands ("45 percent from the left"), and has a value (its position, or
// its indicator's while the keyboard moves it, with the drag's range) that tools can set. A drag indicator
// is there only while it is shown: a slider named after its bar, valued in percent of the drag's range,
// which has the focus while the keyboard moves it, so that a screen reader speaks every move. The controls
// are painted, not widgets, so the surface provides them.
#pragma once

namespace rt {
class Control;
}

namespace qthost {

class Surface;

// Registers the accessibility factory for the host's windows and surfaces; calling it again does nothing.
void installAccessibility();

// How keyboard mode ended, for what a listener is told.
enum class KeyboardEnd { Placed, Cancelled };

// After a key, a press, a lost focus or a value set by a tool: tells assistive tools which control now has
// the keyboard inside the surface, when it changed from `before` or `retaken` says the same bar was taken
// again; where the bar still taken now stands; how keyboard mode ended (`end`) and where the bar was left;
// and which bars moved.
void announceKeyboardFocus(Surface& surface, const rt::Control* before, bool retaken,
                           KeyboardEnd end = KeyboardEnd::Cancelled);
// When the surface loses the keyboard: what it told of the last keyboard move is no longer news.
void forgetLastMove(Surface& surface);
// After a release or a position set by a tool: tells them of every bar now at a new position.
void announceBarValues(Surface& surface);

}  // namespace qthost
