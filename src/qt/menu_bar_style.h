// The menu bar's look: the application's style, except that the entry under the mouse or chosen from the
// keyboard (Alt, then the arrows) is drawn as the style draws an entry whose menu is open. Fusion, the
// style on a plain X server, marks an entry only while its menu is open, and the main window's entries
// open none, so otherwise nothing would show which one is selected.
#pragma once

class QMenuBar;

namespace qthost {

// Gives the menu bar that look; the style is shared by every menu bar and lives as long as the application.
void useSelectionMarkingStyle(QMenuBar& menuBar);

}  // namespace qthost
