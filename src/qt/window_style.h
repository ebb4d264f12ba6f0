// The look of the program's windows: the application's style, with two changes.
// - The menu bar's entry under the mouse or chosen from the keyboard (Alt, then the arrows) is drawn as the
//   style draws an entry whose menu is open. Fusion, the style on a plain X server, marks an entry only
//   while its menu is open, and the main window's entries open none, so otherwise nothing would show which
//   one is selected.
// - The client area takes its new geometry in one step. QMainWindow's layout otherwise moves it through a
//   geometry animation of no length, made and destroyed on every resize, which costs about as much as
//   laying out all of a window's panes.
#pragma once

class QWidget;

namespace qthost {

// Gives the widget (a window's menu bar or its client area) that look; the style is shared by every window
// and lives as long as the application.
void useWindowStyle(QWidget& widget);

}  // namespace qthost
