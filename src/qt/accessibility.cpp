#include "qt/accessibility.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "qt/form_window.h"
#include "qt/painting.h"
#include "runtime/control.h"
#include "runtime/runtime.h"

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

// For a listener: where the bar stands in the range it can be dragged in, "45 %".
QString percentOfRange(const rt::BarAccess& bar)
{
    const double span = double(bar.highest) - bar.lowest;
    const double share = span > 0 ? std::clamp((double(bar.position) - bar.lowest) / span, 0.0, 1.0) : 0.0;
    return QStringLiteral("%1 %").arg(std::lround(share * 100));
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
        takeBarPositions();
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

    // While the keyboard moves a bar, the bar has the focus rather than the surface.
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (form() && form()->keyboardFocus())
            s.focused = false;
        return s;
    }

    QAccessibleInterface* focusChild() const override
    {
        const rt::Form* f = form();
        const rt::Control* focus = f ? f->keyboardFocus() : nullptr;
        if (!focus)
            return QAccessibleWidget::focusChild();
        return const_cast<SurfaceAccessible*>(this)->interfaceFor(*focus);
    }

    // The bars whose position differs from the one last taken; records the new ones.
    std::vector<const rt::Control*> takeBarPositions()
    {
        std::vector<const rt::Control*> moved;
        const rt::Form* f = form();
        if (!f)
            return moved;
        for (const auto& c : f->controls()) {
            const std::optional<rt::BarAccess> access = f->barAccess(*c);
            if (!access)
                continue;
            const auto [it, added] = positions_.try_emplace(c->name(), access->position);
            if (!added && it->second != access->position) {
                it->second = access->position;
                moved.push_back(c.get());
            }
        }
        return moved;
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
    std::map<std::string, rt::Single> positions_;  // of every bar, as tools were last told
};

SurfaceAccessible* surfaceInterface(Surface* surface)
{
    return surface ? static_cast<SurfaceAccessible*>(QAccessible::queryAccessibleInterface(surface)) : nullptr;
}

// One control, found again by name on every call: the form may have unloaded it since. A bar also has a
// value: its position, in twips.
class ControlAccessible : public QAccessibleInterface, public QAccessibleValueInterface {
public:
    ControlAccessible(Surface* surface, std::string name) : surface_(surface), name_(std::move(name)) {}

    const rt::Control* control() const
    {
        if (!surface_)
            return nullptr;
        const rt::Form* f = surface_->form();
        return f && f->loaded() ? f->find(name_) : nullptr;
    }

    std::optional<rt::BarAccess> barAccess() const
    {
        const rt::Control* c = control();
        return c ? c->form().barAccess(*c) : std::nullopt;
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
        const std::optional<rt::BarAccess> bar = barAccess();
        switch (t) {
        case QAccessible::Name: return bar ? qstr(bar->name) : qstr(c->name());
        case QAccessible::Description:
            if (bar)
                return qstr(c->name());
            return role() == QAccessible::Indicator ? QStringLiteral("Where the dragged bar will be placed") : QString();
        case QAccessible::Value: return bar ? percentOfRange(*bar) : QString();
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
        if (c->role() == rt::ControlRole::Bar) {
            s.focusable = true;
            s.focused = c->form().keyboardFocus() == c;
        }
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface && barAccess())
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }

    QVariant currentValue() const override
    {
        const std::optional<rt::BarAccess> bar = barAccess();
        return bar ? QVariant(double(bar->position)) : QVariant();
    }
    QVariant minimumValue() const override
    {
        const std::optional<rt::BarAccess> bar = barAccess();
        return bar ? QVariant(double(bar->lowest)) : QVariant();
    }
    QVariant maximumValue() const override
    {
        const std::optional<rt::BarAccess> bar = barAccess();
        return bar ? QVariant(double(bar->highest)) : QVariant();
    }
    // One logical pixel, as an arrow key moves it.
    QVariant minimumStepSize() const override
    {
        return surface_ && barAccess() ? QVariant(surface_->twipsPerPixel()) : QVariant();
    }

    // Lays the window out as a drag released at that position would.
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const double position = value.toDouble(&ok);
        const rt::Control* c = control();
        if (!ok || !c || !barAccess())
            return;
        rt::Form& form = c->form();
        form.runtime().setBarPosition(form, *c, position);
        if (surface_)
            announceBarValues(*surface_);
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

void notify(QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); }

}  // namespace

void announceBarValues(Surface& surface)
{
    if (!QAccessible::isActive())
        return;
    SurfaceAccessible* s = surfaceInterface(&surface);
    if (!s || !s->form())
        return;
    for (const rt::Control* moved : s->takeBarPositions()) {
        QAccessibleInterface* bar = s->interfaceFor(*moved);
        QAccessibleValueChangeEvent event(bar, bar->valueInterface()->currentValue());
        notify(event);
    }
}

void announceKeyboardFocus(Surface& surface, const rt::Control* before, bool retaken)
{
    if (!QAccessible::isActive())
        return;
    SurfaceAccessible* s = surfaceInterface(&surface);
    const rt::Form* f = s ? s->form() : nullptr;
    if (!f)
        return;
    const rt::Control* now = f->keyboardFocus();
    const auto& controls = f->controls();
    const bool beforeStillThere =
        std::any_of(controls.begin(), controls.end(), [&](const auto& c) { return c.get() == before; });
    if (before && before != now && beforeStillThere) {
        QAccessible::State focusedChanged;
        focusedChanged.focused = true;
        QAccessibleStateChangeEvent event(s->interfaceFor(*before), focusedChanged);
        notify(event);
    }
    if (now && (now != before || retaken)) {
        QAccessibleEvent event(s->interfaceFor(*now), QAccessible::Focus);
        notify(event);
    } else if (!now && before && surface.hasFocus()) {
        QAccessibleEvent event(&surface, QAccessible::Focus);  // the keyboard is back on the surface
        notify(event);
    }
    announceBarValues(surface);
}

void installAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}

}  // namespace qthost
