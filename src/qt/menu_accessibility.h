// What assistive tools see of a window's menu bar: a menu bar whose entries are menu items named by their
// captions as they stand and described by what they open (the action's status tip), with the entry the
// keyboard is on focused and a press action that chooses it. Qt's own menu items have no description.
#pragma once

class QAccessibleInterface;
class QMenuBar;

namespace qthost {

QAccessibleInterface* menuBarAccessible(QMenuBar* menuBar);

}  // namespace qthost
