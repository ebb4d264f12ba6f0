#include "runtime/form.h"

#include <algorithm>
#include <stdexcept>

#include "runtime/host.h"
#include "runtime/runtime.h"
#include "runtime/text_codec.h"

namespace rt {

Form::Form(Runtime& runtime, const FormDefinition& definition) : runtime_(runtime), definition_(definition) {}

Form::~Form() = default;

Single Form::Width() const { return scaleWidth_ + runtime_.host().frameWidth(*this); }

bool Form::setWidth(Number value)
{
    Single width = 0;
    if (const ErrorCode fault = roundToSingle(value, width); fault != ErrorCode::None)
        return raise(fault);
    if (width < 0)
        return raise(ErrorCode::InvalidPropertyValue);
    if (!loaded_)
        return raise(ErrorCode::ObjectUnloaded);
    if (!runtime_.host().resizeOuterWidth(*this, width))
        return raise(ErrorCode::CannotSizeWindow);
    return true;
}

void Form::Show() { runtime_.show(*this); }

Control* Form::find(std::string_view name) const
{
    for (const auto& c : controls_)
        if (c->name() == name)
            return c.get();
    return nullptr;
}

Control& Form::control(std::string_view name) const
{
    if (Control* c = find(name))
        return *c;
    throw std::logic_error(std::string(definition_.name) + " has no control named " + std::string(name));
}

void Form::load()
{
    controls_.clear();
    children_.clear();
    menu_.clear();
    controls_.reserve(definition_.controls.size());
    for (const ControlDefinition& d : definition_.controls) {
        Control* parent = nullptr;
        if (!d.parent.empty()) {
            parent = find(d.parent);
            if (!parent || !parent->isPictureBox())
                throw std::logic_error(std::string(definition_.name) + "." + std::string(d.name) +
                                       ": its container " + std::string(d.parent) +
                                       " must be a PictureBox defined before it");
        }
        auto created = std::make_unique<Control>(*this, parent, d);
        (parent ? parent->children_ : children_).push_back(created.get());
        controls_.push_back(std::move(created));
    }
    for (const MenuDefinition& m : definition_.menu) {
        std::string problem;
        std::string caption = decodeCp932(m.captionCp932, &problem);
        if (!problem.empty())
            runtime_.reportProblem(*this, std::string(m.name) + " caption: " + problem);
        menu_.push_back({std::string(m.name), std::move(caption)});
    }
    for (ControlRef* ref : refs_)
        ref->control_ = &control(ref->name_);
    scaleWidth_ = definition_.clientWidth;
    scaleHeight_ = definition_.clientHeight;
    mouse_ = {};
    loaded_ = true;
    onLoad();
}

void Form::unload()
{
    if (!loaded_)
        return;
    onUnload();
    for (ControlRef* ref : refs_)
        ref->control_ = nullptr;
    loaded_ = false;
    shown_ = false;
    mouse_ = {};
    children_.clear();
    controls_.clear();
    menu_.clear();
}

ControlRef::ControlRef(Form& form, std::string_view name) : name_(name) { form.refs_.push_back(this); }

Control& ControlRef::unbound() const
{
    throw std::logic_error("control " + std::string(name_) + " used while its window is not loaded");
}

void Form::setClientSize(Single width, Single height)
{
    scaleWidth_ = width;
    scaleHeight_ = height;
}

void Form::dispatchMouse(const Control&, MouseEvent, const MouseArgs&) {}
void Form::dispatchClick(const MenuEntry&) {}
bool Form::dispatchKey(const KeyArgs&) { return false; }
std::optional<BarAccess> Form::barAccess(const Control&) const { return std::nullopt; }
void Form::dispatchBarPosition(const Control&, double) {}

void Form::originOf(const Control& control, double& x, double& y) const
{
    x = control.Left();
    y = control.Top();
    for (const Control* p = control.parent(); p; p = p->parent()) {
        x += double(p->Left()) + p->borderThickness();
        y += double(p->Top()) + p->borderThickness();
    }
}

Rect Form::visibleArea(const Control& control, const Rect& bounds) const
{
    Rect area = bounds;
    for (const Control* p = control.parent(); p; p = p->parent()) {
        if (!p->Visible())
            return {};
        area = area.intersected({0, 0, p->innerWidth(), p->innerHeight()})
                   .translated(double(p->Left()) + p->borderThickness(), double(p->Top()) + p->borderThickness());
    }
    return area.intersected({0, 0, scaleWidth_, scaleHeight_});
}

Control* Form::hitTest(double x, double y) const
{
    if (!Rect{0, 0, scaleWidth_, scaleHeight_}.contains(x, y))
        return nullptr;
    const std::vector<Control*>* siblings = &children_;
    Control* container = nullptr;
    for (;;) {
        Control* hit = nullptr;
        for (Control* c : *siblings)
            if (c->isPictureBox() && c->Visible() && c->bounds().contains(x, y)) {
                hit = c;
                break;
            }
        if (!hit) {
            for (Control* c : *siblings)
                if (!c->isPictureBox() && c->Visible() && c->bounds().contains(x, y))
                    return c;
            return container;
        }
        const double b = hit->borderThickness();
        x -= double(hit->Left()) + b;
        y -= double(hit->Top()) + b;
        if (!Rect{0, 0, hit->innerWidth(), hit->innerHeight()}.contains(x, y))
            return hit;  // on its border
        container = hit;
        siblings = &hit->children();
    }
}

void Form::controlChanged(const Control& control, const Rect& oldBounds, bool oldVisible)
{
    if (!shown_ || !control.isPictureBox())
        return;  // Images draw nothing, so moving one changes no pixel
    Host& host = runtime_.host();
    const Rect now = control.bounds();
    if (oldVisible && control.Visible() && oldBounds.left == now.left && oldBounds.top == now.top) {
        // Resized where it stands: its colour, its top and left frame lines and its children stay put, so
        // only what the right and bottom edges, with their frame lines, swept across changes.
        const double b = control.borderThickness();
        if (oldBounds.width != now.width) {
            const double from = std::min(oldBounds.right(), now.right()) - b;
            const double to = std::max(oldBounds.right(), now.right());
            const Rect strip{from, now.top, to - from, std::max(oldBounds.height, now.height)};
            if (const Rect area = visibleArea(control, strip); !area.empty())
                host.areaChanged(*this, area);
        }
        if (oldBounds.height != now.height) {
            const double from = std::min(oldBounds.bottom(), now.bottom()) - b;
            const double to = std::max(oldBounds.bottom(), now.bottom());
            const Rect strip{now.left, from, std::max(oldBounds.width, now.width), to - from};
            if (const Rect area = visibleArea(control, strip); !area.empty())
                host.areaChanged(*this, area);
        }
        return;
    }
    // Moved, shown or hidden: the old and new areas, even when the part on show stays the same, since a
    // border or the children inside may have moved within it.
    const Rect before = oldVisible ? visibleArea(control, oldBounds) : Rect{};
    const Rect after = control.Visible() ? visibleArea(control, control.bounds()) : Rect{};
    if (!before.empty())
        host.areaChanged(*this, before);
    if (!after.empty() && after != before)
        host.areaChanged(*this, after);
}

}  // namespace rt
