#include "qt/menu_accessibility.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QMenuBar>
#include <QPointer>

#include "qt/accessible_registry.h"

namespace qthost {
namespace {

class MenuBarAccessible;

// One entry of the menu bar.
class MenuEntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuEntryAccessible(QMenuBar* menuBar, QAction* action) : menuBar_(menuBar), action_(action) {}

    bool isValid() const override { return menuBar_ && action_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return menuBar_ ? menuBar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return menuBar_ ? QAccessible::queryAccessibleInterface(menuBar_) : nullptr;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name: return QString(action_->text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
        case QAccessible::Description: return action_->statusTip();
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = menuBar_->actionGeometry(action_);
        return local.translated(menuBar_->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override { return QAccessible::MenuItem; }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !action_->isVisible() || !menuBar_->isVisible();
        s.disabled = !action_->isEnabled();
        s.focusable = true;
        // The entry Alt and the arrows move to; the menu bar holds the keyboard without taking the focus.
        s.focused = menuBar_->activeAction() == action_ && menuBar_->isActiveWindow();
        s.hotTracked = menuBar_->activeAction() == action_;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            action_->trigger();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QMenuBar> menuBar_;
    QPointer<QAction> action_;
};

// The menu bar: its children are its actions, one interface each, dropped with the menu bar.
class MenuBarAccessible : public QAccessibleWidget {
public:
    explicit MenuBarAccessible(QMenuBar* menuBar)
        : QAccessibleWidget(menuBar, QAccessible::MenuBar), entries_(menuBar)
    {
    }

    QMenuBar* menuBar() const { return static_cast<QMenuBar*>(widget()); }

    int childCount() const override { return static_cast<int>(menuBar()->actions().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QAction*> actions = menuBar()->actions();
        if (index < 0 || index >= actions.size())
            return nullptr;
        QAction* action = actions[index];
        return entries_.interfaceFor(action, [&] { return new MenuEntryAccessible(menuBar(), action); });
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        QAction* action = menuBar()->actionAt(menuBar()->mapFromGlobal(QPoint(x, y)));
        const int index = action ? static_cast<int>(menuBar()->actions().indexOf(action)) : -1;
        return index >= 0 ? child(index) : nullptr;
    }

private:
    AccessibleRegistry<QAction*> entries_;
};

}  // namespace

QAccessibleInterface* menuBarAccessible(QMenuBar* menuBar) { return new MenuBarAccessible(menuBar); }

}  // namespace qthost
