// Accessible interfaces for things that have no QObject of their own (a painted control, a menu entry):
// one per key, made on the first request, found again while Qt keeps it, and deleted with the widget that
// shows them, since Qt deletes such interfaces only when asked to.
#pragma once

#include <QAccessible>
#include <QObject>
#include <map>
#include <memory>

namespace qthost {

template <class Key>
class AccessibleRegistry {
public:
    explicit AccessibleRegistry(QObject* owner) : ids_(std::make_shared<std::map<Key, QAccessible::Id>>())
    {
        QObject::connect(owner, &QObject::destroyed, [ids = ids_] {
            for (const auto& [key, id] : *ids)
                QAccessible::deleteAccessibleInterface(id);
            ids->clear();
        });
    }

    // The interface for `key`, made by `make` when there is none.
    template <class Make>
    QAccessibleInterface* interfaceFor(const Key& key, Make&& make) const
    {
        const auto it = ids_->find(key);
        if (it != ids_->end())
            if (QAccessibleInterface* existing = QAccessible::accessibleInterface(it->second))
                return existing;
        QAccessibleInterface* created = make();
        (*ids_)[key] = QAccessible::registerAccessibleInterface(created);
        return created;
    }

private:
    // Shared with the connection, which outlives the accessible object of the widget.
    std::shared_ptr<std::map<Key, QAccessible::Id>> ids_;
};

}  // namespace qthost
