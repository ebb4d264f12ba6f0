// A guard between the accessibility bus and Qt's AT-SPI bridge. Qt 6.4's bridge reads arguments that a
// call did not bring: a property query for all of an object's properties at once (GetAll), or a call with
// too few arguments, reads past the end of the argument list and crashes the program. The guard takes the
// bridge's place on the bus, answers such queries itself and passes everything else on unchanged.
#pragma once

#include <QDBusVirtualObject>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace qthost {

// What an object offers on the bus, as the bridge describes it: for each interface, the arguments each
// method takes (their D-Bus signature) and the names of its properties.
struct BusDescription {
    QHash<QString, QHash<QString, QString>> methods;
    QHash<QString, QStringList> properties;
    bool empty() const { return methods.isEmpty() && properties.isEmpty(); }
};

// Reads a bridge's introspection text (the <interface> elements); anything it cannot read is left out.
BusDescription describeBusObject(const QString& introspection);

class AccessibilityBusGuard final : public QDBusVirtualObject {
    Q_OBJECT
public:
    // Stands in for `bridge`, which stays registered nowhere but keeps answering through the guard.
    explicit AccessibilityBusGuard(QDBusVirtualObject* bridge);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    bool handlePropertyCall(const QDBusMessage& message, const QDBusConnection& connection);
    // Every property of one interface, each read through the bridge's own answer to Get.
    bool answerGetAll(const QDBusMessage& message, const QDBusConnection& connection);
    // The method form of setting a value, which the bridge mistakes for the property form.
    bool setCurrentValue(const QDBusMessage& message, const QDBusConnection& connection);
    const BusDescription& description(const QString& path);

    QPointer<QDBusVirtualObject> bridge_;
    QHash<QString, BusDescription> descriptions_;  // by introspection text: a few kinds of object in all
};

// Puts the guard in front of Qt's bridge once the bridge is on the accessibility bus, now or whenever
// accessibility is turned on later; calling it again does nothing.
void guardAccessibilityBus();

}  // namespace qthost
