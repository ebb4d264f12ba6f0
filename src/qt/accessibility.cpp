#include "qt/accessibility.h"

#include <QAccessibleWidget>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "qt/accessible_registry.h"
#include "qt/form_window.h"
#include "qt/menu_accessibility.h"
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
    case rt::ControlRole::Indicator: return QAccessible::Slider;
    case rt::ControlRole::Container: return QAccessible::Grouping;
    case rt::ControlRole::Pane: break;
    }
    return QAccessible::Pane;
}

// The children assistive tools see: every child control but a drag indicator that is hidden.
std::vector<const rt::Control*> accessibleChildren(const std::vector<rt::Control*>& children)
{
    std::vector<const rt::Control*> seen;
    for (const rt::Control* c : children)
        if (c->role() != rt::ControlRole::Indicator || c->Visible())
            seen.push_back(c);
    return seen;
}

// The bar an indicator shows the place of.
std::optional<rt::BarAccess> barOfIndicator(const rt::Control& indicator)
{
    const rt::Form& form = indicator.form();
    for (const auto& c : form.controls())
        if (std::optional<rt::BarAccess> access = form.barAccess(*c); access && access->indicator == indicator.name())
            return access;
    return std::nullopt;
}

// What has the keyboard inside a window while a bar is taken: the bar's indicator, which the keys move.
const rt::Control* keyboardTarget(const rt::Form& form, const rt::Control* bar)
{
    const std::optional<rt::BarAccess> access = bar ? form.barAccess(*bar) : std::nullopt;
    return access ? form.find(access->indicator) : nullptr;
}

// A pane or container in words, or its kind where the window has no words for it.
QString nameInWords(const rt::Control& control)
{
    const std::string words = control.form().describeControl(control);
    if (!words.empty())
        return qstr(words);
    return control.role() == rt::ControlRole::Container ? QStringLiteral("group of panes") : QStringLiteral("pane");
}

// What the keys do, for the indicator the keyboard moves.
const char* kIndicatorHelp = "The arrow keys move it, Home and End take it to its limits, Return places the divider "
                             "there, Escape puts it back.";

// What a listener hears after a commit or a cancel: what happened and where the bar now stands.
QString endOfMove(const rt::BarAccess& bar, KeyboardEnd end)
{
    if (end == KeyboardEnd::Placed)
        return qstr(bar.name) + QStringLiteral(" placed, ") + qstr(bar.place);
    return QStringLiteral("Move cancelled. ") + qstr(bar.name) + QStringLiteral(" back, ") + qstr(bar.place);
}

class ControlAccessible;
QAccessibleInterface* childHitAt(Surface* surface, const rt::Control* parent, int x, int y);

// Where an object's children come from: the surface they are painted on, the control that holds them
// (null: the form itself) and their list; no list once the form or the control is gone.
struct ChildSource {
    Surface* surface = nullptr;
    const rt::Control* parent = nullptr;
    const std::vector<rt::Control*>* controls = nullptr;
};

// The surface and every control have controls for children, as tools see them: written once for both.
template <class Base>
class WithControlChildren : public Base {
public:
    using Base::Base;

    int childCount() const override
    {
        const ChildSource source = childSource();
        return source.controls ? static_cast<int>(accessibleChildren(*source.controls).size()) : 0;
    }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

protected:
    virtual ChildSource childSource() const = 0;
};

// The surface: its children are the form's own controls. It hands out one interface per control name
// and drops them all when the surface goes away. Its description tells how the last keyboard move
// ended, until the next one begins or the keyboard leaves.
class SurfaceAccessible : public WithControlChildren<QAccessibleWidget> {
public:
    explicit SurfaceAccessible(Surface* surface)
        : WithControlChildren(surface, QAccessible::Client), controls_(surface)
    {
        takeBarPositions();
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
        if (t == QAccessible::Description)
            return lastMove_;
        return QAccessibleWidget::text(t);
    }

    void setLastMove(const QString& text) { lastMove_ = text; }

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
        const rt::Control* focus = f ? keyboardTarget(*f, f->keyboardFocus()) : nullptr;
        if (!focus)
            return QAccessibleWidget::focusChild();
        return const_cast<SurfaceAccessible*>(this)->interfaceFor(*focus);
    }

    // The bars whose position differs from the one last taken; records the new ones. A bar the keyboard
    // is moving is left until it is put down.
    std::vector<const rt::Control*> takeBarPositions()
    {
        std::vector<const rt::Control*> moved;
        const rt::Form* f = form();
        if (!f)
            return moved;
        for (const auto& c : f->controls()) {
            const std::optional<rt::BarAccess> access = f->barAccess(*c);
            if (!access || access->taken)
                continue;
            const auto [it, added] = positions_.try_emplace(c->name(), access->position);
            if (!added && it->second != access->position) {
                it->second = access->position;
                moved.push_back(c.get());
            }
        }
        return moved;
    }

private:
    ChildSource childSource() const override
    {
        const rt::Form* f = form();
        return f ? ChildSource{surface(), nullptr, &f->children()} : ChildSource{};
    }

    AccessibleRegistry<std::string> controls_;
    std::map<std::string, rt::Single> positions_;  // of every bar, as tools were last told
    QString lastMove_;
};

SurfaceAccessible* surfaceInterface(Surface* surface)
{
    return surface ? static_cast<SurfaceAccessible*>(QAccessible::queryAccessibleInterface(surface)) : nullptr;
}

// A window shown minimised shows none of its controls.
bool windowShowing(const Surface* surface)
{
    return surface && surface->isVisible() && !surface->window()->isMinimized();
}

// One control, found again by name on every call: the form may have unloaded it since. A bar has a
// value: its position, in twips. An indicator, shown while a bar is dragged or moved by the keyboard, is
// a slider whose value is where it lies in the drag's range, in percent: the keyboard moves it, and a
// screen reader speaks its value after every move. Once the control is gone, a value reads as it last was.
class ControlAccessible : public WithControlChildren<QAccessibleInterface>, public QAccessibleValueInterface {
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
        std::optional<rt::BarAccess> access = c ? c->form().barAccess(*c) : std::nullopt;
        if (access)
            lastAccess_ = access;
        return access;
    }

    // For an indicator, its bar.
    std::optional<rt::BarAccess> indicatorOf() const
    {
        const rt::Control* c = control();
        std::optional<rt::BarAccess> access =
            c && c->role() == rt::ControlRole::Indicator ? barOfIndicator(*c) : std::nullopt;
        if (access)
            lastIndicated_ = access;
        return access;
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

    // Names and descriptions in words; the control's name as help text, for tools.
    QString text(QAccessible::Text t) const override
    {
        const rt::Control* c = control();
        if (!c)
            return {};
        const std::optional<rt::BarAccess> bar = barAccess();
        const std::optional<rt::BarAccess> indicated = bar ? std::nullopt : indicatorOf();
        const std::optional<rt::BarAccess>& named = bar ? bar : indicated;
        switch (t) {
        case QAccessible::Name: return named ? qstr(named->name) : nameInWords(*c);
        case QAccessible::Description:
            if (indicated)
                return QString::fromLatin1(kIndicatorHelp);
            return bar ? qstr(bar->place) : QString();
        case QAccessible::Value: return named ? qstr(named->place) : QString();
        case QAccessible::Help: return qstr(c->name());
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
        s.invisible = !c->visibleWithContainers() || !windowShowing(surface_);
        s.offscreen = s.invisible;
        s.movable = !c->isPictureBox();
        if (c->role() == rt::ControlRole::Indicator) {
            s.focusable = !s.invisible;
            s.focused = keyboardTarget(c->form(), c->form().keyboardFocus()) == c;
        }
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface && (barAccess() || lastAccess_ || indicatorOf() || lastIndicated_))
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }

    // Always a number: a bridge that is handed no number sends the client whatever lies in its memory.
    QVariant currentValue() const override
    {
        if (isIndicator())
            return percent(indicatorOf() ? indicatorOf() : lastIndicated_);
        return number(&rt::BarAccess::position);
    }
    QVariant minimumValue() const override { return isIndicator() ? 0.0 : number(&rt::BarAccess::lowest); }
    QVariant maximumValue() const override { return isIndicator() ? 100.0 : number(&rt::BarAccess::highest); }
    // One logical pixel, as an arrow key moves a bar; a tenth of a percent for an indicator, which a
    // screen reader takes as the places to speak.
    QVariant minimumStepSize() const override
    {
        if (isIndicator())
            return 0.1;
        return QVariant(surface_ ? surface_->twipsPerPixel() : 1.0);
    }

    // Lays the window out as a drag released at that position would; a bar the keyboard was moving is
    // put down first, and tools are told the keyboard is back on the window.
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const double position = value.toDouble(&ok);
        const rt::Control* c = control();
        if (!ok || !c || isIndicator() || !barAccess())
            return;
        rt::Form& form = c->form();
        const rt::Control* focusBefore = form.keyboardFocus();
        form.runtime().setBarPosition(form, *c, position);
        if (surface_ && form.loaded())
            announceKeyboardFocus(*surface_, focusBefore, false, KeyboardEnd::Placed);
    }

private:
    ChildSource childSource() const override
    {
        const rt::Control* c = control();
        return c ? ChildSource{surface_, c, &c->children()} : ChildSource{};
    }

    bool isIndicator() const
    {
        const rt::Control* c = control();
        return c ? c->role() == rt::ControlRole::Indicator : lastIndicated_.has_value();
    }

    // Unrounded, so that every move changes it and is spoken; only the ends read 0 and 100, and a screen
    // reader speaking tenths never says either anywhere else.
    static QVariant percent(const std::optional<rt::BarAccess>& bar)
    {
        if (!bar || bar->share <= 0 || bar->share >= 1)
            return bar ? std::clamp(bar->share, 0.0, 1.0) * 100 : 0.0;
        return std::clamp(bar->share * 100, 0.1, 99.9);
    }

    QVariant number(rt::Single rt::BarAccess::*field) const
    {
        const std::optional<rt::BarAccess> bar = barAccess();
        const std::optional<rt::BarAccess>& known = bar ? bar : lastAccess_;
        return QVariant(known ? double((*known).*field) : 0.0);
    }

    QPointer<Surface> surface_;
    std::string name_;
    mutable std::optional<rt::BarAccess> lastAccess_;     // as last read while the control was there
    mutable std::optional<rt::BarAccess> lastIndicated_;  // the same, for an indicator
};

QAccessibleInterface* SurfaceAccessible::interfaceFor(const rt::Control& control)
{
    return controls_.interfaceFor(control.name(), [&] { return new ControlAccessible(surface(), control.name()); });
}

template <class Base>
QAccessibleInterface* WithControlChildren<Base>::child(int index) const
{
    const ChildSource source = childSource();
    if (!source.controls)
        return nullptr;
    const std::vector<const rt::Control*> seen = accessibleChildren(*source.controls);
    if (index < 0 || index >= static_cast<int>(seen.size()))
        return nullptr;
    return surfaceInterface(source.surface)->interfaceFor(*seen[static_cast<std::size_t>(index)]);
}

template <class Base>
int WithControlChildren<Base>::indexOfChild(const QAccessibleInterface* child) const
{
    const ChildSource source = childSource();
    const auto* other = dynamic_cast<const ControlAccessible*>(child);
    if (!source.controls || !other)
        return -1;
    const std::vector<const rt::Control*> seen = accessibleChildren(*source.controls);
    const auto it = std::find(seen.begin(), seen.end(), other->control());
    return other->control() && it != seen.end() ? static_cast<int>(it - seen.begin()) : -1;
}

template <class Base>
QAccessibleInterface* WithControlChildren<Base>::childAt(int x, int y) const
{
    const ChildSource source = childSource();
    return source.controls ? childHitAt(source.surface, source.parent, x, y) : nullptr;
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

// The window: named after its form rather than its caption, and described by how to move its dividers
// without a mouse.
class FormWindowAccessible : public QAccessibleWidget {
public:
    explicit FormWindowAccessible(FormWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && !widget()->objectName().isEmpty())
            return widget()->objectName();
        if (t == QAccessible::Description)
            return QStringLiteral(
                "To move a divider between the panes, press F8 to take it (F8 again takes the next one), "
                "the arrow keys, Page Up, Page Down, Home or End to move it, Return to place it there, "
                "or Escape to put it back.");
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString& key, QObject* object)
{
    if (key == QLatin1String("qthost::Surface"))
        if (auto* surface = qobject_cast<Surface*>(object))
            return new SurfaceAccessible(surface);
    // The menu bar of one of the program's windows, whose entries need descriptions.
    if (key == QLatin1String("QMenuBar"))
        if (auto* menuBar = qobject_cast<QMenuBar*>(object); menuBar && qobject_cast<FormWindow*>(menuBar->window()))
            return menuBarAccessible(menuBar);
    if (key == QLatin1String("qthost::FormWindow"))
        if (auto* window = qobject_cast<FormWindow*>(object))
            return new FormWindowAccessible(window);
    return nullptr;
}

void notify(QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); }

void notifyDescription(QAccessibleInterface* object)
{
    QAccessibleEvent event(object, QAccessible::DescriptionChanged);
    notify(event);
}

// The value events for the bars that moved. A bar the keyboard is moving is left until it is put down:
// meanwhile its indicator's value is what changes.
void announceMoves(SurfaceAccessible& s)
{
    for (const rt::Control* moved : s.takeBarPositions()) {
        QAccessibleInterface* bar = s.interfaceFor(*moved);
        QAccessibleValueChangeEvent event(bar, bar->valueInterface()->currentValue());
        notify(event);
    }
}

void notifyValue(QAccessibleInterface* object)
{
    QAccessibleValueChangeEvent event(object, object->valueInterface()->currentValue());
    notify(event);
}

// The indicator of a bar the keyboard took: shown, and given the focus.
void announceTaken(SurfaceAccessible& s, const rt::Control& indicator)
{
    s.setLastMove({});
    QAccessibleInterface* target = s.interfaceFor(indicator);
    QAccessibleEvent shown(target, QAccessible::ObjectShow);
    notify(shown);
    QAccessibleEvent focus(target, QAccessible::Focus);
    notify(focus);
}

// The indicator of a bar put down: no longer focused, and hidden.
void announcePutDown(SurfaceAccessible& s, const rt::Control& indicator)
{
    QAccessibleInterface* target = s.interfaceFor(indicator);
    QAccessible::State focusedChanged;
    focusedChanged.focused = true;
    QAccessibleStateChangeEvent unfocused(target, focusedChanged);
    notify(unfocused);
    QAccessibleEvent hidden(target, QAccessible::ObjectHide);
    notify(hidden);
}

// Keyboard mode ended: the surface, which has the keyboard again, tells how and where the bar was left.
void announceEnd(SurfaceAccessible& s, Surface& surface, const rt::Control& bar, KeyboardEnd end)
{
    if (const std::optional<rt::BarAccess> access = s.form()->barAccess(bar))
        s.setLastMove(endOfMove(*access, end));
    notifyDescription(&s);
    if (surface.hasFocus()) {
        QAccessibleEvent event(&surface, QAccessible::Focus);
        notify(event);
    }
}

}  // namespace

void announceBarValues(Surface& surface)
{
    if (!QAccessible::isActive())
        return;
    SurfaceAccessible* s = surfaceInterface(&surface);
    if (s && s->form())
        announceMoves(*s);
}

// Runs whether or not a tool listens (Qt drops the events then), so that what the objects say stays right.
void announceKeyboardFocus(Surface& surface, const rt::Control* before, bool retaken, KeyboardEnd end)
{
    SurfaceAccessible* s = surfaceInterface(&surface);
    const rt::Form* f = s ? s->form() : nullptr;
    if (!f)
        return;
    const rt::Control* now = f->keyboardFocus();
    const auto& controls = f->controls();
    const bool beforeStillThere =
        std::any_of(controls.begin(), controls.end(), [&](const auto& c) { return c.get() == before; });
    const rt::Control* oldTarget = before && beforeStillThere ? keyboardTarget(*f, before) : nullptr;
    const rt::Control* newTarget = keyboardTarget(*f, now);
    const bool taken = newTarget && (now != before || retaken);
    if (oldTarget && (oldTarget != newTarget || retaken))
        announcePutDown(*s, *oldTarget);
    if (oldTarget && !now)
        announceEnd(*s, surface, *before, end);
    if (taken)
        announceTaken(*s, *newTarget);
    else if (newTarget)
        notifyValue(s->interfaceFor(*newTarget));  // moved: a screen reader speaks the new value
    announceMoves(*s);
}

void forgetLastMove(Surface& surface)
{
    if (SurfaceAccessible* s = surfaceInterface(&surface))
        s->setLastMove({});
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
