#include "qt/accessibility.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <map>
#include <memory>
#include <string>

#include "qt/form_window.h"
#include "qt/painting.h"
#include "runtime/control.h"

namespace qthost {
namespace {

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QAccessible::Role roleOf(const rt::Control& control)
{
    switch (control.role()) {
    case rt::ControlRole::Bar: return QAccessible::Separator;
    case rt::ControlRole::Indicator: return QAccessible::Indicator;
    case rt::ControlRole::Container: return QAccessible::Grouping;
    case rt::ControlRole::Pane: break;
    }
    return QAccessible::Pane;
}

// Shown only if it and every container above it are visible.
bool shown(const rt::Control& control)
{
    for (const rt::Control* c = &control; c; c = c->parent())
        if (!c->Visible())
            return false;
    return true;
}

class ControlAccessible;
QAccessibleInterface* childHitAt(Surface* surface, const rt::Control* parent, int x, int y);

// The surface: its children are the form's own controls. It hands out one interface per control name
// and drops them all when the surface goes away.
class SurfaceAccessible : public QAccessibleWidget {
public:
    explicit SurfaceAccessible(Surface* surface)
        : QAccessibleWidget(surface, QAccessible::Client), ids_(std::make_shared<std::map<std::string, QAccessible::Id>>())
    {
        // Interfaces without an object of their own live until they are deleted explicitly.
        QObject::connect(surface, &QObject::destroyed, [ids = ids_] {
            for (const auto& [name, id] : *ids)
                QAccessible::deleteAccessibleInterface(id);
            ids->clear();
        });
    }

    Surface* surface() const { return static_cast<Surface*>(widget()); }
    rt::Form* form() const
    {
        rt::Form* f = surface()->form();
        return f && f->loaded() ? f : nullptr;
    }

    QAccessibleInterface* interfaceFor(const rt::Control& control);

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && form())
            return qstr(form()->name());
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return form() ? static_cast<int>(form()->children().size()) : 0; }

    QAccessibleInterface* child(int index) const override
    {
        rt::Form* f = form();
        if (!f || index < 0 || index >= static_cast<int>(f->children().size()))
            return nullptr;
        return const_cast<SurfaceAccessible*>(this)->interfaceFor(*f->children()[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override;

    QAccessibleInterface* childAt(int x, int y) const override;

private:
    std::shared_ptr<std::map<std::string, QAccessible::Id>> ids_;
};

SurfaceAccessible* surfaceInterface(Surface* surface)
{
    return surface ? static_cast<SurfaceAccessible*>(QAccessible::queryAccessibleInterface(surface)) : nullptr;
}

// One control, found again by name on every call: the form may have unloaded it since.
class ControlAccessible : public QAccessibleInterface {
public:
    ControlAccessible(Surface* surface, std::string name) : surface_(surface), name_(std::move(name)) {}

    const rt::Control* control() const
    {
        if (!surface_)
            return nullptr;
        const rt::Form* f = surface_->form();
        return f && f->loaded() ? f->find(name_) : nullptr;
    }

    bool isValid() const override { return control() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return surface_ ? surface_->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override
    {
        const rt::Control* c = control();
        if (!c)
            return nullptr;
        SurfaceAccessible* s = surfaceInterface(surface_);
        return c->parent() ? s->interfaceFor(*c->parent()) : s;
    }

    int childCount() const override
    {
        const rt::Control* c = control();
        return c ? static_cast<int>(c->children().size()) : 0;
    }

    QAccessibleInterface* child(int index) const override
    {
        const rt::Control* c = control();
        if (!c || index < 0 || index >= static_cast<int>(c->children().size()))
            return nullptr;
        return surfaceInterface(surface_)->interfaceFor(*c->children()[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const rt::Control* c = control();
        const auto* other = dynamic_cast<const ControlAccessible*>(child);
        const rt::Control* target = other ? other->control() : nullptr;
        if (!c || !target)
            return -1;
        for (std::size_t i = 0; i < c->children().size(); ++i)
            if (c->children()[i] == target)
                return static_cast<int>(i);
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const rt::Control* c = control();
        return c ? childHitAt(surface_, c, x, y) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        const rt::Control* c = control();
        if (!c)
            return {};
        switch (t) {
        case QAccessible::Name: return qstr(c->name());
        case QAccessible::Description:
            switch (role()) {
            case QAccessible::Separator: return QStringLiteral("Splitter bar: drag it to resize the panes beside it");
            case QAccessible::Indicator: return QStringLiteral("Where the dragged bar will be placed");
            default: return {};
            }
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        const rt::Control* c = control();
        if (!c || !surface_)
            return {};
        double x = 0, y = 0;
        c->form().originOf(*c, x, y);
        // Logical pixels, each edge rounded as the painting rounds it at a ratio of one.
        const QRect local = DeviceScale{surface_->twipsPerPixel(), 1}.rect({x, y, c->Width(), c->Height()});
        return local.translated(surface_->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override
    {
        const rt::Control* c = control();
        return c ? roleOf(*c) : QAccessible::NoRole;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        const rt::Control* c = control();
        if (!c) {
            s.invalid = true;
            return s;
        }
        s.invisible = !shown(*c) || (surface_ && !surface_->isVisible());
        s.offscreen = s.invisible;
        s.movable = !c->isPictureBox();
        return s;
    }

private:
    QPointer<Surface> surface_;
    std::string name_;
};

QAccessibleInterface* SurfaceAccessible::interfaceFor(const rt::Control& control)
{
    auto it = ids_->find(control.name());
    if (it != ids_->end())
        if (QAccessibleInterface* existing = QAccessible::accessibleInterface(it->second))
            return existing;
    auto* created = new ControlAccessible(surface(), control.name());
    (*ids_)[control.name()] = QAccessible::registerAccessibleInterface(created);
    return created;
}

int SurfaceAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* c = dynamic_cast<const ControlAccessible*>(child);
    const rt::Control* target = c ? c->control() : nullptr;
    const rt::Form* f = form();
    if (!f || !target)
        return -1;
    for (std::size_t i = 0; i < f->children().size(); ++i)
        if (f->children()[i] == target)
            return static_cast<int>(i);
    return -1;
}

QAccessibleInterface* SurfaceAccessible::childAt(int x, int y) const
{
    return childHitAt(surface(), nullptr, x, y);
}

// The child of `parent` (null: the surface) that holds the control the mouse would reach at a screen
// point, as the runtime's hit test finds it.
QAccessibleInterface* childHitAt(Surface* surface, const rt::Control* parent, int x, int y)
{
    const rt::Form* f = surface ? surface->form() : nullptr;
    if (!f || !f->loaded())
        return nullptr;
    const QPoint local = surface->mapFromGlobal(QPoint(x, y));
    if (!surface->rect().contains(local))
        return nullptr;
    const double tpp = surface->twipsPerPixel();
    const rt::Control* hit = f->hitTest(local.x() * tpp, local.y() * tpp);
    while (hit && hit->parent() != parent)
        hit = hit->parent();
    return hit ? surfaceInterface(surface)->interfaceFor(*hit) : nullptr;
}

// The window: named after its form rather than its caption.
class FormWindowAccessible : public QAccessibleWidget {
public:
    explicit FormWindowAccessible(FormWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && !widget()->objectName().isEmpty())
            return widget()->objectName();
        if (t == QAccessible::Description)
            return widget()->windowTitle();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString& key, QObject* object)
{
    if (key == QLatin1String("qthost::Surface"))
        if (auto* surface = qobject_cast<Surface*>(object))
            return new SurfaceAccessible(surface);
    if (key == QLatin1String("qthost::FormWindow"))
        if (auto* window = qobject_cast<FormWindow*>(object))
            return new FormWindowAccessible(window);
    return nullptr;
}

}  // namespace

void installAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}

}  // namespace qthost
