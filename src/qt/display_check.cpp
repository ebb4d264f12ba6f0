#include "qt/display_check.h"

#include <xcb/xcb.h>

namespace qthost {

bool usesX11Display(const QString& platformArgument)
{
    const QString platform =
        platformArgument.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformArgument;
    // With none named, Qt tries its Wayland platform first wherever a Wayland compositor is announced.
    if (platform.isEmpty())
        return qEnvironmentVariable("XDG_SESSION_TYPE") != QLatin1String("wayland") &&
               qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // A list such as "xcb;offscreen" is tried in order; "xcb:option" carries options for the plugin.
    return platform.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0).trimmed() ==
           QLatin1String("xcb");
}

QString x11DisplayName(const QString& displayArgument)
{
    return displayArgument.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayArgument;
}

bool canOpenX11Display(const QString& name)
{
    const QByteArray encoded = name.toLocal8Bit();
    xcb_connection_t* connection = xcb_connect(encoded.isEmpty() ? nullptr : encoded.constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);  // also frees a connection that failed
    return opened;
}

}  // namespace qthost
