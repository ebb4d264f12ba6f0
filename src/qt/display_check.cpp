#include "qt/display_check.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>

namespace qthost {

namespace {

bool waylandAnnounced()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The keys a platform plugin file declares; none for any other file.
QStringList platformKeys(const QString& file)
{
    const QJsonObject meta = QPluginLoader(file).metaData();
    if (!meta.value(QLatin1String("IID")).toString().startsWith(QLatin1String("org.qt-project.Qt.QPA.")))
        return {};
    QStringList keys;
    for (const QJsonValue key : meta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("Keys")).toArray())
        keys.append(key.toString().toLower());
    return keys;
}

}  // namespace

QStringList namedPlatforms(const QString& platformArgument)
{
    const QString platform =
        platformArgument.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformArgument;
    QStringList names;
    for (const QString& entry : platform.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed(); !name.isEmpty())
            names.append(name);
    return names;
}

bool usesX11Display(const QString& platformArgument)
{
    const QStringList named = namedPlatforms(platformArgument);
    // With none named, Qt tries its Wayland platform first wherever a Wayland compositor is announced.
    if (named.isEmpty())
        return !waylandAnnounced();
    return named.first() == QLatin1String("xcb");
}

QString waylandDisplayName()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    return name.isEmpty() ? QStringLiteral("wayland-0") : name;
}

bool canOpenWaylandDisplay()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;  // a connection handed over by the parent: nothing to look up
    QString path = waylandDisplayName();
    if (!path.startsWith(QLatin1Char('/'))) {
        const QString runtimeDirectory = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtimeDirectory.isEmpty())
            return false;
        path = runtimeDirectory + QLatin1Char('/') + path;
    }
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (encoded.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

QStringList availablePlatforms(const QString& extraPluginPath)
{
    QStringList directories;
    if (!extraPluginPath.isEmpty())
        directories.append(extraPluginPath);
    for (const QString& path : qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        directories.append(path);
    for (const QString& path : QCoreApplication::libraryPaths())
        directories.append(path + QLatin1String("/platforms"));
    QStringList names;
    for (const QString& directory : directories) {
        const QDir dir(directory);
        for (const QString& file : dir.entryList(QDir::Files))
            names.append(platformKeys(dir.filePath(file)));
    }
    names.sort();
    names.removeDuplicates();
    return names;
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

namespace qthost {

QString platformProblem(const QString& platformArgument, const QString& displayArgument,
                        const QString& extraPluginPath)
{
    QStringList tried = namedPlatforms(platformArgument);
    const bool named = !tried.isEmpty();
    if (!named)
        tried = waylandAnnounced() ? QStringList{QStringLiteral("wayland"), QStringLiteral("xcb")}
                                   : QStringList{QStringLiteral("xcb")};
    const QStringList available = availablePlatforms(extraPluginPath);
    QStringList problems;
    for (const QString& name : tried) {
        if (!available.contains(name.toLower())) {
            problems.append(QStringLiteral("no platform is named %1").arg(name));
        } else if (name == QLatin1String("xcb")) {
            const QString display = x11DisplayName(displayArgument);
            if (canOpenX11Display(display))
                return {};
            if (display.isEmpty())
                problems.append(qEnvironmentVariableIsSet("DISPLAY")
                                    ? QStringLiteral("cannot open the display (DISPLAY is empty)")
                                    : QStringLiteral("cannot open the display (DISPLAY is not set)"));
            else
                problems.append(QStringLiteral("cannot open the display %1").arg(display));
        } else if (name.startsWith(QLatin1String("wayland"))) {
            if (canOpenWaylandDisplay())
                return {};
            problems.append(QStringLiteral("cannot open the Wayland display %1").arg(waylandDisplayName()));
        } else {
            return {};
        }
    }
    QString line = problems.join(QStringLiteral("; "));
    if (named && std::all_of(tried.begin(), tried.end(), [&](const QString& n) { return !available.contains(n.toLower()); }))
        line += QStringLiteral(" (the platforms are: %1)").arg(available.join(QStringLiteral(", ")));
    return line;
}

}  // namespace qthost
