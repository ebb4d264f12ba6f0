// What assistive tools see of a form's window: the window named after its form, and below its surface
// one accessible object per control (panes, containers, bars, drag indicators), named after the control
// and placed where the runtime's bounds put it. The controls are painted, not widgets, so the surface
// provides them itself.
#pragma once

namespace qthost {

// Registers the accessibility factory for the host's windows and surfaces; calling it again does nothing.
void installAccessibility();

}  // namespace qthost
