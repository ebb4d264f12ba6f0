// Whether the windows can reach their display. Qt's X11 platform ends the program with abort() when it
// cannot connect, so the program asks first and says what went wrong.
#pragma once

#include <QString>
#include <QStringList>

namespace qthost {

// True when Qt will put the windows on an X display: the platform named by the -platform argument, else by
// QT_QPA_PLATFORM, is xcb; or none is named and neither the session type nor WAYLAND_DISPLAY announces
// Wayland (Qt's default is then xcb).
bool usesX11Display(const QString& platformArgument);

// The display Qt will connect to: the -display argument, else $DISPLAY (empty when neither is set).
QString x11DisplayName(const QString& displayArgument);

// Connects to the display and disconnects again.
bool canOpenX11Display(const QString& name);

// The names of the platforms Qt can load (xcb, wayland, offscreen, ...), sorted, as their plugins in
// Qt's plugin directories (and `extraPluginPath`, the -platformpluginpath argument) declare them.
QStringList availablePlatforms(const QString& extraPluginPath);
// The platforms a -platform argument or QT_QPA_PLATFORM names: "a;b" lists them in the order Qt tries
// them, "a:options" passes options to one. Empty when none is named.
QStringList namedPlatforms(const QString& platformArgument);

// Connects to the compositor's socket that Qt's Wayland platform would use ($WAYLAND_DISPLAY, a name
// under $XDG_RUNTIME_DIR or a path; wayland-0 when unset) and disconnects again.
bool canOpenWaylandDisplay();
// The Wayland display named, for messages: $WAYLAND_DISPLAY, or wayland-0.
QString waylandDisplayName();

// Why Qt would find no platform to start on, in one line, or empty when one will start. Qt tries the
// platforms named (or, with none named, Wayland where it is announced and then X11) in order, passes over
// the ones it has no plugin for, and ends the program with abort() when none starts. Displays that
// cannot be reached are found here; other platforms (offscreen, vnc, ...) are taken to start.
QString platformProblem(const QString& platformArgument, const QString& displayArgument,
                        const QString& extraPluginPath);

}  // namespace qthost
