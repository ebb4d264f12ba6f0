// Whether the windows can reach their display. Qt's X11 platform ends the program with abort() when it
// cannot connect, so the program asks first and says what went wrong.
#pragma once

#include <QString>

namespace qthost {

// True when Qt will put the windows on an X display: the platform named by the -platform argument, else by
// QT_QPA_PLATFORM, is xcb; or none is named and neither the session type nor WAYLAND_DISPLAY announces
// Wayland (Qt's default is then xcb).
bool usesX11Display(const QString& platformArgument);

// The display Qt will connect to: the -display argument, else $DISPLAY (empty when neither is set).
QString x11DisplayName(const QString& displayArgument);

// Connects to the display and disconnects again.
bool canOpenX11Display(const QString& name);

}  // namespace qthost
