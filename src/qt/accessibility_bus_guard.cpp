#include "qt/accessibility_bus_guard.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <QXmlStreamReader>

namespace qthost {
namespace {

// Where Qt's bridge answers for every accessible object (the objects are paths below it), and the name
// of its connection to the accessibility bus.
const QString kAccessiblePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString kBusConnectionName = QStringLiteral("a11y");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kValueInterface = QStringLiteral("org.a11y.atspi.Value");

// Answers a call with an error instead of passing it on; the call counts as handled.
bool refuse(const QDBusMessage& message, const QDBusConnection& connection, QDBusError::ErrorType type,
            const QString& why)
{
    connection.send(message.createErrorReply(type, why));
    return true;
}

// A call to one of this program's own objects, answered within the program (Qt delivers it without the
// bus), so that the bridge's own answer can be read back.
QDBusMessage callOwnObject(const QDBusConnection& connection, const QString& path, const QString& method,
                           const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(connection.baseService(), path, kPropertiesInterface, method);
    call.setArguments(arguments);
    return connection.call(call);
}

void readMethod(QXmlStreamReader& xml, QHash<QString, QString>& methods)
{
    const QString name = xml.attributes().value(QLatin1String("name")).toString();
    QString signature;
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes arg = xml.attributes();
        if (xml.name() == QLatin1String("arg") && arg.value(QLatin1String("direction")) != QLatin1String("out"))
            signature += arg.value(QLatin1String("type"));
        xml.skipCurrentElement();
    }
    methods.insert(name, signature);
}

void readInterface(QXmlStreamReader& xml, BusDescription& description)
{
    const QString name = xml.attributes().value(QLatin1String("name")).toString();
    QHash<QString, QString>& methods = description.methods[name];
    QStringList& properties = description.properties[name];
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("method")) {
            readMethod(xml, methods);
            continue;
        }
        if (xml.name() == QLatin1String("property"))
            properties.append(xml.attributes().value(QLatin1String("name")).toString());
        xml.skipCurrentElement();
    }
}

// Puts the guard in front of the bridge, if the bridge is on the bus and not guarded yet.
void installGuard()
{
    QDBusConnection bus(kBusConnectionName);
    if (!bus.isConnected())
        return;
    QObject* registered = bus.objectRegisteredAt(kAccessiblePath);
    auto* bridge = qobject_cast<QDBusVirtualObject*>(registered);
    if (!bridge || qobject_cast<AccessibilityBusGuard*>(registered))
        return;
    auto* guard = new AccessibilityBusGuard(bridge);
    bus.unregisterObject(kAccessiblePath);
    if (!bus.registerVirtualObject(kAccessiblePath, guard, QDBusConnection::SubPath)) {
        bus.registerVirtualObject(kAccessiblePath, bridge, QDBusConnection::SubPath);
        delete guard;
    }
}

// Qt's bridge registers itself on the bus right after it reports accessibility turned on; the guard
// follows once that report has returned.
class ActivationWatch final : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &installGuard, Qt::QueuedConnection);
    }
};

}  // namespace

BusDescription describeBusObject(const QString& introspection)
{
    BusDescription description;
    // The bridge gives the <interface> elements alone, without a root element around them.
    QXmlStreamReader xml(QLatin1String("<node>") + introspection + QLatin1String("</node>"));
    if (!xml.readNextStartElement())
        return description;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("interface"))
            readInterface(xml, description);
        else
            xml.skipCurrentElement();
    }
    return description;
}

AccessibilityBusGuard::AccessibilityBusGuard(QDBusVirtualObject* bridge)
    : QDBusVirtualObject(bridge), bridge_(bridge)
{
}

QString AccessibilityBusGuard::introspect(const QString& path) const
{
    return bridge_ ? bridge_->introspect(path) : QString();
}

const BusDescription& AccessibilityBusGuard::description(const QString& path)
{
    const QString introspection = introspect(path);
    auto it = descriptions_.find(introspection);
    if (it == descriptions_.end()) {
        if (descriptions_.size() > 64)
            descriptions_.clear();  // the bridge describes a few kinds of object; this never happens
        it = descriptions_.insert(introspection, describeBusObject(introspection));
    }
    return *it;
}

bool AccessibilityBusGuard::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    if (!bridge_)
        return false;
    if (message.type() != QDBusMessage::MethodCallMessage)
        return bridge_->handleMessage(message, connection);
    if (message.interface() == kPropertiesInterface)
        return handlePropertyCall(message, connection);
    const QHash<QString, QString> methods = description(message.path()).methods.value(message.interface());
    const auto method = methods.constFind(message.member());
    if (method != methods.constEnd() && message.signature() != *method)
        return refuse(message, connection, QDBusError::InvalidArgs,
                      QStringLiteral("%1 takes arguments of type '%2'").arg(message.member(), *method));
    if (message.interface() == kValueInterface && message.member() == QLatin1String("SetCurrentValue"))
        return setCurrentValue(message, connection);
    return bridge_->handleMessage(message, connection);
}

bool AccessibilityBusGuard::handlePropertyCall(const QDBusMessage& message, const QDBusConnection& connection)
{
    static const QHash<QString, QString> kArguments = {
        {QStringLiteral("Get"), QStringLiteral("ss")},
        {QStringLiteral("Set"), QStringLiteral("ssv")},
        {QStringLiteral("GetAll"), QStringLiteral("s")},
    };
    const auto expected = kArguments.constFind(message.member());
    if (expected == kArguments.constEnd())
        return refuse(message, connection, QDBusError::UnknownMethod,
                      QStringLiteral("No method %1 in %2").arg(message.member(), kPropertiesInterface));
    if (message.signature() != *expected)
        return refuse(message, connection, QDBusError::InvalidArgs,
                      QStringLiteral("%1 takes arguments of type '%2'").arg(message.member(), *expected));
    if (message.member() == QLatin1String("GetAll"))
        return answerGetAll(message, connection);
    return bridge_->handleMessage(message, connection);
}

bool AccessibilityBusGuard::answerGetAll(const QDBusMessage& message, const QDBusConnection& connection)
{
    const QString interface = message.arguments().constFirst().toString();
    const BusDescription& described = description(message.path());
    if (described.empty())
        return refuse(message, connection, QDBusError::UnknownObject,
                      QStringLiteral("No accessible object at %1").arg(message.path()));
    if (!described.methods.contains(interface))
        return refuse(message, connection, QDBusError::UnknownInterface,
                      QStringLiteral("The object at %1 has no interface %2").arg(message.path(), interface));
    const QStringList names = described.properties.value(interface);
    QVariantMap all;
    for (const QString& name : names) {
        const QDBusMessage reply = callOwnObject(connection, message.path(), QStringLiteral("Get"), {interface, name});
        // A property the bridge cannot give now is left out, as a Get of it would fail.
        if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1)
            all.insert(name, qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant());
    }
    connection.send(message.createReply(QVariant::fromValue(all)));
    return true;
}

bool AccessibilityBusGuard::setCurrentValue(const QDBusMessage& message, const QDBusConnection& connection)
{
    const QVariant value = QVariant::fromValue(QDBusVariant(message.arguments().constFirst()));
    const QDBusMessage reply = callOwnObject(connection, message.path(), QStringLiteral("Set"),
                                             {kValueInterface, QStringLiteral("CurrentValue"), value});
    if (reply.type() == QDBusMessage::ErrorMessage)
        connection.send(message.createErrorReply(reply.errorName(), reply.errorMessage()));
    else
        connection.send(message.createReply());
    return true;
}

void guardAccessibilityBus()
{
    static ActivationWatch watch;
    static bool watching = false;
    if (watching)
        return;
    watching = true;
    QAccessible::installActivationObserver(&watch);
    if (QAccessible::isActive())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &installGuard, Qt::QueuedConnection);
}

}  // namespace qthost
